#pragma once
// What every TLS connection of the program trusts: the system's certificates plus those of one
// PEM file (services.ini network/ca_file, for private boards and tests). Certificate errors are
// never ignored: a server that cannot be verified is a failed fetch.
//
// The file is set by core/ServicesConfig whenever a configuration comes in use; it is read again
// when its modification time changes. A file that cannot be read adds nothing.

#include <QSslConfiguration>
#include <QString>

namespace platform {

void setExtraCaFile(const QString &path);
QString extraCaFile();

// The default configuration with the trusted certificates set.
QSslConfiguration tlsConfiguration();

} // namespace platform
