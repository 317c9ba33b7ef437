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
}

bool NgSession::hides(const ResponseFields &response) const
{
    return m_matcher.matches(NgSubject{response.name, response.mail, response.dateId, response.body});
}
