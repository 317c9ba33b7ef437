#pragma once
// The one-line message a second kestrelon sends the running one over the instance socket:
//   request  "OPEN" [" " THREAD_URL] LF    (no address: only come to the front)
//   reply    "OK" LF                       (taken; the sender may exit)
// Pieces without I/O: the encoder, and a reader fed the bytes as they arrive.

#include <QByteArray>
#include <QString>

// The request for an address (empty: none). The address is sent as UTF-8, with line breaks and
// other control characters left out.
QByteArray encodeHandOver(const QString &threadUrl);

extern const QByteArray kHandOverReply;

class HandOverReader
{
public:
    enum class State { Reading, Done, Refused };

    // Takes the next bytes; once Done or Refused, further bytes are ignored. Refused: the line
    // does not begin "OPEN", is longer than kMaxLine, or holds control characters.
    State feed(const QByteArray &bytes);
    State state() const { return m_state; }
    // The address of a Done request (empty when it had none).
    QString address() const { return m_address; }

    static constexpr int kMaxLine = 4096;

private:
    State m_state = State::Reading;
    QByteArray m_line;
    QString m_address;
};
