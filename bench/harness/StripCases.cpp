#include "HarnessCases.h"
#include "../SampleComments.h"
#include "HarnessWindow.h"

#include "core/TextStore.h"
#include "platform/ProgramFolder.h"
#include "present/KeywordColour.h"
#include "present/LabelColour.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"

#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>


namespace harness {

namespace {

constexpr int kRowsOnScreen = 35; // 30 px rows of the marquee page that fit in 1080 px

// The page of `count` responses in the builder's own rows: scrollamount 5 (the slow setting,
// so every row is still moving after 20 s), rows wrapped to the 35 that fit on the screen.
QString stripPage(int count)
{
    QString rows;
    for (int n = 0; n < count; ++n) {
        const QString text = bench::sampleComment(n);
        QString colour = marqueeKeywordColour(keywordOf(text));
        if (colour.isEmpty())
            colour = pastelColourFor(double(n % 7) / 7.0);
        rows += marqueeRows(text, colour, n + 1, n % kRowsOnScreen, QStringLiteral("5"));
    }
    return marqueePage(rows);
}

QJsonObject labelCase(bool shadow, int comments, double seconds)
{
    HarnessWindow window;
    auto *strip = new TimedSurface<present::LabelStrip>(window.stripArea());
    strip->setGeometry(window.stripArea()->rect());
    strip->setScroll(5);
    strip->setOutlineMode(shadow);
    window.showAndWait();

    QRandomGenerator random(20090113);
    strip->setRandomSource([&random] { return random.generateDouble(); });
    qint32 nextIndex = 1;
    const qint64 stripWidth = strip->pixelsToTwipsX(strip->width());
    // A comment in a batch of up to 30, moved to start at `left` (twips) with its shadow.
    auto addComment = [&](qint64 left) {
        const qint32 index = nextIndex++;
        const QString text = bench::sampleComment(index);
        const QColor colour = QColor::fromRgb(labelColourFor(text, 0xC0C0FF));
        if (!strip->showLiveComment(text, colour, index, 1 + (index - 1) % 30))
            return;
        present::StripLabel *l = strip->model().label(present::CommentFamily::Live, index);
        if (!l)
            return;
        const qint64 shift = l->left - left;
        l->left -= shift;
        if (present::StripLabel *s = strip->model().shadow(present::CommentFamily::Live, index))
            s->left -= shift;
    };
    for (int n = 0; n < comments; ++n)
        addComment(qint64(random.bounded(int(stripWidth))));
    // New comments enter at the right edge as the old ones leave on the left.
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        while (strip->model().commentCount(present::CommentFamily::Live) < comments)
            addComment(stripWidth);
    });
    feeder.start(250); // batches, as fetches bring them (each adds a paint of its own)

    QJsonObject out = measureSpan(strip->frames, strip->recording, seconds);
    out[QStringLiteral("comments_at_end")] = int(strip->model().commentCount(present::CommentFamily::Live));
    out[QStringLiteral("comments_created")] = nextIndex - 1;
    out[QStringLiteral("cached_images")] = int(strip->cachedImageCount());
    return out;
}

QJsonObject marqueeCase(int comments, double seconds, const QString &pageOut)
{
    QTemporaryDir home;
    platform::setProgramFolder(home.path());
    const QString path = platform::programPath(marqueePageFileName());
    if (!writeFileText(stripPage(comments), path))
        return {{QStringLiteral("error"), QStringLiteral("cannot write %1").arg(path)}};
    if (!pageOut.isEmpty()) {
        QFile::remove(pageOut);
        QFile::copy(path, pageOut);
    }

    HarnessWindow window;
    auto *surface = new TimedSurface<MarqueeSurface>(window.stripArea());
    surface->setGeometry(window.stripArea()->rect());
    surface->setColourKey(qRgb(0x00, 0x33, 0x66));
    window.showAndWait();
    surface->navigate(path);

    QJsonObject out = measureSpan(surface->frames, surface->recording, seconds);
    out[QStringLiteral("marquee_elements")] = surface->marqueeCount();
    out[QStringLiteral("still_moving")] = surface->isAnimating();
    out[QStringLiteral("scrolled_frames")] = surface->scrolledFrames();
    // The rows move scrollamount 5 every 85 ms: a new picture at most this often, however
    // often frames could be drawn.
    out[QStringLiteral("row_pixels_per_s")] = 5 * 1000.0 / MarqueeElement().scrollDelayMs;
    return out;
}

} // namespace

QJsonObject runStripCase(const QString &view, int comments, double seconds, const QString &pageOut)
{
    QJsonObject out;
    if (view == QLatin1String("labels") || view == QLatin1String("labels-shadow"))
        out = labelCase(view.endsWith(QLatin1String("shadow")), comments, seconds);
    else if (view == QLatin1String("marquee"))
        out = marqueeCase(comments, seconds, pageOut);
    else
        return {{QStringLiteral("error"), QStringLiteral("unknown view '%1'").arg(view)}};
    out[QStringLiteral("view")] = view;
    out[QStringLiteral("comments")] = comments;
    return out;
}

QJsonObject runIdleCase(double seconds)
{
    QTemporaryDir home;
    platform::setProgramFolder(home.path());
    const QString path = platform::programPath(marqueePageFileName());
    writeFileText(stripPage(30), path);

    HarnessWindow window;
    auto *strip = new TimedSurface<present::LabelStrip>(window.stripArea());
    strip->setGeometry(window.stripArea()->rect());
    auto *surface = new TimedSurface<MarqueeSurface>(window.stripArea());
    surface->setGeometry(window.stripArea()->rect());
    surface->setColourKey(qRgb(0x00, 0x33, 0x66));
    // The page's marquees have all run out: the clock jumps past their end.
    qint64 fakeMs = 0;
    surface->setClock([&fakeMs] { return fakeMs; });
    surface->navigate(path);
    fakeMs = 10'000'000;
    // The re-fetch countdown keeps ticking, as it does while a thread is running.
    auto *countdown = new QLabel(&window);
    countdown->setGeometry(10, 10, 60, 24);
    int left = 12;
    QTimer reget;
    QObject::connect(&reget, &QTimer::timeout, [&] {
        left = left <= 1 ? 12 : left - 1;
        countdown->setText(QString::number(left));
    });
    reget.start(1000);
    window.showAndWait();

    QJsonObject out = measureSpan(surface->frames, surface->recording, seconds, [strip] {
        strip->frames.clear();
        strip->recording = true;
    });
    out[QStringLiteral("view")] = QStringLiteral("idle");
    out[QStringLiteral("label_frames")] = int(strip->frames.size());
    out[QStringLiteral("marquee_animating")] = surface->isAnimating();
    out[QStringLiteral("label_ticking")] = strip->isTicking();
    return out;
}

} // namespace harness
