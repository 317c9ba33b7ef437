#include "net/FetchResult.h"

QString FetchResult::reason() const
{
    QString text;
    switch (failure) {
    case FetchFailure::None: text = nothingNew ? QStringLiteral("ok, nothing new") : QStringLiteral("ok"); break;
    case FetchFailure::InvalidServer: text = QStringLiteral("invalid server"); break;
    case FetchFailure::Refused: text = QStringLiteral("refused"); break;
    case FetchFailure::HostNotFound: text = QStringLiteral("host not found"); break;
    case FetchFailure::TimedOut: text = QStringLiteral("timed out"); break;
    case FetchFailure::ClosedEarly: text = QStringLiteral("closed early"); break;
    case FetchFailure::BadReply: text = QStringLiteral("bad reply"); break;
    case FetchFailure::HttpStatus: text = QStringLiteral("HTTP status %1").arg(httpStatus); break;
    case FetchFailure::ConnectionError: text = QStringLiteral("connection error"); break;
    case FetchFailure::Superseded: text = QStringLiteral("superseded"); break;
    case FetchFailure::TooLarge: text = QStringLiteral("reply too large"); break;
    case FetchFailure::NoResponses: text = QStringLiteral("no responses"); break;
    case FetchFailure::TlsHandshake: text = QStringLiteral("TLS handshake failed"); break;
    case FetchFailure::CertificateUntrusted: text = QStringLiteral("certificate not trusted"); break;
    case FetchFailure::CertificateExpired: text = QStringLiteral("certificate expired"); break;
    case FetchFailure::CertificateHostMismatch: text = QStringLiteral("certificate for another host"); break;
    case FetchFailure::TooManyRedirects: text = QStringLiteral("too many redirects"); break;
    case FetchFailure::BadRedirect: text = QStringLiteral("redirect without a usable address"); break;
    case FetchFailure::Unwritable: text = QStringLiteral("could not be stored"); break;
    }
    if (!detail.isEmpty())
        text += QStringLiteral(" (") + detail + QLatin1Char(')');
    return text;
}
