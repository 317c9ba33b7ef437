#include "platform/gui/ChromeArt.h"

// The resources live in a static library: nothing references their object file, so the linker
// would drop it unless it is initialised explicitly.
static void ensureChromeResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace chromeart {
namespace {

QPixmap load(const char *name)
{
    ensureChromeResources();
    return QPixmap(QStringLiteral(":/res/chrome/") + QLatin1String(name));
}

} // namespace

QPixmap titleImage() { return load("Image1.png"); }
QPixmap minPicture() { return load("picMin.png"); }
QPixmap minPressed() { return load("PicMinOn.png"); }
QPixmap closePicture() { return load("picClose.png"); }
QPixmap closePressed() { return load("PicCloseON.png"); }

} // namespace chromeart
