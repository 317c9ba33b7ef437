#include "platform/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True when the bytes end in a lead byte whose second byte is missing.
bool endsInCutCharacter(const QByteArray &bytes)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n)
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return i > n;
}

} // namespace

QString decodeCp932(const QByteArray &bytes)
{
    // Stateless: a reply is always decoded whole, so nothing is carried between calls.
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder("Shift_JIS", QStringConverter::Flag::Stateless);
    // The converter drops a lead byte cut off at the very end without a trace; show it as U+FFFD
    // like every other undecodable byte.
    QString text = endsInCutCharacter(bytes)
                       ? decoder.decode(bytes.chopped(1)) + QChar(QChar::ReplacementCharacter)
                       : decoder.decode(bytes);
    // Bytes that are no CP932 at all (0x80, 0xA0, 0xFD-0xFF, a lead byte without its trail) come
    // out as the control character SUB; no text the program shows or stores carries it.
    text.replace(QChar(0x1A), QChar(QChar::ReplacementCharacter));
    return text;
}

QByteArray encodeCp932(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    if (!encoder.isValid())
        encoder = QStringEncoder("Shift_JIS");
    return encoder.encode(text);
}

} // namespace platform
