#pragma once
// A ThreadViewHost over a plain ResponseRecord and caption, standing in for the main window.

#include "net/DatConverter.h"
#include "net/ResponseRecord.h"
#include "viewers/ViewerHosts.h"

#include <functional>

class RecordHost : public ThreadViewHost
{
public:
    QString caption = QStringLiteral("Kestrelon");
    ResponseRecord record;
    // Runs at each body read (tests use it to change the record under a build).
    std::function<void(int)> onBodyRead;

    // Responses "1".."n" with the given bodies, name "名無し", the empty element after them.
    void setResponses(const QStringList &bodies, const QString &name = QStringLiteral("名無し"))
    {
        QStringList numbers, names, times, texts;
        for (qsizetype i = 0; i < bodies.size(); ++i) {
            numbers << QString::number(i + 1);
            names << name;
            times << QStringLiteral("2024/01/01(月) 00:00:%1 ID:abc").arg(i % 60, 2, 10, QLatin1Char('0'));
            texts << bodies.at(i);
        }
        numbers << QString();
        names << QString();
        times << QString();
        texts << QString();
        record.assign(numbers, names, times, texts);
    }

    QString lblCaptionText() const override { return caption; }
    QStringList getResNoArray() const override { return record.numbers(); }
    std::optional<QString> getResNoArray2(qint16 i) const override { return record.number(i); }
    std::optional<QString> getResNameArray2(qint16 i) const override { return record.name(i); }
    std::optional<QString> getResTimeArray2(qint16 i) const override { return record.time(i); }
    QString getResMailArray2(qint16 i) const override { return record.mail(i); }
    std::optional<QString> getResArray2(qint16 i) const override
    {
        if (onBodyRead)
            onBodyRead(i);
        return record.body(i);
    }
};
