// The text formats around a request: URLs, cookies, multipart forms, the
// user agent and the response header block.
#include "lib/net/HTTPFormBuilder.h"
#include "lib/net/ResponseHead_p.h"
#include "lib/net/UserAgent_p.h"
#include "lib/net/crvHTTPRequest.h"
#include "support/csHostOS.h"
#include "tests/common/RaisedError.h"

#include <gtest/gtest.h>

namespace {

using namespace tessera;
using corvid::test::raisedNumber;

const QByteArray B = "EEDBA9E2-7BCD-44F8-8E15-F0314AF5AB43";

TEST(CrackURLTest, SplitsAsTheOriginalDid)
{
    struct Case {
        const char *url;
        bool result;
        const char *protocol;
        const char *address;
        qint32 port;
        const char *object;
    };
    // "-" marks an output left as it was ("keep").
    const Case cases[] = {
        {"proto://node/a/b", true, "proto://", "node", 80, "/a/b"},
        {"proto://node:8080", true, "proto://", "node", 8080, "/"},
        {"http://node:8080/x?y=1", true, "http://", "node", 8080, "/x?y=1"},
        {"ftp://node", true, "ftp://", "node", 80, "/"},
        {"proto:node", true, "proto:", "node", 80, "/"},
        {"proto:////node/", true, "proto:////", "node", 80, "/"},
        {"proto://node:x/", false, "proto://", "node", -7, "/"},
        {"proto://node:x", false, "proto://", "node:x", -7, "/"},
        {"proto://node: 81 /", true, "proto://", "node", 81, "/"},
        {"proto://:81/p", true, "proto://", "", 81, "/p"},
        {"proto://:81", false, "proto://", "", 81, "/"},
        {"proto://", false, "proto://", "", 80, "/"},
        {"proto://node:99999999999/", false, "proto://", "node", -7, "/"},
        {"node/a", false, "-", "-", -7, "-"},
        {":node", false, "-", "-", -7, "-"},
        {"", false, "-", "-", -7, "-"},
    };
    const crvHTTPRequest http;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        QString protocol = QStringLiteral("-");
        QString address = QStringLiteral("-");
        qint32 port = -7;
        QString object = QStringLiteral("-");
        EXPECT_EQ(http.CrackURL(QLatin1String(c.url), &protocol, &address, &port, &object), c.result);
        EXPECT_EQ(protocol, QLatin1String(c.protocol));
        EXPECT_EQ(address, QLatin1String(c.address));
        EXPECT_EQ(port, c.port);
        EXPECT_EQ(object, QLatin1String(c.object));
    }
    EXPECT_TRUE(http.CrackURL(QStringLiteral("a://b")));
}

TEST(GetFormattedCookiesTest, KeepsCookiesAndDropsTheThreeAttributes)
{
    const struct {
        const char *cookies;
        const char *header;
    } cases[] = {
        {"", ""},
        {"a=1; path=/; expires=Wed, 01-Jan-2031 00:00:00 GMT\r\nb = 2; Domain=x; HttpOnly\r\n", "a=1; b=2; "},
        {"a=1; Max-Age=60\r\n", "a=1; Max-Age=60; "},
        {"a=1\r\na=2\r\n", "a=1; a=2; "},
        {"PATH=/; Expires=x; DOMAIN=y", ""},
        {"flag;;; =v; k==v", "=v; k==v; "},
        {"a=1\nb=2", "a=1\nb=2; "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(crvHTTPRequest::GetFormattedCookies(QLatin1String(c.cookies)), QLatin1String(c.header)) << c.cookies;
}

TEST(FormsTest, BuilderAndBuildFormWriteTheBytesAsDesigned)
{
    HTTPFormBuilder form;
    EXPECT_EQ(HTTPFormBuilder::Header(),
              QStringLiteral("Content-Type: multipart/form-data; boundary=EEDBA9E2-7BCD-44F8-8E15-F0314AF5AB43\r\n"));
    EXPECT_EQ(form.FormData(), "--" + B + "--");
    form.AddTextElement(QStringLiteral("a"), QStringLiteral("1"));
    const QByteArray textPart = "--" + B + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n";
    EXPECT_EQ(form.FormData(), textPart + "--" + B + "--");

    form.AddElement(QStringLiteral("t"), "dGV4dA==", htfbBase64, QStringLiteral("text/plain"), QStringLiteral("utf-8"));
    form.AddElement(QStringLiteral("c"), "x", htfbText, {}, QStringLiteral("utf-8"));
    QByteArray binary(3, '\0');
    binary[1] = char(0xFF);
    form.AddBinaryElement(QStringLiteral("файл"), QStringLiteral("a \"b\".bin"), QStringLiteral("image/png"), binary);
    EXPECT_EQ(form.FormData(),
              textPart + "--" + B
                  + "\r\nContent-Disposition: form-data; name=\"t\"\r\nContent-Type: text/plain; charset=utf-8\r\n"
                    "Content-Transfer-Encoding: base64\r\n\r\ndGV4dA==\r\n"
                  + "--" + B + "\r\nContent-Disposition: form-data; name=\"c\"\r\n\r\nx\r\n" + "--" + B
                  + "\r\nContent-Disposition: form-data; name=\"\xF4\xE0\xE9\xEB\"; filename=\"a \"b\".bin\"\r\n"
                    "Content-Type: image/png\r\nContent-Transfer-Encoding: binary\r\n\r\n"
                  + binary + "\r\n--" + B + "--");
    form.Clear();
    EXPECT_EQ(form.FormData(), "--" + B + "--");

    // BuildForm gives the builder's text parts in one call.
    const crvHTTPRequest http;
    QString headers = QStringLiteral("X-A: 1");
    const QByteArray body = http.BuildForm(headers, {QStringLiteral("a"), 1, QStringLiteral("b"), true});
    form.AddTextElement(QStringLiteral("a"), QStringLiteral("1"));
    form.AddTextElement(QStringLiteral("b"), QStringLiteral("True"));
    EXPECT_EQ(body, form.FormData());
    EXPECT_EQ(headers, QStringLiteral("X-A: 1\r\n") + HTTPFormBuilder::Header());
    QString untouched = QStringLiteral("X-A: 1");
    EXPECT_TRUE(http.BuildForm(untouched, {QStringLiteral("a"), 1, QStringLiteral("b")}).isEmpty());
    EXPECT_TRUE(http.BuildForm(untouched, {}).isEmpty());
    EXPECT_EQ(untouched, QStringLiteral("X-A: 1"));
    QString none;
    EXPECT_EQ(http.BuildForm(none, {QStringLiteral("bin"), QByteArray("\x00\x01", 2)}),
              "--" + B + "\r\nContent-Disposition: form-data; name=\"bin\"\r\n\r\n" + QByteArray("\x00\x01", 2)
                  + "\r\n--" + B + "--");
    EXPECT_EQ(none, HTTPFormBuilder::Header());
}

TEST(UserAgentTest, LatinLettersVersionAndSystem)
{
    EXPECT_EQ(detail::latinSpelling(QStringLiteral("Привет")), QStringLiteral("Privet"));
    EXPECT_EQ(detail::latinSpelling(QStringLiteral("ЁЖЙХЦЧШЩЪЫЬЭЮЯ ёжйхцчшщъыьэюя x-1")),
              QStringLiteral("JOJIHTSCHSHSH'Y'EJUJA jojihtschshsh'y'ejuja x-1"));
    const QString suffix = QLatin1String(" (") + cs::csGetHostOSShortName() + u')';
    EXPECT_EQ(detail::makeUserAgent(QStringLiteral("Квиллон"), 1, 0, 39), QStringLiteral("Kvillon 1.00.0039") + suffix);

    const crvHTTPRequest http;
    QObject app;
    app.setProperty("Title", QStringLiteral("App"));
    app.setProperty("Major", 3);
    app.setProperty("Minor", QStringLiteral("4"));
    EXPECT_EQ(raisedNumber([&] { http.BuildUserAgent(&app); }), RuntimeError::ObjectDoesntSupport);
    app.setProperty("Revision", 5);
    EXPECT_EQ(http.BuildUserAgent(&app), QStringLiteral("App 3.04.0005") + suffix);
    EXPECT_EQ(raisedNumber([&] { http.BuildUserAgent(nullptr); }), RuntimeError::ObjectVariableNotSet);
    app.setProperty("Major", -1);
    EXPECT_EQ(raisedNumber([&] { http.BuildUserAgent(&app); }), RuntimeError::InvalidProcedureCall);
}

TEST(ResponseHeadTest, ReadsOnlyWhatIsWellFormed)
{
    struct Case {
        const char *block;
        qint32 code;
        const char *text;
        qint64 length;
        int cookies;
        bool location;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\nSet-Cookie: a=1\r\nset-cookie:b=2\r\n\r\n", 200, "OK", 12, 2, false},
        {"HTTP/1.0 302 Found\nLocation: /x\n\n", 302, "Found", -1, 0, true},
        {"HTTP/1.1 204\r\n\r\n", 204, "", -1, 0, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 7\r\n\r\n", 200, "OK", 5, 0, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n", 200, "OK", -1, 0, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", 200, "OK", -1, 0, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1 2\r\n\r\n", 200, "OK", -1, 0, false},
        {"HTTP/1.1 2000 OK\r\n\r\n", 0, "", -1, 0, false},
        {"HTTP/1.1 000 t- 20gth: 12\r\nSet-Cookie: a=1\r\n\r\n", 0, "", -1, 1, false},
        {"HTTP/1.1 20x OK\r\n\r\n", 0, "", -1, 0, false},
        {"ICY 200 OK\r\n\r\n", 0, "", -1, 0, false},
        {"", 0, "", -1, 0, false},
        {"HTTP/1.1 200 OK\r\n: no name\r\nno colon\r\n\r\n", 200, "OK", -1, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.block);
        const detail::ResponseHead head = detail::parseResponseHead(QByteArray(c.block));
        EXPECT_EQ(head.statusCode, c.code);
        EXPECT_EQ(head.statusText, QByteArray(c.text));
        EXPECT_EQ(head.contentLength, c.length);
        EXPECT_EQ(head.setCookies.size(), c.cookies);
        EXPECT_EQ(head.hasLocation, c.location);
    }
}

} // namespace
