#include "app/LocalBoardServer.h"

#include "core/ServicesConfig.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

LocalBoardServer::LocalBoardServer(QObject *parent) : QObject(parent) {}

LocalBoardServer::~LocalBoardServer()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000))
            m_process->kill();
        m_process->waitForFinished(1000);
    }
}

QString LocalBoardServer::findProgram()
{
    const QString chosen = qEnvironmentVariable("KESTRELON_BOARDSIM");
    if (!chosen.isEmpty() && QFileInfo(chosen).isExecutable())
        return chosen;
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {here + QStringLiteral("/kestrelon-boardsim"), here + QStringLiteral("/tools/boardsim")}) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return QStandardPaths::findExecutable(QStringLiteral("kestrelon-boardsim"));
}

bool LocalBoardServer::start(int timeoutMs)
{
    const QString program = findProgram();
    if (program.isEmpty() || !m_dir.isValid())
        return false;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardErrorFile(QProcess::nullDevice());
    // About two new responses a second on every live thread, as in the demo.
    m_process->start(program, {QStringLiteral("--rate"), QStringLiteral("2.5"), QStringLiteral("--write-services"),
                               m_dir.filePath(QStringLiteral("services.ini"))});
    if (!m_process->waitForStarted(timeoutMs))
        return false;
    // Its first line is the address, printed once it listens and has written services.ini.
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process->canReadLine() && !deadline.hasExpired()
           && m_process->state() == QProcess::Running)
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    if (!m_process->canReadLine())
        return false;
    const QString line = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    if (!line.startsWith(QStringLiteral("http://")))
        return false;
    m_menuUrl = line;
    // The request log that follows is not read: drop it rather than let it pile up.
    m_process->setReadChannel(QProcess::StandardOutput);
    connect(m_process, &QProcess::readyReadStandardOutput, m_process, [p = m_process] { p->readAll(); });
    return true;
}

ServicesConfig LocalBoardServer::services() const
{
    return ServicesConfig::load(m_dir.filePath(QStringLiteral("services.ini")));
}
