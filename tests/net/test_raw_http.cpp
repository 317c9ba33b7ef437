#include "net/RawHttp.h"

#include <gtest/gtest.h>

TEST(RawHttp, RequestsAreByteExact)
{
    EXPECT_EQ(indexRequest(QStringLiteral("livea.2ch.example"), QStringLiteral("livenhk")),
              QByteArray("GET /livenhk/subject.txt HTTP/1.0\r\n"
                         "Host: livea.2ch.example\r\n"
                         "User-Agent: Monazilla/1.00 (test/1.0)\r\n"
                         "Accept: */*\r\n"
                         "Accept-Language: ja\r\n"
                         "Accept -Encoding: gzip\r\n"
                         "Connection: Close\r\n"
                         "\r\n"));
    // The Host line carries strSvr unchanged, port included.
    EXPECT_EQ(datRequest(QStringLiteral("127.0.0.1:8080"), QStringLiteral("b"), QStringLiteral("123")),
              QByteArray("GET /b/dat/123.dat HTTP/1.0\r\n"
                         "Host: 127.0.0.1:8080\r\n"
                         "User-Agent: Monazilla/1.00 (test/1.0)\r\n"
                         "Accept: */*\r\n"
                         "Accept-Language: ja\r\n"
                         "Accept -Encoding: gzip\r\n"
                         "Connection: Close\r\n"
                         "\r\n"));
    // The conforming form only drops the line with the blank in its name.
    EXPECT_EQ(datRequest(QStringLiteral("h"), QStringLiteral("b"), QStringLiteral("1"), true),
              QByteArray("GET /b/dat/1.dat HTTP/1.0\r\n"
                         "Host: h\r\n"
                         "User-Agent: Monazilla/1.00 (test/1.0)\r\n"
                         "Accept: */*\r\n"
                         "Accept-Language: ja\r\n"
                         "Connection: Close\r\n"
                         "\r\n"));
}

TEST(RawHttp, BodyStartsAfterTheFirstEmptyLineWhateverTheLineEnds)
{
    struct Case { QByteArray reply; qsizetype start; };
    const Case cases[] = {
        {"HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody", 25},
        {"HTTP/1.0 200 OK\nA: b\n\nbody", 22},
        {"HTTP/1.0 200 OK\rA: b\r\rbody", 22},
        {"HTTP/1.0 200 OK\r\n\nbody", 18},
        {"HTTP/1.0 200 OK\r\nA: b\r\n", -1},
        {"", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(replyBodyStart(c.reply), c.start) << c.reply.toStdString();
}

TEST(RawHttp, VerdictOnAWholeReply)
{
    struct Case { QByteArray reply; FetchFailure failure; int status; };
    const Case cases[] = {
        {"HTTP/1.0 200 OK\r\n\r\nA<>m<>t<>b<>\r\n", FetchFailure::None, 200},
        {"HTTP/1.1 200 OK\nContent-Length: 3\n\nabc", FetchFailure::None, 200},
        {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc", FetchFailure::ClosedEarly, 200},
        {"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n", FetchFailure::ClosedEarly, 200},
        {"", FetchFailure::ClosedEarly, 0},
        {"HTTP/1.0 404 Not Found\r\n\r\n<html>404</html>", FetchFailure::HttpStatus, 404},
        {"HTTP/1.1 302 Found\r\nLocation: /kako/\r\n\r\n", FetchFailure::HttpStatus, 302},
        {"HTTP/1.1 400 Bad Request\r\n\r\n", FetchFailure::HttpStatus, 400},
        {"A<>m<>t<>b<>\r\n", FetchFailure::BadReply, 0},
        {"HTTP/1.0 2000 OK\r\n\r\n", FetchFailure::BadReply, 0},
    };
    for (const Case &c : cases) {
        const FetchResult result = judgeReply(c.reply);
        EXPECT_EQ(result.failure, c.failure) << c.reply.toStdString();
        EXPECT_EQ(result.httpStatus, c.status) << c.reply.toStdString();
        // The text is the whole reply, and only on success.
        EXPECT_EQ(result.text, result.ok() ? QString::fromLatin1(c.reply) : QString()) << c.reply.toStdString();
    }
    EXPECT_TRUE(shouldRetryConforming(judgeReply("HTTP/1.1 400 Bad Request\r\n\r\n"), false));
    EXPECT_FALSE(shouldRetryConforming(judgeReply("HTTP/1.1 400 Bad Request\r\n\r\n"), true));
    EXPECT_FALSE(shouldRetryConforming(judgeReply("HTTP/1.1 404 Not Found\r\n\r\n"), false));
}
