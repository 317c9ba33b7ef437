#include "replay/gui/formSelectDatTime.h"

#include "platform/MessageService.h"
#include "replay/PastLog.h"
#include "replay/ReplayCaptions.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

formSelectDatTime::formSelectDatTime(PastLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_log(log)
{
    setWindowTitle(replaytext::selectDatTimeCaption());
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(420, 360);

    connect(m_ok, &QPushButton::clicked, this, &formSelectDatTime::cmdOK_Click);
    connect(m_cancel, &QPushButton::clicked, this, &formSelectDatTime::cmdCancel_Click);
}

void formSelectDatTime::setFile(const QString &path)
{
    m_list->clear();
    m_list->addItems(m_log.listPastLogTimes(path));
}

void formSelectDatTime::cmdOK_Click()
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        platform::showMessage(replaytext::chooseTime(), this);
        return;
    }
    const QString row = selected.first()->text();
    // A row without a time (a deleted response) cannot be a zero point: the user is asked
    // again instead of loading against a start that is silently unset.
    const std::optional<qint64> seconds = secondsOfDay(row);
    if (!seconds) {
        platform::showMessage(replaytext::chooseTime(), this);
        return;
    }
    hide();
    emit startConfirmed(row, *seconds);
}

void formSelectDatTime::cmdCancel_Click()
{
    hide();
    emit cancelled();
}
