#include "present/ThreadBookkeeping.h"

#include "net/ResponseRecord.h"
#include "net/ThreadAddress.h"

#include <QRegularExpression>

namespace {

constexpr int kInt16Max = 32767;

const QString &dtTag()
{
    static const QString tag = QStringLiteral("<dt>");
    return tag;
}

// Records the new address and captions; NothingNew when the address did not move.
PositionUpdate finishUpdate(ThreadPosition &position, const QString &label3Caption,
                            const QString &footer, bool first)
{
    PositionUpdate update;
    position.strNextURL = nextPageAddress(label3Caption, position.intLastDt, footer);
    if (!first && position.strNextURL == label3Caption) {
        update.step = PositionStep::NothingNew;
        return update;
    }
    update.step = first ? PositionStep::First : PositionStep::NewResponses;
    update.label3 = position.strNextURL;
    update.label1 = QString::number(position.intLastDt);
    update.at1001 = position.intLastDt == kThreadEndNumber;
    return update;
}

// "50 ：<a href="mailto:sage"><b>name</b></a>：2009/01/13(火) 21:00:01 ID:x" into name, mail and
// date. A name may hold "：" itself: the date is what follows the last one.
void readWebHeader(const QString &header, WebResponse &response)
{
    const QString colon = QStringLiteral("：");
    const qsizetype first = header.indexOf(colon);
    const qsizetype last = header.lastIndexOf(colon);
    if (first < 0)
        return;
    QString name;
    if (last > first) {
        name = header.mid(first + 1, last - first - 1);
        response.dateId = header.mid(last + 1);
    } else {
        name = header.mid(first + 1);
    }
    static const QRegularExpression mailto(QStringLiteral("mailto:([^\"'>]*)"));
    if (const QRegularExpressionMatch m = mailto.match(name); m.hasMatch())
        response.mail = m.captured(1);
    const qsizetype bold = name.indexOf(QStringLiteral("<b>"));
    const qsizetype boldEnd = name.lastIndexOf(QStringLiteral("</b>"));
    response.name = bold >= 0 && boldEnd > bold ? name.mid(bold + 3, boldEnd - bold - 3) : name;
}

} // namespace

QString alreadyFullMessage()
{
    return QStringLiteral("すでに1000いってます｡");
}

PositionUpdate advanceDatPosition(ThreadPosition &position, const ResponseRecord &record,
                                  const QString &label3Caption, const QString &footer)
{
    // No elements at all (never converted), or more than a 16-bit index holds: fail untouched.
    const int highest = record.upperBound();
    if (highest < 0 || highest > kInt16Max)
        return {};

    const bool first = position.blnIsFirst;
    if (first) {
        position.blnIsFirst = false;
        position.intLastDt = highest;
        position.intZenkaiLastDT = highest;
    } else {
        position.intZenkaiLastDT = position.intLastDt;
        position.intLastDt = highest;
    }
    return finishUpdate(position, label3Caption, footer, first);
}

PositionUpdate advanceWebPosition(ThreadPosition &position, int lastNumber,
                                  const QString &label3Caption, const QString &footer)
{
    position.intLastDt = lastNumber;
    const bool first = position.blnIsFirst;
    position.blnIsFirst = false;
    return finishUpdate(position, label3Caption, footer, first);
}

bool trimBeforeFirstDt(QString &text2)
{
    const qsizetype at = text2.indexOf(dtTag());
    if (at < 0)
        return false;
    text2.remove(0, at);
    return true;
}

QStringList splitDtElements(const QString &text2)
{
    return text2.split(dtTag());
}

QString webResponseNumberText(const QString &element)
{
    return element.section(QStringLiteral("："), 0, 0);
}

std::optional<int> webResponseNumber(const QString &element)
{
    bool ok = false;
    const int number = webResponseNumberText(element).trimmed().toInt(&ok);
    if (!ok || number < -kInt16Max - 1 || number > kInt16Max)
        return std::nullopt;
    return number;
}

std::optional<WebResponse> webResponseAt(const QStringList &elements, int u)
{
    if (u < 0 || u >= elements.size())
        return std::nullopt;
    const QString &element = elements.at(u);
    const QStringList parts = element.split(QStringLiteral("<dd>"));
    if (parts.size() < 2)
        return std::nullopt;
    WebResponse response;
    response.number = webResponseNumberText(element);
    readWebHeader(parts.at(0), response);
    response.body = parts.at(1);
    if (u == elements.size() - 1)
        response.body = response.body.section(QStringLiteral("</dl>"), 0, 0);
    return response;
}

QList<int> datBatchIndexes(int intZenkaiLastDT, int highestIndex, int comboMax)
{
    QList<int> indexes;
    for (int i = intZenkaiLastDT; i < highestIndex; ++i) {
        if (i - intZenkaiLastDT > comboMax)
            break;
        if (i >= 0)
            indexes.append(i);
    }
    return indexes;
}

QList<int> webBatchElements(int elementCount, int comboMax)
{
    QList<int> elements;
    for (int u = 2; u < elementCount && u <= comboMax; ++u)
        elements.append(u);
    return elements;
}

std::optional<int> parseComboMax(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < -kInt16Max - 1 || value > kInt16Max)
        return std::nullopt;
    return value;
}

std::optional<int> parseMaxRow(const QString &text)
{
    if (text.trimmed() == QStringLiteral("全て"))
        return 10;
    return parseComboMax(text);
}

EndOfThreadAction endOfThreadAction(int intNextWhen1000)
{
    switch (intNextWhen1000) {
    case 0:
        return EndOfThreadAction::AutoMoveNextSure;
    case 1:
        return EndOfThreadAction::ShowSureItiran;
    default:
        return EndOfThreadAction::Nothing;
    }
}
