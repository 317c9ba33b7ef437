#include "mini/MiniPageBuilder.h"

#include "present/KeywordColour.h"
#include "present/MarqueePageBuilder.h"

#include <cmath>

namespace {

MiniBuild buildMini(ThreadPosition &position, const CommentSource &source,
                    const MiniSettings &settings, qint32 &lngMsgCount)
{
    MiniBuild build;
    const CommentBatch batch = selectBatch(position, source, settings, build);
    build.disableMiniCommand1 = build.threadEnded && source.isDat();
    // A page element without a body ends the build silently.
    if (!batch.ready || !batch.complete)
        return build;

    const CleaningVariant variant{ImageLinkForm::None, false, false, true};
    QString cells;
    MarqueeElement row;
    row.scrollAmount = 14;
    row.loop = 1;
    MarqueeContentReader reader(row);
    reader.beginTable();
    for (const BatchResponse &response : batch.responses) {
        const CleanedResponse cleaned = cleanBatchResponse(response, settings.intMaxRow, variant, nullptr, build);
        // A read.cgi page's number is the server's text: it goes in as text, like the body.
        const QString number = markupAsText(response.fields.number);
        cells += miniCell(number, cleaned.text, cleaned.lineCount) + QStringLiteral("\r\n");
        // The cell as the surface draws it: the number in <font color=green size=2>, then the
        // text in the cell's font.
        reader.beginCell();
        reader.read(number, {13, true, 0x008000});
        reader.read(cleaned.text + QStringLiteral("\u3000\u3000"),
                    {miniFontSize(cleaned.lineCount), true, declaredColour(miniColour(cleaned.text))});
        reader.endCell();
        takeCommentIndex(lngMsgCount);
    }
    build.outcome = ViewBuild::Outcome::Shown;
    build.page = miniPage(cells);
    build.rows.background = 0xDCDCDC; // gainsboro
    build.rows.marquees = {reader.finish()};
    build.cells = int(batch.responses.size());
    return build;
}

} // namespace

QString miniPageFileName()
{
    return marqueePageFileName();
}

int miniFontSize(int lines)
{
    // nearbyint rounds halves to even in the default rounding mode.
    return int(std::nearbyint(26.0 / std::max(1, lines)));
}

QString miniColour(const QString &text)
{
    // The marquee page's keyword colours, black where no keyword speaks.
    const Keyword keyword = keywordOf(text);
    return (keyword == Keyword::None ? QStringLiteral(" color:black;") : marqueeKeywordColour(keyword))
        + QStringLiteral("\">");
}

QString miniCell(const QString &number, const QString &text, int lines)
{
    return QStringLiteral("<td><font style=\"font-size:") + QString::number(miniFontSize(lines))
        + QStringLiteral("px;font-weight: bold;right:1;") + miniColour(text)
        + QStringLiteral("<nobr><font color=green size=2>") + number + QStringLiteral("</font>")
        + text + QStringLiteral("\u3000\u3000</nobr></font></td>");
}

QString miniPage(const QString &cells)
{
    return QStringLiteral("<html><body bgcolor=gainsboro><Marquee loop=1 scrollamount=\"14\"><table><tr>\r\n")
        + cells + QStringLiteral("</tr></table></Marquee></body></html>");
}

MiniBuild createTextFromDatWebScrollMini(ThreadPosition &position, const ResponseRecord &record,
                                         const MiniSettings &settings, qint32 &lngMsgCount)
{
    return buildMini(position, CommentSource::dat(record), settings, lngMsgCount);
}

MiniBuild createTextWebScrollMini(ThreadPosition &position, QString &text2,
                                  const MiniSettings &settings, qint32 &lngMsgCount)
{
    return buildMini(position, CommentSource::web(text2), settings, lngMsgCount);
}
