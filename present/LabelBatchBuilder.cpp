#include "present/LabelBatchBuilder.h"

#include "present/LabelColour.h"

namespace {

LabelBuild buildLabels(ThreadPosition &position, const CommentSource &source,
                       const LabelSettings &settings, ImageLists &images)
{
    LabelBuild build;
    const CommentBatch batch = selectBatch(position, source, settings, build);
    const auto maxRows = parseMaxRow(settings.comboMaxRow);
    if (!batch.ready || !maxRows)
        return build;

    // Comments are created one by one as the page is read: those before an unreadable element
    // are shown, then the build ends.
    const CleaningVariant variant{source.isDat() ? ImageLinkForm::DatAddresses : ImageLinkForm::WebAnchors,
                                  true, false};
    for (const BatchResponse &response : batch.responses) {
        const CleanedResponse cleaned = cleanBatchResponse(response, *maxRows, variant, &images, build);
        build.comments.append({cleaned.text, labelColourFor(cleaned.text, settings.varFontColor), response.k});
    }
    build.outcome = ViewBuild::Outcome::Shown;
    if (!batch.complete) {
        build.cutShort = true;
        build.callSetImage = false;
    }
    return build;
}

} // namespace

LabelBuild createTextFromDatLabel(ThreadPosition &position, const ResponseRecord &record,
                                  const LabelSettings &settings, ImageLists &images)
{
    return buildLabels(position, CommentSource::dat(record), settings, images);
}

LabelBuild createTextLabel(ThreadPosition &position, QString &text2, const LabelSettings &settings,
                           ImageLists &images)
{
    return buildLabels(position, CommentSource::web(text2), settings, images);
}

bool showLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount,
                    const CreateLabelComment &create)
{
    for (const LabelComment &comment : comments) {
        // The index moves on only once the comment exists.
        qint32 next = lngMsgCount;
        const qint32 i = takeCommentIndex(next);
        if (!create(comment.text, comment.colour, i, comment.k))
            return false;
        lngMsgCount = next;
    }
    return true;
}

QList<present::SpreadComment> indexLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount)
{
    QList<present::SpreadComment> out;
    for (const LabelComment &c : comments)
        out.append({c.text, c.colour, takeCommentIndex(lngMsgCount), c.k});
    return out;
}
