#pragma once
// The command line: kestrelon [--home DIR] [--menu URL] [--new-instance] [--quit-after SECONDS]
//                             [--screenshot FILE] [THREAD_URL]   (and --help, --version)

#include <QString>
#include <QStringList>

// A read.cgi thread address taken apart: http://host[:port]/test/read.cgi/board/thread/...
struct ThreadUrl
{
    bool valid = false;
    QString server;        // host or host:port, as strSvr holds it
    QString board;         // strBan
    QString threadNumber;  // strThreNo
    QString boardAddress;  // "http://" (or "https://") + server + "/" + board + "/", for openBoard
    bool secure = false;   // an https address: the server is reached over TLS
};

struct CommandLine
{
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString error;             // for Action::Error: what was wrong, one line
    QString home;              // --home: the program folder
    QString menuUrl;           // --menu: stored as settings line 1
    bool newInstance = false;  // --new-instance: no hand-over to a running window
    QString threadUrl;         // as given
    ThreadUrl thread;          // parsed threadUrl
    double quitAfterSeconds = -1;  // --quit-after; negative when not given
    QString screenshotFile;    // --screenshot: taken just before the timed close
};

// Parses the arguments (the first is the program's name). Never exits the process.
CommandLine parseCommandLine(const QStringList &arguments);

// The usage text that --help prints.
QString commandLineHelp();

// Recognises a thread address of the board service. The scheme may be http or https (the board
// is then fetched over TLS); anything after the thread number ("/l50", "/100n-", a query) is
// ignored.
ThreadUrl parseThreadUrl(const QString &address);
