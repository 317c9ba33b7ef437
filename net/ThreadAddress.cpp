#include "net/ThreadAddress.h"

#include "core/ServicesConfig.h"

#include <QRegularExpression>

namespace {

QString firstGroup(const QRegularExpression &pattern, const QString &text)
{
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

QString getHostPart(const QString &address)
{
    static const QRegularExpression pattern(QStringLiteral("//([^/]*)/"));
    return firstGroup(pattern, address);
}

QString getDatNumber(const QString &address)
{
    static const QRegularExpression pattern(QStringLiteral("/([^/]*).dat"));
    return firstGroup(pattern, address);
}

QString boardKeyFromAddress(const QString &address, const QString &host)
{
    QString key = address;
    key.remove(QStringLiteral("http://") + host + QLatin1Char('/'));
    key.remove(QStringLiteral("https://") + host + QLatin1Char('/'));
    key.remove(QLatin1Char('/'));
    return key;
}

QString sintyakuFooterForHost(const QString &host)
{
    return services().isOutsideHost(host) ? QStringLiteral("-") : QStringLiteral("n-");
}

QString boardAddress(const QString &strSvr, const QString &strBan)
{
    return QStringLiteral("http://") + strSvr + QLatin1Char('/') + strBan + QLatin1Char('/');
}

QString indexRequestPath(const QString &strBan)
{
    return QLatin1Char('/') + strBan + QStringLiteral("/subject.txt");
}

QString datRequestPath(const QString &strBan, const QString &strThreNo)
{
    return QLatin1Char('/') + strBan + QStringLiteral("/dat/") + strThreNo + QStringLiteral(".dat");
}

QString threadPageAddress(const QString &strSvr, const QString &strBan, const QString &strThreNo)
{
    return QStringLiteral("http://") + strSvr + QStringLiteral("/test/read.cgi/") + strBan + QLatin1Char('/')
        + strThreNo + QStringLiteral("/l50");
}

QString nextPageAddress(const QString &label3Caption, int intLastDt, const QString &strGetSintyakuFooter)
{
    QString address = label3Caption;
    const QString lastSegment = label3Caption.mid(label3Caption.lastIndexOf(QLatin1Char('/')) + 1);
    // An address ending in "/" has an empty last segment: nothing is removed.
    if (!lastSegment.isEmpty())
        address.remove(lastSegment);
    return address + QString::number(intLastDt) + strGetSintyakuFooter;
}

QString threadNumberFromPageAddress(const QString &pageAddress)
{
    QString address = pageAddress;
    return getDatNumber(address.replace(QStringLiteral("/l50"), QStringLiteral(".dat")));
}

std::optional<ServerEndpoint> splitServer(const QString &strSvr, quint16 defaultPort)
{
    ServerEndpoint endpoint;
    endpoint.port = defaultPort;
    const qsizetype colon = strSvr.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        endpoint.host = strSvr;
    } else {
        endpoint.host = strSvr.left(colon);
        bool ok = false;
        const uint port = strSvr.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535)
            return std::nullopt;
        endpoint.port = quint16(port);
    }
    if (endpoint.host.isEmpty())
        return std::nullopt;
    return endpoint;
}
