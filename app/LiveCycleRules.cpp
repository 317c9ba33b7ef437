#include "app/LiveCycleRules.h"

CountdownTick countdownTick(const QString &tag)
{
    bool ok = false;
    int n = tag.trimmed().toInt(&ok);
    if (!ok)
        n = 0;
    CountdownTick tick;
    if (n >= kRegetSteps) {
        tick.fetch = true;
        tick.caption = fetchingCaption();
        tick.nextTag = tag;
        return tick;
    }
    tick.nextTag = QString::number(n + 1);
    tick.caption = countdownCaption(13 - (n + 1));
    return tick;
}

QString fetchingCaption() { return QStringLiteral("レス取得中"); }
QString showingCaption() { return QStringLiteral("レス表示中"); }
QString countdownCaption(int n) { return QStringLiteral("再取得まで：") + QString::number(n); }

bool isOverloadedPage(const QString &page)
{
    return page.contains(QStringLiteral("<title>もうずっと人大杉</title>"));
}

QString overloadedMessage()
{
    return QStringLiteral("人大杉スレでした。すいません。") + QStringLiteral("\r\n")
        + QStringLiteral("専ブラ使ってください。");
}

QString startFailedMessage()
{
    return QStringLiteral("スレッドを取得できませんでした。") + QStringLiteral("\r\n")
        + QStringLiteral("サーバーが応答しません。しばらくしてから開始してください。");
}

QString treeNodeBoardAddress(const QString &nodeKey, const QString &parentKey, bool hasParent)
{
    if (!hasParent || parentKey.isEmpty())
        return QString();
    QString address = nodeKey;
    address.remove(parentKey);
    return address;
}

QString boardAddressFromListEntry(const QString &subbackAddress)
{
    QString address = subbackAddress;
    address.remove(QStringLiteral("subback.html"));
    return address;
}
