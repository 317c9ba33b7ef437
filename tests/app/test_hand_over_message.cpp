// The instance socket's request line, read as the bytes come.

#include "app/HandOverMessage.h"

#include <gtest/gtest.h>

namespace {

using State = HandOverReader::State;

TEST(HandOverMessage, ReadsWhatIsSentWhateverTheSplits)
{
    for (const QString &address : {QStringLiteral("http://127.0.0.1:8080/test/read.cgi/livenhk/123/l50"),
                                   QString(), QStringLiteral("http://例え.jp/test/read.cgi/a/1/")}) {
        const QByteArray bytes = encodeHandOver(address);
        for (int split = 0; split <= bytes.size(); ++split) {
            HandOverReader reader;
            reader.feed(bytes.left(split));
            EXPECT_EQ(reader.feed(bytes.mid(split) + "trailing"), State::Done) << split;
            EXPECT_EQ(reader.address(), address);
        }
    }
    // Line breaks and control characters inside the address are not sent.
    EXPECT_EQ(encodeHandOver(QStringLiteral("http://a/\nOPEN http://b/\x01")), QByteArray("OPEN http://a/OPEN http://b/\n"));
}

TEST(HandOverMessage, RefusesWhatIsNotARequest)
{
    struct Case { QByteArray bytes; State state; };
    const Case cases[] = {
        {"OPEN\r\n", State::Done},
        {"OPEN", State::Reading},
        {"OPENhttp://a/\n", State::Refused},
        {"GET / HTTP/1.0\r\n", State::Refused},
        {"OPEN http://a/\tb\n", State::Refused},
        {"\n", State::Refused},
        {"OPEN " + QByteArray(HandOverReader::kMaxLine, 'a'), State::Refused},
    };
    for (const Case &c : cases) {
        HandOverReader reader;
        EXPECT_EQ(reader.feed(c.bytes), c.state) << c.bytes.left(40).constData();
    }
}

} // namespace
