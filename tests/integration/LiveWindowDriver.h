#pragma once
// Driving the main window against a board server as a user would: open it on a menu address,
// open a live board, choose the top thread, switch view mode, run countdown ticks by hand.

#include "app/LiveCycleRules.h"
#include "app/SettingsFile.h"
#include "app/gui/formMain.h"
#include "core/ServicesConfig.h"
#include "net/ThreadAddress.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"
#include "BoardSim.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include "platform/gui/ModelListView.h"
#include <QStringList>

#include <gtest/gtest.h>
#include <memory>

namespace testsupport {

inline void pause(int ms)
{
    waitUntil([] { return false; }, ms);
}

// Responses the simulator holds for the viewer's current thread, read from the board's index
// (which a fault on the dat path leaves alone); -1 when it cannot be read.
inline int postedOnServer(const BoardSim &sim, formMain &w)
{
    const ThreadAddress &a = w.threadChannel().address();
    const QString index = platform::decodeCp932(BoardSim::get(sim.boardUrl(a.strBan) + QStringLiteral("subject.txt")));
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(a.strThreNo)
                                      + QStringLiteral("\\.dat<>.*\\((\\d+)\\)\\s*$"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(index);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Waits (generously) until the simulator has posted beyond what the viewer shows: a fixed pause
// is overrun by a loaded machine, and the posts come at random gaps anyway.
inline bool newResponsesWaiting(const BoardSim &sim, formMain &w)
{
    const int shown = w.threadPosition().intLastDt;
    const QDeadlineTimer deadline(60000);
    while (postedOnServer(sim, w) <= shown) {
        if (deadline.hasExpired())
            return false;
        pause(100);
    }
    return true;
}

inline QStringList entries(const ModelListView *list)
{
    return list->texts();
}

// The window started on config with the board menu at menuUrl. TimerReget is set out of reach,
// so the countdown runs only when a test ticks it.
inline std::unique_ptr<formMain> openMainWindow(const ServicesConfig &config, const QString &menuUrl)
{
    setServices(config);
    storeBoardMenuUrl(settingsFilePath(), menuUrl);
    auto w = std::make_unique<formMain>();
    w->Form_Load();
    w->setRegetInterval(24 * 3600 * 1000);
    return w;
}

// Selects a board of the live-board list by its key and opens it.
inline void openLiveBoard(formMain &w, const QString &board)
{
    const QString needle = QLatin1Char('/') + board + QStringLiteral("/subback.html");
    for (int i = 0; i < w.List4->count(); ++i) {
        if (w.List4->text(i).endsWith(needle)) {
            w.List3->setCurrentRow(i);
            w.List3_Click();
            w.List3_DblClick();
            return;
        }
    }
    ADD_FAILURE() << "no live board " << board.toStdString();
}

inline void chooseTopThread(formMain &w)
{
    ASSERT_GT(w.List5->count(), 0);
    w.List5->setCurrentRow(0);
    w.List5_DblClick();
}

// 0 labels, 1 marquee page, 2 mini mode.
inline void setViewMode(formMain &w, int index)
{
    w.comboMode->setCurrentIndex(index);
    w.comboMode_Click();
}

// Runs countdown ticks until one fetches; returns how many ticks that took (-1: none in 20).
inline int tickUntilFetched(formMain &w)
{
    for (int n = 1; n <= 20; ++n) {
        const bool fetches = w.TimerRegetTag() == QStringLiteral("12");
        w.TimerReget_Timer();
        if (fetches)
            return n;
    }
    return -1;
}

} // namespace testsupport
