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

QWidget *messageBoxOwner(const QObject *owner, QWidget *fallback)
{
    // The object asking may be a widget inside its window or any object a window owns.
    for (const QObject *o = owner; o; o = o->parent()) {
        if (const auto *w = qobject_cast<const QWidget *>(o)) {
            if (w->window()->isVisible())
                return w->window();
            break;
        }
    }
    if (fallback && fallback->window()->isVisible())
        return fallback->window();
    return QApplication::activeWindow();
}

MessageAnswer BoxMessageService::show(const QString &text, MessageButtons buttons, const QObject *owner)
{
    const bool ok = buttons == MessageButtons::Ok;
    QMessageBox box(ok ? QMessageBox::Information : QMessageBox::Question, QStringLiteral("Kestrelon"),
                    text, ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No,
                    messageBoxOwner(owner, m_fallback));
    // A message may quote an address or a title: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    const int answer = box.exec();
    if (ok)
        return MessageAnswer::Ok;
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
