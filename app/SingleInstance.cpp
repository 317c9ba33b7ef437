#include "app/SingleInstance.h"

#include "app/HandOverMessage.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

namespace {

// A request must arrive whole within this time, or the connection is dropped.
constexpr int kRequestMs = 5000;

// Sends the request and waits for the reply. False when nothing listens (no socket file, or a
// stale one that refuses); *answered false when it connected but no reply came in time.
bool handOver(const QString &path, const QString &threadUrl, int timeoutMs, bool *answered)
{
    *answered = false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(encodeHandOver(threadUrl));
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray reply;
    while (!reply.contains('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        reply += socket.readAll();
    }
    *answered = reply == kHandOverReply;
    return true;
}

} // namespace

QString instanceSocketPath(const QString &programFolder)
{
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime + QStringLiteral("/kestrelon-") + QString::fromLatin1(hash) + QStringLiteral(".socket");
}

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(const QString &programFolder, const QString &threadUrl, int timeoutMs)
{
    const QString path = instanceSocketPath(programFolder);
    // Held only while deciding; a lock older than the longest decision is a dead process's.
    QLockFile decision(path + QStringLiteral(".lock"));
    decision.setStaleLockTime(timeoutMs + 5000);
    decision.tryLock(timeoutMs + 5000);

    bool answered = false;
    if (handOver(path, threadUrl, timeoutMs, &answered))
        return answered ? Claim::HandedOver : Claim::NoAnswer;

    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    m_server->listen(path);
    return Claim::Primary;
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto reader = std::make_shared<HandOverReader>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kRequestMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            switch (reader->feed(socket->readAll())) {
            case HandOverReader::State::Reading:
                return;
            case HandOverReader::State::Refused:
                socket->abort();
                return;
            case HandOverReader::State::Done:
                socket->write(kHandOverReply);
                socket->disconnectFromServer();
                m_pending << reader->address();
                QTimer::singleShot(0, this, &SingleInstance::deliverPending);
                return;
            }
        });
    }
}

void SingleInstance::setReceiver(std::function<void(const QString &)> receiver)
{
    m_receiver = std::move(receiver);
    QTimer::singleShot(0, this, &SingleInstance::deliverPending);
}

void SingleInstance::deliverPending()
{
    // The receiver's fetch waits run the event loop, where the next delivery may be due: the
    // outer call takes it when the receiver returns.
    if (m_delivering)
        return;
    m_delivering = true;
    while (m_receiver && !m_pending.isEmpty())
        m_receiver(m_pending.takeFirst());
    m_delivering = false;
}
