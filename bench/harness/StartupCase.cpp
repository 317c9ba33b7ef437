#include "HarnessCases.h"
#include "HarnessWindow.h"

#include "app/SettingsFile.h"
#include "app/gui/MainWindowWiring.h"
#include "app/gui/formMain.h"
#include "platform/ProcessUsage.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/DesktopServices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include "platform/gui/ModelListView.h"

namespace harness {

namespace {

// Notes the first paint event that reaches the main window itself (the whole window is painted
// into its backing store in that pass).
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

} // namespace

// The program's own start-up sequence (app/gui/main.cpp), with a watch on the first paint.
QJsonObject runStartupCase(const QString &home, const QString &menuUrl, qint64 t0Ns)
{
    const qint64 enteredAt = monotonicNs();
    platform::setProgramFolder(home);
    storeBoardMenuUrl(settingsFilePath(), menuUrl);

    formMain window;
    platform::BoxMessageService boxes(&window);
    platform::setMessageService(&boxes);
    wireOtherWindows(window);
    const qint64 builtAt = monotonicNs();
    window.Form_Load();
    const qint64 loadedAt = monotonicNs();
    PaintWatch watch;
    window.installEventFilter(&watch);
    window.show();

    QElapsedTimer waited;
    waited.start();
    bool listed = false;
    while (waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        listed = window.List3->count() > 0;
        if (watch.painted && listed)
            break;
    }
    const qint64 paintedAt = monotonicNs();
    const platform::ProcessUsage usage = platform::readProcessUsage().value_or(platform::ProcessUsage());
    window.removeEventFilter(&watch);
    QJsonObject out = {
        {QStringLiteral("listed_boards"), window.List3->count()},
        {QStringLiteral("painted"), watch.painted},
        {QStringLiteral("to_startup_code_ms"), t0Ns > 0 ? double(enteredAt - t0Ns) / 1e6 : -1.0},
        {QStringLiteral("to_painted_ms"), t0Ns > 0 ? double(paintedAt - t0Ns) / 1e6 : -1.0},
        {QStringLiteral("windows_built_ms"), double(builtAt - enteredAt) / 1e6},
        {QStringLiteral("form_load_ms"), double(loadedAt - builtAt) / 1e6},
        {QStringLiteral("show_to_paint_ms"), double(paintedAt - loadedAt) / 1e6},
        {QStringLiteral("rss_mb"), double(usage.rssKb) / 1024.0},
        {QStringLiteral("pss_mb"), double(usage.pssKb) / 1024.0},
    };
    if (!watch.painted || !listed)
        out[QStringLiteral("error")] = QStringLiteral("no painted window with a listed board menu within 10 s");
    window.close();
    QCoreApplication::processEvents();
    platform::setMessageService(nullptr);
    return out;
}

} // namespace harness
