#pragma once
// The windows that carry the browser engine (BrowserWindows: image viewer, TV graph, general web
// window, thread view) are built into the module kestrelon-viewers and loaded the first time
// one of them is needed (BrowserModule.h). The module's one exported C function hands over its
// entry; the program checks the entry's version before calling anything through it.
//
// The module resolves the program's own code (the viewer pages, the program folder, the message
// service) from the executable that loads it, so both share one copy of that state.

#include "viewers/ViewerWindows.h"

#include <memory>

// Raised whenever BrowserWindows or ViewerWindowHosts change shape, so that a module left over
// from another build is refused instead of called.
constexpr int kBrowserModuleVersion = 1;

struct BrowserModuleEntry
{
    int version;
    // Builds the four windows (their browsers are created when each is first shown).
    std::unique_ptr<BrowserWindows> (*create)(const ViewerWindowHosts &hosts);
};

// The module's exported function, and its name for QLibrary::resolve.
#define KESTRELON_BROWSER_ENTRY_NAME "kestrelon_browser_windows"
extern "C" const BrowserModuleEntry *kestrelon_browser_windows();
