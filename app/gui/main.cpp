#include "app/gui/formMain.h"
#include "platform/gui/DesktopServices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Browser windows are created lazily; sharing GL contexts must be decided before the app.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrelon"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRELON_VERSION));

    formMain window;
    platform::BoxMessageService boxes(&window);
    platform::setMessageService(&boxes);
    window.show();
    const int code = app.exec();
    platform::setMessageService(nullptr);
    return code;
}
