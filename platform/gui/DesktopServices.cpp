#include "platform/gui/DesktopServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace platform {
namespace {

bool openWithDesktop(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

BrowserOpener &currentOpener()
{
    static BrowserOpener opener = &openWithDesktop;
    return opener;
}

} // namespace

MessageAnswer BoxMessageService::show(const QString &text, MessageButtons buttons, const QString &title)
{
    const QString caption = title.isEmpty() ? QStringLiteral("Kestrelon") : title;
    if (buttons == MessageButtons::Ok) {
        QMessageBox::information(m_owner, caption, text);
        return MessageAnswer::Ok;
    }
    const auto answer = QMessageBox::question(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

bool isOpenableAddress(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool openInDesktopBrowser(const QString &address)
{
    if (!isOpenableAddress(address))
        return false;
    return currentOpener()(address.trimmed());
}

void setBrowserOpener(BrowserOpener opener)
{
    currentOpener() = opener ? opener : &openWithDesktop;
}

WaitCursor::WaitCursor()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}

} // namespace platform
