#include "platform/Transfer.h"

#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/ProgramFolder.h"
#include "platform/SecureServers.h"
#include "platform/TlsTrust.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace platform {
namespace {

// Redirects followed in a row, as the program's own fetcher does.
constexpr int kMaxRedirects = 3;

QNetworkAccessManager &manager()
{
    static QNetworkAccessManager *instance = new QNetworkAccessManager;
    return *instance;
}

// The request in progress, cancelled by the next one.
QPointer<QNetworkReply> &current()
{
    static QPointer<QNetworkReply> reply;
    return reply;
}

} // namespace

TransferResult fetchBytes(const QString &address, int timeoutSeconds)
{
    TransferResult result;
    const QUrl url(secureAddressFor(address));
    if (!url.isValid() || url.scheme().isEmpty()) {
        result.errorText = QStringLiteral("invalid address");
        return result;
    }
    if (current())
        current()->abort();

    QNetworkRequest request(url);
    // The trusted certificates are read (and the TLS library loaded) only when needed: an https
    // address, or a certificate file to add (which an http address may redirect to need).
    if (url.scheme() == QLatin1String("https") || !extraCaFile().isEmpty())
        request.setSslConfiguration(tlsConfiguration());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply *reply = manager().get(request);
    current() = reply;
    // Redirects to http or https are followed; a move from http to https on the same host is
    // remembered, so the next fetch of any address on it goes there at once.
    auto at = std::make_shared<QUrl>(url);
    auto refused = std::make_shared<bool>(false);
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, at, refused](const QUrl &next) {
        const QString scheme = next.scheme().toLower();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
            *refused = true;
            reply->abort();
            return;
        }
        if (at->scheme() == QLatin1String("http") && scheme == QLatin1String("https")
            && at->host().compare(next.host(), Qt::CaseInsensitive) == 0)
            rememberSecureServer(at->authority(), next.authority());
        *at = next;
        emit reply->redirectAllowed();
    });

    QEventLoop loop;
    bool timedOut = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutSeconds * 1000);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();

    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut) {
        result.status = TransferResult::Status::TimedOut;
        result.errorText = QStringLiteral("timed out");
    } else if (*refused) {
        result.status = TransferResult::Status::Failed;
        result.errorText = QStringLiteral("redirect to a non-web address");
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        result.status = TransferResult::Status::Cancelled;
        result.errorText = reply->errorString();
    } else if (result.httpStatus != 0 && (result.httpStatus < 200 || result.httpStatus > 299)) {
        result.status = TransferResult::Status::HttpError;
        result.errorText = reply->errorString();
    } else if (reply->error() != QNetworkReply::NoError) {
        result.status = TransferResult::Status::Failed;
        result.errorText = reply->errorString();
    } else {
        result.status = TransferResult::Status::Ok;
        result.bytes = reply->readAll();
    }
    if (current() == reply)
        current() = nullptr;
    reply->deleteLater();
    return result;
}

PageText OpenURL(const QString &address, int timeoutSeconds)
{
    PageText page;
    page.transfer = fetchBytes(address, timeoutSeconds);
    if (page.transfer.ok())
        page.text = decodeCp932(page.transfer.bytes);
    return page;
}

TransferResult downloadToFile(const QString &address, const QString &fileName, int timeoutSeconds)
{
    TransferResult result = fetchBytes(address, timeoutSeconds);
    if (!result.ok())
        return result;
    // Written whole to a temporary file and renamed over the old one: never a longer old tail,
    // never a half-written file.
    // The page is read back once and deleted, so it is not flushed to the disk.
    QString error;
    if (!replaceFile(programPath(fileName), result.bytes, Durability::None, &error)) {
        result.status = TransferResult::Status::FileError;
        result.errorText = error;
    }
    return result;
}

} // namespace platform
