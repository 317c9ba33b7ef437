// The marquee page: building a 31-response batch, loading it into the WebScroll surface, and the
// CPU time the surface spends per second of animation at 60 frames a second on a 1920-pixel
// strip, for 31 responses (155 marquee elements) and 10, with the page background keyed out
// ("モード２") and painted. Each iteration paints the 60 frames of one second; successive
// iterations walk through the whole run, from entry at the right edge to the last exit.

#include "net/ResponseRecord.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/MarqueeSurface.h"

#include <benchmark/benchmark.h>

#include <QPainter>

namespace {

constexpr int kStripWidth = 1920;
constexpr int kStripHeight = 1080;
constexpr int kFrames = 60;

// Bodies shaped like a live thread's, as convertDat leaves them.
ResponseRecord liveRecord(int responses)
{
    static const QString bodies[] = {
        QStringLiteral(" ｷﾀ━━━(ﾟ∀ﾟ)━━━!! "),
        QStringLiteral(" <a href=\"../test/read.cgi/livenhk/1700000000/%1\" target=\"_blank\">&gt;&gt;%1</a> それはないわ <br> 次に期待 "),
        QStringLiteral(" http://img.example.net/pics/%1.jpg <br> 画像貼っておきますね "),
        QStringLiteral(" ﾊｧﾊｧ かわいい <br> アッー！ "),
        QStringLiteral(" 解説者の話が面白かったので最後まで見てしまった <br> また来週も見よう <br> 乙 "),
        QStringLiteral(" NHK見てる人いる？ "),
        QStringLiteral(" wwwwwwwwwwwwwwwwwwwwwwww "),
    };
    QStringList numbers, names, times, texts;
    for (int i = 0; i < responses; ++i) {
        numbers << QString::number(i + 1);
        names << QStringLiteral("名無しさん");
        times << QStringLiteral("2024/01/01(月) 21:00:00.00 ID:AbCd1234");
        QString body = bodies[i % 7];
        texts << body.replace(QStringLiteral("%1"), QString::number(i / 2 + 1));
    }
    numbers << QString();
    names << QString();
    times << QString();
    texts << QString();
    ResponseRecord record;
    record.assign(numbers, names, times, texts);
    return record;
}

// The page of the `count` responses after the first 100, as the live cycle writes it.
QString livePage(int count)
{
    const ResponseRecord record = liveRecord(100 + count);
    ThreadPosition position;
    position.blnIsFirst = false;
    position.intLastDt = 100;
    MarqueeSettings settings;
    settings.label3 = QStringLiteral("http://livea.example.net/test/read.cgi/livenhk/1700000000/100n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QString::number(count - 1);
    settings.comboMaxRow = QStringLiteral("2");
    settings.intScroll = 5;
    ImageLists images;
    qint32 count32 = 0;
    return createTextFromDatWebScroll(position, record, settings, images, count32, [] { return 0.42; }).page;
}

// The settings of a batch of the 31 responses after the first 100.
MarqueeSettings batchOf30()
{
    MarqueeSettings settings;
    settings.label3 = QStringLiteral("http://livea.example.net/test/read.cgi/livenhk/1700000000/100n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("30");
    settings.comboMaxRow = QStringLiteral("2");
    return settings;
}

void BM_MarqueePageBuild31(benchmark::State &state)
{
    const ResponseRecord record = liveRecord(131);
    const MarqueeSettings settings = batchOf30();
    for (auto _ : state) {
        ThreadPosition position;
        position.blnIsFirst = false;
        position.intLastDt = 100;
        ImageLists images;
        qint32 count = 0;
        const MarqueeBuild build = createTextFromDatWebScroll(position, record, settings, images, count);
        benchmark::DoNotOptimize(build.page.constData());
    }
}

// Parsing the written page and rendering every element's text once: paid once per fetch.
void BM_MarqueeSurfaceLoad(benchmark::State &state)
{
    const QString page = livePage(int(state.range(0)));
    MarqueeSurface surface;
    surface.resize(kStripWidth, kStripHeight);
    for (auto _ : state)
        surface.writeDocument(page);
}

// From the batch to the surface, 31 responses: the page built, then shown from its rows (1) or,
// as before, read back from its text (0). Writing the file is left out: both pay it alike.
void BM_MarqueeBuildToSurface(benchmark::State &state)
{
    const ResponseRecord record = liveRecord(131);
    const MarqueeSettings settings = batchOf30();
    MarqueeSurface surface;
    surface.resize(kStripWidth, kStripHeight);
    const bool rows = state.range(0) != 0;
    for (auto _ : state) {
        ThreadPosition position;
        position.blnIsFirst = false;
        position.intLastDt = 100;
        ImageLists images;
        qint32 count = 0;
        const MarqueeBuild build = createTextFromDatWebScroll(position, record, settings, images, count,
                                                              [] { return 0.42; });
        if (rows)
            surface.showRows(QStringLiteral("tempHtml2.html"), build.rows);
        else
            surface.writeDocument(build.page);
    }
}

void BM_MarqueeSurfacePaint(benchmark::State &state)
{
    const int responses = int(state.range(0));
    const bool keyed = state.range(1) != 0;
    MarqueeSurface surface;
    surface.resize(kStripWidth, kStripHeight);
    if (keyed)
        surface.setColourKey(qRgb(0x00, 0x33, 0x66));
    surface.setClock([] { return qint64(0); }); // the page is shown at time 0
    surface.writeDocument(livePage(responses));
    // The whole run: the last marquee to leave sets it.
    double endMs = 0;
    for (int i = 0; i < surface.marqueeCount(); ++i) {
        const QRectF box = surface.marqueeBox(i);
        const QRectF start = surface.marqueeContentRect(i).value_or(QRectF());
        endMs = std::max(endMs, (box.width() + start.width()) * 85.0 / 13.0);
    }
    const int seconds = std::max(1, int(endMs / 1000.0) + 1);

    QImage target(kStripWidth, kStripHeight, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    int second = 0;
    for (auto _ : state) {
        for (int f = 0; f < kFrames; ++f) {
            QPainter painter(&target);
            surface.paintPage(painter, target.rect(), qint64(second) * 1000 + qint64(f) * 1000 / kFrames);
        }
        second = (second + 1) % seconds;
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["elements"] = surface.marqueeCount();
    state.counters["run_seconds"] = seconds;
}

} // namespace

BENCHMARK(BM_MarqueePageBuild31)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarqueeSurfaceLoad)->ArgName("responses")->Arg(31)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarqueeBuildToSurface)->ArgName("rows")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarqueeSurfacePaint)
    ->ArgNames({"responses", "keyed"})
    ->Args({31, 1})
    ->Args({10, 1})
    ->Args({31, 0})
    ->Args({10, 0})
    ->Unit(benchmark::kMillisecond);
