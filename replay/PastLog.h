#pragma once
// Saved dat files (past logs) turned into the four parallel lists the replay walks on every tick:
// number, time, name and body. Times are seconds relative to the start response, as decimal
// text, so the display compares them with the text of the video position by plain equality.
//
// This is the loader state of moduleWMP; one instance lives for the whole run.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// Seconds of the day of the first "h:m:s" group in a date field, or nothing when it holds none
// (a deleted response). Shared with the start-time dialog's OK.
std::optional<qint64> secondsOfDay(const QString &dateField);

// The entity replacements every past-log text goes through, in their order ("&amp;" first, so
// "&amp;lt;" ends up as "<").
QString decodePastLogEntities(QString text);

class PastLog
{
public:
    // The four lists; entries 0 .. lngDatResCount - 1 are valid and belong together.
    QStringList strDatResNo;
    QStringList strDatResTime;
    QStringList strDatResName;
    QStringList strDatRes;
    qsizetype lngDatResCount = 0;
    // Beside them, for the NG rules: each entry's mail field and whole date field (with its ID).
    QStringList strDatResMail;
    QStringList strDatResDate;

    // Seconds of the day of the start response; 0 means "not set".
    qint64 lngStartSeconds = 0;

    // The load command's first step: the next load rewrites the lists from entry 0.
    void beginLoad();

    // Appends the lines of one dat file. A file that cannot be read adds nothing.
    void loadPastLogFile(const QString &path);

    // Appends one dat line (fields separated by "<>"; entities already decoded).
    void appendDatLine(const QString &line);

    // Date fields of every line of one file, row i for line i: the start-time dialog's rows.
    // Unsets the start time and withdraws the loaded replay, so nothing is shown until the
    // load that follows the dialog.
    QStringList listPastLogTimes(const QString &path);

    // Time text of a date field relative to lngStartSeconds; the first stamped field met while
    // no start is set becomes the zero point ("0"). Empty when the field holds no time.
    QString parseResTime(const QString &dateField);

    // Caption of lblWmpDatResCount after a load.
    QString countLabelText() const;

    // Index of the first entry stamped with this time text, or -1. Lets the display start its
    // walk there instead of scanning every entry on every tick.
    qsizetype firstIndexOfTime(const QString &time) const { return m_firstIndexOfTime.value(time, -1); }

private:
    void clearEntries();

    QHash<QString, qsizetype> m_firstIndexOfTime;
};
