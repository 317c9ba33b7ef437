#pragma once
// Command-line options of the board simulator and the fault rules it can be told to obey.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One --fault MODE[:TEXT]: how to misbehave, and on which requests (every request when TEXT is
// empty, otherwise those whose path contains TEXT).
struct FaultRule
{
    enum class Mode {
        Refuse, Stall, Drip, Truncate, Garbage, Huge, Status, Strict, BadCp932, Empty, HeadersOnly,
        IgnoreRange, BadRange, Redirect,
        // On the TLS port only, at accept (their TEXT is not looked at):
        TlsUntrusted, TlsWrongHost, TlsStall, TlsPlain,
    };
    Mode mode = Mode::Refuse;
    int status = 404;  // Status only: 404, 302 or another code given as "status=NNN"
    QString pathText;

    bool appliesTo(const QString &path) const { return pathText.isEmpty() || path.contains(pathText); }
    bool isTlsMode() const
    {
        return mode == Mode::TlsUntrusted || mode == Mode::TlsWrongHost || mode == Mode::TlsStall || mode == Mode::TlsPlain;
    }
    QString modeName() const;
};

// Parses "stall", "drip:/dat/", "status=302:/livenhk/" ... Returns nullopt and sets *error on an
// unknown mode or a bad status code.
std::optional<FaultRule> parseFaultRule(const QString &text, QString *error);

// The first rule that applies to the path, or nullptr. TLS rules are skipped: they act when a
// connection to the TLS port is accepted (findTlsFault).
const FaultRule *findFault(const QList<FaultRule> &rules, const QString &path);
const FaultRule *findTlsFault(const QList<FaultRule> &rules);

struct SimOptions
{
    int port = 0;                 // 0: a free port
    double rate = 0.5;            // responses per second on every live thread
    quint32 seed = 1;
    int startCount = 120;         // responses a live thread has when the server starts (1..1000)
    int nextDelaySeconds = 0;     // from a thread's 1001st response to the opening of its next part
    double aboneRate = 0;         // chance that a post also rewrites an earlier response as deleted
    bool tls = false;             // a TLS port beside the plain one (main host)
    int tlsPort = 0;              // 0: a free one
    QList<FaultRule> faults;
    QStringList overloadedBoards; // boards whose read.cgi answers the overloaded-server page
    int dripIntervalMs = 200;
    int hugeMegabytes = 32;
    QString writeServicesPath;    // services.ini matching this server, written once listening
    QString writeLogsDir;         // write past logs there and exit (no server)
    bool help = false;
};

// Parses the arguments (argv[0] included). Returns nullopt and sets *error on a bad option.
std::optional<SimOptions> parseSimOptions(const QStringList &arguments, QString *error);

QString simUsage();
