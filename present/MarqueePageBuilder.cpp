#include "present/MarqueePageBuilder.h"

namespace {

// The tops (CSS px) of a response's rows: T for the coloured text and its sideways copies, U and
// V for the copies a pixel below and above.
struct RowTops
{
    int t, u, v;
};

RowTops rowTops(int k, int linesAbove)
{
    if (k == 1)
        return {3, 2, 4};
    const int y = 30 * linesAbove;
    return {y, y + 1, y - 1};
}

// Whether the text has no markup but its line breaks: then nothing in it can change its colour.
bool onlyLineBreaks(const QString &text)
{
    return text.count(QLatin1Char('<')) == text.count(QStringLiteral("<br>"));
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
        appendMarqueeRowElements(build.rows.marquees, cleaned.text, colour, response.k, linesAbove,
                                 scrollAmount->toInt());
        linesAbove += cleaned.lineCount;
        takeCommentIndex(lngMsgCount);
    }
    build.outcome = ViewBuild::Outcome::Shown;
    build.page = marqueePage(rows);
    build.rows.background = kMarqueePageBackground;
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
    const RowTops px = rowTops(k, linesAbove);
    auto top = [](int y) { return QStringLiteral("top:%1px;").arg(y); };
    const QString t = top(px.t), u = top(px.u), v = top(px.v);
    const QString s = QStringLiteral("<Marquee loop=1 scrollamount=\"") + scrollAmount
        + QStringLiteral("\" style=\"font-size:26px;font-weight: bold;");
    const QString black = QStringLiteral(" color:#000000;");
    const QString end = QStringLiteral("</marquee>\r\n");
    auto right = [](int px) { return QStringLiteral("position:absolute;right:%1\">").arg(px); };
    return s + black + t + right(1) + text + end
        + s + black + t + right(3) + text + end
        + s + black + u + right(2) + text + end
        + s + black + v + right(2) + text + end
        + s + colour + t + right(2) + text + end;
}

void appendMarqueeRowElements(QList<MarqueeElement> &out, const QString &text, const QString &colour,
                              int k, int linesAbove, int scrollAmount)
{
    const RowTops px = rowTops(k, linesAbove);
    auto element = [&](int top, int right) {
        MarqueeElement e;
        e.scrollAmount = scrollAmount;
        e.loop = 1;
        e.absolute = true;
        e.top = top;
        e.right = right;
        return e;
    };
    auto read = [&](MarqueeElement e, MarqueeRgb rgb) {
        MarqueeContentReader reader(e);
        reader.read(text, {26, true, rgb});
        return reader.finish();
    };
    const MarqueeElement black = read(element(px.t, 1), 0x000000);
    const int places[3][2] = {{px.t, 3}, {px.u, 2}, {px.v, 2}};
    out.append(black);
    for (int i = 0; i < 3; ++i) {
        out.append(element(places[i][0], places[i][1]));
        out.last().blocks = black.blocks;
    }
    const MarqueeRgb rgb = declaredColour(colour);
    if (!onlyLineBreaks(text)) {
        out.append(read(element(px.t, 2), rgb));
        return;
    }
    out.append(element(px.t, 2));
    out.last().blocks = black.blocks;
    for (MarqueeBlock &block : out.last().blocks)
        for (MarqueeLine &line : block.lines)
            for (MarqueeRun &run : line.runs)
                run.colour = rgb;
}

MarqueeRgb declaredColour(const QString &declaration)
{
    const QString value = declaration.section(QLatin1Char(':'), 1).section(QLatin1Char(';'), 0, 0);
    return parseCssColour(value).value_or(0x000000);
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
