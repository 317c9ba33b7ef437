#pragma once
// The HTTP side of the board simulator: one port on four loopback addresses (main host, the two
// outside live hosts, the redirector), one request per connection, answered and closed, unless a
// fault rule says to misbehave. With --tls the main host is also served over TLS on a second
// port; pages fetched there link to it with "https://".

#include "BoardWorld.h"
#include "SimHttp.h"
#include "SimImages.h"
#include "SimOptions.h"

#include "core/ServicesConfig.h"

#include <QList>
#include <QObject>
#include <QTcpServer>
#include <functional>
#include <memory>

class QTcpSocket;
class QTemporaryDir;

class SimServer : public QObject
{
    Q_OBJECT
public:
    explicit SimServer(const SimOptions &options, QObject *parent = nullptr);
    ~SimServer() override;

    // Binds every address on one port (options.port, or a free one found for all four).
    bool listen(QString *error);
    void close();
    int port() const { return m_port; }
    // The TLS port (0 without --tls) and its board menu address.
    int tlsPort() const { return m_tlsPort; }
    QString tlsMenuUrl() const;
    const BoardWorld &world() const { return *m_world; }
    // The services.ini values that point the viewer at this server.
    ServicesConfig servicesConfig() const;

    // Receives one line per request. Default: none.
    void setLog(std::function<void(const QString &)> log) { m_log = std::move(log); }

    // The reply to a well-formed GET of `path` on `host` at `nowMs`, faults aside.
    SimReply answer(SimHost host, const QString &path, qint64 nowMs);

private:
    void accept(QTcpServer *listener, SimHost host);
    QString listenForImages();
    bool listenForTls(QString *error);
    void acceptTls();
    // Reads the request on a connection accepted (and over TLS, encrypted) and answers it.
    void serve(QTcpSocket *socket, SimHost host, bool secure);
    void readRequest(QTcpSocket *socket, SimHost host, bool secure);
    void respond(QTcpSocket *socket, SimHost host, const QByteArray &head, bool secure);
    // A page fetched over TLS links to the TLS port.
    void linkToTls(SimReply &reply) const;
    // GET /_control/faults?set=...: replaces the fault rules while running (loopback only).
    void control(QTcpSocket *socket, SimHost host, const QString &requestLine, const QString &path);
    void sendWhole(QTcpSocket *socket, const QByteArray &bytes);
    void sendDripping(QTcpSocket *socket, const QByteArray &bytes);
    void sendHuge(QTcpSocket *socket);
    QByteArray serialise(const SimReply &reply, bool headOnly) const;
    SimReply redirectToTls(const QString &path) const;
    void log(SimHost host, const QString &request, const QString &outcome);

    SimOptions m_options;
    int m_port = 0;
    QList<QPair<QTcpServer *, SimHost>> m_listeners;
    QTcpServer *m_imageListener = nullptr;
    QTcpServer *m_tlsListener = nullptr;
    int m_tlsPort = 0;
    std::unique_ptr<QTemporaryDir> m_tlsDir;
    std::unique_ptr<BoardWorld> m_world;
    QHash<QString, SimImage> m_images;
    std::function<void(const QString &)> m_log;
    quint32 m_garbageCount = 0;
    bool m_faultsSetAtRuntime = false; // the accept-time shortcut obeys start-up rules only
};
