#pragma once
// Servers reached over TLS for the rest of the run: those whose https address was opened, and
// those that moved from http to https by a redirect. A server is written as a thread address
// holds it ("host" or "host:port"); the secure one may differ in its port. Shared by the
// program's own fetcher and the page fetcher, so an http address of a known server (the thread
// page addresses are written with "http://") is fetched over TLS as well.

#include <QString>

namespace platform {

void rememberSecureServer(const QString &server, const QString &secureServer);
// The server to reach over TLS in place of server; empty when server is not known to need it.
QString secureServerFor(const QString &server);
// An "http://" address of a known server made into its "https://" form; others unchanged.
QString secureAddressFor(const QString &address);
// Forgets every server (tests).
void forgetSecureServers();

} // namespace platform
