// Web mode: a read.cgi page as the re-fetch hands it to the marquee and label builders (the
// thread's first build already done), and the page's "<dt>" elements read one by one.
// The first input byte chooses the batch size and scroll speed, as the settings dialogs would.
#include "FuzzSupport.h"

#include "present/LabelBatchBuilder.h"
#include "present/MarqueePageBuilder.h"

#include <cstdlib>

namespace {

ThreadPosition afterFirstBuild()
{
    ThreadPosition position;
    position.blnIsFirst = false;
    position.intLastDt = 49;
    position.strNextURL = QStringLiteral("http://live.example/test/read.cgi/livenhk/1/49n-");
    return position;
}

LabelSettings labelSettings(const QString &label3, const char *footer, const QString &comboMax,
                            const QString &comboMaxRow)
{
    LabelSettings settings;
    settings.label3 = label3;
    settings.strGetSintyakuFooter = QString::fromLatin1(footer);
    settings.comboMax = comboMax;
    settings.comboMaxRow = comboMaxRow;
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const maxItems[] = {"10", "15", "20", "25", "30"};
    static const char *const rowItems[] = {"1", "2", "3", "4", "全て"};
    static const int scrolls[] = {3, 5, 8};
    const uint8_t choice = size > 0 ? data[0] : 0;
    const QString comboMax = QString::fromLatin1(maxItems[choice % 5]);
    const QString comboMaxRow = QString::fromUtf8(rowItems[(choice / 5) % 5]);
    const QString page = fuzz::text(data, size);
    const QString label3 = QStringLiteral("http://live.example/test/read.cgi/livenhk/1/49n-");

    {
        ThreadPosition position = afterFirstBuild();
        QString text2 = page;
        ImageLists images;
        qint32 count = 0;
        MarqueeSettings settings;
        settings.label3 = label3;
        settings.strGetSintyakuFooter = QStringLiteral("n-");
        settings.comboMax = comboMax;
        settings.comboMaxRow = comboMaxRow;
        settings.intScroll = scrolls[(choice / 25) % 3];
        settings.intNextWhen1000 = 1;
        const MarqueeBuild built = createTextWebScroll(position, text2, settings, images, count);
        fuzz::keep(built.page);
        if (images.varImageResNo.size() != images.varImageUrl.size())
            abort();
    }
    {
        ThreadPosition position = afterFirstBuild();
        QString text2 = page;
        ImageLists images;
        const LabelBuild built = createTextLabel(position, text2, labelSettings(label3, "n-", comboMax, comboMaxRow), images);
        fuzz::keep(built.comments.size());
    }
    {
        // A first build only records the position.
        ThreadPosition position;
        QString text2 = page;
        ImageLists images;
        LabelSettings settings = labelSettings(label3, "-", comboMax, comboMaxRow);
        settings.intNextWhen1000 = 2;
        const LabelBuild built = createTextLabel(position, text2, settings, images);
        if (built.outcome == LabelBuild::Outcome::Shown || !images.varImageUrl.isEmpty())
            abort();
    }
    {
        QString text2 = page;
        if (trimBeforeFirstDt(text2)) {
            const QStringList elements = splitDtElements(text2);
            for (int u = 0; u < elements.size(); ++u) {
                fuzz::keep(webResponseNumber(elements.at(u)).value_or(0));
                if (const auto response = webResponseAt(elements, u))
                    fuzz::keep(response->body);
            }
        }
    }
    return 0;
}
