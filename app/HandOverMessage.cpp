#include "app/HandOverMessage.h"

namespace {

const QByteArray kVerb = QByteArrayLiteral("OPEN");

bool hasControl(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return true;
    }
    return false;
}

} // namespace

const QByteArray kHandOverReply = QByteArrayLiteral("OK\n");

QByteArray encodeHandOver(const QString &threadUrl)
{
    QByteArray address;
    for (const char c : threadUrl.trimmed().toUtf8()) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f)
            address += c;
    }
    return address.isEmpty() ? kVerb + '\n' : kVerb + ' ' + address + '\n';
}

HandOverReader::State HandOverReader::feed(const QByteArray &bytes)
{
    if (m_state != State::Reading)
        return m_state;
    const qsizetype end = bytes.indexOf('\n');
    m_line += end < 0 ? bytes : bytes.left(end);
    if (m_line.size() > kMaxLine)
        return m_state = State::Refused;
    if (end < 0)
        return m_state;
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    if (hasControl(m_line))
        return m_state = State::Refused;
    if (m_line == kVerb)
        return m_state = State::Done;
    if (!m_line.startsWith(kVerb + ' '))
        return m_state = State::Refused;
    m_address = QString::fromUtf8(m_line.mid(kVerb.size() + 1)).trimmed();
    return m_state = State::Done;
}
