#include "app/gui/FirstStartPrompt.h"

#include "app/LocalBoardServer.h"
#include "app/SettingsFile.h"
#include "app/gui/formMain.h"
#include "core/ServicesConfig.h"
#include "platform/gui/DesktopServices.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include "platform/gui/ModelListView.h"
#include <QPushButton>
#include <QVBoxLayout>

FirstStartPrompt::FirstStartPrompt(formMain &window) : QFrame(window.Frame3), m_window(window)
{
    setObjectName(QStringLiteral("FirstStartPrompt"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#FirstStartPrompt { background: #232a33; border: 1px solid #3f6f8b; }"
                                 "QLabel { color: #d7dee8; }"));
    auto *title = new QLabel(QStringLiteral("板一覧（bbsmenu）のアドレスを入れてください"), this);
    title->setWordWrap(true);
    address = new QLineEdit(this);
    address->setPlaceholderText(QStringLiteral("http://…/bbsmenu.html"));
    auto *open = new QPushButton(QStringLiteral("開く"), this);
    auto *local = new QPushButton(QStringLiteral("試験用サーバーで試す"), this);
    local->setToolTip(QStringLiteral("付属の掲示板サーバーをこのパソコンで動かし、その板一覧を開きます"));
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);
    column->addWidget(title);
    column->addWidget(address);
    column->addWidget(open);
    column->addSpacing(6);
    column->addWidget(local);
    column->addWidget(m_status);
    column->addStretch(1);
    connect(open, &QPushButton::clicked, this, &FirstStartPrompt::openAddress);
    connect(address, &QLineEdit::returnPressed, this, &FirstStartPrompt::openAddress);
    connect(local, &QPushButton::clicked, this, &FirstStartPrompt::tryLocalServer);
    window.List3->installEventFilter(this);
    placeOverBoardList();
}

void FirstStartPrompt::showIfNeeded(formMain &window)
{
    if (!readBoardMenuUrl(settingsFilePath()).trimmed().isEmpty())
        return;
    (new FirstStartPrompt(window))->show();
}

void FirstStartPrompt::openAddress()
{
    const QString url = address->text().trimmed();
    if (url.isEmpty())
        return;
    if (!storeBoardMenuUrl(settingsFilePath(), url)) {
        m_status->setText(QStringLiteral("設定ファイルに書けませんでした"));
        return;
    }
    platform::WaitCursor busy;
    m_window.loadBoardMenu(false);
    m_status->setText(QStringLiteral("板一覧を読み込めませんでした"));
    finishIfListed();
}

void FirstStartPrompt::tryLocalServer()
{
    platform::WaitCursor busy;
    // A child of the main window: the server stops when the window goes.
    auto *server = new LocalBoardServer(&m_window);
    if (!server->start()) {
        delete server;
        m_status->setText(QStringLiteral("試験用サーバーを起動できませんでした"));
        return;
    }
    setServices(server->services());
    m_window.loadBoardMenu(false, server->menuUrl());
    m_status->setText(QStringLiteral("板一覧を読み込めませんでした"));
    finishIfListed();
}

void FirstStartPrompt::finishIfListed()
{
    if (m_window.List3->count() > 0) {
        hide();
        deleteLater();
    }
}

bool FirstStartPrompt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        placeOverBoardList();
    return QFrame::eventFilter(watched, event);
}

void FirstStartPrompt::placeOverBoardList()
{
    QRect area = m_window.List3->geometry();
    area.setBottom(qMax(area.bottom(), m_window.List5->geometry().bottom()));
    setGeometry(area);
    raise();
}
