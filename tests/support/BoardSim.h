#pragma once
// Runs the board simulator (tools/boardsim) as a child process for integration tests.
//
//   testsupport::BoardSim sim;                 // default options, a free port
//   ASSERT_TRUE(sim.isRunning()) << sim.error();
//   sim.menuUrl();   // "http://127.0.0.1:PORT/bbsmenu.html"
//   sim.services();  // a ServicesConfig pointing the viewer at it (setServices(sim.services()))
//
// Boards it serves (stable names): live boards "livenhk", "livetv", "livetvanime", "livesports",
// "livesportsbase" on the main host; outside live boards "jikkyo" on outsideHostA() and "jk" on
// outsideHostB(); ordinary boards "news", "mnewsplus", "tvd", "anime", and "heavy", whose read.cgi
// always answers the overloaded-server page. Every board has a finished (1001) thread; each live
// board's top thread grows at the chosen rate.
//
// The process's output goes to a file (logPath()), so a chatty server never blocks on a full
// pipe. The destructor stops the process (SIGTERM, then kill).

#include "core/ServicesConfig.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testsupport {

class BoardSim
{
public:
    struct Options
    {
        double rate = 0.5;
        quint32 seed = 1;
        int startCount = 0;       // 0: the simulator's default
        QStringList faults;       // each "MODE[:TEXT]", e.g. "stall:/dat/"
        QStringList overloaded;   // boards whose read.cgi answers the overloaded page
        int dripIntervalMs = 0;   // 0: the simulator's default
        int hugeMegabytes = 0;    // 0: the simulator's default
        double aboneRate = 0;     // --abone-rate
        bool tls = false;         // --tls: a TLS port beside the plain one
        QStringList extraArguments;
        QString program;          // empty: executable()
    };

    BoardSim();
    explicit BoardSim(const Options &options);
    ~BoardSim();
    BoardSim(const BoardSim &) = delete;
    BoardSim &operator=(const BoardSim &) = delete;

    bool isRunning() const;
    QString error() const { return m_error; }

    int port() const { return m_port; }
    QString menuUrl() const { return m_menuUrl; }           // first line of its output
    QString tlsMenuUrl() const { return m_tlsMenuUrl; }     // second line with tls: "https://..."
    QString tlsHost() const;                                // "127.0.0.1:TLSPORT"
    // The TLS port's address of a board of the main host ("https://127.0.0.1:TLSPORT/board/").
    QString tlsBoardUrl(const QString &board) const;
    QString host() const;                                   // "127.0.0.1:PORT"
    QString baseUrl() const;                                // "http://127.0.0.1:PORT/"
    QString outsideHostA() const;                           // "127.0.0.2:PORT"
    QString outsideHostB() const;                           // "127.0.0.3:PORT"
    QString boardUrl(const QString &board, const QString &host = QString()) const; // ".../board/"

    // The configuration it wrote with --write-services, and the file itself.
    ServicesConfig services() const;
    QString servicesPath() const;

    // Everything the process printed so far (first line, then one line per request).
    QString log() const;
    QString logPath() const;

    // Replaces the fault rules of the running server (each "MODE[:TEXT]"; empty: none). True when
    // the server took them.
    bool setFaults(const QStringList &faults) const;

    // Stops the process and waits for it; returns its exit code (-1 if it had to be killed).
    int stop();

    // Path of the executable: $KESTRELON_BOARDSIM, else beside the test build, else on PATH.
    static QString executable();

    // The exact request the viewer's own fetcher sends for a path (HTTP/1.0, "Accept -Encoding").
    static QByteArray viewerRequest(const QString &path, const QString &host);
    // Sends raw bytes to host:port and returns everything received until the server closes or
    // timeoutMs passes (check *closed to tell which).
    static QByteArray exchange(const QString &hostPort, const QByteArray &request, int timeoutMs = 5000,
                               bool *closed = nullptr);
    // GET over the viewer's request; returns the body (after the first empty line), with the
    // status code in *status when given.
    static QByteArray get(const QString &url, int *status = nullptr, int timeoutMs = 5000);

private:
    void start(const Options &options);

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_error;
    QString m_menuUrl;
    QString m_tlsMenuUrl;
    int m_port = 0;
};

} // namespace testsupport
