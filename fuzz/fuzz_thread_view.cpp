// The thread view page of a record converted from the input, and one response block built
// from the input's fields. Whatever the responses hold, the page carries only inert markup.
#include "FuzzSupport.h"

#include "net/DatConverter.h"
#include "viewers/ThreadViewPage.h"

#include <QRegularExpression>
#include <cstdlib>

namespace {

class RecordHost : public ThreadViewHost
{
public:
    explicit RecordHost(ResponseRecord record) : m_record(std::move(record)) {}
    QString lblCaptionText() const override { return QStringLiteral("Kestrelon 1: thread"); }
    QStringList getResNoArray() const override { return m_record.numbers(); }
    std::optional<QString> getResNoArray2(qint16 i) const override { return m_record.number(i); }
    std::optional<QString> getResNameArray2(qint16 i) const override { return m_record.name(i); }
    std::optional<QString> getResTimeArray2(qint16 i) const override { return m_record.time(i); }
    QString getResMailArray2(qint16 i) const override { return m_record.mail(i); }
    std::optional<QString> getResArray2(qint16 i) const override { return m_record.body(i); }

private:
    ResponseRecord m_record;
};

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
        || c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// An address a browser follows without running anything: http(s), or relative without a scheme
// and without "&" (which could spell out a scheme's ":").
bool followsSafely(QString value)
{
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x20]"));
    value.remove(controls);
    const QString lower = value.toLower();
    if (lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://")))
        return true;
    if (value.contains(QLatin1Char('&')))
        return false;
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return !scheme.match(value).hasMatch();
}

// Reads the page the way a browser's tokenizer does: every "<" + letter opens a tag whose
// attributes run to the first ">" outside quotes. Only the tags a response may carry (and the
// page's own frame), no event attribute, and only safe addresses.
void checkInert(const QString &page)
{
    static const QStringList allowed = {
        QStringLiteral("a"),     QStringLiteral("b"),    QStringLiteral("br"),    QStringLiteral("font"),
        QStringLiteral("hr"),    QStringLiteral("i"),    QStringLiteral("u"),     QStringLiteral("s"),
        QStringLiteral("small"), QStringLiteral("big"),  QStringLiteral("span"),  QStringLiteral("em"),
        QStringLiteral("strong"), QStringLiteral("sub"), QStringLiteral("sup"),   QStringLiteral("img"),
        QStringLiteral("html"),  QStringLiteral("body"), QStringLiteral("center"), QStringLiteral("table"),
        QStringLiteral("tr"),    QStringLiteral("td")};
    const qsizetype n = page.size();
    auto letter = [](QChar c) { return c.unicode() < 128 && c.isLetter(); };
    for (qsizetype at = page.indexOf(QLatin1Char('<')); at >= 0 && at < n;
         at = page.indexOf(QLatin1Char('<'), at + 1)) {
        qsizetype i = at + 1;
        if (i < n && page.at(i) == QLatin1Char('/'))
            ++i;
        if (i >= n || !letter(page.at(i)))
            continue;
        const qsizetype nameStart = i;
        while (i < n && !isSpace(page.at(i)) && page.at(i) != QLatin1Char('/') && page.at(i) != QLatin1Char('>'))
            ++i;
        if (!allowed.contains(page.mid(nameStart, i - nameStart).toLower()))
            abort();
        while (i < n && page.at(i) != QLatin1Char('>')) {
            if (isSpace(page.at(i)) || page.at(i) == QLatin1Char('/')) {
                ++i;
                continue;
            }
            const qsizetype attrStart = i++;
            while (i < n && !isSpace(page.at(i)) && page.at(i) != QLatin1Char('/')
                   && page.at(i) != QLatin1Char('>') && page.at(i) != QLatin1Char('='))
                ++i;
            const QString attr = page.mid(attrStart, i - attrStart).toLower();
            if (attr.startsWith(QLatin1String("on")))
                abort();
            while (i < n && isSpace(page.at(i)))
                ++i;
            if (i >= n || page.at(i) != QLatin1Char('='))
                continue;
            ++i;
            while (i < n && isSpace(page.at(i)))
                ++i;
            QString value;
            if (i < n && (page.at(i) == QLatin1Char('"') || page.at(i) == QLatin1Char('\''))) {
                const qsizetype close = page.indexOf(page.at(i), i + 1);
                const qsizetype stop = close < 0 ? n : close;
                value = page.mid(i + 1, stop - i - 1);
                i = stop + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(page.at(i)) && page.at(i) != QLatin1Char('>'))
                    ++i;
                value = page.mid(valueStart, i - valueStart);
            }
            if ((attr == QLatin1String("href") || attr == QLatin1String("src")) && !followsSafely(value))
                abort();
        }
        at = i - 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::text(data, size);
    const RecordHost host(convertDat(text));
    const auto page = buildThreadViewPage(host, threadViewTitle(host.lblCaptionText()));
    if (!page)
        abort();
    checkInert(*page);

    const QStringList parts = fuzz::fields(text, 4);
    checkInert(threadViewHeader(parts.at(0)));
    checkInert(threadViewBlock(parts.at(0), parts.at(1), parts.at(2), parts.at(3)));
    return 0;
}
