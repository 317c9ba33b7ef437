#pragma once
// The main window: owns the thread state, the response record, the sockets, the timers and the
// display surfaces. Other windows reach it through its public operations and through the
// host interfaces of viewers/ViewerHosts.h; the windows it opens are reached through hooks()
// (app/gui/MainWindowHooks.h).
//
// Its controls are built by MainWindowUi (app/gui/MainWindowUi.h), its base. The class is split
// over several files by concern:
//   formMain.cpp          start-up (Form_Load), layout, view modes, closing
//   formMainBoards.cpp    board menu, board lists and tree, favourites, thread list (the models
//                         and the openers' decisions are app/BoardNavigator's)
//   formMainLive.cpp      the live cycle's operations, forwarded to the live session
//   formMainCommands.cpp  bottom-panel buttons and pop-up menus

#include "app/BoardNavigator.h"
#include "app/MainLayout.h"
#include "app/MainSettings.h"
#include "app/NgSession.h"
#include "app/SettingsFile.h"
#include "app/gui/MainWindowHooks.h"
#include "app/gui/MainWindowUi.h"
#include "present/ImageLists.h"
#include "present/ThreadBookkeeping.h"
#include "present/ThreadPosition.h"
#include "viewers/ViewerHosts.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class ResponseRecord;
class LiveSession;
class MainLiveView;
class SettingsDialogs;
class ThreadChannel;

class formMain : public QWidget,
                 public MainWindowUi,
                 public ThreadViewHost,
                 public ThreadListHost,
                 public MainGeometryHost
{
    Q_OBJECT
public:
    // Builds the window's controls. The start-up proper is Form_Load, run once the hooks are
    // filled; the program folder must be chosen before either.
    explicit formMain(QWidget *parent = nullptr);
    ~formMain() override;

    // The other windows' entry points into this one; fill before they are used.
    MainWindowHooks &hooks() { return m_hooks; }

    // --- Thread fetching and the response record (net/ThreadChannel.h) ---
    ThreadChannel &threadChannel() { return *m_thread; }
    const ResponseRecord &record() const;
    // Copy of the numbers array (the thread view page counts the responses with it).
    QStringList getResNoArray() const override;
    // One element; std::nullopt when intA is outside the arrays' bounds.
    std::optional<QString> getResNoArray2(qint16 intA) const override;
    std::optional<QString> getResNameArray2(qint16 intA) const override;
    std::optional<QString> getResTimeArray2(qint16 intA) const override;
    std::optional<QString> getResArray2(qint16 intA) const override;
    QString getResMailArray2(qint16 intA) const override;
    const NgMatcher *ngRules() const override { return &m_ng.matcher(); }

    // --- The live cycle (app/LiveSession.h) and the state its presenters keep ---
    LiveSession &session() { return *m_session; }
    ThreadPosition &threadPosition();
    ImageLists &imageLists();
    qint32 &lngMsgCount();
    MainSettings &settings() { return m_settings; }
    NgSession &ng() { return m_ng; }
    SettingsDialogs &dialogs() { return *m_dialogs; }
    QString Label3Caption() const;
    void setLabel3Caption(const QString &caption);
    void setLabel1Caption(const QString &caption);
    QString comboMaxText() const;
    // Both Start buttons (this window's Command1 and the mini window's).
    void setStartCaption(const QString &caption);
    void setStartEnabled(bool enabled);
    // TimerReget on / off, its countdown tag, its interval (tests shorten it).
    void setRegetTimerEnabled(bool on);
    bool isRegetTimerEnabled() const;
    QString TimerRegetTag() const;
    void setRegetInterval(int milliseconds);
    void endThreadCycle(EndOfThreadAction next);

    // --- Public operations of the main window (mini, thread-list and replay windows call them) ---
    void command1Click();
    void Command1_Click();
    void List5_DblClick() override;
    void List3_DblClick() override;
    void TreeViewIta_DblClick() override;
    void comboFavorite_Click() override;
    void autoMoveNextSure();
    qint16 intGetSureFrom() const override { return m_boards.intGetSureFrom(); }
    void selectList5Row(int index) override;
    QString lblCaptionText() const override;
    QRect mainWindowFrame() const override;

    // The board lists, thread list and favourites the lists show.
    BoardNavigator &boards() { return m_boards; }
    // Opens the board of a thread address (through the live-board list when it is there), selects
    // the thread in List5 and makes it current, ready for Start. False when the index did not list
    // it: the thread is then made current from its address alone.
    bool openThreadAddress(const QString &server, const QString &board, const QString &threadNumber);

    // Board menu (the "All2ch" button loads the tree form, "実況板" and the start-up the list).
    // An address given is fetched for this run only; settings line 1 stays as it is.
    void loadBoardMenu(bool wholeTree, const QString &address = QString());
    // The index socket's reply, lines normalised: fills List5 / List6 and the thread-list window.
    void listThreads(const QString &text);

    // Presenters by view mode and fetch mode (no arguments, as the cycle calls them).
    void createTextFromDatLabel();
    void createTextLabel();
    void createTextFromDatWebScroll();
    void createTextWebScroll();

    // Handlers (public so that tests and the other windows can drive them).
    void TimerReget_Timer();
    // "NG: n" in the bottom panel (after every presenter run, at Start and when the rules change).
    void showNgCount();
    void comboMode_Click();
    void List1_Click();
    void List1_DblClick();
    void List3_Click();
    void List5_Click();
    void menuAddFavorite_Click();
    void menuAddFavoriteTree_Click();
    void cmdAll2ch_Click();
    void cmdGoLive_Click();
    void cmdWrite_Click();
    void Command2_Click();
    void cmdImageView_Click();
    void menuOpenIE_Click();
    void menuOpenURL_Click();
    void menuImageView_Click();
    void menuTv2ch_Click();
    void menuToumei_Click();
    void menuNg_Click();
    void menuWmp_Click();
    void chkSaizenmen_Click();

    const MainLayout &layoutTwips() const { return m_layout; }
    // True while view mode "miniモード" has hidden this window (main.cpp then does not show it).
    bool isHiddenForMini() const { return m_hiddenForMini; }
    // Start-up: board menu, settings lines, favourites, view mode. Call once, after hooks().
    void Form_Load();
    qint32 lngPopupX = 0;
    qint32 lngPopupY = 0;

signals:
    // Closing has run (settings written, pages removed, other windows closed).
    void unloaded();
    // Emitted first thing in the destructor: windows that refer to this one go now.
    void destroying();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void connectSettingsEffects();
    void Form_Resize();
    void Form_Unload();
    void applySettingsLines();
    void applyTemplateLook();
    void createLiveSession();
    void setBoardButtonsEnabled(bool enabled);
    void reenableFinishedThreadList();
    void tellFavoriteAdded(FavoriteAddStatus status);
    void makeThreadCurrent(const ThreadChoice &thread);

    MainWindowHooks m_hooks;
    MainSettings m_settings;
    NgSession m_ng;
    QPointer<QWidget> m_ngDialog;
    SettingsDialogs *m_dialogs = nullptr;
    ThreadChannel *m_thread = nullptr;
    BoardNavigator m_boards{*m_thread};
    MainLayout m_layout;
    // Window geometry as read from the settings file and as placed in pixels: a window that was
    // not moved or resized writes back the twips it read, not a pixel-rounded copy.
    WindowGeometryTwips m_loadedGeometry;
    QRect m_loadedPixels;
    int m_list5MouseY = 0;      // twips, last mouse position over List5
    bool m_loaded = false;
    bool m_hiddenForMini = false;
    bool m_unloaded = false;
    // The view before the session that refers to it, so the session goes first.
    std::unique_ptr<MainLiveView> m_liveView;
    std::unique_ptr<LiveSession> m_session;
};
