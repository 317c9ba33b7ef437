// Test programs that link the browser windows use them directly instead of loading the module.
#include "viewers/gui/BrowserModule.h"

namespace {
const bool linked = (useLinkedBrowserWindows(kestrelon_browser_windows()), true);
}
