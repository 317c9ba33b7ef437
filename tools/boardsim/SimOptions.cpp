#include "SimOptions.h"

#include <QCommandLineParser>

QString FaultRule::modeName() const
{
    switch (mode) {
    case Mode::Refuse: return QStringLiteral("refuse");
    case Mode::Stall: return QStringLiteral("stall");
    case Mode::Drip: return QStringLiteral("drip");
    case Mode::Truncate: return QStringLiteral("truncate");
    case Mode::Garbage: return QStringLiteral("garbage");
    case Mode::Huge: return QStringLiteral("huge");
    case Mode::Status: return QStringLiteral("status=%1").arg(status);
    case Mode::Strict: return QStringLiteral("strict");
    case Mode::BadCp932: return QStringLiteral("badcp932");
    case Mode::Empty: return QStringLiteral("empty");
    case Mode::HeadersOnly: return QStringLiteral("headers");
    case Mode::IgnoreRange: return QStringLiteral("ignore-range");
    case Mode::BadRange: return QStringLiteral("bad-range");
    case Mode::Redirect: return QStringLiteral("redirect");
    case Mode::TlsUntrusted: return QStringLiteral("tls-untrusted");
    case Mode::TlsWrongHost: return QStringLiteral("tls-wronghost");
    case Mode::TlsStall: return QStringLiteral("tls-stall");
    case Mode::TlsPlain: return QStringLiteral("tls-plain");
    }
    return QString();
}

std::optional<FaultRule> parseFaultRule(const QString &text, QString *error)
{
    FaultRule rule;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    QString mode = colon < 0 ? text : text.left(colon);
    rule.pathText = colon < 0 ? QString() : text.mid(colon + 1);

    static const QList<QPair<QString, FaultRule::Mode>> names = {
        {QStringLiteral("refuse"), FaultRule::Mode::Refuse},
        {QStringLiteral("stall"), FaultRule::Mode::Stall},
        {QStringLiteral("drip"), FaultRule::Mode::Drip},
        {QStringLiteral("truncate"), FaultRule::Mode::Truncate},
        {QStringLiteral("garbage"), FaultRule::Mode::Garbage},
        {QStringLiteral("huge"), FaultRule::Mode::Huge},
        {QStringLiteral("strict"), FaultRule::Mode::Strict},
        {QStringLiteral("badcp932"), FaultRule::Mode::BadCp932},
        {QStringLiteral("empty"), FaultRule::Mode::Empty},
        {QStringLiteral("headers"), FaultRule::Mode::HeadersOnly},
        {QStringLiteral("ignore-range"), FaultRule::Mode::IgnoreRange},
        {QStringLiteral("bad-range"), FaultRule::Mode::BadRange},
        {QStringLiteral("redirect"), FaultRule::Mode::Redirect},
        {QStringLiteral("tls-untrusted"), FaultRule::Mode::TlsUntrusted},
        {QStringLiteral("tls-wronghost"), FaultRule::Mode::TlsWrongHost},
        {QStringLiteral("tls-stall"), FaultRule::Mode::TlsStall},
        {QStringLiteral("tls-plain"), FaultRule::Mode::TlsPlain},
    };
    if (mode.startsWith(QLatin1String("status"))) {
        rule.mode = FaultRule::Mode::Status;
        QString code = mode.mid(6);
        if (code.startsWith(QLatin1Char('=')))
            code = code.mid(1);
        if (!code.isEmpty()) {
            bool ok = false;
            rule.status = code.toInt(&ok);
            if (!ok || rule.status < 300 || rule.status > 599) {
                if (error)
                    *error = QStringLiteral("bad status code in --fault %1 (300-599)").arg(text);
                return std::nullopt;
            }
        }
        return rule;
    }
    for (const auto &[name, value] : names) {
        if (mode == name) {
            rule.mode = value;
            return rule;
        }
    }
    if (error)
        *error = QStringLiteral("unknown fault mode \"%1\"").arg(mode);
    return std::nullopt;
}

const FaultRule *findFault(const QList<FaultRule> &rules, const QString &path)
{
    for (const FaultRule &rule : rules) {
        if (!rule.isTlsMode() && rule.appliesTo(path))
            return &rule;
    }
    return nullptr;
}

const FaultRule *findTlsFault(const QList<FaultRule> &rules)
{
    for (const FaultRule &rule : rules) {
        if (rule.isTlsMode())
            return &rule;
    }
    return nullptr;
}

QString simUsage()
{
    return QStringLiteral(
        "Usage: boardsim [options]\n"
        "A bulletin-board server on loopback for the demo and the tests. The first line of output\n"
        "is the board-menu address; then one line per request. SIGINT/SIGTERM stop it cleanly.\n"
        "It listens on 127.0.0.1 and, on the same port, on 127.0.0.2 and 127.0.0.3 (the two\n"
        "outside live hosts) and 127.0.0.4 (the link redirector).\n"
        "\n"
        "  --port N              port to listen on; 0 (default) picks a free one\n"
        "  --rate R              responses per second on every live thread (default 0.5;\n"
        "                        fractions allowed, 0 stops posting)\n"
        "  --seed S              seed of the generated content (default 1)\n"
        "  --start-count N       responses a live thread has at start, 1-1000 (default 120)\n"
        "  --next-delay S        a filled thread's next part opens S seconds after its 1001st\n"
        "                        response, 0-3600 (default 0: at once)\n"
        "  --fault MODE[:TEXT]   misbehave on every request, or on those whose path contains\n"
        "                        TEXT; repeatable, the first matching rule wins. MODE is one of\n"
        "                        refuse    accept and close at once\n"
        "                        stall     accept and never answer\n"
        "                        drip      send the reply a byte at a time (--drip-interval)\n"
        "                        truncate  close half-way through the reply\n"
        "                        garbage   answer random bytes\n"
        "                        huge      answer a reply of --huge-mb megabytes\n"
        "                        status    answer 404; status=302 redirects, status=NNN any code\n"
        "                        strict    answer 400 to a request whose header names contain a\n"
        "                                  blank\n"
        "                        badcp932  the usual reply with bytes that are not CP932 inside\n"
        "                                  every third line of its body (after its first <>)\n"
        "                        empty     read the request, close without a byte\n"
        "                        headers   a complete reply of only headers: 200 with\n"
        "                                  Content-Length: 0 and no body\n"
        "                        ignore-range  answer Range and If-Modified-Since with 200 and\n"
        "                                  the whole file\n"
        "                        bad-range 206 whose bytes start one after the offset asked for\n"
        "                                  (Content-Range names the offset asked for)\n"
        "                        redirect  301 to the same path on the TLS port (on the plain\n"
        "                                  port itself without --tls)\n"
        "                        tls-untrusted, tls-wronghost  the TLS port shows a certificate\n"
        "                                  of no known authority / for another host name\n"
        "                        tls-stall the TLS port accepts and never answers the handshake\n"
        "                        tls-plain the TLS port speaks plain HTTP\n"
        "                        (the tls- modes act on every TLS connection, TEXT aside)\n"
        "  --abone-rate R        chance (0-1) that a post also rewrites an earlier response of\n"
        "                        the thread as deleted (\"あぼーん\" in every field), default 0\n"
        "  --tls                 also serve the main host over TLS on a second port, with a\n"
        "                        throwaway certificate authority; the TLS menu address is the\n"
        "                        second line of output, and --write-services names the\n"
        "                        authority's certificate as network/ca_file\n"
        "  --tls-port N          the TLS port (default: a free one)\n"
        "  --overloaded BOARD    read.cgi of BOARD answers the overloaded-server page\n"
        "                        (repeatable; board \"heavy\" always does)\n"
        "  --drip-interval MS    pause between dripped bytes (default 200)\n"
        "  --huge-mb N           size of a huge reply in megabytes (default 32)\n"
        "  --write-services FILE once listening, write a services.ini for the viewer that points\n"
        "                        it at this server (live labels, outside hosts, TV page,\n"
        "                        redirector, time-out), then serve as usual\n"
        "  --write-logs DIR      write two saved dat files of a finished thread and its\n"
        "                        continuation into DIR and exit (links use --port, default 8080)\n"
        "  --help                this text\n"
        "\n"
        "Fault rules can be changed while it runs, from loopback only:\n"
        "  GET /_control/faults?set=MODE[:TEXT]&set=...   replaces every rule (percent-encode\n"
        "                                                 the values); no set= clears them.\n"
        "It answers 200 with the rules now in force, one a line. Rules set this way act once\n"
        "a request is read, so the control path itself is never refused or stalled (a refuse\n"
        "or stall rule for every request given at start-up acts on accept, control included,\n"
        "until rules are first set).\n");
}

std::optional<SimOptions> parseSimOptions(const QStringList &arguments, QString *error)
{
    auto fail = [error](const QString &message) -> std::optional<SimOptions> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("N"));
    const QCommandLineOption rate(QStringLiteral("rate"), QString(), QStringLiteral("R"));
    const QCommandLineOption seed(QStringLiteral("seed"), QString(), QStringLiteral("S"));
    const QCommandLineOption startCount(QStringLiteral("start-count"), QString(), QStringLiteral("N"));
    const QCommandLineOption nextDelay(QStringLiteral("next-delay"), QString(), QStringLiteral("S"));
    const QCommandLineOption fault(QStringLiteral("fault"), QString(), QStringLiteral("MODE"));
    const QCommandLineOption overloaded(QStringLiteral("overloaded"), QString(), QStringLiteral("BOARD"));
    const QCommandLineOption drip(QStringLiteral("drip-interval"), QString(), QStringLiteral("MS"));
    const QCommandLineOption huge(QStringLiteral("huge-mb"), QString(), QStringLiteral("N"));
    const QCommandLineOption services(QStringLiteral("write-services"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption logs(QStringLiteral("write-logs"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption abone(QStringLiteral("abone-rate"), QString(), QStringLiteral("R"));
    const QCommandLineOption tls(QStringLiteral("tls"));
    const QCommandLineOption tlsPort(QStringLiteral("tls-port"), QString(), QStringLiteral("N"));
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    parser.addOptions({port, rate, seed, startCount, nextDelay, fault, overloaded, drip, huge, services, logs, abone, tls,
                       tlsPort, help});
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));

    SimOptions options;
    options.help = parser.isSet(help);
    bool ok = true;
    if (parser.isSet(port)) {
        options.port = parser.value(port).toInt(&ok);
        if (!ok || options.port < 0 || options.port > 65535)
            return fail(QStringLiteral("--port needs a number from 0 to 65535"));
    }
    if (parser.isSet(rate)) {
        options.rate = parser.value(rate).toDouble(&ok);
        if (!ok || options.rate < 0 || options.rate > 1000)
            return fail(QStringLiteral("--rate needs a number from 0 to 1000"));
    }
    if (parser.isSet(seed)) {
        options.seed = parser.value(seed).toUInt(&ok);
        if (!ok)
            return fail(QStringLiteral("--seed needs a whole number"));
    }
    if (parser.isSet(startCount)) {
        options.startCount = parser.value(startCount).toInt(&ok);
        if (!ok || options.startCount < 1 || options.startCount > 1000)
            return fail(QStringLiteral("--start-count needs a number from 1 to 1000"));
    }
    if (parser.isSet(nextDelay)) {
        options.nextDelaySeconds = parser.value(nextDelay).toInt(&ok);
        if (!ok || options.nextDelaySeconds < 0 || options.nextDelaySeconds > 3600)
            return fail(QStringLiteral("--next-delay needs a number of seconds from 0 to 3600"));
    }
    if (parser.isSet(drip)) {
        options.dripIntervalMs = parser.value(drip).toInt(&ok);
        if (!ok || options.dripIntervalMs < 0)
            return fail(QStringLiteral("--drip-interval needs a number of milliseconds"));
    }
    if (parser.isSet(huge)) {
        options.hugeMegabytes = parser.value(huge).toInt(&ok);
        if (!ok || options.hugeMegabytes < 1 || options.hugeMegabytes > 4096)
            return fail(QStringLiteral("--huge-mb needs a number from 1 to 4096"));
    }
    if (parser.isSet(abone)) {
        options.aboneRate = parser.value(abone).toDouble(&ok);
        if (!ok || options.aboneRate < 0 || options.aboneRate > 1)
            return fail(QStringLiteral("--abone-rate needs a number from 0 to 1"));
    }
    options.tls = parser.isSet(tls) || parser.isSet(tlsPort);
    if (parser.isSet(tlsPort)) {
        options.tlsPort = parser.value(tlsPort).toInt(&ok);
        if (!ok || options.tlsPort < 0 || options.tlsPort > 65535)
            return fail(QStringLiteral("--tls-port needs a number from 0 to 65535"));
    }
    for (const QString &text : parser.values(fault)) {
        QString message;
        const auto rule = parseFaultRule(text, &message);
        if (!rule)
            return fail(message);
        options.faults << *rule;
    }
    options.overloadedBoards = parser.values(overloaded);
    options.writeServicesPath = parser.value(services);
    options.writeLogsDir = parser.value(logs);
    return options;
}
