#include "HarnessCases.h"
#include "HarnessWindow.h"

#include "core/ServicesConfig.h"
#include "core/TextStore.h"
#include "net/DatConverter.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"
#include "platform/FrameStats.h"
#include "platform/ProgramFolder.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/MarqueeSurface.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace harness {

namespace {

constexpr int kBatch = 30;

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

QJsonObject spread(const std::vector<double> &values)
{
    return {{QStringLiteral("median"), platform::percentile(values, 50)},
            {QStringLiteral("p99"), platform::percentile(values, 99)}};
}

} // namespace

// The main window's road from a closed dat reply to the screen, piece by piece: the channel
// decodes and converts on close, the builder writes the page of the new batch, WebScroll loads
// it, and the next paint shows it. The clock starts when the last bytes arrive (the server
// closes right after them), so the network itself is not counted.
QJsonObject runFetchCase(const QString &home, const QString &host, const QString &board, int cycles)
{
    QTemporaryDir scratch;
    platform::setProgramFolder(home.isEmpty() ? scratch.path() : home);
    const QString pagePath = platform::programPath(marqueePageFileName());

    // The same unchanging dat fetched again and again: whole each time, so every cycle converts
    // all of it (a differential fetch would bring nothing new). The real program's cycle, which
    // measure.py times on a live thread, runs with differential fetching on.
    ServicesConfig config = services();
    config.differential = false;
    setServices(config);
    ThreadChannel channel;
    const FetchResult index = channel.openBoardAndWait(QStringLiteral("http://%1/%2/").arg(host, board));
    if (!index.ok())
        return {{QStringLiteral("error"), QStringLiteral("index: ") + index.reason()}};
    // Text1 keeps the reply's headers. The longest thread of the index is the one measured.
    QString threadNumber;
    int longest = -1;
    const QRegularExpression line(QStringLiteral("^(\\d+)\\.dat<>.*\\((\\d+)\\)\\s*$"),
                                  QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(channel.Text1()); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(2).toInt() > longest) {
            longest = m.captured(2).toInt();
            threadNumber = m.captured(1);
        }
    }
    if (threadNumber.isEmpty())
        return {{QStringLiteral("error"), QStringLiteral("no thread in the index")}};

    HarnessWindow window;
    auto *surface = new TimedSurface<MarqueeSurface>(window.stripArea());
    surface->setGeometry(window.stripArea()->rect());
    surface->setColourKey(qRgb(0x00, 0x33, 0x66));
    window.showAndWait();

    QByteArray raw;
    qint64 lastBytesAt = 0, convertedAt = 0;
    QObject::connect(&channel, &ThreadChannel::receiving, [&](ThreadChannel::Socket socket, qint64) {
        if (socket == ThreadChannel::Socket::Thread) {
            raw = channel.threadReceiveBuffer();
            lastBytesAt = monotonicNs();
        }
    });
    QObject::connect(&channel, &ThreadChannel::datConverted, [&] { convertedAt = monotonicNs(); });

    std::vector<double> total, onClose, decode, convert, wake, build, write, load, paint;
    int responses = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const FetchResult dat = channel.fetchThreadAndWait(host, board, threadNumber);
        if (!dat.ok())
            return {{QStringLiteral("error"), QStringLiteral("dat: ") + dat.reason()}};
        const qint64 t0 = lastBytesAt;
        const qint64 t1 = convertedAt;

        // The batch: the last 30 responses are the new ones.
        const ResponseRecord &record = channel.record();
        responses = record.upperBound();
        ThreadPosition position;
        position.blnIsFirst = false;
        position.intLastDt = std::max(0, record.upperBound() - kBatch);
        MarqueeSettings settings;
        settings.label3 = channel.label3Caption();
        settings.strGetSintyakuFooter = channel.address().strGetSintyakuFooter;
        settings.comboMax = QString::number(kBatch);
        settings.comboMaxRow = QStringLiteral("2");
        settings.intScroll = 5;
        settings.intNextWhen1000 = 2;
        ImageLists images;
        qint32 lngMsgCount = 0;
        const qint64 t1b = monotonicNs();
        const MarqueeBuild page = createTextFromDatWebScroll(position, record, settings, images, lngMsgCount);
        if (page.outcome != MarqueeBuild::Outcome::Shown)
            return {{QStringLiteral("error"), QStringLiteral("the builder made no page")}};
        const qint64 t1c = monotonicNs();
        writeFileText(page.page, pagePath, Durability::None);
        const qint64 t2 = monotonicNs();

        surface->showRows(pagePath, page.rows);
        const qint64 t3 = monotonicNs();
        surface->frames.clear();
        surface->recording = true;
        QElapsedTimer waited;
        waited.start();
        while (surface->frames.empty() && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        surface->recording = false;
        if (surface->frames.empty())
            return {{QStringLiteral("error"), QStringLiteral("no frame after the page was loaded")}};
        const qint64 t4 = surface->frames.front();

        // The channel's share split into its two steps, timed again on the same bytes.
        QElapsedTimer step;
        step.start();
        const QString text = platform::decodeCp932(raw);
        const qint64 decodeNs = step.nsecsElapsed();
        step.restart();
        const ResponseRecord again = convertDat(text);
        const qint64 convertNs = step.nsecsElapsed();
        Q_UNUSED(again);

        total.push_back(ms(t4 - t0));
        onClose.push_back(ms(t1 - t0));
        decode.push_back(ms(decodeNs));
        convert.push_back(ms(convertNs));
        wake.push_back(ms(t1b - t1));
        build.push_back(ms(t1c - t1b));
        write.push_back(ms(t2 - t1c));
        load.push_back(ms(t3 - t2));
        paint.push_back(ms(t4 - t3));
        runEvents(30);
    }
    return {
        {QStringLiteral("cycles"), cycles},
        {QStringLiteral("responses"), responses},
        {QStringLiteral("reply_bytes"), int(raw.size())},
        {QStringLiteral("total_ms"), spread(total)},
        {QStringLiteral("close_to_record_ms"), spread(onClose)},
        {QStringLiteral("decode_ms"), spread(decode)},
        {QStringLiteral("convert_ms"), spread(convert)},
        {QStringLiteral("wait_return_ms"), spread(wake)},
        {QStringLiteral("build_ms"), spread(build)},
        {QStringLiteral("write_ms"), spread(write)},
        {QStringLiteral("load_ms"), spread(load)},
        {QStringLiteral("first_paint_ms"), spread(paint)},
    };
}

} // namespace harness
