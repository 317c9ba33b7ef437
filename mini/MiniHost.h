#pragma once
// What the mini window needs of the main window. formMain implements it and hands itself to
// formMiniMode; the mini window never outlives it.
//
// Hazard: command1Click and selectComboMode run the main window's handlers synchronously, and
// Start waits for its first fetch with window events running, so the mini window's own events
// can arrive while one of these calls is still on the stack.

#include <QString>
#include <QtGlobal>

class ResponseFilter;
class ResponseRecord;
struct ThreadPosition;

class MiniHost
{
public:
    virtual ~MiniHost() = default;

    // ---- commands of the main window ----
    // Start/Stop: the mini Start button is the main one.
    virtual void command1Click() = 0;
    // Shows the hidden main window.
    virtual void showMainWindow() = 0;
    // Selects an entry of the main window's view-mode list and runs its click handler
    // (1 is "モード２").
    virtual void selectComboMode(int index) = 0;
    // Closes the main window, which ends the program through its closing.
    virtual void closeMainWindow() = 0;
    // Sets the thread-list window's top (screen pixels, its left unchanged) and shows it.
    virtual void showSureItiranAtTop(int top) = 0;
    // The follow to the board's top thread after 1000.
    virtual void autoMoveNextSure() = 0;

    // ---- thread state the builders read and write ----
    virtual ThreadPosition &threadPosition() = 0;
    virtual const ResponseRecord &responseRecord() const = 0;
    virtual QString text2() const = 0;
    virtual void setText2(const QString &text) = 0;
    virtual QString label3Caption() const = 0;
    // A change of Label3 enables the main Start button (its change handler).
    virtual void setLabel3Caption(const QString &caption) = 0;
    virtual void setLabel1Caption(const QString &caption) = 0;
    virtual QString strGetSintyakuFooter() const = 0;
    // Text of the settings dialog's comboMax selected item.
    virtual QString comboMaxText() const = 0;
    virtual int intMaxRow() const = 0;
    virtual int intNextWhen1000() const = 0;
    virtual qint32 &lngMsgCount() = 0;
    // The comment filter of every view (null: none).
    virtual const ResponseFilter *responseFilter() const { return nullptr; }

    // ---- controls of the main window and its settings dialog ----
    virtual void setRegetTimerEnabled(bool enabled) = 0;
    // Both Start buttons, the main window's and this window's (the main window writes it).
    virtual void setStartEnabled(bool enabled) = 0;
    virtual void setStartCaption(const QString &caption) = 0;
    virtual void setChkOutLineModeEnabled(bool enabled) = 0;
};
