// The label view as the window runs it: a see-through 1920 x 1080 top-level window holding the
// strip, frames run by hand on a clock of our own (60 a second), each painted through the
// window's backing store, so the repaint manager's clearing and the frames' regions count as in
// the program (the window system's share does not: offscreen platform). N comments stay on the
// strip: a batch every 250 ms enters at the right edge as others leave. One iteration is one
// second of animation; counter painted_share is the part of the window repainted per frame.
// Deterministic, so callgrind's instruction counts compare code changes at any machine load.

#include "SampleComments.h"
#include "present/gui/LabelStrip.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QRegion>
#include <QWindow>

#include <random>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

class CountingStrip : public present::LabelStrip
{
public:
    using LabelStrip::LabelStrip;
    int paints = 0;
    qint64 paintedPx = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        LabelStrip::paintEvent(event);
        ++paints;
        for (const QRect &r : event->region())
            paintedPx += qint64(r.width()) * r.height();
    }
};

void BM_LabelStripWindowSecond(benchmark::State &state)
{
    const int comments = int(state.range(0));
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setAttribute(Qt::WA_TranslucentBackground);
    window.resize(kWidth, kHeight);
    auto *strip = new CountingStrip(&window);
    strip->setGeometry(window.rect());
    double now = 0;
    strip->setClock([&now] { return qint64(now); });
    std::mt19937 random(20090113);
    strip->setRandomSource([&random] { return double(random() % 1000) / 1000.0; });
    strip->setScroll(5);
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    qint32 next = 1;
    const qint64 stripWidth = strip->pixelsToTwipsX(kWidth);
    auto add = [&](qint64 left) {
        const qint32 index = next++;
        if (!strip->showLiveComment(bench::sampleComment(index), QColor(192, 192, 255), index, 1 + (index - 1) % 30))
            return;
        present::StripLabel *l = strip->model().label(present::CommentFamily::Live, index);
        const qint64 shift = l->left - left;
        l->left -= shift;
    };
    for (int n = 0; n < comments; ++n)
        add(qint64(random() % quint32(stripWidth)));
    double nextBatch = 250;
    int frames = 0;
    const qint64 paintedBefore = strip->paintedPx;
    for (auto _ : state) {
        for (int f = 0; f < 60; ++f) {
            now += 1000.0 / 60;
            if (now >= nextBatch) {
                strip->syncClock();
                while (strip->model().commentCount(present::CommentFamily::Live) < comments)
                    add(stripWidth);
                nextBatch += 250;
            }
            const int paints = strip->paints;
            strip->runFrame();
            // The window's update request comes from the event loop.
            waited.restart();
            while (strip->paints == paints && waited.elapsed() < 200)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            ++frames;
        }
    }
    state.counters["painted_share"] =
        double(strip->paintedPx - paintedBefore) / (double(frames) * kWidth * kHeight);
}

} // namespace

BENCHMARK(BM_LabelStripWindowSecond)->ArgName("comments")->Arg(24)->Arg(200)->Arg(1000)
    ->Unit(benchmark::kMillisecond);
