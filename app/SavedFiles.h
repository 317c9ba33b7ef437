#pragma once
// What the program's own text files (livecfg.txt, favorite.txt, options.ini, ngrules.txt) share.

#include <QString>

// The text with its line breaks removed, so a value written as one line stays one line.
QString oneLine(QString text);

// The message when a file could not be written: what + "を保存できませんでした。", a line
// break and the file's path.
QString notSavedMessage(const QString &what, const QString &path);
