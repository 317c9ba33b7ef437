#pragma once
// The program folder: where livecfg.txt, favorite.txt, services.ini, the generated pages and the
// image/ folder live. Chosen once, in this order: --home DIR, $KESTRELON_HOME, the executable's
// folder when writable and not an installed program's, else $XDG_DATA_HOME/kestrelon.

#include <QString>

namespace platform {

// The folder in use (without a trailing "/"). Resolves and creates it on first use.
QString programFolder();

// Overrides the folder (the --home option, and tests). Creates it when missing.
void setProgramFolder(const QString &folder);

// programFolder() + "/" + name, with any "\" of name turned into "/".
QString programPath(const QString &name);

// Turns "\" separators into "/" so callers that build Windows-style paths still work.
QString normalisePath(const QString &path);

} // namespace platform
