// Every regular-expression operation on response text, each on its own copy of the input, then
// the whole cleaning chain in the order the presenters run it.
#include "FuzzSupport.h"

#include "core/Patterns.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = fuzz::text(data, size);
    {
        QString t = input;
        fuzz::keep(countImageAnchors(t));
        fuzz::keep(t);
    }
    fuzz::keep(countImageUrls(input));
    {
        QString t = input;
        fuzz::keep(takeImageAnchors(t));
        fuzz::keep(t);
    }
    {
        QString t = input;
        fuzz::keep(takeImageUrls(t));
        fuzz::keep(t);
    }
    {
        QString t = input;
        linkImageUrls(t);
        fuzz::keep(t);
    }
    {
        QString t = input;
        unlinkResAnchors(t);
        unlinkResAnchorsRaw(t);
        fuzz::keep(t);
    }
    {
        QString t = input;
        fuzz::keep(unlinkOtherAnchors(t));
        fuzz::keep(t);
    }
    {
        QString t = input;
        countImageAnchors(t);
        fuzz::keep(takeImageAnchors(t));
        unlinkResAnchors(t);
        unlinkOtherAnchors(t);
        fuzz::keep(takeImageUrls(t));
        fuzz::keep(t);
    }
    return 0;
}
