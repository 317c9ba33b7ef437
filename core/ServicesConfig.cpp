#include "core/ServicesConfig.h"

#include "platform/ProgramFolder.h"
#include "platform/TlsTrust.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <optional>

namespace {

std::optional<ServicesConfig> &cached()
{
    static std::optional<ServicesConfig> config;
    return config;
}

QStringList readList(QSettings &ini, const QString &key, const QStringList &fallback)
{
    if (!ini.contains(key))
        return fallback;
    QStringList items;
    const QVariant value = ini.value(key);
    const QStringList raw = value.typeId() == QMetaType::QStringList ? value.toStringList()
                                                                     : value.toString().split(QLatin1Char(','));
    for (const QString &item : raw) {
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    }
    return items.isEmpty() ? fallback : items;
}

} // namespace

ServicesConfig ServicesConfig::defaults()
{
    ServicesConfig config;
    config.liveLabels = {QStringLiteral("livea"), QStringLiteral("liveb"), QStringLiteral("livec")};
    config.outsideHosts = {QStringLiteral("jikkyo-a.example.net"), QStringLiteral("jikkyo-b.example.net")};
    config.tvTopPage = QStringLiteral("http://tvgraph.example.net/");
    config.tvHost = QStringLiteral("tvgraph.example.net");
    config.redirectorPrefix = QStringLiteral("jump.example.net/");
    config.timeoutSeconds = 15;
    return config;
}

ServicesConfig ServicesConfig::load(const QString &iniPath)
{
    ServicesConfig config = defaults();
    QSettings ini(iniPath, QSettings::IniFormat);
    config.liveLabels = readList(ini, QStringLiteral("board/live_labels"), config.liveLabels);
    config.outsideHosts = readList(ini, QStringLiteral("board/outside_hosts"), config.outsideHosts);
    config.tvTopPage = ini.value(QStringLiteral("tv/top_page"), config.tvTopPage).toString();
    config.tvHost = ini.value(QStringLiteral("tv/host"), config.tvHost).toString();
    config.redirectorPrefix = ini.value(QStringLiteral("redirector/prefix"), config.redirectorPrefix).toString();
    bool ok = false;
    const int timeout = ini.value(QStringLiteral("network/timeout_seconds")).toInt(&ok);
    if (ok && timeout > 0)
        config.timeoutSeconds = timeout;
    config.differential = ini.value(QStringLiteral("network/differential"), config.differential).toBool();
    config.caFile = ini.value(QStringLiteral("network/ca_file"), config.caFile).toString();
    // A relative name is the file's beside services.ini.
    if (!config.caFile.isEmpty() && QFileInfo(config.caFile).isRelative())
        config.caFile = QFileInfo(iniPath).absoluteDir().filePath(config.caFile);
    return config;
}

bool ServicesConfig::save(const QString &iniPath) const
{
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setValue(QStringLiteral("board/live_labels"), liveLabels.join(QLatin1Char(',')));
    ini.setValue(QStringLiteral("board/outside_hosts"), outsideHosts.join(QLatin1Char(',')));
    ini.setValue(QStringLiteral("tv/top_page"), tvTopPage);
    ini.setValue(QStringLiteral("tv/host"), tvHost);
    ini.setValue(QStringLiteral("redirector/prefix"), redirectorPrefix);
    ini.setValue(QStringLiteral("network/timeout_seconds"), timeoutSeconds);
    ini.setValue(QStringLiteral("network/differential"), differential);
    ini.setValue(QStringLiteral("network/ca_file"), caFile);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

bool ServicesConfig::isLiveBoardAddress(const QString &address) const
{
    for (const QString &label : liveLabels) {
        if (address.contains(label))
            return true;
    }
    return false;
}

bool ServicesConfig::isOutsideHost(const QString &host) const
{
    return outsideHosts.contains(host);
}

const ServicesConfig &services()
{
    if (!cached()) {
        cached() = ServicesConfig::load(platform::programPath(QStringLiteral("services.ini")));
        platform::setExtraCaFile(cached()->caFile);
    }
    return *cached();
}

void setServices(const ServicesConfig &config)
{
    cached() = config;
    platform::setExtraCaFile(config.caFile);
}

void reloadServices()
{
    cached().reset();
}
