#pragma once
// A dat reply shaped like a live thread's, shared by the conversion and NG benchmarks.

#include "platform/Cp932.h"

#include <QByteArray>
#include <QString>

// A reply with lines shaped like a live thread's: names with markup now and then, dates with
// centiseconds and IDs, bodies with escaped anchors, line breaks, links, entities and kana.
inline QByteArray realisticDatReply(int lines)
{
    static const QString bodies[] = {
        QStringLiteral(" ｷﾀ━━━(ﾟ∀ﾟ)━━━!! <br> 今日も実況するぞ <br> よろしくお願いします "),
        QStringLiteral(" <a href=\"../test/read.cgi/livenhk/1700000000/%1\" target=\"_blank\">&gt;&gt;%1</a> "
                       "それはないわ &quot;本当に&quot; そう思う <br> 次の場面に期待 "),
        QStringLiteral(" http://img.example.net/pics/%1.jpg <br> 画像貼っておきますね <br> &lt;参考&gt; "),
        QStringLiteral(" ﾊｧﾊｧ &amp;gt;&amp;gt;%1 かわいい <br> アッー！ <br> ～～～～～～～～ "),
        QStringLiteral(" 長い感想を書いてみる。解説者の話が面白かったので、最後まで見てしまった。"
                       "<br> また来週も見ようと思う。 <br> 乙でした "),
    };
    QString text = QStringLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nLast-Modified: Mon, 01 Jan 2024 12:00:00 GMT\r\n\r\n");
    text.reserve(lines * 260);
    for (int i = 0; i < lines; ++i) {
        const QString name = i % 7 == 0 ? QStringLiteral("<b>名無しさん</b>＠実況") : QStringLiteral("名無しさん");
        const QString mail = i % 3 == 0 ? QStringLiteral("sage") : QString();
        const QString time = QStringLiteral("2024/01/01(月) 21:%1:%2.%3 ID:Ab%4Cd")
                                 .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(i % 60, 2, 10, QLatin1Char('0'))
                                 .arg(i % 100, 2, 10, QLatin1Char('0'))
                                 .arg(i * 7919 % 100000, 5, 10, QLatin1Char('0'));
        QString body = bodies[i % 5];
        body.replace(QStringLiteral("%1"), QString::number(i / 2 + 1));
        // Real bodies run to a few lines: about 250 bytes a response in all.
        body += QStringLiteral("<br> 画面の向こうでは試合が続いている。みんなで応援しながら最後まで見届けよう。 ");
        text += name + QStringLiteral("<>") + mail + QStringLiteral("<>") + time + QStringLiteral("<>") + body
            + QStringLiteral("<>") + (i == 0 ? QStringLiteral("実況スレ Part1") : QString()) + QLatin1Char('\n');
    }
    return platform::encodeCp932(text);
}
