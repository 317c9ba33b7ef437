#include "SimTls.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

namespace {

bool runOpenssl(const QStringList &arguments, QString *error)
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"), arguments);
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("openssl %1: %2 %3")
                         .arg(arguments.value(0), openssl.errorString(), QString::fromLocal8Bit(openssl.readAll()));
        return false;
    }
    return true;
}

QStringList newKey(const QString &keyFile)
{
    return {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"), QStringLiteral("-keyout"), keyFile};
}

const QString kLoopbackNames = QStringLiteral("IP:127.0.0.1,IP:127.0.0.2,IP:127.0.0.3,IP:127.0.0.4,DNS:localhost");

// A certificate for names, signed by the authority in dir.
bool makeSigned(const QString &dir, const QString &name, const QString &subject, const QString &names, QString *error)
{
    const QString base = dir + QLatin1Char('/') + name;
    QFile extensions(base + QStringLiteral(".ext"));
    if (!extensions.open(QIODevice::WriteOnly))
        return false;
    extensions.write(("subjectAltName=" + names + "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n").toLatin1());
    extensions.close();
    QStringList request = {QStringLiteral("req"), QStringLiteral("-new")};
    request << newKey(base + QStringLiteral(".key"))
            << QStringList{QStringLiteral("-subj"), subject, QStringLiteral("-out"), base + QStringLiteral(".csr")};
    const QString serial = QStringLiteral("0x%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    return runOpenssl(request, error)
        && runOpenssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), base + QStringLiteral(".csr"),
                       QStringLiteral("-CA"), dir + QStringLiteral("/ca.pem"), QStringLiteral("-CAkey"),
                       dir + QStringLiteral("/ca.key"), QStringLiteral("-set_serial"), serial, QStringLiteral("-days"),
                       QStringLiteral("3650"), QStringLiteral("-extfile"), base + QStringLiteral(".ext"),
                       QStringLiteral("-out"), base + QStringLiteral(".pem")},
                      error);
}

// A self-signed certificate (an authority of its own when ca is true).
bool makeSelfSigned(const QString &dir, const QString &name, const QString &subject, const QString &names, bool ca,
                    QString *error)
{
    const QString base = dir + QLatin1Char('/') + name;
    QStringList arguments = {QStringLiteral("req"), QStringLiteral("-x509")};
    arguments << newKey(base + QStringLiteral(".key"))
              << QStringList{QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-subj"), subject,
                             QStringLiteral("-out"), base + QStringLiteral(".pem")};
    if (ca)
        arguments << QStringLiteral("-addext") << QStringLiteral("basicConstraints=critical,CA:TRUE")
                  << QStringLiteral("-addext") << QStringLiteral("keyUsage=critical,keyCertSign,cRLSign");
    else
        arguments << QStringLiteral("-addext") << QStringLiteral("subjectAltName=") + names;
    return runOpenssl(arguments, error);
}

} // namespace

bool makeSimCertificates(const QString &dir, QString *error)
{
    return makeSelfSigned(dir, QStringLiteral("ca"), QStringLiteral("/CN=boardsim throwaway authority"), QString(), true, error)
        && makeSigned(dir, QStringLiteral("server"), QStringLiteral("/CN=127.0.0.1"), kLoopbackNames, error)
        && makeSigned(dir, QStringLiteral("wronghost"), QStringLiteral("/CN=wrong-host.invalid"),
                      QStringLiteral("DNS:wrong-host.invalid"), error)
        && makeSelfSigned(dir, QStringLiteral("untrusted"), QStringLiteral("/CN=127.0.0.1"), kLoopbackNames, false, error);
}

QSslConfiguration simServerTls(const QString &dir, const QString &name)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    QFile key(dir + QLatin1Char('/') + name + QStringLiteral(".key"));
    if (key.open(QIODevice::ReadOnly))
        configuration.setPrivateKey(QSslKey(key.readAll(), QSsl::Ec));
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(dir + QLatin1Char('/') + name + QStringLiteral(".pem"));
    if (!chain.isEmpty())
        configuration.setLocalCertificate(chain.first());
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

void SimTlsListener::incomingConnection(qintptr descriptor)
{
    auto *socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    addPendingConnection(socket);
}
