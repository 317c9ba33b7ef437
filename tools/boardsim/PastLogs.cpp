#include "PastLogs.h"

#include "BoardWorld.h"
#include "Chatter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTimeZone>
#include <cmath>

namespace {

// Seconds until the next response: about one every two seconds, a burst of several a second
// during the big moments of the programme.
qint64 gapMs(QRandomGenerator &random, int number)
{
    const bool burst = (number / 60) % 4 == 1 && number % 60 < 40;
    const double rate = burst ? 4.0 : 0.5;
    const double seconds = -std::log(1.0 - random.generateDouble()) / rate;
    return qMax<qint64>(10, qint64(seconds * 1000.0));
}

} // namespace

QStringList writePastLogs(const QString &dir, int port, quint32 seed, QString *error)
{
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(dir);
        return {};
    }
    SimHosts hosts;
    hosts.port = port;
    // Pictures on the port-80 address a simulator on this port serves them from: the viewer's
    // image pattern has no room for a ":port", so links with one would never reach replay's
    // image lists.
    hosts.imageHost = QStringLiteral("127.1.%1.%2").arg(port / 256).arg(port % 256);
    QRandomGenerator random(seed ^ 0x1065u);
    // Saturday 1 June 2024, 20:58:30 in Japan: the programme starts at nine.
    qint64 at = QDateTime(QDate(2024, 6, 1), QTime(20, 58, 30), QTimeZone(9 * 3600)).toMSecsSinceEpoch();

    QStringList written;
    QString previousUrl;
    const QList<int> counts = {1000, 420};
    for (int part = 0; part < counts.size(); ++part) {
        SimThread thread;
        thread.key = at / 1000;
        thread.title = QStringLiteral("【実況】土曜ドラマ Part%1").arg(part + 7);
        Chatter chatter(seed * 31u + quint32(part));
        ChatterPlace place;
        place.boardKey = QStringLiteral("livenhk");
        place.threadKey = thread.key;
        place.defaultName = QStringLiteral("名無しさん＠実況で");
        place.programme = QStringLiteral("土曜ドラマ");
        place.imageBase = hosts.imageBase();
        place.tvPage = hosts.tvPageUrl();
        place.previousThreadUrl = previousUrl;
        for (int n = 1; n <= counts.at(part); ++n) {
            if (n > 1)
                at += gapMs(random, n);
            place.previousThreadUrl = n == 1 ? previousUrl : QString();
            thread.append(chatter.write(place, n, at), at);
        }
        if (counts.at(part) == 1000)
            thread.append(Chatter::closingResponse(), at);

        const QString path = QDir(dir).filePath(QString::number(thread.key) + QStringLiteral(".dat"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(thread.dat) != thread.dat.size()) {
            if (error)
                *error = QStringLiteral("cannot write %1").arg(path);
            return {};
        }
        written << path;
        previousUrl = QStringLiteral("http://") + hosts.main() + QStringLiteral("/test/read.cgi/livenhk/")
            + QString::number(thread.key) + QLatin1Char('/');
        at += 4000; // the next part's opener comes a few seconds after the 1000th
    }
    return written;
}
