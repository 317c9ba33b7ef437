#pragma once
// The start-time dialog: one row per line of the first dat file (its raw date field), from which
// the user picks the response the video starts at. Shown without blocking the main window; it
// lives for the whole run and is only hidden.

#include <QString>
#include <QWidget>

class PastLog;
class QListWidget;
class QPushButton;

class formSelectDatTime : public QWidget
{
    Q_OBJECT
public:
    // log must outlive the dialog.
    explicit formSelectDatTime(PastLog &log, QWidget *parent = nullptr);

    QListWidget *listSelectDatTime() const { return m_list; }
    QPushButton *cmdOK() const { return m_ok; }
    QPushButton *cmdCancel() const { return m_cancel; }

    // Fills the list with the date fields of the file's lines (and unsets the start time).
    void setFile(const QString &path);

    // OK: a selected row that carries a time confirms it; otherwise "時間を選択して下さい" and
    // the dialog stays. Cancel: hides the dialog.
    void cmdOK_Click();
    void cmdCancel_Click();

signals:
    // A start row was confirmed: its text and its seconds of the day. The dialog is hidden.
    void startConfirmed(const QString &rowText, qint64 seconds);
    // Cancel was pressed; the dialog is hidden.
    void cancelled();

private:
    PastLog &m_log;
    QListWidget *m_list = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
