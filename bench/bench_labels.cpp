// Cost of the label strip with 300 comments on a 1920-pixel strip at once, shadow text on and
// off, against the marquee surface carrying the same 300 texts. One iteration is one second of
// animation at 60 frames per second, painted offscreen into an image: the CPU time per
// iteration is the CPU time per second of animation. Frame times are collected over all
// iterations (counters frame_median_us, frame_p99_us). The target is not cleared between frames
// (the window's backing store does that for both surfaces alike), so the marquee surface's taller
// target costs nothing extra.

#include "present/MarqueePageBuilder.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int kComments = 300;
constexpr int kStripWidth = 1920;
constexpr int kStripHeight = 600;
constexpr int kFrames = 60;

QStringList commentTexts()
{
    const QStringList samples = {
        QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!"), QStringLiteral("はやい"), QStringLiteral("今日もいい天気"),
        QStringLiteral("ﾊｧﾊｧ"), QStringLiteral("ウホッ！いい男"), QStringLiteral(">>12 それはない"),
        QStringLiteral("wwwwwwwwwwwwwwwwwwww"), QStringLiteral("実況はここでいいのか？"),
    };
    QStringList texts;
    for (int n = 0; n < kComments; ++n)
        texts << samples.at(n % samples.size()) + QString::number(n);
    return texts;
}

void addFrameCounters(benchmark::State &state, std::vector<double> &frameUs)
{
    if (frameUs.empty())
        return;
    std::sort(frameUs.begin(), frameUs.end());
    state.counters["frame_median_us"] = frameUs[frameUs.size() / 2];
    state.counters["frame_p99_us"] = frameUs[std::min(frameUs.size() - 1, frameUs.size() * 99 / 100)];
}

void BM_LabelStripSecond(benchmark::State &state)
{
    const bool shadow = state.range(0) != 0;
    const QStringList texts = commentTexts();
    QImage target(kStripWidth, kStripHeight, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> frameUs;
    std::mt19937 random(20090113);
    for (auto _ : state) {
        state.PauseTiming();
        // 300 comments spread over the visible strip, their images rendered by a first frame.
        auto strip = std::make_unique<present::LabelStrip>();
        qint64 now = 0;
        strip->setClock([&now] { return now; });
        strip->setRandomSource([&random] { return double(random() % 1000) / 1000.0; });
        strip->resize(kStripWidth, kStripHeight);
        strip->setScroll(8);
        strip->setOutlineMode(shadow);
        for (int n = 0; n < kComments; ++n) {
            const int k = 1 + n % 10;
            strip->showLiveComment(texts.at(n), QColor(192, 192, 255), n + 1, k);
            present::StripLabel *l = strip->model().label(present::CommentFamily::Live, n + 1);
            const qint64 left = strip->pixelsToTwipsX(double(random() % kStripWidth));
            const qint64 shift = l->left - left;
            l->left -= shift;
            if (present::StripLabel *s = strip->model().shadow(present::CommentFamily::Live, n + 1))
                s->left -= shift;
        }
        {
            QPainter warm(&target);
            strip->paintComments(warm, now);
        }
        state.ResumeTiming();

        for (int f = 0; f < kFrames; ++f) {
            QElapsedTimer frame;
            frame.start();
            now = qint64(f) * 1000 / kFrames;
            strip->advanceTo(now);
            QPainter painter(&target);
            strip->paintComments(painter, now);
            painter.end();
            frameUs.push_back(double(frame.nsecsElapsed()) / 1000.0);
        }
        benchmark::DoNotOptimize(target.constBits());

        state.PauseTiming();
        strip.reset();
        state.ResumeTiming();
    }
    addFrameCounters(state, frameUs);
}

void BM_MarqueeSurfaceSameTexts(benchmark::State &state)
{
    const QStringList texts = commentTexts();
    QString rows;
    for (int n = 0; n < kComments; ++n)
        rows += marqueeRows(texts.at(n), QStringLiteral(" color:white;"), n + 1, n, QStringLiteral("5"));
    const QString page = marqueePage(rows);
    // The page stacks its rows 30 pixels apart: the surface is tall enough to show all of them.
    const int height = 30 * kComments + 30;
    MarqueeSurface surface;
    surface.resize(kStripWidth, height);
    surface.setColourKey(qRgb(0x00, 0x33, 0x66));
    surface.writeDocument(page);
    QImage target(kStripWidth, height, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter warm(&target);
        surface.paintPage(warm, target.rect(), 10000);
    }
    std::vector<double> frameUs;
    for (auto _ : state) {
        for (int f = 0; f < kFrames; ++f) {
            QElapsedTimer frame;
            frame.start();
            QPainter painter(&target);
            surface.paintPage(painter, target.rect(), 10000 + qint64(f) * 1000 / kFrames);
            painter.end();
            frameUs.push_back(double(frame.nsecsElapsed()) / 1000.0);
        }
        benchmark::DoNotOptimize(target.constBits());
    }
    addFrameCounters(state, frameUs);
}

} // namespace

BENCHMARK(BM_LabelStripSecond)->ArgName("shadow")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarqueeSurfaceSameTexts)->Unit(benchmark::kMillisecond);
