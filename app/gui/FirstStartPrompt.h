#pragma once
// Shown over the live-board list when no board-menu address is known yet (settings line 1 is
// empty), so that a first start is not a dead end: a field for the address, kept as line 1 once
// its menu loads, and a button that starts the local board server and lists its menu for this
// run only (line 1 stays empty, so a later start asks again rather than fetch from a server
// that is gone). It deletes itself once the list is filled.

#include <QFrame>

class formMain;
class LocalBoardServer;
class QLabel;
class QLineEdit;

class FirstStartPrompt : public QFrame
{
    Q_OBJECT
public:
    explicit FirstStartPrompt(formMain &window);

    // Shows the prompt when line 1 of the settings is empty.
    static void showIfNeeded(formMain &window);

    QLineEdit *address = nullptr;

    void openAddress();
    void tryLocalServer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeOverBoardList();
    void finishIfListed();

    formMain &m_window;
    QLabel *m_status = nullptr;
};
