#include "mini/MiniPageBuilder.h"

#include "net/ResponseRecord.h"
#include "present/KeywordColour.h"
#include "present/MarqueePageBuilder.h"
#include "present/ResponseText.h"

#include <cmath>

namespace {

struct BatchItem
{
    QString number;
    QString body;
    bool lastWebElement = false;
};

void countMessage(qint32 &lngMsgCount)
{
    if (lngMsgCount == 0)
        lngMsgCount = 1;
    ++lngMsgCount;
}

void takeCaptions(MiniBuild &build, const PositionUpdate &update)
{
    build.label3 = update.label3;
    build.label1 = update.label1;
}

// Applies the bookkeeping step; true when a batch is to be built.
bool takePositionStep(MiniBuild &build, const PositionUpdate &update)
{
    switch (update.step) {
    case PositionStep::Failed:
        return false;
    case PositionStep::NothingNew:
        build.outcome = MiniBuild::Outcome::NothingNew;
        return false;
    case PositionStep::First:
        takeCaptions(build, update);
        build.outcome = MiniBuild::Outcome::FirstCall;
        build.alreadyFull = update.at1001;
        build.startCountdown = !update.at1001;
        return false;
    case PositionStep::NewResponses:
        takeCaptions(build, update);
        return true;
    }
    return false;
}

void buildPage(MiniBuild &build, const QList<BatchItem> &batch, int maxRows, bool datMode,
               const ThreadPosition &position, const MiniSettings &settings, qint32 &lngMsgCount)
{
    const CleaningVariant variant{ImageLinkForm::None, false, false, true};
    QString cells;
    int k = 0;
    for (const BatchItem &item : batch) {
        ++k;
        const CleanedResponse cleaned
            = cleanResponseText({item.body, maxRows, k, item.lastWebElement}, variant);
        // A read.cgi page's number is the server's text: it goes in as text, like the body.
        cells += miniCell(markupAsText(item.number), cleaned.text, cleaned.lineCount) + QStringLiteral("\r\n");
        countMessage(lngMsgCount);
    }
    build.outcome = MiniBuild::Outcome::Page;
    build.page = miniPage(cells);
    build.cells = k;
    if (position.intLastDt == kThreadEndNumber) {
        build.threadEnded = true;
        build.disableMiniCommand1 = datMode;
        build.next = endOfThreadAction(settings.intNextWhen1000);
    }
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
    switch (keywordOf(text)) {
    case Keyword::Kita:
        return QStringLiteral(" color:orange;\">");
    case Keyword::HaaHaa:
        return QStringLiteral(" color:hotpink;\">");
    case Keyword::Uho:
        return QStringLiteral(" color:magenta;\">");
    case Keyword::None:
        break;
    }
    return QStringLiteral(" color:black;\">");
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
    MiniBuild build;
    const PositionUpdate update = advanceDatPosition(position, record, settings.label3,
                                                     settings.strGetSintyakuFooter);
    if (!takePositionStep(build, update))
        return build;

    const auto comboMax = parseComboMax(settings.comboMax);
    if (!comboMax)
        return build;
    QList<BatchItem> batch;
    for (int i : datBatchIndexes(position.intZenkaiLastDT, record.upperBound(), *comboMax)) {
        const auto number = record.number(i);
        const auto body = record.body(i);
        if (!number || !body)
            return build;
        batch.append({*number, *body, false});
    }
    buildPage(build, batch, settings.intMaxRow, true, position, settings, lngMsgCount);
    return build;
}

MiniBuild createTextWebScrollMini(ThreadPosition &position, QString &text2,
                                  const MiniSettings &settings, qint32 &lngMsgCount)
{
    MiniBuild build;
    if (!trimBeforeFirstDt(text2))
        return build;
    const QStringList elements = splitDtElements(text2);
    const auto lastNumber = webResponseNumber(elements.last());
    if (!lastNumber)
        return build;

    const PositionUpdate update = advanceWebPosition(position, *lastNumber, settings.label3,
                                                     settings.strGetSintyakuFooter);
    if (!takePositionStep(build, update))
        return build;

    const auto comboMax = parseComboMax(settings.comboMax);
    if (!comboMax)
        return build;
    QList<BatchItem> batch;
    for (int u : webBatchElements(int(elements.size()), *comboMax)) {
        const auto response = webResponseAt(elements, u);
        if (!response)
            return build; // an element without "<dd>": the build ends here, silently
        batch.append({response->number, response->body, u == elements.size() - 1});
    }
    buildPage(build, batch, settings.intMaxRow, false, position, settings, lngMsgCount);
    return build;
}
