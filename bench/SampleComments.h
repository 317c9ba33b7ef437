#pragma once
// The comment texts of the strip measurements (kbench, kharness; bench/peer.py feeds danmaQ the
// same): a mix of short and long, half-width and full-width lines, numbered so each is new.

#include <QString>
#include <QStringList>

namespace bench {

inline QString sampleComment(int n)
{
    static const QStringList samples = {
        QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!"), QStringLiteral("はやい"), QStringLiteral("今日もいい天気"),
        QStringLiteral("ﾊｧﾊｧ"), QStringLiteral("ウホッ！いい男"), QStringLiteral(">>12 それはない"),
        QStringLiteral("wwwwwwwwwwwwwwwwwwww"), QStringLiteral("実況はここでいいのか？"),
        QStringLiteral("解説者の話が面白かったので最後まで見てしまった"),
    };
    return samples.at(n % samples.size()) + QString::number(n);
}

} // namespace bench
