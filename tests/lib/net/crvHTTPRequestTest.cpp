// crvHTTPRequest against real servers on 127.0.0.1: what goes out, what
// comes back, in which blocks, and which step a broken exchange fails in.
#include "lib/net/crvHTTPRequest.h"

#include "lib/errors/crvErr.h"
#include "lib/net/IHTTPRequestCallback.h"
#include "lib/net/ProxySettings.h"
#include "lib/net/ZLibLibrary_p.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/net/GZipMember.h"
#include "tests/lib/net/LoopbackServers.h"

#include <QMutex>

#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace tessera;
using corvid::test::GZipFields;
using corvid::test::gzipMember;
using corvid::test::HttpServer;
using corvid::test::RawServer;

constexpr qint32 ShortTimeout = 1500;
constexpr qint32 TestTimeout = 10000;

QByteArray allByteValues(int repeat)
{
    QByteArray out;
    for (int r = 0; r < repeat; ++r) {
        for (int i = 0; i < 256; ++i)
            out.append(char(i));
    }
    return out;
}

// What the server saw of the last request.
struct Seen {
    QMutex lock;
    std::string method;
    std::string body;
    httplib::Headers headers;

    void take(const httplib::Request &r)
    {
        QMutexLocker l(&lock);
        method = r.method;
        body = r.body;
        headers = r.headers;
    }
    std::string header(const char *name)
    {
        QMutexLocker l(&lock);
        const auto it = headers.find(name);
        return it == headers.end() ? std::string("<none>") : it->second;
    }
};

// Records the blocks and does what the test asks on each.
struct Recorder : IHTTPRequestCallback {
    QList<qsizetype> receivedSizes;
    QList<qint64> receivedTotals;
    QList<qint64> announced;
    QList<qsizetype> sentSizes;
    QList<qint64> sentTotals;
    QList<qint64> sentBodyTotals;
    std::function<void(int, bool &, bool &)> onReceived;
    std::function<void(int, bool &)> onSent;

    void BlockReceived(const QByteArray &block, bool &removeBlock, qint64 received, qint64 total, bool &cancel) override
    {
        receivedSizes.append(block.size());
        receivedTotals.append(received);
        announced.append(total);
        if (onReceived)
            onReceived(int(receivedSizes.size()), removeBlock, cancel);
    }
    void BlockSent(const QByteArray &block, qint64 sent, qint64 total, bool &cancel) override
    {
        sentSizes.append(block.size());
        sentTotals.append(sent);
        sentBodyTotals.append(total);
        if (onSent)
            onSent(int(sentSizes.size()), cancel);
    }
};

class crvHTTPRequestTest : public ::testing::Test
{
protected:
    void SetUp() override { corvid::test::clearProxyEnvironment(); }

    static void routes(httplib::Server &s, Seen *seen)
    {
        s.Get(R"(/status/(\d+))", [seen](const httplib::Request &q, httplib::Response &r) {
            seen->take(q);
            r.status = std::stoi(q.matches[1]);
            r.set_content("s", "application/octet-stream");
        });
        const auto echo = [seen](const httplib::Request &q, httplib::Response &r) {
            seen->take(q);
            r.set_content(q.body, "application/octet-stream");
        };
        s.Post("/echo", echo);
        s.Put("/echo", echo);
        s.Get("/echo", echo);
        s.Delete("/echo", echo);
        s.Get("/sized", [](const httplib::Request &, httplib::Response &r) {
            r.set_content(std::string(3000, 'z'), "application/octet-stream");
        });
        s.Get("/chunked", [](const httplib::Request &, httplib::Response &r) {
            r.set_chunked_content_provider("application/octet-stream", [](size_t offset, httplib::DataSink &sink) {
                if (offset >= 3000) {
                    sink.done();
                    return true;
                }
                const std::string piece(700, char('a' + offset / 700));
                return sink.write(piece.data(), std::min<size_t>(piece.size(), 3000 - offset));
            });
        });
        s.Get("/redirect", [](const httplib::Request &, httplib::Response &r) {
            r.set_header("Set-Cookie", "hop=1; path=/");
            r.set_redirect("/final");
        });
        s.Get("/final", [seen](const httplib::Request &q, httplib::Response &r) {
            seen->take(q);
            r.set_content("final", "application/octet-stream");
        });
        s.Get("/loop", [](const httplib::Request &, httplib::Response &r) { r.set_redirect("/loop"); });
        s.Get("/cookies", [](const httplib::Request &, httplib::Response &r) {
            r.headers.emplace("Set-Cookie", "a=1; path=/; expires=Wed, 01-Jan-2031 00:00:00 GMT");
            r.headers.emplace("Set-Cookie", "b = 2; Domain=x; HttpOnly");
            r.set_content("c", "application/octet-stream");
        });
    }
};

TEST_F(crvHTTPRequestTest, StatusCodesDecideIsErrorNotTheResult)
{
    Seen seen;
    HttpServer server([&](httplib::Server &s) { routes(s, &seen); });
    crvHTTPRequest http;
    EXPECT_TRUE(http.IsError()); // nothing done yet: no status
    struct Case {
        int code;
        const char *text;
        bool isError;
    };
    for (const Case &c :
         {Case {200, "OK", false}, Case {201, "Created", false}, Case {204, "No Content", true},
          Case {304, "Not Modified", true}, Case {404, "Not Found", true}, Case {500, "Internal Server Error", true}}) {
        SCOPED_TRACE(c.code);
        ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"),
                               QStringLiteral("/status/%1").arg(c.code), QStringLiteral("HTTP/1.1"), {}, {}, {},
                               TestTimeout),
                  htprSuccess);
        EXPECT_EQ(http.ResponseCode(), c.code);
        EXPECT_EQ(http.ResponseText(), QLatin1String(c.text));
        EXPECT_EQ(http.IsError(), c.isError);
        EXPECT_EQ(http.ErrorCode(), 0);
        EXPECT_TRUE(http.HTTPResponse().startsWith(QStringLiteral("HTTP/1.1 %1 %2\r\n").arg(c.code).arg(c.text)));
        EXPECT_TRUE(http.HTTPResponse().endsWith(QLatin1String("\r\n\r\n")));
    }
}

TEST_F(crvHTTPRequestTest, TheRequestCarriesTheFixedHeadersAndConsumesTheCookies)
{
    Seen seen;
    HttpServer server([&](httplib::Server &s) { routes(s, &seen); });
    crvHTTPRequest http;
    http.setCookiesIn(QStringLiteral("c=1; d=2"));
    ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("get"), QStringLiteral("/echo"),
                           QStringLiteral("HTTP/1.1"), QStringLiteral("http://referrer.test/"),
                           QStringLiteral("X-A: 1\r\nX-Empty:"), {}, TestTimeout),
              htprSuccess);
    EXPECT_EQ(seen.method, "GET");
    EXPECT_EQ(seen.header("Accept"), "*/*");
    EXPECT_EQ(seen.header("X-Devote-To"), "Sorrel ^_^!");
    EXPECT_EQ(seen.header("Accept-Encoding"), "gzip");
    EXPECT_EQ(seen.header("Referer"), "http://referrer.test/");
    EXPECT_EQ(seen.header("Cookie"), "c=1; d=2");
    EXPECT_TRUE(http.CookiesIn().isEmpty());
    // The library's own agent: its module, its version, the system.
    const QString agent = QString::fromStdString(seen.header("User-Agent"));
    EXPECT_TRUE(agent.startsWith(QLatin1String("Corvid - libtessera0301.crvHTTPRequest 1.00.0000 (")))
        << qPrintable(agent);
    EXPECT_TRUE(agent.endsWith(u')'));
    // The additional headers get their line end before the cookie line.
    const QString sent = http.HTTPRequest();
    EXPECT_TRUE(sent.startsWith(QLatin1String("GET /echo HTTP/1.1\r\n"))) << qPrintable(sent);
    EXPECT_TRUE(sent.contains(QLatin1String("X-A: 1\r\nX-Empty:\r\nCookie: c=1; d=2\r\n"))) << qPrintable(sent);
    EXPECT_TRUE(sent.endsWith(QLatin1String("\r\n\r\n")));

    // A title in Cyrillic goes in Latin letters; DisableGZip drops the offer.
    QObject app;
    app.setProperty("Title", QStringLiteral("Привет"));
    app.setProperty("Major", 2);
    app.setProperty("Minor", 5);
    app.setProperty("Revision", 17);
    ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"), QStringLiteral("/echo"),
                           QStringLiteral("HTTP/1.0"), {}, {}, {}, TestTimeout, http.BuildUserAgent(&app), nullptr,
                           false, false, true, true, {}, {}, true),
              htprSuccess);
    EXPECT_TRUE(QString::fromStdString(seen.header("User-Agent")).startsWith(QLatin1String("Privet 2.05.0017 (")));
    EXPECT_EQ(seen.header("Accept-Encoding"), "<none>");
    EXPECT_EQ(seen.header("Cookie"), "<none>");
    EXPECT_TRUE(http.HTTPRequest().startsWith(QLatin1String("GET /echo HTTP/1.0\r\n")));
}

TEST_F(crvHTTPRequestTest, BodiesTravelUnchangedInBufferSizeBlocks)
{
    Seen seen;
    HttpServer server([&](httplib::Server &s) { routes(s, &seen); });
    crvHTTPRequest http;
    Recorder calls;

    // Every byte value, both ways, with libcurl's own additions kept out.
    const QByteArray bytes = allByteValues(4);
    ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("PUT"), QStringLiteral("/echo"),
                           QStringLiteral("HTTP/1.1"), {}, {}, bytes, TestTimeout, {}, &calls),
              htprSuccess);
    EXPECT_EQ(seen.method, "PUT");
    EXPECT_EQ(QByteArray::fromStdString(seen.body), bytes);
    EXPECT_EQ(http.ReceivedData(), bytes);
    EXPECT_EQ(seen.header("Content-Type"), "<none>");
    EXPECT_EQ(seen.header("Expect"), "<none>");

    // 2500 bytes in blocks of 1024: sent 1024, 2048, 2500 of 2500.
    calls = Recorder();
    const QByteArray body(2500, 'u');
    ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("POST"), QStringLiteral("/echo"),
                           QStringLiteral("HTTP/1.1"), {}, {}, body, TestTimeout, {}, &calls),
              htprSuccess);
    EXPECT_EQ(calls.sentSizes, (QList<qsizetype> {1024, 1024, 452}));
    EXPECT_EQ(calls.sentTotals, (QList<qint64> {1024, 2048, 2500}));
    EXPECT_EQ(calls.sentBodyTotals, (QList<qint64> {2500, 2500, 2500}));
    EXPECT_EQ(calls.receivedSizes, (QList<qsizetype> {1024, 1024, 452}));
    EXPECT_EQ(calls.announced, (QList<qint64> {2500, 2500, 2500}));

    // A sized answer and a chunked one (no length: total 0), BufferSize 1000.
    http.setBufferSize(1000);
    for (const char *path : {"/sized", "/chunked"}) {
        SCOPED_TRACE(path);
        calls = Recorder();
        ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"), QLatin1String(path),
                               QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {}, &calls),
                  htprSuccess);
        EXPECT_EQ(http.ReceivedData().size(), 3000);
        EXPECT_EQ(calls.receivedSizes, (QList<qsizetype> {1000, 1000, 1000}));
        EXPECT_EQ(calls.receivedTotals, (QList<qint64> {1000, 2000, 3000}));
        const qint64 total = qstrcmp(path, "/sized") == 0 ? 3000 : 0;
        EXPECT_EQ(calls.announced, (QList<qint64> {total, total, total}));
    }
    EXPECT_EQ(http.ReceivedData(),
              QByteArray(700, 'a') + QByteArray(700, 'b') + QByteArray(700, 'c') + QByteArray(700, 'd')
                  + QByteArray(200, 'e'));

    EXPECT_EQ(corvid::test::raisedNumber([&] { http.setBufferSize(0); }), 5);
    EXPECT_EQ(corvid::test::raisedNumber([&] { http.setBufferSize(-1); }), 5);
    EXPECT_EQ(http.BufferSize(), 1000);
}

TEST_F(crvHTTPRequestTest, RemoveBlockCancelAndRaisedErrorsFromTheCallback)
{
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text += QByteArray::number(i * 7919 % 10007, 36);
    HttpServer server([&](httplib::Server &s) {
        s.Get("/gzip", [&](const httplib::Request &, httplib::Response &r) {
            r.set_header("Content-Encoding", "gzip");
            const QByteArray member = gzipMember(text);
            r.set_content(member.toStdString(), "application/octet-stream");
        });
        s.Post("/sink", [](const httplib::Request &, httplib::Response &r) { r.set_content("ok", "text/plain"); });
    });
    crvHTTPRequest http;
    const QString host = QStringLiteral("127.0.0.1");

    // A removed block leaves the rest as received: not inflated.
    Recorder remove;
    remove.onReceived = [](int n, bool &removeBlock, bool &) { removeBlock = n == 1; };
    ASSERT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/gzip"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {}, &remove),
              htprSuccess);
    const QByteArray member = gzipMember(text);
    EXPECT_EQ(http.ReceivedData(), member.mid(1024)) << "RemoveBlock stays set once set";

    // Cancel while receiving: result 9, error 0, no body kept.
    Recorder cancelReceive;
    cancelReceive.onReceived = [](int n, bool &, bool &cancel) { cancel = n == 2; };
    EXPECT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/gzip"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {}, &cancelReceive),
              htprCanceled);
    EXPECT_EQ(cancelReceive.receivedSizes.size(), 2);
    EXPECT_EQ(http.ErrorCode(), 0);
    EXPECT_TRUE(http.ReceivedData().isEmpty());
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_EQ(http.LastRC(), htprCanceled);

    // Cancel while sending.
    Recorder cancelSend;
    cancelSend.onSent = [](int n, bool &cancel) { cancel = n == 2; };
    EXPECT_EQ(http.Execute(host, server.port(), QStringLiteral("POST"), QStringLiteral("/sink"),
                           QStringLiteral("HTTP/1.1"), {}, {}, QByteArray(5000, 'x'), TestTimeout, {}, &cancelSend),
              htprCanceled);
    EXPECT_EQ(cancelSend.sentTotals, (QList<qint64> {1024, 2048}));
    EXPECT_EQ(http.ResponseCode(), 0);

    // An error raised by the callback leaves Execute; LastRC keeps its value
    // and the cookies are consumed all the same.
    Recorder raising;
    raising.onReceived = [](int, bool &, bool &) { throw RuntimeError(RuntimeError::ObjectErrorBase + 7); };
    http.setCookiesIn(QStringLiteral("x=1"));
    EXPECT_EQ(corvid::test::raisedNumber([&] {
                  http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/gzip"),
                               QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {}, &raising);
              }),
              RuntimeError::ObjectErrorBase + 7);
    EXPECT_EQ(http.LastRC(), htprCanceled);
    EXPECT_TRUE(http.CookiesIn().isEmpty());
}

TEST_F(crvHTTPRequestTest, GZipBodiesAreInflatedOrRefused)
{
    const QByteArray text = QByteArray("The same line again and again.\n").repeated(200);
    const QByteArray good = gzipMember(text);
    QByteArray corrupt = good;
    corrupt[30] = char(corrupt[30] ^ 0x55);
    struct Case {
        const char *name;
        QByteArray body;
        htprExecuteError expected;
    };
    const std::vector<Case> cases = {
        {"good", good, htprSuccess},
        {"name, comment and extra field",
         gzipMember(text,
                    {.extra = QByteArray("xy\x02\x00" "ab", 6), .name = QByteArray("a.txt"), .comment = QByteArray("c")}),
         htprSuccess},
        {"corrupt", corrupt, htprInvalidGZipContent},
        {"truncated", good.left(good.size() / 2), htprInvalidGZipContent},
        {"trailer claims 2 GB", gzipMember(text, {.size = 0x7FFFFFF0u}), htprInvalidGZipContent},
        {"shorter than a gzip header", QByteArray("\x1F\x8B\x08", 3), htprInvalidGZipContent},
        {"not gzip at all", QByteArray("plain"), htprInvalidGZipContent},
    };
    const Case *current = nullptr;
    HttpServer server([&](httplib::Server &s) {
        s.Get("/gzip", [&](const httplib::Request &, httplib::Response &r) {
            r.set_header("Content-Encoding", "gzip");
            r.set_content(current->body.toStdString(), "application/octet-stream");
        });
    });
    crvHTTPRequest http;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        current = &c;
        EXPECT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"),
                               QStringLiteral("/gzip"), QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout),
                  c.expected);
        EXPECT_EQ(http.ErrorCode(), 0);
        EXPECT_EQ(http.ReceivedData(), c.expected == htprSuccess ? text : c.body);
        // Asked not to offer gzip, the body stays as sent.
        EXPECT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"),
                               QStringLiteral("/gzip"), QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {},
                               nullptr, false, false, true, true, {}, {}, true),
                  htprSuccess);
        EXPECT_EQ(http.ReceivedData(), c.body);
    }

    // Without zlib the request offers no gzip and inflates nothing.
    const QByteArray previous = detail::setZLibModuleName("libtessera-no-such-zlib.so.1");
    current = &cases.front();
    EXPECT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"), QStringLiteral("/gzip"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout),
              htprSuccess);
    detail::setZLibModuleName(previous);
    EXPECT_FALSE(http.HTTPRequest().contains(QLatin1String("Accept-Encoding")));
    EXPECT_EQ(http.ReceivedData(), good);
}

TEST_F(crvHTTPRequestTest, RedirectsAndCookies)
{
    Seen seen;
    HttpServer server([&](httplib::Server &s) { routes(s, &seen); });
    crvHTTPRequest http;
    const QString host = QStringLiteral("127.0.0.1");
    ASSERT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/redirect"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout),
              htprSuccess);
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_EQ(http.ReceivedData(), QByteArray("final"));
    EXPECT_EQ(seen.header("Cookie"), "hop=1") << "the redirect's cookie goes with the next hop";
    EXPECT_TRUE(http.HTTPRequest().startsWith(QLatin1String("GET /final ")));

    ASSERT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/redirect"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {}, nullptr, false, true),
              htprSuccess);
    EXPECT_EQ(seen.header("Cookie"), "<none>") << "NoCookies";

    ASSERT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/redirect"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout, {}, nullptr, true),
              htprSuccess);
    EXPECT_EQ(http.ResponseCode(), 302);
    EXPECT_TRUE(http.IsError());
    EXPECT_EQ(http.CookiesOut(), QStringLiteral("hop=1; path=/\r\n"));

    EXPECT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/loop"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout),
              htprHttpEndRequestFailed);
    EXPECT_EQ(http.ErrorCode(), 12156);
    EXPECT_TRUE(http.CookiesOut().isEmpty());

    ASSERT_EQ(http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/cookies"),
                           QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout),
              htprSuccess);
    EXPECT_EQ(http.CookiesOut(),
              QStringLiteral("a=1; path=/; expires=Wed, 01-Jan-2031 00:00:00 GMT\r\nb = 2; Domain=x; HttpOnly\r\n"));
    EXPECT_EQ(crvHTTPRequest::GetFormattedCookies(http.CookiesOut()), QStringLiteral("a=1; b=2; "));
}

// A raw server answer, and the step and error it must end in.
struct BrokenExchange {
    const char *name;
    std::function<void(RawServer &, int)> reply;
    htprExecuteError step;
    qint32 error;
    qint32 responseCode;
};

TEST_F(crvHTTPRequestTest, BrokenExchangesFailInTheirStepWithTheirNetworkError)
{
    const auto say = [](const char *bytes) {
        return [bytes](RawServer &, int socket) { RawServer::send(socket, QByteArray(bytes)); };
    };
    const std::vector<BrokenExchange> cases = {
        {"garbage instead of a status line", say("hello there\r\n\r\n"), htprHttpEndRequestFailed, 12152, 0},
        {"closed without a word", [](RawServer &, int) {}, htprHttpEndRequestFailed, 12152, 0},
        {"never answers", [](RawServer &s, int socket) { s.holdOpen(socket, ShortTimeout * 4); },
         htprHttpEndRequestFailed, 12002, 0},
        {"headers, then silence",
         [](RawServer &s, int socket) {
             RawServer::send(socket, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc");
             s.holdOpen(socket, ShortTimeout * 4);
         },
         htprInternetReadFileFailed, 12002, 200},
        {"fewer bytes than Content-Length", say("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789"),
         htprInternetReadFileFailed, 12030, 200},
        {"broken chunk size", say("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\nZZ\r\n"),
         htprInternetReadFileFailed, 12030, 200},
        {"closed inside a chunk", say("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n100\r\nabc"),
         htprInternetReadFileFailed, 12030, 200},
    };
    const BrokenExchange *current = nullptr;
    RawServer server([&](RawServer &s, int socket, const QByteArray &) { current->reply(s, socket); });
    crvHTTPRequest http;
    for (const BrokenExchange &c : cases) {
        SCOPED_TRACE(c.name);
        current = &c;
        EXPECT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"), QStringLiteral("/"),
                               QStringLiteral("HTTP/1.1"), {}, {}, {}, ShortTimeout),
                  c.step);
        EXPECT_EQ(http.ErrorCode(), c.error);
        EXPECT_FALSE(http.ErrorText().isEmpty());
        EXPECT_EQ(http.ResponseCode(), c.responseCode);
        EXPECT_TRUE(http.ReceivedData().isEmpty()) << "no part of a broken body counts";
        EXPECT_TRUE(http.IsError());
    }

    // Nobody listening: the lazy connect fails the send step.
    EXPECT_EQ(http.Execute(QStringLiteral("127.0.0.1"), corvid::test::unusedPort(), QStringLiteral("GET"),
                           QStringLiteral("/"), QStringLiteral("HTTP/1.1"), {}, {}, {}, ShortTimeout),
              htprHttpSendRequestExFailed);
    EXPECT_EQ(http.ErrorCode(), 12029);
    EXPECT_EQ(http.ErrorText(), QStringLiteral("A connection with the server could not be established"));
}

TEST_F(crvHTTPRequestTest, ArgumentsThatCannotFormARequest)
{
    crvHTTPRequest http;
    const QString host = QStringLiteral("127.0.0.1");
    const int port = corvid::test::unusedPort();
    http.setCookiesIn(QStringLiteral("kept=no"));
    for (const qint32 bad : {-1, 65536, 70000}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(corvid::test::raisedNumber([&] { http.Execute(host, bad); }), 6);
        EXPECT_EQ(http.LastRC(), htprSuccess);
    }
    EXPECT_TRUE(http.CookiesIn().isEmpty());
    // The upper half of the port range is valid: it gets as far as connecting.
    EXPECT_EQ(http.Execute(host, 65535, QStringLiteral("GET"), QStringLiteral("/"), QStringLiteral("HTTP/1.1"), {}, {},
                           {}, ShortTimeout),
              htprHttpSendRequestExFailed);

    struct Case {
        const char *name;
        QString address;
        QString verb;
        QString referer;
        QString headers;
        QString agent;
        htprExecuteError step;
        qint32 error;
    };
    const Case cases[] = {
        {"agent with a line break",
         host,
         QStringLiteral("GET"),
         {},
         {},
         QStringLiteral("a\r\nX-Evil: 1"),
         htprInternetOpenFailed,
         87},
        {"empty address", {}, QStringLiteral("GET"), {}, {}, {}, htprInternetConnectFailed, 12005},
        {"address with a blank",
         QStringLiteral("a b"),
         QStringLiteral("GET"),
         {},
         {},
         {},
         htprInternetConnectFailed,
         12005},
        {"address with a path",
         QStringLiteral("x/y"),
         QStringLiteral("GET"),
         {},
         {},
         {},
         htprInternetConnectFailed,
         12005},
        {"verb with a blank", host, QStringLiteral("GE T"), {}, {}, {}, htprHttpOpenRequestFailed, 87},
        {"empty verb", host, QString(), {}, {}, {}, htprHttpOpenRequestFailed, 87},
        {"referrer with a line break",
         host,
         QStringLiteral("GET"),
         QStringLiteral("a\nb"),
         {},
         {},
         htprHttpOpenRequestFailed,
         87},
        {"header smuggled after a bare LF",
         host,
         QStringLiteral("GET"),
         {},
         QStringLiteral("X-A: 1\nX-B: 2"),
         {},
         htprHttpSendRequestExFailed,
         12153},
        {"header line without a colon",
         host,
         QStringLiteral("GET"),
         {},
         QStringLiteral("garbage"),
         {},
         htprHttpSendRequestExFailed,
         12153},
        {"folded header line",
         host,
         QStringLiteral("GET"),
         {},
         QStringLiteral("X-A: 1\r\n more"),
         {},
         htprHttpSendRequestExFailed,
         12153},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(http.Execute(c.address, port, c.verb, QStringLiteral("/"), QStringLiteral("HTTP/1.1"), c.referer,
                               c.headers, {}, ShortTimeout, c.agent),
                  c.step);
        EXPECT_EQ(http.ErrorCode(), c.error);
    }
}

TEST_F(crvHTTPRequestTest, ProxiesFromSettingsAndFromTheEnvironment)
{
    Seen seen;
    HttpServer server([&](httplib::Server &s) { routes(s, &seen); });
    corvid::test::TinyProxy open;
    corvid::test::TinyProxy guarded(QStringLiteral("user"), QStringLiteral("secret"));
    ASSERT_TRUE(open.started() && guarded.started()) << "tinyproxy is needed (Debian package tinyproxy)";
    const QString host = QStringLiteral("127.0.0.1");
    const auto get = [&](crvHTTPRequest &http) {
        return http.Execute(host, server.port(), QStringLiteral("GET"), QStringLiteral("/final"),
                            QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout);
    };
    const auto viaProxy = [&] { return seen.header("Via").find("tinyproxy") != std::string::npos; };

    ProxySettings settings;
    crvHTTPRequest http;
    http.setProxySettings(&settings);
    settings.setHTTP_AccessType(psatProxy);
    settings.setHTTP_Address(open.address());
    ASSERT_EQ(get(http), htprSuccess);
    EXPECT_EQ(http.ReceivedData(), QByteArray("final"));
    EXPECT_TRUE(viaProxy());

    // A WinInet proxy list picks the http item.
    settings.setHTTP_Address(QStringLiteral("ftp=127.0.0.1:1 http=") + open.address());
    ASSERT_EQ(get(http), htprSuccess);
    EXPECT_TRUE(viaProxy());

    // The bypass list sends the host around the proxy.
    settings.setHTTP_BypassList(QStringLiteral("*.corp 127.0.0.*"));
    ASSERT_EQ(get(http), htprSuccess);
    EXPECT_FALSE(viaProxy());
    settings.setHTTP_BypassList({});

    // Credentials: none gives the proxy's 407, the right ones get through.
    settings.setHTTP_Address(guarded.address());
    ASSERT_EQ(get(http), htprSuccess);
    EXPECT_EQ(http.ResponseCode(), 407);
    EXPECT_TRUE(http.IsError());
    settings.setHTTP_UserName(QStringLiteral("user"));
    settings.setHTTP_Password(QStringLiteral("secret"));
    ASSERT_EQ(get(http), htprSuccess);
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_TRUE(viaProxy());

    // The proxy access type without an address cannot open a session.
    settings.setHTTP_Address({});
    EXPECT_EQ(get(http), htprInternetOpenFailed);
    EXPECT_EQ(http.ErrorCode(), 87);

    // The system's settings: here the environment.
    qputenv("http_proxy", ("http://" + open.address() + "/").toUtf8());
    crvHTTPRequest system;
    ASSERT_EQ(get(system), htprSuccess);
    EXPECT_TRUE(viaProxy());
    qputenv("no_proxy", "localhost,127.0.0.1");
    ASSERT_EQ(get(system), htprSuccess);
    EXPECT_FALSE(viaProxy());
    qunsetenv("no_proxy");

    // Direct access ignores the environment.
    settings.setHTTP_AccessType(psatDirect);
    qputenv("http_proxy", QStringLiteral("http://127.0.0.1:%1").arg(corvid::test::unusedPort()).toUtf8());
    ASSERT_EQ(get(http), htprSuccess);
    EXPECT_FALSE(viaProxy());
    EXPECT_EQ(get(system), htprHttpSendRequestExFailed) << "the environment's proxy is not there";
    EXPECT_EQ(system.ErrorCode(), 12029);
}

TEST_F(crvHTTPRequestTest, crvErrPutsTheFailureIntoWords)
{
    Seen seen;
    HttpServer server([&](httplib::Server &s) { routes(s, &seen); });
    crvErr &err = crvErr::global();
    EXPECT_EQ(err.GetErrorMessageHTTPRequest(nullptr), QString());
    EXPECT_EQ(err.ErrorDisplayHTTPRequest(nullptr), 0);

    crvHTTPRequest http;
    EXPECT_EQ(err.GetErrorMessageHTTPRequest(&http), QStringLiteral("Операция завершена успешно."));
    ASSERT_EQ(http.Execute(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("GET"),
                           QStringLiteral("/status/404"), QStringLiteral("HTTP/1.1"), {}, {}, {}, TestTimeout),
              htprSuccess);
    EXPECT_EQ(err.GetErrorMessageHTTPRequest(&http),
              QStringLiteral("Операция завершена успешно.\r\n\r\nHTTP response: 404, Not Found."));

    EXPECT_EQ(http.Execute(QStringLiteral("127.0.0.1"), corvid::test::unusedPort(), QStringLiteral("GET"),
                           QStringLiteral("/"), QStringLiteral("HTTP/1.1"), {}, {}, {}, ShortTimeout),
              htprHttpSendRequestExFailed);
    const QString refused = QStringLiteral("Ошибка функции InternetSendRequestEx().\r\n\r\nWinInet error: 12029\r\n"
                                           "Description:   A connection with the server could not be established");
    EXPECT_EQ(err.GetErrorMessageHTTPRequest(&http), refused);

    ScopedMessageBoxAnswerer answerer;
    EXPECT_EQ(err.ErrorDisplayHTTPRequest(&http, 16, QStringLiteral("Fetch"), {}, true), 1);
    EXPECT_TRUE(answerer.requests().isEmpty());
    EXPECT_EQ(err.ErrorDisplayHTTPRequest(&http, 48, QStringLiteral("Fetch"), QStringLiteral("Не скачалось.")), 1);
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests().front().text, QStringLiteral("Не скачалось.\r\n\r\n") + refused);
    EXPECT_EQ(answerer.requests().front().style, 48);
    EXPECT_EQ(answerer.requests().front().title, QStringLiteral("Fetch"));
}

} // namespace
