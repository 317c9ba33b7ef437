#pragma once
// The NG rules of this run: ngrules.txt as read at start-up or last written by the "NG設定"
// dialog, and the matcher every view asks. A change applies from the next fetch (or replay tick,
// or thread view build).

#include "present/CommentPipeline.h"
#include "present/NgRules.h"

#include <QString>

class NgSession : public ResponseFilter
{
public:
    // The filter stage of the comment pipeline: a response the rules match is left out of every
    // view's batch.
    bool hides(const ResponseFields &response) const override;

    // Reads the file; returns the message naming the lines that were skipped (empty if none).
    QString load(const QString &path);
    // The rules as the dialog has just written them.
    void setFile(const NgRuleFile &file);

    const NgRuleFile &file() const { return m_file; }
    const NgMatcher &matcher() const { return m_matcher; }

private:
    NgRuleFile m_file;
    NgMatcher m_matcher;
};
