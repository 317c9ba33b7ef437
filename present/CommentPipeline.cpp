#include "present/CommentPipeline.h"

#include "net/ResponseRecord.h"

#include <limits>

namespace {

// The position stage of either source; nullopt when the source has no last number to read.
std::optional<PositionUpdate> advancePosition(ThreadPosition &position, const CommentSource &source,
                                              const PipelineSettings &input, QStringList &elements)
{
    if (source.isDat())
        return advanceDatPosition(position, *source.record, input.label3, input.strGetSintyakuFooter);
    if (!source.text2 || !trimBeforeFirstDt(*source.text2))
        return std::nullopt;
    elements = splitDtElements(*source.text2);
    const auto lastNumber = webResponseNumber(elements.last());
    if (!lastNumber)
        return std::nullopt;
    return advanceWebPosition(position, *lastNumber, input.label3, input.strGetSintyakuFooter);
}

// The batch of new responses, read from the source; complete is false when a page element has
// no body ("<dd>"): the responses before it are kept.
QList<BatchResponse> readBatch(const ThreadPosition &position, const CommentSource &source,
                               const QStringList &elements, int comboMax, bool &complete)
{
    QList<BatchResponse> batch;
    if (source.isDat()) {
        const ResponseRecord &record = *source.record;
        for (int i : datBatchIndexes(position.intZenkaiLastDT, record.upperBound(), comboMax))
            batch.append({datResponseFields(record, i), 0, false});
        return batch;
    }
    for (int u : webBatchElements(int(elements.size()), comboMax)) {
        const auto response = webResponseAt(elements, u);
        if (!response) {
            complete = false;
            break;
        }
        ResponseFields fields{response->number, response->name, response->mail, response->dateId,
                              response->body};
        batch.append({fields, 0, u == elements.size() - 1});
    }
    return batch;
}

} // namespace

ResponseFields datResponseFields(const ResponseRecord &record, int i)
{
    return {record.number(i).value_or(QString()), record.name(i).value_or(QString()), record.mail(i),
            record.time(i).value_or(QString()), record.body(i).value_or(QString())};
}

bool isHiddenResponse(const ResponseFilter *filter, const ResponseRecord &record, int i)
{
    return filter && filter->hides(datResponseFields(record, i));
}

CommentBatch selectBatch(ThreadPosition &position, const CommentSource &source,
                         const PipelineSettings &input, ViewBuild &build)
{
    CommentBatch batch;
    QStringList elements;
    const auto update = advancePosition(position, source, input, elements);
    if (!update)
        return batch;
    switch (update->step) {
    case PositionStep::Failed:
        return batch;
    case PositionStep::NothingNew:
        build.outcome = ViewBuild::Outcome::NothingNew;
        return batch;
    case PositionStep::First:
        build.label3 = update->label3;
        build.label1 = update->label1;
        build.outcome = ViewBuild::Outcome::FirstCall;
        build.alreadyFull = update->at1001;
        build.startCountdown = !update->at1001;
        return batch;
    case PositionStep::NewResponses:
        build.label3 = update->label3;
        build.label1 = update->label1;
        build.threadEnded = update->at1001;
        build.next = update->at1001 ? endOfThreadAction(input.intNextWhen1000) : EndOfThreadAction::Nothing;
        break;
    }
    const auto comboMax = parseComboMax(input.comboMax);
    if (!comboMax)
        return batch;

    const QList<BatchResponse> read = readBatch(position, source, elements, *comboMax, batch.complete);
    int k = 0;
    for (const BatchResponse &response : read) {
        if (input.filter && input.filter->hides(response.fields))
            continue;
        batch.responses.append(response);
        batch.responses.last().k = ++k;
    }
    batch.ready = true;
    return batch;
}

CleanedResponse cleanBatchResponse(const BatchResponse &response, int maxRows,
                                   const CleaningVariant &variant, ImageLists *images,
                                   ViewBuild &build)
{
    CleanedResponse cleaned = cleanResponseText(
        {response.fields.body, maxRows, response.k, response.lastWebElement}, variant);
    if (cleaned.hadImages && images) {
        appendImages(*images, response.fields.number, cleaned.imageUrls);
        build.callSetImage = true;
    }
    return cleaned;
}

qint32 takeCommentIndex(qint32 &lngMsgCount)
{
    const qint32 i = lngMsgCount <= 0 ? 1 : lngMsgCount;
    lngMsgCount = (i == std::numeric_limits<qint32>::max()) ? 1 : i + 1;
    return i;
}
