#include "app/NgSession.h"

QString NgSession::load(const QString &path)
{
    setFile(NgRuleFile::load(path));
    return ngProblemsMessage(m_file.problems);
}

void NgSession::setFile(const NgRuleFile &file)
{
    m_file = file;
    m_matcher = NgMatcher(m_file.rules());
    if (m_changed)
        m_changed();
}

bool NgSession::hides(const ResponseFields &response) const
{
    const bool hidden =
        m_matcher.matches(NgSubject{response.name, response.mail, response.dateId, response.body});
    if (hidden)
        ++m_hidden;
    return hidden;
}

QString ngCountCaption(int ruleCount, qint64 hidden)
{
    return ruleCount > 0 ? QStringLiteral("NG: %1").arg(hidden) : QString();
}
