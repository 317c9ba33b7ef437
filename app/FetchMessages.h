#pragma once
// Which message a user sees when a fetch fails. The network layer only reports how a fetch
// ended (net/FetchResult.h); the window layer asks here and shows what comes back, so one
// failure shows at most one box and the choice is made in this one place.

#include "net/FetchResult.h"

#include <QString>

enum class FetchOccasion {
    Start,      // the first fetch of Start (dat or web mode)
    Refetch,    // a countdown's re-fetch: a failure keeps the page and tries again
    OpenBoard,  // a board's thread index: a failure leaves the thread list empty
    BoardMenu,  // the board menu page: a failure leaves the board lists as they were
};

// The text to show for how a fetch on this occasion ended; empty when nothing is shown (a
// success, or a failure the occasion recovers from quietly).
QString fetchFailureMessage(FetchOccasion occasion, const FetchResult &result);

// Start with a server text that cannot be connected to (an empty host, a bad port).
QString connectFailedMessage();

// What the live cycle tells the user, as a value; the window shows messageText().
struct LiveMessage
{
    enum class Kind {
        FetchFailed,     // `occasion`'s fetch ended as `result`
        Overloaded,      // web mode met the overloaded-server page
        NotAThreadPage,  // web mode's Start page holds no response
        AlreadyFull,     // the first display of a thread already at 1001
    };
    Kind kind = Kind::FetchFailed;
    FetchOccasion occasion = FetchOccasion::Start;
    FetchResult result;
};

// The text of a message box for it; empty when the user is told nothing.
QString messageText(const LiveMessage &message);
