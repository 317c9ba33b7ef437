#include "app/CommandLine.h"
#include "app/SettingsFile.h"
#include "app/SingleInstance.h"
#include "app/gui/FirstStartPrompt.h"
#include "app/gui/MainWindowWiring.h"
#include "app/gui/ThreadHandOver.h"
#include "app/gui/TimedQuit.h"
#include "app/gui/TraceProbe.h"
#include "app/gui/formMain.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/DesktopServices.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // --help, --version and a bad command line are answered before the application object
    // exists, so they work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine cl = parseCommandLine(arguments);
    switch (cl.action) {
    case CommandLine::Action::Help:
        QTextStream(stdout) << commandLineHelp();
        return 0;
    case CommandLine::Action::Version:
        QTextStream(stdout) << "kestrelon " << KESTRELON_VERSION << '\n';
        return 0;
    case CommandLine::Action::Error:
        QTextStream(stderr) << "kestrelon: " << cl.error << '\n' << "Try 'kestrelon --help'.\n";
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    // No Qt::AA_ShareOpenGLContexts here: it would load the GL driver at every start. The
    // browser windows' module sets up the shared context when it is first loaded.
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (!cl.home.isEmpty())
        platform::setProgramFolder(cl.home);
    // Another kestrelon with this program folder takes the address and comes to the front. Its
    // lock file names this process as the executable does (the application name is still
    // unset), which is how a lock of a process that died is told from a live one's.
    SingleInstance instance;
    if (!cl.newInstance) {
        switch (instance.claim(platform::programFolder(), cl.threadUrl)) {
        case SingleInstance::Claim::HandedOver:
            return 0;
        case SingleInstance::Claim::NoAnswer:
            err << "kestrelon: Kestrelon runs with the program folder " << platform::programFolder()
                << " but does not answer\n";
            return 1;
        case SingleInstance::Claim::Primary:
            break;
        }
    }
    QApplication::setApplicationName(QStringLiteral("Kestrelon"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRELON_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRELON_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/res/icons/kestrelon.png")));
    if (!cl.menuUrl.isEmpty() && !storeBoardMenuUrl(settingsFilePath(), cl.menuUrl))
        err << "kestrelon: could not store the board-menu address in " << settingsFilePath() << '\n';

    formMain window;
    platform::BoxMessageService boxes(&window);
    platform::setMessageService(&boxes);
    wireOtherWindows(window);
    installTraceProbe(window);
    // Closing the main window ends the program, whatever tool windows are still around.
    QObject::connect(&window, &formMain::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (!cl.screenshotFile.isEmpty() && cl.quitAfterSeconds < 0) {
        QObject::connect(&window, &formMain::unloaded, &window,
                         [&window, file = cl.screenshotFile] { saveWindowPicture(&window, file); });
    }
    // Armed before the start-up, whose waits run the event loop: a dead server cannot keep a
    // scripted run from ending.
    scheduleTimedQuit(&window, cl.quitAfterSeconds, cl.screenshotFile);

    window.Form_Load();
    if (!window.isHiddenForMini())
        window.show();
    FirstStartPrompt::showIfNeeded(window);
    if (cl.thread.valid)
        openHandedThread(window, cl.threadUrl);
    instance.setReceiver([&window](const QString &threadUrl) { openHandedThread(window, threadUrl); });
    const int code = app.exec();
    instance.setReceiver(nullptr);
    platform::setMessageService(nullptr);
    return code;
}
