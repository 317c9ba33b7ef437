#pragma once
// The new responses of a fetch as comments for the label strip (view mode "モード１"), built
// without a window: the comment pipeline (present/CommentPipeline.h) with the label cleaning and
// the label palette. createTextFromDatLabel works on the response record (dat mode),
// createTextLabel on the read.cgi page text held in Text2 (web mode). A comment here is plain
// multi-line text (CR LF line ends, no indent, lower case).
//
// The builders return the comments to create; showLabelBatch hands them to the strip with their
// indexes, then the main window calls setImage and runs the end-of-thread handling.

#include "present/BurstSpread.h"
#include "present/CommentPipeline.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class ResponseRecord;

// What the builders read from the main window and its settings dialog at every build.
struct LabelSettings : PipelineSettings
{
    QString comboMaxRow;              // text shown in comboMaxRow ("1" .. "4", "全て")
    quint32 varFontColor = 0xC0C0FF;  // 0xRRGGBB, for comments without a keyword
};

// One comment to create: its text, colour (0xRRGGBB) and position k in the batch, from 1.
struct LabelComment
{
    QString text;
    quint32 colour = 0;
    int k = 1;
};

struct LabelBuild : ViewBuild
{
    QList<LabelComment> comments;  // Shown: the comments to create, in order
    // A response that could not be read cut the batch short: create the comments above, then end
    // silently (no setImage; the end of the thread still follows).
    bool cutShort = false;
};

LabelBuild createTextFromDatLabel(ThreadPosition &position, const ResponseRecord &record,
                                  const LabelSettings &settings, ImageLists &images);

// text2 is Text2's text; it keeps the page trimmed to its first "<dt>", as the text box does.
LabelBuild createTextLabel(ThreadPosition &position, QString &text2, const LabelSettings &settings,
                           ImageLists &images);

// Creates the comments of a batch in order through create(text, colour, index, k): index is
// lngMsgCount (1 when it is 0), and lngMsgCount moves past each comment created. Stops at the
// first comment that cannot be created and returns false; true when all were created.
using CreateLabelComment = std::function<bool(const QString &text, quint32 colour, qint32 index, int k)>;
bool showLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount,
                    const CreateLabelComment &create);

// The batch to spread over the interval: every comment gets its index now, in order, and
// lngMsgCount moves past them all.
QList<present::SpreadComment> indexLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount);
