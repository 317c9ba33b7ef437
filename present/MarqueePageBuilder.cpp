#include "present/MarqueePageBuilder.h"

namespace {

struct RowTops
{
    QString t, u, v;
};

RowTops rowTops(int k, int linesAbove)
{
    if (k == 1)
        return {QStringLiteral("top:3px;"), QStringLiteral("top:2px;"), QStringLiteral("top:4px;")};
    const int y = 30 * linesAbove;
    auto top = [](int px) { return QStringLiteral("top:%1px;").arg(px); };
    return {top(y), top(y + 1), top(y - 1)};
}

// Both modes once the source is chosen: pipeline, cleaning, colours, rows, the page.
MarqueeBuild buildMarquee(ThreadPosition &position, const CommentSource &source,
                          const MarqueeSettings &settings, ImageLists &images, qint32 &lngMsgCount,
                          const RandomSource &random)
{
    MarqueeBuild build;
    const CommentBatch batch = selectBatch(position, source, settings, build);
    build.disableCommand2 = build.alreadyFull && source.isDat();
    // Settings a build cannot use, or a page element without a body, end it silently: nothing
    // shown, no image collected.
    const auto maxRows = parseMaxRow(settings.comboMaxRow);
    const auto scrollAmount = marqueeScrollAmount(settings.intScroll);
    if (!batch.ready || !batch.complete || !maxRows || !scrollAmount)
        return build;

    // Plain responses: random pastels in dat mode, white in web mode.
    PastelPicker pastel(random);
    const CleaningVariant variant{source.isDat() ? ImageLinkForm::DatAddresses : ImageLinkForm::WebAnchors,
                                  false, true, true};
    QString rows;
    int linesAbove = 0;
    for (const BatchResponse &response : batch.responses) {
        const CleanedResponse cleaned = cleanBatchResponse(response, *maxRows, variant, &images, build);
        QString colour = marqueeKeywordColour(keywordOf(cleaned.text));
        if (colour.isEmpty())
            colour = source.isDat() ? pastel.next() : QStringLiteral(" color:white;");
        rows += marqueeRows(cleaned.text, colour, response.k, linesAbove, *scrollAmount);
        linesAbove += cleaned.lineCount;
        takeCommentIndex(lngMsgCount);
    }
    build.outcome = ViewBuild::Outcome::Shown;
    build.page = marqueePage(rows);
    return build;
}

} // namespace

QString marqueePageFileName()
{
    return QStringLiteral("tempHtml2.html");
}

std::optional<QString> marqueeScrollAmount(int intScroll)
{
    switch (intScroll) {
    case 3:
        return QStringLiteral("22");
    case 5:
        return QStringLiteral("13");
    case 8:
        return QStringLiteral("5");
    default:
        return std::nullopt;
    }
}

QString marqueeRows(const QString &text, const QString &colour, int k, int linesAbove,
                    const QString &scrollAmount)
{
    const RowTops tops = rowTops(k, linesAbove);
    const QString s = QStringLiteral("<Marquee loop=1 scrollamount=\"") + scrollAmount
        + QStringLiteral("\" style=\"font-size:26px;font-weight: bold;");
    const QString black = QStringLiteral(" color:#000000;");
    const QString end = QStringLiteral("</marquee>\r\n");
    auto right = [](int px) { return QStringLiteral("position:absolute;right:%1\">").arg(px); };
    return s + black + tops.t + right(1) + text + end
        + s + black + tops.t + right(3) + text + end
        + s + black + tops.u + right(2) + text + end
        + s + black + tops.v + right(2) + text + end
        + s + colour + tops.t + right(2) + text + end;
}

QString marqueePage(const QString &rows)
{
    return QStringLiteral("<html><body bgcolor=#003366><table width=\"100%\"><tr><td>") + rows
        + QStringLiteral("</td></tr></table>");
}

MarqueeBuild createTextFromDatWebScroll(ThreadPosition &position, const ResponseRecord &record,
                                        const MarqueeSettings &settings, ImageLists &images,
                                        qint32 &lngMsgCount, const RandomSource &random)
{
    return buildMarquee(position, CommentSource::dat(record), settings, images, lngMsgCount, random);
}

MarqueeBuild createTextWebScroll(ThreadPosition &position, QString &text2,
                                 const MarqueeSettings &settings, ImageLists &images,
                                 qint32 &lngMsgCount)
{
    return buildMarquee(position, CommentSource::web(text2), settings, images, lngMsgCount, {});
}
