// Cost of one replay tick: finding the responses of the video's current second among the loaded
// entries, with a thread's worth (1,000) and a long multi-file replay (100,000). The linear walk
// from entry 0 is measured beside the lookup in use, to show what starting at the second's
// first entry saves.

#include "replay/WmpDisplay.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <random>

namespace {

// Entries spread over about one per second, with bursts of several in one second, as a live
// thread has; clock times from 00:00:01, so that 100,000 entries stay within one day.
PastLog makeLog(int entries)
{
    PastLog log;
    log.beginLoad();
    std::mt19937 random(20090113);
    int second = 1;
    for (int n = 0; n < entries; ++n) {
        second += int(random() % 2);   // 0: same second as the previous response
        const QString field = QStringLiteral("2009/01/13(火) %1:%2:%3 ID:abc")
                                  .arg(second / 3600, 2, 10, QLatin1Char('0'))
                                  .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(second % 60, 2, 10, QLatin1Char('0'));
        log.appendDatLine(QStringLiteral("名無し<>sage<>") + field + QStringLiteral("<>ｷﾀ━ 今日も<br>いい天気<>"));
    }
    return log;
}

// A second near the end of the loaded entries: the far end of a linear walk.
QString lateSecond(const PastLog &log)
{
    for (qsizetype i = log.lngDatResCount * 9 / 10; i < log.lngDatResCount; ++i) {
        if (!log.strDatResTime.at(i).isEmpty())
            return log.strDatResTime.at(i);
    }
    return QStringLiteral("0");
}

class NullStrip : public WmpLabelHost
{
public:
    int windowWidth() const override { return 28800; }
    int frameWidth() const override { return 28000; }
    int frameHeight() const override { return 4000; }
    std::optional<TwipsRect> wmpLabelRect(qint64) const override { return TwipsRect{0, 1, 3000, 300}; }
    int newWmpLabelHeight() const override { return 300; }
    int wmpLabelWidth(const QString &caption) const override { return int(caption.size()) * 150; }
    bool startWmpComment(const WmpComment &) override { return true; }
};

// The walk from entry 0 on every tick, as a plain scan would do it.
qsizetype linearWalk(const PastLog &log, const QString &second, int cap)
{
    qsizetype matched = 0;
    for (qsizetype i = 0; i < log.lngDatResCount; ++i) {
        if (log.strDatResTime.at(i) == second)
            ++matched;
        else if (matched > 0)
            break;
        if (matched > cap)
            break;
    }
    return matched;
}

void BM_WmpLookup(benchmark::State &state)
{
    const PastLog log = makeLog(int(state.range(0)));
    NullStrip strip;
    WmpDisplay display(log, strip);
    const QString second = lateSecond(log);
    const QString combo = QStringLiteral("4");
    for (auto _ : state)
        benchmark::DoNotOptimize(display.collectWmpBatch(second, combo));
}
BENCHMARK(BM_WmpLookup)->Arg(1000)->Arg(100000);

void BM_WmpLookupLinearWalk(benchmark::State &state)
{
    const PastLog log = makeLog(int(state.range(0)));
    const QString second = lateSecond(log);
    for (auto _ : state)
        benchmark::DoNotOptimize(linearWalk(log, second, 4));
}
BENCHMARK(BM_WmpLookupLinearWalk)->Arg(1000)->Arg(100000);

// A whole tick: lookup, text cleaning, colour and placement of the second's comments.
void BM_WmpTick(benchmark::State &state)
{
    const PastLog log = makeLog(int(state.range(0)));
    NullStrip strip;
    WmpDisplay display(log, strip);
    display.setRandomSource([] { return 0.5; });
    WmpSettings settings;
    settings.comboMaxWmp = QStringLiteral("4");
    settings.intMaxRow = 10;
    const double position = lateSecond(log).toDouble();
    for (auto _ : state)
        benchmark::DoNotOptimize(display.tick(kWmpPlaying, position, settings));
}
BENCHMARK(BM_WmpTick)->Arg(1000)->Arg(100000);

} // namespace
