#pragma once
// The open-file dialog that picks the video (CommonDialog1), as a service so tests can answer
// it instead of blocking on a modal dialog.

#include <QString>
#include <QStringList>

class QWidget;

namespace replay {

class VideoChooser
{
public:
    virtual ~VideoChooser() = default;
    // Shows an open dialog with these filters (first one selected) and an empty file name;
    // returns the chosen path, or the empty text when cancelled.
    virtual QString chooseOpenFile(QWidget *owner, const QStringList &filters) = 0;
};

// Answers from a queue (the empty text once it runs out) and records the filters it was given.
class ScriptedVideoChooser : public VideoChooser
{
public:
    QString chooseOpenFile(QWidget *owner, const QStringList &filters) override;
    void queueAnswer(const QString &path) { m_answers.append(path); }
    const QList<QStringList> &requests() const { return m_requests; }

private:
    QStringList m_answers;
    QList<QStringList> m_requests;
};

// The chooser in use: a real file dialog unless one was installed.
VideoChooser &videoChooser();
// Installs a chooser (not owned; nullptr returns to the real dialog).
void setVideoChooser(VideoChooser *chooser);

} // namespace replay
