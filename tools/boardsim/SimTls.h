#pragma once
// TLS for the simulator: throwaway certificates made with the openssl command, and a listener
// whose connections the server encrypts (or not) as its fault rules say.

#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>

// Certificates in dir:
//   ca.pem                        a new certificate authority (what network/ca_file names)
//   server.pem, server.key        signed by it, for 127.0.0.1-127.0.0.4 and localhost
//   wronghost.pem, wronghost.key  signed by it, for another host name only
//   untrusted.pem, untrusted.key  self-signed, for the same addresses as server
// Keys are EC P-256, so making them takes a moment only. False with *error when openssl fails.
bool makeSimCertificates(const QString &dir, QString *error);

// A server configuration presenting dir's <name>.pem and <name>.key.
QSslConfiguration simServerTls(const QString &dir, const QString &name);

// Accepts connections as QSslSocket objects without starting a handshake: the owner takes them
// with nextPendingConnection() and calls startServerEncryption() itself (or does not).
class SimTlsListener : public QTcpServer
{
    Q_OBJECT
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override;
};
