#include "platform/SecureServers.h"

#include <QHash>

namespace platform {
namespace {

QHash<QString, QString> &servers()
{
    static QHash<QString, QString> map;
    return map;
}

} // namespace

void rememberSecureServer(const QString &server, const QString &secureServer)
{
    if (!server.isEmpty() && !secureServer.isEmpty())
        servers().insert(server, secureServer);
}

QString secureServerFor(const QString &server)
{
    return servers().value(server);
}

QString secureAddressFor(const QString &address)
{
    static const QString http = QStringLiteral("http://");
    if (servers().isEmpty() || !address.startsWith(http, Qt::CaseInsensitive))
        return address;
    const qsizetype slash = address.indexOf(QLatin1Char('/'), http.size());
    const QString server = address.mid(http.size(), slash < 0 ? -1 : slash - http.size());
    const QString secure = secureServerFor(server);
    if (secure.isEmpty())
        return address;
    return QStringLiteral("https://") + secure + (slash < 0 ? QString() : address.mid(slash));
}

void forgetSecureServers()
{
    servers().clear();
}

} // namespace platform
