// tessera-fetch as users and scripts run it, against servers on 127.0.0.1.
#include "tests/lib/net/FtpTestServer.h"
#include "tests/lib/net/LoopbackServers.h"
#include "tests/lib/system/SettingsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

void writeFile(const QString &name, const QByteArray &data)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

// ftp:// addresses: downloads to a file or standard output, uploads, and
// listings as a table, each over one logged-in session.
TEST_F(FetchToolTest, FtpDownloadsUploadsAndLists)
{
    QTemporaryDir served;
    ASSERT_TRUE(served.isValid());
    QDir(served.path()).mkdir(QStringLiteral("pub"));
    QDir(served.path()).mkdir(QStringLiteral("in"));
    writeFile(served.filePath(QStringLiteral("pub/bytes.bin")), m_bytes);
    writeFile(served.filePath(QStringLiteral("pub/notes.txt")), "one\r\ntwo\r\n");
    writeFile(served.filePath(QStringLiteral("pub/имя с пробелом.txt")), "кириллица");
    QFile huge(served.filePath(QStringLiteral("pub/big.iso")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(5000000000LL)); // sparse
    huge.close();
    writeFile(file("up.txt"), "a\nb\n");
    corvid::test::FtpServer server({served.path(), QStringLiteral("writer:s3cret"), true, -1, false, 300, {}});
    ASSERT_TRUE(server.started());
    const auto ftp
        = [&](const char *path) { return QStringLiteral("ftp://127.0.0.1:%1%2").arg(server.port()).arg(path); };

    struct Case {
        const char *what;
        QStringList arguments;
        QByteArray input;
        QString servedFile; // what the server holds afterwards, when it matters
        QString localFile; // what was written, when not standard output
        QByteArray expected;
    };
    const QList<Case> cases = {
        {"to a file", {QStringLiteral("-o"), file("out.bin"), ftp("/pub/bytes.bin")}, {}, {}, file("out.bin"), m_bytes},
        {"to standard output", {ftp("/pub/notes.txt")}, {}, {}, {}, "one\r\ntwo\r\n"},
        {"in ASCII", {QStringLiteral("--ascii"), ftp("/pub/notes.txt")}, {}, {}, {}, "one\ntwo\n"},
        {"active", {QStringLiteral("--active"), ftp("/pub/notes.txt")}, {}, {}, {}, "one\r\ntwo\r\n"},
        {"an escaped name",
         {ftp("/pub/%D0%B8%D0%BC%D1%8F%20%D1%81%20%D0%BF%D1%80%D0%BE%D0%B1%D0%B5%D0%BB%D0%BE%D0%BC.txt")},
         {},
         {},
         {},
         "кириллица"},
        {"an upload with an account",
         {QStringLiteral("--user"), QStringLiteral("writer:s3cret"), QStringLiteral("--upload"), file("up.txt"),
          ftp("/in/up.txt")},
         {},
         QStringLiteral("in/up.txt"),
         {},
         "a\nb\n"},
        {"an upload from a pipe",
         {QStringLiteral("--upload"), QStringLiteral("/dev/stdin"), ftp("/in/piped.bin")},
         "x\r\ny\n",
         QStringLiteral("in/piped.bin"),
         {},
         "x\r\ny\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = runProgram(Tool, c.arguments, c.input);
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
        if (!c.servedFile.isEmpty())
            EXPECT_EQ(readFile(served.filePath(c.servedFile)), c.expected);
        else if (!c.localFile.isEmpty())
            EXPECT_EQ(readFile(c.localFile), c.expected);
        else
            EXPECT_EQ(run.out.toUtf8(), c.expected);
    }

    // Listings: a folder, a folder by its "/", a pattern; sizes beyond 4 GB.
    const QRegularExpression row(
        QStringLiteral("^(dir|file|link) +(\\d+)  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  (.+)$"));
    struct Listing {
        QStringList arguments;
        QStringList rows; // "kind size name", sorted by code
    };
    const QList<Listing> listings = {
        {{QStringLiteral("--list"), ftp("/pub")},
         {QStringLiteral("file 10 notes.txt"), QStringLiteral("file 18 имя с пробелом.txt"),
          QStringLiteral("file 5000000000 big.iso"), QStringLiteral("file 76800 bytes.bin")}},
        {{ftp("/")}, {QStringLiteral("dir 0 in"), QStringLiteral("dir 0 pub")}},
        {{ftp("/pub/*.TXT")}, {QStringLiteral("file 10 notes.txt"), QStringLiteral("file 18 имя с пробелом.txt")}},
        {{ftp("/pub/*.zip")}, {}},
    };
    for (const Listing &l : listings) {
        SCOPED_TRACE(qPrintable(l.arguments.join(u' ')));
        const ProgramRun run = runProgram(Tool, l.arguments);
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
        QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.takeFirst().startsWith(QLatin1String("TYPE  ")));
        QStringList rows;
        for (const QString &line : std::as_const(lines)) {
            const QRegularExpressionMatch m = row.match(line);
            EXPECT_TRUE(m.hasMatch()) << qPrintable(line);
            rows << m.captured(1) + u' ' + m.captured(2) + u' ' + m.captured(3);
        }
        rows.sort();
        EXPECT_EQ(rows, l.rows);
    }
}

TEST_F(FetchToolTest, FtpFailuresLeaveTheOldFileAndSayWhy)
{
    QTemporaryDir served;
    ASSERT_TRUE(served.isValid());
    writeFile(served.filePath(QStringLiteral("large.bin")), QByteArray(8 * 1024 * 1024, 'x'));
    corvid::test::FtpServer server({served.path(), QStringLiteral("writer:s3cret"), true, -1, false, 300, {}});
    corvid::test::FtpServer dying({served.path(), {}, true, 1024 * 1024, false, 300, {}});
    ASSERT_TRUE(server.started() && dying.started());
    writeFile(file("keep.bin"), "old contents");
    const auto ftp = [](const corvid::test::FtpServer &s, const char *path) {
        return QStringLiteral("ftp://127.0.0.1:%1%2").arg(s.port()).arg(path);
    };
    struct Case {
        const char *name;
        QStringList arguments;
        int exitCode;
        const char *reason;
    };
    const QList<Case> cases = {
        {"a wrong password",
         {QStringLiteral("--user"), QStringLiteral("writer:wrong"), QStringLiteral("-o"), file("keep.bin"),
          ftp(server, "/large.bin")},
         3,
         "InternetConnect(). WinInet error: 12015"},
        {"a missing file", {QStringLiteral("-o"), file("keep.bin"), ftp(server, "/nothere")}, 1, "12003"},
        {"a server that dies mid-transfer",
         {QStringLiteral("-o"), file("keep.bin"), ftp(dying, "/large.bin")},
         3,
         "FtpGetFile()"},
        {"nobody listens", {QStringLiteral("ftp://127.0.0.1:%1/x").arg(corvid::test::unusedPort())}, 3, "12029"},
        {"an upload file that is missing",
         {QStringLiteral("--upload"), file("none.bin"), ftp(server, "/x")},
         5,
         "none.bin"},
        {"a full disk", {QStringLiteral("-o"), QStringLiteral("/dev/full"), ftp(server, "/large.bin")}, 4, "112"},
        {"an HTTP option", {QStringLiteral("--data"), QStringLiteral("x"), ftp(server, "/x")}, 2, "--data"},
        {"a listing with an upload",
         {QStringLiteral("--list"), QStringLiteral("--upload"), file("keep.bin"), ftp(server, "/")},
         2,
         "--list cannot be used"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run = runProgram(Tool, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.err);
        const QString last = run.err.trimmed().split(u'\n').last();
        EXPECT_TRUE(last.startsWith(QLatin1String("tessera-fetch: "))) << qPrintable(run.err);
        EXPECT_TRUE(last.contains(QLatin1String(c.reason))) << qPrintable(run.err);
    }
    EXPECT_EQ(readFile(file("keep.bin")), QByteArray("old contents"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("keep.bin")});
    EXPECT_FALSE(QFile::exists(served.filePath(QStringLiteral("x"))));
}

} // namespace
