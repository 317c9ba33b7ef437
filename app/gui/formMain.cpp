#include "app/gui/formMain.h"

#include "net/ThreadChannel.h"

formMain::formMain(QWidget *parent)
    : QWidget(parent)
    , m_thread(new ThreadChannel(this))
{
    setWindowTitle(QStringLiteral("Kestrelon"));
    resize(678, 306);
}

formMain::~formMain() = default;

// --- Thread fetching and the response record ---

bool formMain::SetThreadIndex(const QString &strSvr, const QString &strBan)
{
    return m_thread->SetThreadIndex(strSvr, strBan);
}

bool formMain::SetThread(const QString &strSvr, const QString &strBan, const QString &strThreNo)
{
    return m_thread->SetThread(strSvr, strBan, strThreNo);
}

QStringList formMain::getResNoArray() const { return m_thread->record().numbers(); }
QStringList formMain::getResNameArray() const { return m_thread->record().names(); }
QStringList formMain::getResTimeArray() const { return m_thread->record().times(); }
QStringList formMain::getResArray() const { return m_thread->record().bodies(); }

std::optional<QString> formMain::getResNoArray2(qint16 intA) const { return m_thread->record().number(intA); }
std::optional<QString> formMain::getResNameArray2(qint16 intA) const { return m_thread->record().name(intA); }
std::optional<QString> formMain::getResTimeArray2(qint16 intA) const { return m_thread->record().time(intA); }
std::optional<QString> formMain::getResArray2(qint16 intA) const { return m_thread->record().body(intA); }
