#pragma once
// Where a thread lives: server, board key, thread number, and the suffix that page addresses
// take to show only the responses after a number. Everything here is plain text work on the
// addresses the program builds and reads back; nothing touches the network.

#include <QString>
#include <optional>

// The main window's thread address.
struct ThreadAddress
{
    QString strSvr;               // server, "host" or "host:port" (no scheme, no slashes)
    QString strBan;               // board key (one path segment)
    QString strThreNo;            // thread number (the dat file's base name)
    QString strGetSintyakuFooter; // "n-" on the service's boards, "-" on the outside live hosts
};

// Group 1 of the first match of "//([^/]*)/", or the empty text.
QString getHostPart(const QString &address);
// Group 1 of the first match of "/([^/]*).dat" (the dot matches any character), or the empty text.
QString getDatNumber(const QString &address);

// The board key of a board address: every "http://" + host + "/" (and "https://" + host + "/")
// removed, then every "/".
QString boardKeyFromAddress(const QString &address, const QString &host);
// "-" for the two outside live-board hosts of services(), "n-" for every other host.
QString sintyakuFooterForHost(const QString &host);

QString boardAddress(const QString &strSvr, const QString &strBan);
QString indexRequestPath(const QString &strBan);
QString datRequestPath(const QString &strBan, const QString &strThreNo);
// The first view of a thread: its last 50 responses.
QString threadPageAddress(const QString &strSvr, const QString &strBan, const QString &strThreNo);
// The page of the responses after intLastDt: the current page address with every occurrence of
// its last "/"-separated segment removed, then intLastDt and the suffix.
QString nextPageAddress(const QString &label3Caption, int intLastDt, const QString &strGetSintyakuFooter);
// The thread number of a thread page address ("/l50" read as ".dat").
QString threadNumberFromPageAddress(const QString &pageAddress);

// A server split into host and port for connecting.
struct ServerEndpoint
{
    QString host;
    quint16 port = 80;
};
// "host" gives defaultPort (80, or 443 over TLS); "host:port" that port. Empty hosts and ports
// that are not a number in 1..65535 give nothing: the connection cannot be attempted.
std::optional<ServerEndpoint> splitServer(const QString &strSvr, quint16 defaultPort = 80);
