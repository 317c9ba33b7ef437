#include "app/SettingsRules.h"

#include <QtGlobal>

namespace settingsrules {

QStringList scrollSpeedEntries()
{
    return {QStringLiteral("早い"), QStringLiteral("普通"), QStringLiteral("遅い")};
}

QStringList maxResEntries()
{
    return {QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("25"),
            QStringLiteral("30")};
}

QStringList maxRowEntries()
{
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
            QStringLiteral("全て")};
}

QStringList replayEntries()
{
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
}

QStringList fontColourEntries()
{
    return {QStringLiteral("デフォルト"), QStringLiteral("灰色"), QStringLiteral("肌色"),
            QStringLiteral("アンニュイ")};
}

QStringList fontSizeEntries()
{
    return {QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20"),
            QStringLiteral("22")};
}

QStringList nextWhen1000Captions()
{
    return {QStringLiteral("一覧最上位スレッド"), QStringLiteral("スレ一覧再取得"),
            QStringLiteral("何もしない")};
}

QString preferredFontName()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

int initialFontIndex(const QStringList &families, const QStringList &japaneseCapable)
{
    if (families.isEmpty())
        return -1;
    // fontconfig may report the preferred font under its Latin name.
    const QStringList preferred{preferredFontName(), QStringLiteral("MS PGothic")};
    for (qsizetype i = families.size() - 1; i >= 0; --i) {
        if (preferred.contains(families.at(i)))
            return int(i);
    }
    const QStringList fallbacks{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                QStringLiteral("IPAGothic"), QStringLiteral("VL PGothic"),
                                QStringLiteral("TakaoPGothic"), QStringLiteral("Noto Sans JP"),
                                QStringLiteral("Source Han Sans JP")};
    for (const QString &name : fallbacks) {
        const qsizetype i = families.indexOf(name);
        if (i >= 0)
            return int(i);
    }
    for (qsizetype i = 0; i < families.size(); ++i) {
        if (japaneseCapable.contains(families.at(i)))
            return int(i);
    }
    return 0;
}

std::optional<qint16> scrollForIndex(int index)
{
    switch (index) {
    case 0:
        return qint16(3);
    case 1:
        return qint16(5);
    case 2:
        return qint16(8);
    default:
        return std::nullopt;
    }
}

qint16 maxRowForText(const QString &text)
{
    static const QStringList rows{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                  QStringLiteral("4")};
    const qsizetype i = rows.indexOf(text);
    return i >= 0 ? qint16(i + 1) : qint16(10);
}

qint16 replaySecondsForText(const QString &text)
{
    const qsizetype i = replayEntries().indexOf(text);
    return i >= 0 ? qint16(i + 1) : qint16(0);
}

std::optional<RgbColor> colourForScheme(int index)
{
    switch (index) {
    case 0:
        return RgbColor{192, 192, 255};
    case 1:
        return RgbColor{128, 128, 128};
    case 2:
        return RgbColor{255, 192, 192};
    case 3:
        return RgbColor{128, 128, 0};
    default:
        return std::nullopt;
    }
}

Opacity opacityForSlider(int v)
{
    v = qBound(0, v, 100);
    // alpha = 255 - v / 100 * 255, rounded half to even, in integers: 255 * (100 - v) / 100.
    const int scaled = 255 * (100 - v);
    int alpha = scaled / 100;
    const int rest = scaled % 100;
    if (rest > 50 || (rest == 50 && alpha % 2 == 1))
        ++alpha;

    Opacity result;
    if (alpha > 39) {
        result.label = QStringLiteral("不透明度：") + QString::number(100 - v) + QLatin1Char('%');
    } else {
        alpha = 40;
        result.label = QStringLiteral("不透明度：15%");
    }
    result.alpha = alpha;
    result.colourKey = (v == 0);
    if (result.colourKey)
        result.label = QStringLiteral("動画窓のみ透明");
    return result;
}

} // namespace settingsrules
