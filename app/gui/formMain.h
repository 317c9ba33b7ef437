#pragma once
// The main window: owns the thread state, the response record, the sockets, the timers and the
// display surfaces. Other windows reach it through its public operations.

#include <QStringList>
#include <QWidget>
#include <optional>

class ThreadChannel;

class formMain : public QWidget
{
    Q_OBJECT
public:
    explicit formMain(QWidget *parent = nullptr);
    ~formMain() override;

    // --- Thread fetching and the response record (net/ThreadChannel.h) ---
    ThreadChannel &threadChannel() { return *m_thread; }
    bool SetThreadIndex(const QString &strSvr, const QString &strBan);
    bool SetThread(const QString &strSvr, const QString &strBan, const QString &strThreNo);
    // Copies of the record's arrays.
    QStringList getResNoArray() const;
    QStringList getResNameArray() const;
    QStringList getResTimeArray() const;
    QStringList getResArray() const;
    // One element; std::nullopt when intA is outside the arrays' bounds.
    std::optional<QString> getResNoArray2(qint16 intA) const;
    std::optional<QString> getResNameArray2(qint16 intA) const;
    std::optional<QString> getResTimeArray2(qint16 intA) const;
    std::optional<QString> getResArray2(qint16 intA) const;

private:
    ThreadChannel *m_thread;
};
