#include "TestSupport.h"

#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace testsupport {

TempProgramFolder::TempProgramFolder()
    : m_previous(platform::programFolder())
{
    platform::setProgramFolder(m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    platform::setProgramFolder(m_previous);
}

RecordedMessages::RecordedMessages()
{
    platform::setMessageService(&m_service);
}

RecordedMessages::~RecordedMessages()
{
    platform::setMessageService(nullptr);
}

QString fixturePath(const QString &relativePath)
{
    return QStringLiteral(KESTRELON_FIXTURES) + QLatin1Char('/') + relativePath;
}

QByteArray fixtureBytes(const QString &relativePath)
{
    return readBytes(fixturePath(relativePath));
}

bool waitUntil(const std::function<bool()> &predicate, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!predicate()) {
        if (deadline.hasExpired())
            return predicate();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testsupport
