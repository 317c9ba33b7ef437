// convertDat on any reply, then the dat-mode presenters (marquee page and label strip) on the
// record it gives, the way a re-fetch hands it to them.
#include "FuzzSupport.h"

#include "net/DatConverter.h"
#include "present/LabelBatchBuilder.h"
#include "present/MarqueePageBuilder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ResponseRecord record = convertDat(fuzz::text(data, size));

    // The four arrays stay parallel, and one empty element follows the last response.
    const int top = record.upperBound();
    if (top < 0 || record.names().size() != top + 1 || record.times().size() != top + 1
        || record.bodies().size() != top + 1 || !record.body(top)->isEmpty())
        abort();

    const QString page = QStringLiteral("http://live.example/test/read.cgi/livenhk/1/l50");
    ThreadPosition position;
    position.blnIsFirst = false;
    const PipelineSettings pipeline{page, QStringLiteral("n-"), QStringLiteral("30"), 0, nullptr};
    MarqueeSettings marquee{pipeline, QStringLiteral("全て"), 5};
    ImageLists images;
    qint32 count = 0;
    const MarqueeBuild built = createTextFromDatWebScroll(position, record, marquee, images, count,
                                                          [] { return 0.42; });
    fuzz::keep(built.page);

    ThreadPosition labelPosition;
    labelPosition.blnIsFirst = false;
    LabelSettings labels{pipeline, QStringLiteral("全て")};
    const LabelBuild comments = createTextFromDatLabel(labelPosition, record, labels, images);
    fuzz::keep(comments.comments.size());
    if (images.varImageResNo.size() != images.varImageUrl.size())
        abort();
    return 0;
}
