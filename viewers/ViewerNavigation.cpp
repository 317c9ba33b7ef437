#include "viewers/ViewerNavigation.h"

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

namespace {

QString localPath(const QUrl &url)
{
    return url.isLocalFile() ? url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment).toLocalFile() : QString();
}

} // namespace

bool threadViewMayLoad(const QUrl &resource, const QUrl &ownPage)
{
    const QString path = localPath(resource);
    const QString own = localPath(ownPage);
    if (path.isEmpty() || own.isEmpty())
        return false;
    if (path == own)
        return true;
    const QString folder = own.left(own.lastIndexOf(QLatin1Char('/')) + 1);
    for (int n = 1; n <= 4; ++n)
        if (path == folder + QStringLiteral("kado%1.gif").arg(n))
            return true;
    return false;
}

ViewerNavigation threadViewNavigation(const QUrl &target, const QUrl &ownPage, bool clicked, bool mainFrame)
{
    if (clicked)
        return isWebAddress(target) ? ViewerNavigation::OpenOutside : ViewerNavigation::Refuse;
    // Our own loads are never clicks; a link back to the page itself has nothing to add.
    const bool ownFile = !localPath(target).isEmpty() && localPath(target) == localPath(ownPage);
    return mainFrame && ownFile ? ViewerNavigation::Load : ViewerNavigation::Refuse;
}
