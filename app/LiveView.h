#pragma once
// What the live session (app/LiveSession.h) asks of the windows: the controls it changes, the
// surfaces it fills and the board lists it reads for the follow at 1000. The main window
// implements it; tests implement it with a recorder. Every call runs on the UI thread, many of
// them after a fetch wait in which window events ran.

#include "app/FetchMessages.h"
#include "net/ThreadSummary.h"
#include "present/BurstSpread.h"
#include "present/ImageLists.h"

#include <QList>
#include <QString>

struct MarqueePage;

class LiveView
{
public:
    virtual ~LiveView() = default;

    // Both Start buttons (the main window's Command1 and the mini window's).
    virtual void setStartCaption(const QString &caption) = 0;
    virtual void setStartEnabled(bool enabled) = 0;
    // The main window's Command1 alone (a thread that is full disables only it).
    virtual void setCommand1Enabled(bool enabled) = 0;
    virtual void setCommand2Enabled(bool enabled) = 0;
    // Both countdown labels.
    virtual void setCountdownCaption(const QString &caption) = 0;
    virtual void setList5Enabled(bool enabled) = 0;
    // The settings dialog's chkOutLineMode.
    virtual void setOutLineModeBoxEnabled(bool enabled) = 0;
    // Label3 (the thread page address, kept by the thread channel too) and Label1 (intLastDt).
    virtual void setLabel3Caption(const QString &caption) = 0;
    virtual void setLabel1Caption(const QString &caption) = 0;
    // The settings dialog's texts the builders read at every build.
    virtual QString comboMaxText() const = 0;
    virtual QString comboMaxRowText() const = 0;
    // The busy pointer while the web-mode Start downloads its page.
    virtual void setBusy(bool busy) = 0;
    // A message box; messageText(message) is its text, and nothing is shown when that is empty.
    virtual void showMessage(const LiveMessage &message) = 0;

    // View mode "モード２": WebScroll blank / showing the page written to path.
    virtual void clearMarquee() = 0;
    virtual void showMarqueeRows(const QString &path, const MarqueePage &rows) = 0;
    // View mode "モード１": the strip's speed and shadow mode, then one comment at a time (false
    // when it could not be created) or a whole batch spread over spreadMs.
    virtual void setLabelLook(int intScroll, bool outline) = 0;
    virtual bool showLiveComment(const QString &text, quint32 colour, qint32 index, int k) = 0;
    virtual void spreadLabelBatch(const QList<present::SpreadComment> &batch, qint64 spreadMs) = 0;
    // Any other view mode: the mini window's builder of the fetch mode.
    virtual void runMiniPresenter(bool datMode) = 0;
    // After a dat-mode display in the main window: the thread view page, while it is shown.
    virtual void refreshThreadView() = 0;
    // The image viewer's setImage(varImageResNo, varImageUrl, 0).
    virtual void setImage(const ImageLists &images) = 0;
    // "NG: n" in the bottom panel.
    virtual void showNgCount() = 0;
    // intNextWhen1000 1: the thread-list window at the bottom panel.
    virtual void showThreadList() = 0;

    // The follow at 1000. Re-opens the board the thread was chosen from and waits for its index
    // (window events run); false when there is no such board.
    virtual bool reopenBoard() = 0;
    // The board's threads as now listed (List5 with List6), in list order.
    virtual QList<ThreadSummary> listedThreads() const = 0;
    // Makes the listed thread at row current (List5_DblClick), ready for Start.
    virtual void makeListedThreadCurrent(int row) = 0;
    // The list entry the current thread was chosen by.
    virtual QString currentThreadEntry() const = 0;
};
