#include "viewers/gui/BrowserModule.h"

#include "platform/MessageService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

#include <cstdio>

#ifndef KESTRELON_VIEWERS_FROM_BIN
#define KESTRELON_VIEWERS_FROM_BIN "../lib/kestrelon/modules"
#endif

// Exported by Qt GUI without a public header; the same call QGuiApplication makes when it is
// built with Qt::AA_ShareOpenGLContexts.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

const BrowserModuleEntry *g_linked = nullptr;
QOpenGLContext *g_shareContext = nullptr;

void deleteShareContext()
{
    qt_gl_set_global_share_context(nullptr);
    delete g_shareContext;
    g_shareContext = nullptr;
}

// The browser engine draws its pages through a GL context shared with every window's. Asking Qt
// for it before the application object exists, as the engine's documentation has it, makes Qt
// load the GL driver (tens of MB of software GL without a GPU) at every start; made here, just
// before the engine loads, it costs nothing until the first browser window. The attribute itself
// stays unset: Qt warns when it is set late, and the engine asks only for the context.
void prepareSharedGlContext()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    // Handed over even when it cannot be created (a platform without GL), as Qt does with the
    // attribute: the engine reads the context's format and draws in software. With no context
    // at all it would crash at its first view.
    context->create();
    g_shareContext = context;
    qt_gl_set_global_share_context(context);
    // Post routines run as the application object goes, before the platform that owns the
    // context's native side is torn down.
    qAddPostRoutine(deleteShareContext);
}

} // namespace

QStringList browserModuleCandidates(const QString &applicationDir)
{
    const QString file = QLatin1String(kBrowserModuleFile);
    return {QDir(applicationDir).filePath(file),
            QDir::cleanPath(applicationDir + QLatin1Char('/') + QStringLiteral(KESTRELON_VIEWERS_FROM_BIN)
                            + QLatin1Char('/') + file)};
}

BrowserModule::BrowserModule(QStringList candidates) : m_candidates(std::move(candidates)) {}

const BrowserModuleEntry *BrowserModule::entry()
{
    if (m_tried)
        return m_entry;
    m_tried = true;
    QStringList problems;
    for (const QString &path : m_candidates) {
        if (!QFileInfo::exists(path))
            continue;
        prepareSharedGlContext();
        // Never unloaded: its windows' code runs until the program ends.
        QLibrary library(path);
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        using EntryFunction = const BrowserModuleEntry *(*)();
        const auto function = reinterpret_cast<EntryFunction>(library.resolve(KESTRELON_BROWSER_ENTRY_NAME));
        if (!function) {
            problems << library.errorString();
            continue;
        }
        const BrowserModuleEntry *found = function();
        if (!found || found->version != kBrowserModuleVersion) {
            problems << QStringLiteral("%1: from another build of Kestrelon").arg(path);
            continue;
        }
        m_entry = found;
        return m_entry;
    }
    if (problems.isEmpty())
        problems << QStringLiteral("%1 not found in %2").arg(QLatin1String(kBrowserModuleFile),
                                                            m_candidates.join(QStringLiteral(", ")));
    m_error = problems.join(QLatin1Char('\n'));
    std::fprintf(stderr, "kestrelon: the browser windows are not available: %s\n", qPrintable(m_error));
    platform::showMessage(QStringLiteral("ブラウザのウィンドウ（画像ビューア、スレッド表示、TV グラフ、Web）を開けません。\n"
                                         "ほかの機能はそのまま使えます。\n\n")
                              + m_error,
                          nullptr);
    return nullptr;
}

BrowserModule BrowserModule::linked(const BrowserModuleEntry *entry)
{
    BrowserModule module({});
    module.m_entry = entry;
    module.m_tried = true;
    return module;
}

BrowserModule &programBrowserModule()
{
    static BrowserModule module = g_linked ? BrowserModule::linked(g_linked)
                                           : BrowserModule(browserModuleCandidates(QCoreApplication::applicationDirPath()));
    return module;
}

void useLinkedBrowserWindows(const BrowserModuleEntry *entry)
{
    g_linked = entry;
}
