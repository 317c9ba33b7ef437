// The simulator's answers by path: pages, subject.txt, dat files, pictures, the redirector and
// the fault control.
#include "SimServer.h"

#include "SimPages.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrlQuery>

namespace {

SimReply notFound()
{
    return htmlReply(404, simpages::errorPage(404, QStringLiteral("Not Found")));
}

} // namespace

void SimServer::control(QTcpSocket *socket, SimHost host, const QString &requestLine, const QString &path)
{
    SimReply reply;
    reply.contentType = QByteArrayLiteral("text/plain; charset=us-ascii");
    const QString route = path.section(QLatin1Char('?'), 0, 0);
    if (!socket->peerAddress().isLoopback()) {
        reply = htmlReply(403, simpages::errorPage(403, QStringLiteral("Forbidden")));
    } else if (route != QLatin1String("/_control/faults")) {
        reply = notFound();
    } else {
        QList<FaultRule> rules;
        QString error;
        const QUrlQuery query(path.section(QLatin1Char('?'), 1));
        for (const QString &text : query.allQueryItemValues(QStringLiteral("set"), QUrl::FullyDecoded)) {
            const auto rule = parseFaultRule(text, &error);
            if (!rule)
                break;
            rules << *rule;
        }
        if (!error.isEmpty()) {
            reply.status = 400;
            reply.body = error.toLatin1() + '\n';
        } else {
            m_options.faults = rules;
            m_faultsSetAtRuntime = true;
            for (const FaultRule &rule : rules)
                reply.body += (rule.modeName() + QLatin1Char(':') + rule.pathText).toLatin1() + '\n';
        }
    }
    log(host, requestLine, QStringLiteral("%1 control").arg(reply.status));
    sendWhole(socket, serialise(reply, false));
}

SimReply SimServer::answer(SimHost host, const QString &fullPath, qint64 nowMs)
{
    m_world->advanceTo(nowMs);
    QString path = fullPath.section(QLatin1Char('?'), 0, 0);
    const QString firstSegment = path.section(QLatin1Char('/'), 1, 1);

    // The redirector: "/<host:port>/<rest>" sends the browser on to "http://<host:port>/<rest>".
    if (firstSegment.contains(QLatin1Char(':')) || host == SimHost::Redirector) {
        if (path.size() <= 1)
            return htmlReply(200, simpages::rootPage(*m_world));
        SimReply reply = htmlReply(302, simpages::errorPage(302, QStringLiteral("Found")));
        reply.location = (QStringLiteral("http://") + path.mid(1)).toLatin1();
        return reply;
    }

    if (host == SimHost::Images && !path.startsWith(QLatin1String("/img/")))
        return notFound();
    if (host == SimHost::Main || host == SimHost::Images) {
        if (path.startsWith(QLatin1String("/img/"))) {
            const auto image = m_images.constFind(path.mid(5));
            if (image == m_images.constEnd())
                return notFound();
            SimReply reply;
            reply.contentType = image->contentType;
            reply.body = image->bytes;
            return reply;
        }
    }
    if (host == SimHost::Main) {
        if (path == QLatin1String("/") || path == QLatin1String("/index.html"))
            return htmlReply(200, simpages::rootPage(*m_world));
        if (path == QLatin1String("/bbsmenu.html"))
            return htmlReply(200, simpages::boardMenu(*m_world));
        if (path == QLatin1String("/tv/") || path == QLatin1String("/tv"))
            return htmlReply(200, simpages::tvGraph(*m_world, nowMs));
        if (path == QLatin1String("/moved.html"))
            return htmlReply(200, QStringLiteral("<html><head><title>移転しました</title></head><body>移転しました。</body></html>\n"));
    }

    // read.cgi; a relative anchor followed from a thread page repeats the prefix, so the last
    // occurrence counts.
    const qsizetype cgi = path.lastIndexOf(QLatin1String("/test/read.cgi/"));
    if (cgi >= 0) {
        const QStringList parts = path.mid(cgi + 15).split(QLatin1Char('/'));
        const SimBoard *board = m_world->board(host, parts.value(0));
        if (!board)
            return notFound();
        if (board->overloaded)
            return htmlReply(200, simpages::overloaded(*m_world, *board));
        const SimThread *thread = board->thread(parts.value(1).toLongLong());
        if (!thread)
            return htmlReply(404, QStringLiteral("<html><head><title>ＥＲＲＯＲ！</title></head><body>"
                                                 "そんな板orスレッドないです。</body></html>\n"));
        return htmlReply(200, simpages::readCgi(*m_world, *board, *thread, parts.mid(2).join(QLatin1Char('/'))));
    }

    const SimBoard *board = m_world->board(host, firstSegment);
    if (!board)
        return notFound();
    const QString rest = path.mid(firstSegment.size() + 1);
    if (rest == QLatin1String("/") || rest == QLatin1String("/index.html") || rest == QLatin1String("/subback.html"))
        return htmlReply(200, simpages::subback(*m_world, *board));
    if (rest == QLatin1String("/subject.txt"))
        return textReply(simpages::subjectText(*board));
    static const QRegularExpression dat(QStringLiteral("^/dat/(\\d+)\\.dat$"));
    if (const auto m = dat.match(rest); m.hasMatch()) {
        const SimThread *thread = board->thread(m.captured(1).toLongLong());
        if (!thread)
            return notFound();
        SimReply reply;
        reply.contentType = QByteArrayLiteral("text/plain");
        reply.body = thread->dat;
        reply.lastModifiedMs = thread->modifiedMs;
        return reply;
    }
    return notFound();
}
