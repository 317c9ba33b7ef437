// The image viewer's page from response numbers and image addresses taken from the input
// (fields separated by U+0001, alternately number and address), in both layouts. An address
// that reaches the page must not be able to leave its quotes (its "&" the page writes as "&amp;").
#include "FuzzSupport.h"

#include "core/ServicesConfig.h"
#include "viewers/ImageViewerPage.h"

#include <cstdlib>

namespace {

void checkAddress(const QString &a)
{
    if (a.isEmpty())
        return;
    if (!a.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        && !a.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        abort();
    for (QChar c : a) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('<')
            || c == QLatin1Char('>') || c == QLatin1Char('\\') || c == QLatin1Char('`')
            || c.unicode() < 0x21)
            abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList parts = fuzz::fields(fuzz::text(data, size), 2);
    QStringList names;
    QStringList addresses;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        names << parts.at(i);
        addresses << parts.at(i + 1);
        checkAddress(imageViewerAddress(parts.at(i + 1), services().redirectorPrefix));
        checkAddress(imageViewerAddress(parts.at(i + 1), parts.at(i)));
    }
    // A shorter names list, as when the caller's lists fell out of step.
    if (names.size() > 1 && (data[0] & 1))
        names.removeLast();

    ImageViewerState state;
    state.load();
    state.setImage(names, addresses, false);
    if (state.varShownUrl.size() != addresses.size() || state.varShownResNo.size() != addresses.size())
        abort();
    for (const QString &shown : state.varShownUrl)
        checkAddress(shown);
    state.modeChange();
    state.modeChange();
    fuzz::keep(state.strImagePage);
    return 0;
}
