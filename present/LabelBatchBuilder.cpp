#include "present/LabelBatchBuilder.h"

#include "net/ResponseRecord.h"
#include "present/LabelColour.h"
#include "present/ResponseText.h"

#include <limits>

namespace {

struct BatchItem
{
    QString number;
    QString body;
    bool lastWebElement = false;
};

// Whether the position step leaves anything to build; fills the captions and first-call flags.
bool takePositionStep(LabelBuild &build, const PositionUpdate &update)
{
    switch (update.step) {
    case PositionStep::Failed:
        return false;
    case PositionStep::NothingNew:
        build.outcome = LabelBuild::Outcome::NothingNew;
        return false;
    case PositionStep::First:
        build.label3 = update.label3;
        build.label1 = update.label1;
        build.outcome = LabelBuild::Outcome::FirstCall;
        build.alreadyFull = update.at1001;
        build.startCountdown = !update.at1001;
        return false;
    case PositionStep::NewResponses:
        build.label3 = update.label3;
        build.label1 = update.label1;
        return true;
    }
    return false;
}

void buildComments(LabelBuild &build, const QList<BatchItem> &batch, int maxRows,
                   ImageLinkForm imageForm, const ThreadPosition &position,
                   const LabelSettings &settings, ImageLists &images)
{
    const CleaningVariant variant{imageForm, true, false};
    int k = 0;
    for (const BatchItem &item : batch) {
        ++k;
        const CleanedResponse cleaned
            = cleanResponseText({item.body, maxRows, k, item.lastWebElement}, variant);
        if (cleaned.hadImages) {
            appendImages(images, item.number, cleaned.imageUrls);
            build.callSetImage = true;
        }
        build.comments.append({cleaned.text, labelColourFor(cleaned.text, settings.varFontColor), k});
    }
    build.outcome = LabelBuild::Outcome::Comments;
    if (position.intLastDt == kThreadEndNumber) {
        build.threadEnded = true;
        build.next = endOfThreadAction(settings.intNextWhen1000);
    }
}

} // namespace

LabelBuild createTextFromDatLabel(ThreadPosition &position, const ResponseRecord &record,
                                  const LabelSettings &settings, ImageLists &images)
{
    LabelBuild build;
    const PositionUpdate update = advanceDatPosition(position, record, settings.label3,
                                                     settings.strGetSintyakuFooter);
    if (!takePositionStep(build, update))
        return build;

    const auto comboMax = parseComboMax(settings.comboMax);
    const auto maxRows = parseMaxRow(settings.comboMaxRow);
    if (!comboMax || !maxRows)
        return build;
    QList<BatchItem> batch;
    const QStringList numbers = record.numbers();
    const QStringList bodies = record.bodies();
    for (int i : datBatchIndexes(position.intZenkaiLastDT, record.upperBound(), *comboMax))
        batch.append({numbers.value(i), bodies.value(i), false});
    buildComments(build, batch, *maxRows, ImageLinkForm::DatAddresses, position, settings, images);
    return build;
}

LabelBuild createTextLabel(ThreadPosition &position, QString &text2, const LabelSettings &settings,
                           ImageLists &images)
{
    LabelBuild build;
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
    const auto maxRows = parseMaxRow(settings.comboMaxRow);
    if (!comboMax || !maxRows)
        return build;
    QList<BatchItem> batch;
    bool cutShort = false;
    for (int u : webBatchElements(int(elements.size()), *comboMax)) {
        const auto response = webResponseAt(elements, u);
        if (!response) {
            // Comments are created one by one as the page is read: those before the unreadable
            // element are shown, then the build ends.
            cutShort = true;
            break;
        }
        batch.append({response->number, response->body, u == elements.size() - 1});
    }
    buildComments(build, batch, *maxRows, ImageLinkForm::WebAnchors, position, settings, images);
    if (cutShort) {
        build.cutShort = true;
        build.callSetImage = false;
        build.threadEnded = false;
        build.next = EndOfThreadAction::Nothing;
    }
    return build;
}

bool showLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount,
                    const CreateLabelComment &create)
{
    for (const LabelComment &comment : comments) {
        qint32 i = lngMsgCount;
        // 0 only before the first comment of the run; past the 32-bit range it starts again at 1
        // (the comments of two billion indexes ago are long gone).
        if (i <= 0)
            i = 1;
        if (!create(comment.text, comment.colour, i, comment.k))
            return false;
        lngMsgCount = (i == std::numeric_limits<qint32>::max()) ? 1 : i + 1;
    }
    return true;
}

QList<present::SpreadComment> indexLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount)
{
    QList<present::SpreadComment> out;
    for (const LabelComment &c : comments) {
        const qint32 i = lngMsgCount <= 0 ? 1 : lngMsgCount;
        out.append({c.text, c.colour, i, c.k});
        lngMsgCount = (i == std::numeric_limits<qint32>::max()) ? 1 : i + 1;
    }
    return out;
}
