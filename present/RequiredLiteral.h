#pragma once
// What can be read from a regular expression without running it.

#include <QString>

// The longest text every match of the pattern contains, read from the plain characters at its
// top level; empty when there is none or the pattern uses what that reading does not follow.
QString requiredLiteral(const QString &pattern);

// "\1", "\g{1}", "\k<name>", "(?P=name)": the pattern refers to its own groups, so it cannot be
// joined with others into one alternation.
bool hasBackReference(const QString &pattern);
