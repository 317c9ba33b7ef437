#pragma once
// What the browser windows need of the main window. formMain implements these; the windows hold
// a reference and never outlive it.

class NgMatcher;

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

// The thread view page reads the thread title and the response record through these.
class ThreadViewHost
{
public:
    virtual ~ThreadViewHost() = default;
    // The caption of the title label lblCaption ("Kestrelon " + the selected thread entry).
    virtual QString lblCaptionText() const = 0;
    // Copy of the numbers array; its size - 1 is the highest index.
    virtual QStringList getResNoArray() const = 0;
    // One element each; std::nullopt for an index outside the arrays.
    virtual std::optional<QString> getResNoArray2(qint16 intA) const = 0;
    virtual std::optional<QString> getResNameArray2(qint16 intA) const = 0;
    virtual std::optional<QString> getResTimeArray2(qint16 intA) const = 0;
    virtual std::optional<QString> getResArray2(qint16 intA) const = 0;
    // The mail field of one element, which only the NG rules read; empty outside the arrays.
    virtual QString getResMailArray2(qint16 intA) const = 0;
    // The NG rules: a response they match shows as "あぼーん". Nothing: no rules.
    virtual const NgMatcher *ngRules() const { return nullptr; }
};

// The thread-list window re-opens the current board and starts a thread through these.
class ThreadListHost
{
public:
    virtual ~ThreadListHost() = default;
    // How the current board was opened: 1 live-board list, 2 board tree, 3 favourites box.
    virtual qint16 intGetSureFrom() const = 0;
    // The board openers. Each empties the thread lists, fetches the index and waits (window
    // events run meanwhile); listThreads then refills the thread-list window.
    virtual void List3_DblClick() = 0;
    virtual void TreeViewIta_DblClick() = 0;
    virtual void comboFavorite_Click() = 0;
    // Selects row index of the main window's thread list List5 (-1 clears the selection).
    virtual void selectList5Row(int index) = 0;
    // Makes the selected List5 thread current.
    virtual void List5_DblClick() = 0;
    // Start (waits for the first fetch, window events run meanwhile).
    virtual void command1Click() = 0;
};

// The general web window is placed against the main window.
class MainGeometryHost
{
public:
    virtual ~MainGeometryHost() = default;
    // The main window's frame in global screen pixels.
    virtual QRect mainWindowFrame() const = 0;
};

// Re-opens the current board the way it was opened. False when it was never opened (nothing
// is called then).
bool reopenBoardAsOpened(ThreadListHost &host);
