#pragma once
// The board server that comes with Kestrelon (kestrelon-boardsim when installed, tools/boardsim
// beside a build), started on loopback so that a first start can show comments without a
// board-menu address. The process lives as long as this object (its destructor stops it).

#include <QObject>
#include <QString>
#include <QTemporaryDir>

class QProcess;
struct ServicesConfig;

class LocalBoardServer : public QObject
{
    Q_OBJECT
public:
    explicit LocalBoardServer(QObject *parent = nullptr);
    ~LocalBoardServer() override;

    // The server's executable: $KESTRELON_BOARDSIM, beside this program as kestrelon-boardsim
    // or tools/boardsim, else kestrelon-boardsim on PATH. Empty when there is none.
    static QString findProgram();

    // Starts it and blocks until it prints its board-menu address (it takes a fraction of a
    // second), at most timeoutMs. False when it could not start or said nothing in time.
    bool start(int timeoutMs = 10000);
    QString menuUrl() const { return m_menuUrl; }
    // The outside-services configuration that points the viewer at it (live board labels,
    // outside hosts, time-out), as it wrote it; defaults before start().
    ServicesConfig services() const;

private:
    QTemporaryDir m_dir;
    QProcess *m_process = nullptr;
    QString m_menuUrl;
};
