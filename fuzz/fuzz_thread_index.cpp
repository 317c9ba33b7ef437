// The thread index reply (subject.txt) turned into the thread list.
#include "FuzzSupport.h"

#include "net/ThreadIndex.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString reply = normaliseIndexLineEnds(fuzz::text(data, size));
    // After normalising, every CR is followed by LF and every LF preceded by CR.
    for (qsizetype i = 0; i < reply.size(); ++i) {
        if (reply.at(i) == QLatin1Char('\r') && (i + 1 >= reply.size() || reply.at(i + 1) != QLatin1Char('\n')))
            abort();
        if (reply.at(i) == QLatin1Char('\n') && (i == 0 || reply.at(i - 1) != QLatin1Char('\r')))
            abort();
    }
    const ThreadIndexListing listing
        = listThreadIndex(reply, QStringLiteral("live.example:8080"), QStringLiteral("livenhk"));
    if (listing.entries.size() != listing.addresses.size())
        abort();
    for (qsizetype i = 0; i < listing.entries.size(); ++i) {
        if (!listing.entries.at(i).startsWith(QString::number(i + 1) + QStringLiteral(": ")))
            abort();
    }
    return 0;
}
