#include "FuzzSupport.h"

#include "core/ServicesConfig.h"
#include "platform/Cp932.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace fuzz {

namespace {

QTemporaryDir *scratchFolder()
{
    // In memory where the system has it: the file readers run many times a second. Lives until
    // exit (the fuzzer never returns to destroy it).
    static QTemporaryDir *dir = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
        ? new QTemporaryDir(QStringLiteral("/dev/shm/kestrelon-fuzz-XXXXXX"))
        : new QTemporaryDir;
    return dir;
}

volatile qint64 g_sink = 0;

} // namespace

void initialise()
{
    static int argc = 1;
    static char name[] = "kestrelon-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    (void)app;
    // Quiet, except for a fatal message (a failed Q_ASSERT), which Qt follows with abort().
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg)
            fprintf(stderr, "%s\n", qPrintable(message));
    });
    platform::setProgramFolder(scratchFolder()->path() + QStringLiteral("/home"));
    setServices(ServicesConfig::defaults());
}

QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QString text(const uint8_t *data, size_t size)
{
    return platform::decodeCp932(bytes(data, size));
}

QStringList fields(const QString &text, int n)
{
    QStringList parts = text.split(QChar(0x0001));
    while (parts.size() < n)
        parts.append(QString());
    return parts;
}

QString scratchFile(const QByteArray &content)
{
    const QString path = scratchFolder()->path() + QStringLiteral("/input.txt");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

void keep(const QString &value)
{
    g_sink = g_sink + value.size();
}

void keep(qint64 value)
{
    g_sink = g_sink + value;
}

} // namespace fuzz
