#include "present/MarqueePageBuilder.h"

#include "net/ResponseRecord.h"
#include "present/ResponseText.h"

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

// A response ready for the page: its number, body and whether it is the page's last element.
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

// Shared by both modes once the batch is known: cleaning, rows, colours, the page, the end.
void buildPage(MarqueeBuild &build, const QList<BatchItem> &batch, int maxRows,
               const QString &scrollAmount, ImageLinkForm imageForm, bool randomColours,
               const RandomSource &random, const ThreadPosition &position,
               const MarqueeSettings &settings, ImageLists &images, qint32 &lngMsgCount)
{
    PastelPicker pastel(random);
    const CleaningVariant variant{imageForm, false, true, true};
    QString rows;
    int linesAbove = 0;
    int k = 0;
    for (const BatchItem &item : batch) {
        ++k;
        const CleanedResponse cleaned
            = cleanResponseText({item.body, maxRows, k, item.lastWebElement}, variant);
        if (cleaned.hadImages) {
            appendImages(images, item.number, cleaned.imageUrls);
            build.callSetImage = true;
        }
        QString colour = marqueeKeywordColour(keywordOf(cleaned.text));
        if (colour.isEmpty())
            colour = randomColours ? pastel.next() : QStringLiteral(" color:white;");
        rows += marqueeRows(cleaned.text, colour, k, linesAbove, scrollAmount);
        linesAbove += cleaned.lineCount;
        countMessage(lngMsgCount);
    }
    build.outcome = MarqueeBuild::Outcome::Page;
    build.page = marqueePage(rows);
    if (position.intLastDt == kThreadEndNumber) {
        build.threadEnded = true;
        build.next = endOfThreadAction(settings.intNextWhen1000);
    }
}

struct BuildLimits
{
    int comboMax = 0;
    int maxRows = 0;
    QString scrollAmount;
};

// Settings a build cannot use end it silently (nothing shown, no image collected).
std::optional<BuildLimits> readLimits(const MarqueeSettings &settings)
{
    const auto comboMax = parseComboMax(settings.comboMax);
    const auto maxRows = parseMaxRow(settings.comboMaxRow);
    const auto scrollAmount = marqueeScrollAmount(settings.intScroll);
    if (!comboMax || !maxRows || !scrollAmount)
        return std::nullopt;
    return BuildLimits{*comboMax, *maxRows, *scrollAmount};
}

void takeCaptions(MarqueeBuild &build, const PositionUpdate &update)
{
    build.label3 = update.label3;
    build.label1 = update.label1;
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
    MarqueeBuild build;
    const PositionUpdate update = advanceDatPosition(position, record, settings.label3,
                                                     settings.strGetSintyakuFooter);
    switch (update.step) {
    case PositionStep::Failed:
        return build;
    case PositionStep::NothingNew:
        build.outcome = MarqueeBuild::Outcome::NothingNew;
        return build;
    case PositionStep::First:
        takeCaptions(build, update);
        build.outcome = MarqueeBuild::Outcome::FirstCall;
        build.alreadyFull = update.at1001;
        build.disableCommand2 = update.at1001;
        build.startCountdown = !update.at1001;
        return build;
    case PositionStep::NewResponses:
        takeCaptions(build, update);
        break;
    }

    const auto limits = readLimits(settings);
    if (!limits)
        return build;
    QList<BatchItem> batch;
    const QStringList numbers = record.numbers();
    const QStringList bodies = record.bodies();
    for (int i : datBatchIndexes(position.intZenkaiLastDT, record.upperBound(), limits->comboMax))
        batch.append({numbers.value(i), bodies.value(i), false});
    buildPage(build, batch, limits->maxRows, limits->scrollAmount, ImageLinkForm::DatAddresses,
              true, random, position, settings, images, lngMsgCount);
    return build;
}

MarqueeBuild createTextWebScroll(ThreadPosition &position, QString &text2,
                                 const MarqueeSettings &settings, ImageLists &images,
                                 qint32 &lngMsgCount)
{
    MarqueeBuild build;
    if (!trimBeforeFirstDt(text2))
        return build;
    const QStringList elements = splitDtElements(text2);
    const auto lastNumber = webResponseNumber(elements.last());
    if (!lastNumber)
        return build;

    const PositionUpdate update = advanceWebPosition(position, *lastNumber, settings.label3,
                                                     settings.strGetSintyakuFooter);
    switch (update.step) {
    case PositionStep::Failed:
        return build;
    case PositionStep::NothingNew:
        build.outcome = MarqueeBuild::Outcome::NothingNew;
        return build;
    case PositionStep::First:
        takeCaptions(build, update);
        build.outcome = MarqueeBuild::Outcome::FirstCall;
        build.alreadyFull = update.at1001;
        build.startCountdown = !update.at1001;
        return build;
    case PositionStep::NewResponses:
        takeCaptions(build, update);
        break;
    }

    const auto limits = readLimits(settings);
    if (!limits)
        return build;
    QList<BatchItem> batch;
    for (int u : webBatchElements(int(elements.size()), limits->comboMax)) {
        const auto response = webResponseAt(elements, u);
        if (!response)
            return build; // an element without "<dd>": the build ends here, silently
        batch.append({response->number, response->body, u == elements.size() - 1});
    }
    buildPage(build, batch, limits->maxRows, limits->scrollAmount, ImageLinkForm::WebAnchors,
              false, {}, position, settings, images, lngMsgCount);
    return build;
}
