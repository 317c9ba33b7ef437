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
