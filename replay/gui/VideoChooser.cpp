#include "replay/gui/VideoChooser.h"

#include <QFileDialog>

namespace replay {

namespace {

class DialogVideoChooser : public VideoChooser
{
public:
    QString chooseOpenFile(QWidget *owner, const QStringList &filters) override
    {
        QFileDialog dialog(owner);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilters(filters);
        if (!filters.isEmpty())
            dialog.selectNameFilter(filters.first());
        dialog.selectFile(QString());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    }
};

DialogVideoChooser g_dialogChooser;
VideoChooser *g_chooser = nullptr;

} // namespace

QString ScriptedVideoChooser::chooseOpenFile(QWidget *, const QStringList &filters)
{
    m_requests.append(filters);
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

VideoChooser &videoChooser()
{
    return g_chooser ? *g_chooser : g_dialogChooser;
}

void setVideoChooser(VideoChooser *chooser)
{
    g_chooser = chooser;
}

} // namespace replay
