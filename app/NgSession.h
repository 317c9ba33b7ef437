#pragma once
// The NG rules of this run: ngrules.txt as read at start-up or last written by the "NG設定"
// dialog, and the matcher every view asks. A change applies from the next fetch (or replay tick,
// or thread view build).

#include "present/CommentPipeline.h"
#include "present/NgRules.h"

#include <QString>
#include <functional>

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

    // Responses the filter stage has hidden since the last reset (the live cycle resets it at
    // every Start, so it counts what the rules kept off the screen in the thread being watched).
    qint64 hiddenCount() const { return m_hidden; }
    void resetHiddenCount() { m_hidden = 0; }
    // Called after the rules change (the dialog writes them while the cycle may be running).
    void setChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    NgRuleFile m_file;
    NgMatcher m_matcher;
    // hides() is const for the pipeline; counting what it hid is bookkeeping, not filter state.
    mutable qint64 m_hidden = 0;
    std::function<void()> m_changed;
};

// The bottom panel's count: "NG: n", or empty (label hidden) while there is no rule.
QString ngCountCaption(int ruleCount, qint64 hidden);
