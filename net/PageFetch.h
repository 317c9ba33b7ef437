#pragma once
// Pages fetched with the page fetcher (platform/Transfer.h) rather than the program's own
// sockets: the board menu and the web-mode thread pages. They end in a FetchResult like every
// other fetch, so the window layer reads one kind of outcome.

#include "net/FetchResult.h"

namespace platform { struct TransferResult; }

// The page as text decoded from CP932 (result.text holds the body only, no headers).
FetchResult fetchPage(const QString &address, int timeoutSeconds);

// Stores the page in the program folder under fileName (see platform::downloadToFile); the
// result carries no text. A page that cannot be stored is Unwritable, the old file kept.
FetchResult downloadPage(const QString &address, const QString &fileName, int timeoutSeconds);

// How a page transfer ended, as a fetch result (text left empty).
FetchResult fetchResultOf(const platform::TransferResult &transfer);
