// tessera-fetch as users and scripts run it, against servers on 127.0.0.1.
#include "tests/lib/net/LoopbackServers.h"
#include "tests/lib/system/SettingsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using corvid::test::HttpServer;
using corvid::test::ProgramRun;
using corvid::test::RawServer;
using corvid::test::runProgram;

const QString Tool = QStringLiteral("tessera-fetch");

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class FetchToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        corvid::test::clearProxyEnvironment();
        ASSERT_TRUE(m_dir.isValid());
        for (int r = 0; r < 300; ++r) {
            for (int i = 0; i < 256; ++i)
                m_bytes.append(char(i));
        }
    }
    QString file(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    QString url(int port, const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
    }

    QTemporaryDir m_dir;
    QByteArray m_bytes;
    std::mutex m_lock;
    httplib::Request m_seen;
};

TEST_F(FetchToolTest, FetchesToAFileOrStandardOutput)
{
    HttpServer server([&](httplib::Server &s) {
        s.Get("/bytes", [&](const httplib::Request &, httplib::Response &r) {
            r.set_content(m_bytes.toStdString(), "application/octet-stream");
        });
        s.Get("/missing", [](const httplib::Request &, httplib::Response &r) {
            r.status = 404;
            r.set_content("no", "text/plain");
        });
        const auto record = [&](const httplib::Request &q, httplib::Response &r) {
            // Credentials go only where they are asked for.
            if (q.has_header("X-Ask-Credentials") && !q.has_header("Authorization")) {
                r.status = 401;
                r.set_header("WWW-Authenticate", "Basic realm=\"test\"");
                return;
            }
            std::lock_guard lock(m_lock);
            m_seen = q;
            r.status = 201;
            r.set_content(q.body, "application/octet-stream");
        };
        s.Post("/post", record);
        s.Get("/get", record);
    });

    ProgramRun run = runProgram(Tool, {QStringLiteral("-o"), file("out.bin"), url(server.port(), "/bytes")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(readFile(file("out.bin")), m_bytes);
    EXPECT_TRUE(run.err.startsWith(QLatin1String("HTTP/1.1 200 OK"))) << qPrintable(run.err);
    EXPECT_TRUE(run.out.isEmpty());

    QProcess process;
    process.start(corvid::test::builtProgram(Tool), {url(server.port(), "/bytes"), QStringLiteral("--progress")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), m_bytes);
    EXPECT_TRUE(process.readAllStandardError().contains("received 76800 bytes of 76800 (100%)"));

    // Any status but 200 and 201 fails, and leaves no file.
    run = runProgram(Tool, {QStringLiteral("-o"), file("missing.bin"), url(server.port(), "/missing")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("HTTP response: 404, Not Found."))) << qPrintable(run.err);
    EXPECT_FALSE(QFile::exists(file("missing.bin")));

    // Bodies: --data and --upload (a file, or a pipe) are POSTed.
    run = runProgram(Tool,
                     {QStringLiteral("--data"), QStringLiteral("a=1&b=ж"), QStringLiteral("--header"),
                      QStringLiteral("X-Test: yes"), QStringLiteral("--header"), QStringLiteral("X-Ask-Credentials: 1"),
                      QStringLiteral("--user"), QStringLiteral("me:pw:d"), url(server.port(), "/post")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    {
        std::lock_guard lock(m_lock);
        EXPECT_EQ(m_seen.body, "a=1&b=ж");
        EXPECT_EQ(m_seen.get_header_value("X-Test"), "yes");
        EXPECT_EQ(m_seen.get_header_value("Authorization"), "Basic " + QByteArray("me:pw:d").toBase64().toStdString());
    }
    QFile upload(file("upload.bin"));
    ASSERT_TRUE(upload.open(QIODevice::WriteOnly));
    upload.write(m_bytes);
    upload.close();
    run = runProgram(Tool,
                     {QStringLiteral("--upload"), upload.fileName(), QStringLiteral("-o"), file("echo.bin"),
                      url(server.port(), "/post")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(readFile(file("echo.bin")), m_bytes);
    run = runProgram(Tool,
                     {QStringLiteral("--upload"), QStringLiteral("/dev/stdin"), QStringLiteral("-o"), file("piped.bin"),
                      url(server.port(), "/post")},
                     m_bytes);
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(readFile(file("piped.bin")), m_bytes);

    // Through a proxy.
    corvid::test::TinyProxy proxy;
    ASSERT_TRUE(proxy.started());
    run = runProgram(Tool, {QStringLiteral("--proxy"), proxy.address(), url(server.port(), "/get")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    std::lock_guard lock(m_lock);
    EXPECT_NE(m_seen.get_header_value("Via").find("tinyproxy"), std::string::npos);
}

TEST_F(FetchToolTest, FailuresLeaveTheOldFileAndSayWhyOnOneLine)
{
    RawServer server([](RawServer &s, int socket, const QByteArray &request) {
        if (request.startsWith("GET /whole "))
            RawServer::send(socket, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello");
        else if (request.startsWith("GET /cut "))
            RawServer::send(socket, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\npartial");
        else
            s.holdOpen(socket, 10000);
    });
    QFile old(file("keep.bin"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();

    struct Case {
        const char *name;
        QStringList arguments;
        int exitCode;
        const char *reason;
    };
    const Case cases[] = {
        {"body cut short", {QStringLiteral("-o"), file("keep.bin"), url(server.port(), "/cut")}, 3, "12030"},
        {"server goes silent",
         {QStringLiteral("--timeout"), QStringLiteral("500"), QStringLiteral("-o"), file("keep.bin"),
          url(server.port(), "/silent")},
         3,
         "WinInet error: 12002"},
        {"nobody listens", {url(corvid::test::unusedPort(), "/")}, 3, "12029"},
        {"https", {QStringLiteral("https://127.0.0.1/")}, 2, "https:// addresses are not supported"},
        {"not a URL", {QStringLiteral("127.0.0.1/x")}, 2, "is not a URL"},
        {"unknown scheme", {QStringLiteral("gopher://127.0.0.1/")}, 2, "protocol gopher:// is not supported"},
        {"port out of range", {QStringLiteral("http://127.0.0.1:70000/")}, 2, "outside 0..65535"},
        {"unknown option", {QStringLiteral("--fast"), url(server.port(), "/")}, 2, "unknown option --fast"},
        {"both bodies",
         {QStringLiteral("--data"), QStringLiteral("x"), QStringLiteral("--upload"), file("keep.bin"),
          url(server.port(), "/")},
         2,
         "cannot be used together"},
        {"bad time-out",
         {QStringLiteral("--timeout"), QStringLiteral("soon"), url(server.port(), "/")},
         2,
         "--timeout needs"},
        {"missing upload", {QStringLiteral("--upload"), file("none.bin"), url(server.port(), "/")}, 5, "none.bin"},
        {"output folder missing",
         {QStringLiteral("-o"), file("no/such/dir"), url(server.port(), "/cut")},
         4,
         "no/such/dir"},
        {"full device as the output",
         {QStringLiteral("-o"), QStringLiteral("/dev/full"), url(server.port(), "/whole")},
         4,
         "/dev/full"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run = runProgram(Tool, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.reason))) << qPrintable(run.err);
        EXPECT_TRUE(run.err.trimmed().split(u'\n').last().startsWith(QLatin1String("tessera-fetch: ")));
    }
    EXPECT_EQ(readFile(file("keep.bin")), QByteArray("old contents"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("keep.bin")});

    // Standard output on a full disk.
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(corvid::test::builtProgram(Tool), {url(server.port(), "/whole")});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitCode(), 4);
    EXPECT_TRUE(full.readAllStandardError().contains("tessera-fetch: standard output: No space left on device"));

    const ProgramRun help = runProgram(Tool, {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QLatin1String("Usage: tessera-fetch")));
}

} // namespace
