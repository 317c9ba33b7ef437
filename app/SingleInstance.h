#pragma once
// One window per program folder. The first kestrelon of a folder listens on a local socket
// named after the folder, in the user's runtime folder; a later one started with the same
// folder hands its thread address over that socket and exits.
//
// claim() decides which of the two this process is, under a short-lived lock file so that two
// processes starting together do not both listen. A socket file left by a killed process
// refuses connections: it is removed and this process listens in its place.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

// <runtime folder>/kestrelon-<hash of the canonical program folder>.socket
QString instanceSocketPath(const QString &programFolder);

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Claim {
        Primary,     // this process listens: go on starting
        HandedOver,  // the running one took the address: exit 0
        NoAnswer,    // one runs (its socket accepts) but did not answer in time
    };

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // Hands threadUrl (may be empty) to the process that owns the folder, or becomes it.
    // Blocks for at most timeoutMs while a running process answers.
    Claim claim(const QString &programFolder, const QString &threadUrl, int timeoutMs = 10000);

    // Where handed addresses go (empty: only come to the front). Requests that came before
    // this is set wait for it. Each call comes from the event loop, never from inside a socket
    // signal, but it may come while a window's fetch wait runs a nested loop.
    void setReceiver(std::function<void(const QString &threadUrl)> receiver);

private:
    void accept();
    void deliverPending();

    QLocalServer *m_server = nullptr;
    std::function<void(const QString &)> m_receiver;
    QStringList m_pending;
    bool m_delivering = false;
};
