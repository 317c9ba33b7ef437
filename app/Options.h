#pragma once
// options.ini: settings beyond livecfg.txt's seventeen lines, in the program folder (QSettings
// INI, UTF-8). Read once at start-up, written in one atomic replace at closing. A missing file,
// a missing key or a value of the wrong type means that option's default; keys this program
// does not know are kept when the file is written again.

#include <QString>

struct Options
{
    // [strip]
    bool commentLanes = false; // "コメントを重ねない": new comments take a free lane
    bool spreadBursts = false; // "まとめて流さない": one fetch's comments enter over the interval
    // [follow]
    bool nextByTitle = false;  // "次スレを探す": at 1000 follow the next part by title
    // [replay]
    int replayOffsetSeconds = 0; // added to the video's position, -600 to +600

    friend bool operator==(const Options &a, const Options &b)
    {
        return a.commentLanes == b.commentLanes && a.spreadBursts == b.spreadBursts
            && a.nextByTitle == b.nextByTitle && a.replayOffsetSeconds == b.replayOffsetSeconds;
    }
    friend bool operator!=(const Options &a, const Options &b) { return !(a == b); }
};

// The options file in the program folder.
QString optionsFilePath();

// Shown at closing when the file could not be written.
QString optionsNotSavedMessage();

Options loadOptions(const QString &path);

// On failure (read-only folder, disk full, a folder in the file's place) the previous file is
// left as it was and false is returned; the caller goes on closing.
bool saveOptions(const QString &path, const Options &options);
