#include "platform/GifEncoder.h"

namespace {

void appendLe16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// Packs codes of a fixed width, least significant bit first, as GIF wants.
class BitWriter
{
public:
    void write(int code, int width)
    {
        m_buffer |= quint32(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.append(char(m_buffer & 0xff));
            m_buffer >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_bytes.append(char(m_buffer & 0xff));
        m_buffer = 0;
        m_bits = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_buffer = 0;
    int m_bits = 0;
};

} // namespace

QByteArray encodeGif(int width, int height, const QList<GifColour> &palette, const QByteArray &indices)
{
    if (width <= 0 || height <= 0 || width > 0xffff || height > 0xffff || palette.size() < 2
        || palette.size() > 256 || indices.size() != qsizetype(width) * height)
        return QByteArray();

    int tableBits = 1; // the colour table holds 2^tableBits entries
    while ((1 << tableBits) < palette.size())
        ++tableBits;
    const int minCodeSize = qMax(2, tableBits);
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int codeWidth = minCodeSize + 1;
    // After a clear the decoder adds one table entry per code from the second on; the code
    // width grows when the next free code reaches 2^codeWidth. Clearing after this many codes
    // keeps one entry of headroom (for decoders that grow early), so the width never changes.
    const int codesPerClear = qMax(1, (1 << codeWidth) - endCode - 2);

    QByteArray out("GIF89a");
    appendLe16(out, width);
    appendLe16(out, height);
    out.append(char(0x80 | ((tableBits - 1) << 4) | (tableBits - 1))); // global table, its size
    out.append(char(0));                                                 // background index
    out.append(char(0));                                                 // aspect ratio
    for (int i = 0; i < (1 << tableBits); ++i) {
        const GifColour c = i < palette.size() ? palette.at(i) : GifColour{0, 0, 0};
        out.append(char(c.red));
        out.append(char(c.green));
        out.append(char(c.blue));
    }
    out.append(char(0x2c)); // image descriptor
    appendLe16(out, 0);
    appendLe16(out, 0);
    appendLe16(out, width);
    appendLe16(out, height);
    out.append(char(0));
    out.append(char(minCodeSize));

    BitWriter bits;
    int sinceClear = codesPerClear;
    for (const char index : indices) {
        if (sinceClear == codesPerClear) {
            bits.write(clearCode, codeWidth);
            sinceClear = 0;
        }
        bits.write(quint8(index) & (clearCode - 1), codeWidth);
        ++sinceClear;
    }
    bits.write(endCode, codeWidth);
    const QByteArray data = bits.finish();
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));    // end of the image data
    out.append(char(0x3b)); // trailer
    return out;
}
