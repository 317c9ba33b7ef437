#pragma once
// Finding and loading the module of the browser windows (BrowserWindows.h) on first use, so a
// start that opens none of them never loads the browser engine or the GL driver it needs.

#include "viewers/gui/BrowserWindows.h"

#include <QStringList>

// The module's file name, and where it is looked for: beside the executable (a build folder),
// then in the installed library folder relative to it.
inline constexpr char kBrowserModuleFile[] = "kestrelon-viewers.so";
QStringList browserModuleCandidates(const QString &applicationDir);

class BrowserModule
{
public:
    explicit BrowserModule(QStringList candidates);
    // A module whose entry is linked into this program: nothing is loaded.
    static BrowserModule linked(const BrowserModuleEntry *entry);

    // The module's entry, loaded on the first call. Null when no candidate loads or it is from
    // another build; that first failure is shown to the user once (a message box, whose nested
    // event loop may call back into the windows: they see the failure already recorded), and
    // later calls return null without trying again.
    const BrowserModuleEntry *entry();
    QString error() const { return m_error; }

private:
    QStringList m_candidates;
    const BrowserModuleEntry *m_entry = nullptr;
    bool m_tried = false;
    QString m_error;
};

// The module of this program, found from the executable's folder.
BrowserModule &programBrowserModule();

// Programs that link the browser windows in (the tests) hand their entry here before the first
// browser window is needed; programBrowserModule then uses it instead of any file.
void useLinkedBrowserWindows(const BrowserModuleEntry *entry);

// createViewerWindows with the browser windows from the given module.
std::unique_ptr<ViewerWindows> createViewerWindows(const ViewerWindowHosts &hosts, BrowserModule &module);
