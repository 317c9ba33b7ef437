#include "platform/TlsTrust.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSslCertificate>

namespace platform {
namespace {

struct Trust
{
    QString path;
    QDateTime loadedAt;              // modification time of the file when read
    QList<QSslCertificate> system;   // read once: the system store does not change in a run
    bool systemRead = false;
    QSslConfiguration configuration;
    bool built = false;
};

Trust &trust()
{
    static Trust instance;
    return instance;
}

} // namespace

void setExtraCaFile(const QString &path)
{
    Trust &t = trust();
    if (t.path == path)
        return;
    t.path = path;
    t.built = false;
}

QString extraCaFile()
{
    return trust().path;
}

QSslConfiguration tlsConfiguration()
{
    Trust &t = trust();
    const QDateTime modified = t.path.isEmpty() ? QDateTime() : QFileInfo(t.path).lastModified();
    if (t.built && modified == t.loadedAt)
        return t.configuration;
    if (!t.systemRead) {
        t.system = QSslConfiguration::systemCaCertificates();
        t.systemRead = true;
    }
    QList<QSslCertificate> certificates = t.system;
    if (!t.path.isEmpty())
        certificates += QSslCertificate::fromPath(t.path, QSsl::Pem);
    t.configuration = QSslConfiguration::defaultConfiguration();
    t.configuration.setCaCertificates(certificates);
    t.configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    t.loadedAt = modified;
    t.built = true;
    return t.configuration;
}

} // namespace platform
