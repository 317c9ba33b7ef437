#pragma once
// The simulated bulletin board: categories, boards on three hosts, their threads and responses.
// Live threads grow with time: advanceTo() posts every response whose moment has come, closes a
// thread at 1000 with the 1001st response and opens the next part at the top of its board, at
// once or a set delay later (someone has to make it).

#include "Chatter.h"

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Where the server is reached: one port on four loopback addresses.
enum class SimHost { Main, OutsideA, OutsideB, Redirector, Images };

struct SimHosts
{
    int port = 0;
    static QString address(SimHost host); // "127.0.0.1" ... (Images: see imageHost)
    QString hostPort(SimHost host) const
    {
        return host == SimHost::Images ? imageHost : address(host) + QLatin1Char(':') + QString::number(port);
    }
    QString main() const { return hostPort(SimHost::Main); }
    QString menuUrl() const { return QStringLiteral("http://") + main() + QStringLiteral("/bbsmenu.html"); }
    QString tvPageUrl() const { return QStringLiteral("http://") + main() + QStringLiteral("/tv/"); }
    // Pictures are served from a port-80 address when one could be bound: the viewer's image
    // address pattern has no room for a ":port". Empty: the main host serves them.
    QString imageHost;
    QString imageBase() const
    {
        return QStringLiteral("http://") + (imageHost.isEmpty() ? main() : imageHost) + QStringLiteral("/img/");
    }
    QString redirectorPrefix() const { return hostPort(SimHost::Redirector) + QLatin1Char('/'); }
};

struct SimThread
{
    qint64 key = 0;              // thread number: its creation time in seconds
    QString title;
    QList<SimResponse> responses;
    QList<qint64> postedMs;      // moment of each response
    QByteArray dat;              // the dat file as served, kept in step with responses
    qint64 lastActivityMs = 0;
    qint64 modifiedMs = 0;       // last change of the dat (a post or a deletion): Last-Modified
    bool live = false;
    qint64 nextDueMs = 0;        // live threads: moment of the next response
    int part = 1;
    std::unique_ptr<Chatter> chatter;
    std::unique_ptr<QRandomGenerator> timing;

    int count() const { return int(responses.size()); }
    void append(const SimResponse &response, qint64 atMs);
    // The board's deletion: every field of response i (0-based) becomes "あぼーん"; the bytes
    // after it move.
    void rewriteAsDeleted(int i, qint64 atMs);
};

struct SimBoard
{
    QString key;
    QString name;
    SimHost host = SimHost::Main;
    int category = 0;
    QString defaultName;
    QStringList programmes;      // live boards: programme of each part, in turn
    bool live = false;
    bool overloaded = false;
    QString linkForm;            // how the menu writes its link (see SimPages)
    std::vector<SimThread> threads;
    // The next part of a thread that filled, while it waits for its delay: when it opens, its
    // part number and the finished part's address; nextOpensMs is -1 when none waits.
    qint64 nextOpensMs = -1;
    int nextPart = 0;
    QString nextPreviousUrl;

    // Threads newest activity first (the order of subject.txt).
    QList<const SimThread *> byActivity() const;
    const SimThread *thread(qint64 key) const;
};

// One dat line: name<>mail<>date and ID<>body<>title (title on the first line only).
QString datLine(const SimResponse &response, const QString &title);

class BoardWorld
{
public:
    struct Settings
    {
        int port = 0;
        QString imageHost; // see SimHosts::imageHost
        double rate = 0.5;
        quint32 seed = 1;
        int startCount = 120;
        double aboneRate = 0;
        QStringList overloadedBoards;
        qint64 startMs = 0;
        qint64 nextDelayMs = 0;   // from a thread's 1001st response to its next part
    };

    explicit BoardWorld(const Settings &settings);

    // Posts every live response due at or before nowMs (handing over at 1000).
    void advanceTo(qint64 nowMs);

    const SimHosts &hosts() const { return m_hosts; }
    const QStringList &categories() const { return m_categories; }
    const std::vector<SimBoard> &boards() const { return m_boards; }
    const SimBoard *board(SimHost host, const QString &key) const;
    // The live-server labels: every live board on the main host has one in its address.
    static QStringList liveLabels();

    // Responses posted on the board in the minute before nowMs (the TV graph's momentum).
    int postsInLastMinute(const SimBoard &board, qint64 nowMs) const;
    QString readCgiBase(const SimBoard &board) const; // "http://host/test/read.cgi/<board>/"

private:
    void addBoard(SimBoard board);
    void fillStaticBoard(SimBoard &board, int boardIndex);
    void fillLiveBoard(SimBoard &board, int boardIndex);
    SimThread makeThread(const SimBoard &board, int boardIndex, int ordinal) const;
    ChatterPlace placeOf(const SimBoard &board, const SimThread &thread, const QString &previousUrl) const;
    qint64 nextInterval(SimThread &thread) const;
    void post(SimBoard &board, int boardIndex, size_t threadIndex, qint64 atMs);
    void openNext(SimBoard &board, int boardIndex, qint64 atMs);

    Settings m_settings;
    SimHosts m_hosts;
    QStringList m_categories;
    std::vector<SimBoard> m_boards;
};
