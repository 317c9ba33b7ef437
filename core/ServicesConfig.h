#pragma once
// The outside services the program talks to, read from services.ini in the program folder.
// Every key has a built-in default, so a missing file or key is never an error.
//
//   [board]      live_labels   = three host labels of the live-commentary servers (comma list)
//                outside_hosts = the two outside live-board hosts, whose new-responses suffix is "-"
//   [tv]         top_page      = address of the TV momentum-graph site's top page
//                host          = its host name, shown in the credit line
//   [redirector] prefix        = link redirector prefix stripped from image links ("host/")
//   [network]    timeout_seconds = bound of every wait for a server
//                differential    = later fetches of a thread's dat ask only for what is new
//                ca_file         = PEM certificates trusted for https beside the system's

#include <QString>
#include <QStringList>

struct ServicesConfig
{
    QStringList liveLabels;
    QStringList outsideHosts;
    QString tvTopPage;
    QString tvHost;
    QString redirectorPrefix;
    int timeoutSeconds = 15;
    bool differential = true;
    QString caFile; // empty: the system's certificates only

    static ServicesConfig defaults();
    // Reads an INI file; keys it lacks keep their defaults.
    static ServicesConfig load(const QString &iniPath);
    // Writes every key (used by the demo to point the program at the local board server).
    bool save(const QString &iniPath) const;

    bool isLiveBoardAddress(const QString &address) const;
    bool isOutsideHost(const QString &host) const;
};

// The configuration in use: services.ini of the program folder, read on first use.
const ServicesConfig &services();
// Replaces the configuration in use (tests, and after the demo rewrites services.ini). The
// certificates of caFile are handed to platform/TlsTrust whenever a configuration comes in use.
void setServices(const ServicesConfig &config);
// Forgets the cached configuration so the next services() reads the file again.
void reloadServices();
