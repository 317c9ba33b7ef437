#include "net/Redirects.h"

#include "net/RawHttp.h"

#include <QUrl>

QString FetchPlace::origin() const
{
    return (tls ? QStringLiteral("https://") : QStringLiteral("http://")) + server;
}

namespace {

QString lastSegment(const QString &path)
{
    const QString bare = path.section(QLatin1Char('?'), 0, 0);
    return bare.mid(bare.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

RedirectStep redirectStep(const QByteArray &reply, const FetchPlace &from, int followed)
{
    RedirectStep step;
    const int status = replyStatus(reply);
    if (status != 301 && status != 302 && status != 307 && status != 308)
        return step;
    const QByteArray location = replyHeader(reply, "Location");
    const QUrl url = QUrl(from.origin() + from.path).resolved(QUrl::fromEncoded(location));
    const QString scheme = url.scheme().toLower();
    if (location.isEmpty() || !url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        step.kind = RedirectStep::Kind::Bad;
        return step;
    }
    step.next.tls = scheme == QLatin1String("https");
    step.next.server = url.port() < 0 ? url.host() : url.host() + QLatin1Char(':') + QString::number(url.port());
    step.next.path = url.path(QUrl::FullyEncoded);
    if (url.hasQuery())
        step.next.path += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
    if (step.next.path.isEmpty())
        step.next.path = QStringLiteral("/");
    if (lastSegment(step.next.path) != lastSegment(from.path)) {
        step.kind = RedirectStep::Kind::Elsewhere;
        return step;
    }
    if (followed >= kMaxRedirects) {
        step.kind = RedirectStep::Kind::TooMany;
        return step;
    }
    step.kind = RedirectStep::Kind::Follow;
    const QString fromHost = QUrl(from.origin()).host();
    step.movedToTls = !from.tls && step.next.tls && fromHost.compare(url.host(), Qt::CaseInsensitive) == 0;
    return step;
}
