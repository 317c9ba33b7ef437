#pragma once
// Where the main window reaches the windows that other parts of the program build: the
// mini-mode window, the image viewer, the replay controls and their start-time dialog, the TV
// graph window, the thread-list window, the thread-view window and the general web window.
//
// Each window's owner fills its hooks once, right after formMain is constructed (main.cpp, or a
// test). An empty hook means "that window does not exist": the main window then skips the call
// (and a query hook answers false / nothing). Hooks run on the UI thread inside formMain's
// handlers, often inside a fetch wait, so they must not delete formMain.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

struct MiniModeHooks
{
    // Show / hide the mini window (view mode "miniモード" shows it, and the main window hides).
    std::function<void()> show;
    std::function<void()> hide;
    // Its Start button (Command1): caption "開始"/"停止" and enabled state, kept in step with the
    // main window's.
    std::function<void(const QString &caption)> setStartCaption;
    std::function<void(bool enabled)> setStartEnabled;
    // Its lblCountDown, written together with the main window's.
    std::function<void(const QString &caption)> setCountdownCaption;
    // Its lblCaption text and tool tip, copied when a thread is chosen.
    std::function<void(const QString &caption, const QString &toolTip)> setCaption;
    // The mini builders, called in view mode 3 after each fetch. They read and update the main
    // window's state through formMain's public operations (threadPosition(), record, Text2(),
    // lngMsgCount(), Label3, Label1, TimerReget, endThreadCycle, ...).
    std::function<void()> createTextFromDatWebScrollMini;
    std::function<void()> createTextWebScrollMini;
    // Closing of the program, after the settings are written and the pages removed.
    std::function<void()> close;
};

struct ImageViewerHooks
{
    // formImageView.setImage(varImageResNo, varImageUrl, isModeChange).
    std::function<void(const QStringList &resNo, const QStringList &urls, int isModeChange)> setImage;
    // Menu "ImageView": show the viewer.
    std::function<void()> show;
    std::function<void()> close;
};

struct ReplayHooks
{
    // Menu "動画と過去ログを連動": show the replay controls (frameWmpControl) and the player.
    std::function<void()> showControls;
    // comboRegetTime changed: TimerWmp's interval in ms; 0 stops it.
    std::function<void(int milliseconds)> setReplayInterval;
    // Closing: the past-log start-time dialog.
    std::function<void()> closeStartTimeDialog;
};

struct TvGraphHooks
{
    std::function<void()> show;   // menu entry named after the TV site's host
    std::function<void()> close;
};

struct ThreadListHooks
{
    // listThreads: empty both lists of the thread-list window and copy List5 / List6 into them.
    // Called only while that window exists.
    std::function<void(const QStringList &entries, const QStringList &addresses)> fillLists;
    // A thread reached 1000 with intNextWhen1000 1: show it with its top-left at this global
    // point (pixels).
    std::function<void(QPoint topLeft)> showAt;
    std::function<void()> close;
};

struct ThreadViewHooks
{
    // True while the thread-view window (formMerlinBrowser) is shown.
    std::function<bool()> isVisible;
    // Show it (menu "開く（人大杉用）").
    std::function<void()> show;
    // Rebuild its page from the response record (after each dat-mode display while visible).
    std::function<void()> setHtmlTextFirst;
    std::function<void()> close;
};

struct WebWindowHooks
{
    // "書き込み": navigate the general web window to the thread page and show it.
    std::function<void(const QString &url)> setAndMoveUrlAndShow;
    std::function<void()> close;
};

struct MainWindowHooks
{
    MiniModeHooks mini;
    ImageViewerHooks imageViewer;
    ReplayHooks replay;
    TvGraphHooks tv;
    ThreadListHooks threadList;
    ThreadViewHooks threadView;
    WebWindowHooks web;
};
