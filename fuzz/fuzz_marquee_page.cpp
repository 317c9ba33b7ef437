// The marquee surface's page reader on any page, and its small readers on the same text.
#include "FuzzSupport.h"

#include "present/MarqueePage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString html = fuzz::text(data, size);
    const MarqueePage page = parseMarqueePage(html);
    for (const MarqueeElement &marquee : page.marquees) {
        for (const MarqueeBlock &block : marquee.blocks) {
            for (const MarqueeLine &line : block.lines) {
                for (const MarqueeRun &run : line.runs) {
                    if (run.colour > 0xFFFFFF)
                        abort();
                    fuzz::keep(run.text);
                }
            }
        }
    }
    if (page.background && *page.background > 0xFFFFFF)
        abort();
    if (const auto colour = parseCssColour(html); colour && *colour > 0xFFFFFF)
        abort();
    fuzz::keep(parseCssPixels(html).value_or(0));
    fuzz::keep(decodeEntities(html));
    return 0;
}
