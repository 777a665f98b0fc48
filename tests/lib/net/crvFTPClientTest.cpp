// crvFTPClient against a real FTP server on 127.0.0.1 (pyftpdlib, started by
// each test on a free port): sessions and logins, directories on the
// server's session, listings by MLSD and by LIST, transfers that write whole
// files or none, and the failures a user meets (refusals, dead and silent
// servers, time-outs, dropped sessions).
#include "lib/net/crvFTPClient.h"

#include "lib/errors/crvErr.h"
#include "lib/net/FoundedFTPFiles.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/net/FtpTestServer.h"
#include "tests/lib/net/LoopbackServers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tessera;
using corvid::test::FtpServer;

namespace {

constexpr qint32 ExtendedError = 12003;
constexpr qint64 HugeSize = 5000000000LL; // high half 1, low half 705032704

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    ASSERT_EQ(file.write(data), data.size());
}

// Files of a folder, hidden ones (a transfer's temporary file) included.
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString message(const crvFTPClient &ftp)
{
    return crvErr::global().GetErrorMessageFTPClient(&ftp);
}

QStringList names(const crvFTPClient &ftp)
{
    QStringList result;
    if (ftp.FoundedFiles()) {
        for (const FoundedFTPFile &file : *ftp.FoundedFiles())
            result << file.FileName();
    }
    result.sort();
    return result;
}

// A served folder with files of every kind the tests list and fetch.
class ServedFolder
{
public:
    ServedFolder()
    {
        EXPECT_TRUE(m_dir.isValid());
        write(QStringLiteral("a.txt"), "alpha\n", Old);
        write(QStringLiteral("b.TXT"), "bravo", Recent);
        write(QStringLiteral("readme"), "read me", Old);
        write(QStringLiteral("имя с пробелом.txt"), "кириллица", Old);
        QDir(m_dir.path()).mkdir(QStringLiteral("sub"));
        QDir(m_dir.path()).mkdir(QStringLiteral("empty"));
        write(QStringLiteral("sub/c.txt"), "charlie", Old);
        // Sparse: the listing reports the size, the disk holds nothing.
        QFile huge(path(QStringLiteral("big.iso")));
        EXPECT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(HugeSize));
        huge.close();
        touch(QStringLiteral("big.iso"), Old);
    }
    QString root() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Change times: one older than half a year (listed with its year) and
    // one of today (listed with its time of day).
    static inline const QDateTime Old = QDateTime(QDate(2023, 5, 6), QTime(7, 8, 9));
    static inline const QDateTime Recent = QDateTime::currentDateTime().addSecs(-3600);

private:
    void write(const QString &name, const QByteArray &data, const QDateTime &when)
    {
        writeFile(path(name), data);
        touch(name, when);
    }
    void touch(const QString &name, const QDateTime &when)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime));
    }

    QTemporaryDir m_dir;
};

class FtpClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        corvid::test::clearProxyEnvironment();
        ASSERT_TRUE(m_local.isValid());
        ASSERT_TRUE(m_server.started());
    }
    void connect(crvFTPClient &ftp, bool passive = true)
    {
        ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), m_server.port(), QStringLiteral("anonymous"),
                                      crvFTPClient::DefaultPassword(), 10000, passive),
                  ftpcSuccess)
            << qPrintable(message(ftp));
    }
    QString local(const char *name) const { return m_local.filePath(QString::fromUtf8(name)); }

    ServedFolder m_served;
    QTemporaryDir m_local;
    FtpServer m_server {
        {m_served.root(), QStringLiteral("writer:s3cret ж"), true, -1, false, 300, QStringLiteral("hang")}};
};

TEST(crvFTPClient, WithoutASessionEveryOperationFailsWithItsOwnCode)
{
    crvFTPClient ftp;
    EXPECT_FALSE(ftp.IsError());
    EXPECT_FALSE(ftp.IsConnected());
    EXPECT_EQ(ftp.FoundedFiles(), nullptr);
    EXPECT_EQ(message(ftp), QStringLiteral("Операция завершена успешно."));
    EXPECT_EQ(crvErr::global().GetErrorMessageFTPClient(nullptr), QString());
    EXPECT_EQ(crvErr::global().ErrorDisplayFTPClient(nullptr), 0);

    struct Case {
        const char *what;
        std::function<ftpcErrorCode()> call;
        ftpcErrorCode rc;
        QString firstLine;
    };
    const QList<Case> cases = {
        {"disconnect", [&] { return ftp.DisconnectFromServer(); }, ftpcNotConnected,
         QStringLiteral("Соединение ещё не установлено.")},
        {"pwd",
         [&] {
             EXPECT_EQ(ftp.GetCurrentDirectory(), QString());
             return ftp.LastRC();
         },
         ftpcFtpGetCurrentDirectoryFailed, QStringLiteral("Ошибка функции FtpGetCurrentDirectory().")},
        {"cwd", [&] { return ftp.SetCurrentDirectory(QStringLiteral("x")); }, ftpcFtpSetCurrentDirectoryFailed,
         QStringLiteral("Ошибка функции FtpSetCurrentDirectory().")},
        {"mkd", [&] { return ftp.CreateDirectory(QStringLiteral("x")); }, ftpcFtpCreateDirectoryFailed,
         QStringLiteral("Ошибка функции FtpCreateDirectory().")},
        {"rmd", [&] { return ftp.RemoveDirectory(QStringLiteral("x")); }, ftpcFtpRemoveDirectoryFailed,
         QStringLiteral("Ошибка функции FtpRemoveDirectory().")},
        {"list", [&] { return ftp.SearchFiles(); }, ftpcFtpFindFirstFileFailed,
         QStringLiteral("Ошибка функции FtpFindFirstFile().")},
        {"get", [&] { return ftp.GetFile(QStringLiteral("x"), QStringLiteral("/nonexistent/x")); },
         ftpcFtpGetFileFailed, QStringLiteral("Ошибка функции FtpGetFile().")},
        {"put", [&] { return ftp.PutFile(QStringLiteral("/nonexistent/x"), QStringLiteral("x")); },
         ftpcFtpPutFileFailed, QStringLiteral("Ошибка функции FtpPutFile().")},
        {"rename", [&] { return ftp.RenameFile(QStringLiteral("x"), QStringLiteral("y")); }, ftpcFtpRenameFileFailed,
         QStringLiteral("Ошибка функции FtpRenameFile().")},
        {"delete", [&] { return ftp.DeleteFile(QStringLiteral("x")); }, ftpcFtpDeleteFileFailed,
         QStringLiteral("Ошибка функции FtpDeleteFile().")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), c.rc);
        EXPECT_EQ(ftp.LastRC(), c.rc);
        EXPECT_TRUE(ftp.IsError());
        const bool disconnect = c.rc == ftpcNotConnected;
        // No session is an invalid handle to the network functions.
        EXPECT_EQ(ftp.ErrorCode(), disconnect ? 0 : 6);
        EXPECT_EQ(message(ftp),
                  disconnect ? c.firstLine
                             : c.firstLine
                          + QStringLiteral("\r\n\r\nWinInet error: 6\r\nDescription:   "
                                           "The handle is invalid."));
    }
    ASSERT_NE(ftp.FoundedFiles(), nullptr) << "a failed search still replaces the listing";
    EXPECT_EQ(ftp.FoundedFiles()->Count(), 0);
    EXPECT_EQ(corvid::test::raisedNumber([&] { ftp.FoundedFiles()->Item(0); }), 9);
}

TEST(crvFTPClient, CrackURLTakesAPathlessURLWhole)
{
    struct Case {
        QString url;
        bool ok;
        QString protocol, address;
        qint32 port;
        QString object;
    };
    const QList<Case> cases = {
        {QStringLiteral("proto://node:2121"), true, QStringLiteral("proto://"), QStringLiteral("node:2121"), 80,
         QStringLiteral("/")},
        {QStringLiteral("proto://node:2121/pub"), true, QStringLiteral("proto://"), QStringLiteral("node"), 2121,
         QStringLiteral("/pub")},
        {QStringLiteral("ftp://node:x"), true, QStringLiteral("ftp://"), QStringLiteral("node:x"), 80,
         QStringLiteral("/")},
        {QStringLiteral("ftp://node/a/b"), true, QStringLiteral("ftp://"), QStringLiteral("node"), 80,
         QStringLiteral("/a/b")},
        {QStringLiteral("ftp://node:x/a"), false, QStringLiteral("ftp://"), QStringLiteral("node"), -1,
         QStringLiteral("/a")},
        {QStringLiteral("ftp://"), false, QStringLiteral("ftp://"), QString(), 80, QStringLiteral("/")},
    };
    const crvFTPClient ftp;
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.url));
        QString protocol, address, object;
        qint32 port = -1;
        EXPECT_EQ(ftp.CrackURL(c.url, &protocol, &address, &port, &object), c.ok);
        EXPECT_EQ(protocol, c.protocol);
        EXPECT_EQ(address, c.address);
        EXPECT_EQ(port, c.port);
        EXPECT_EQ(object, c.object);
    }
}

TEST_F(FtpClientTest, LogsInOnceAndServesEveryOperationInThatSession)
{
    corvid::test::SilentListener silent;
    const int unused = corvid::test::unusedPort();
    // The ephemeral ports lie above 32767, which the original platform's
    // 16-bit port could not carry; every session here uses one.
    EXPECT_GT(m_server.port(), 32767);
    struct Case {
        const char *what;
        QString host;
        int port;
        QString user, password;
        qint32 timeout;
        ftpcErrorCode rc;
        qint32 error;
    };
    const QList<Case> cases = {
        {"anonymous", QStringLiteral("127.0.0.1"), m_server.port(), QStringLiteral("anonymous"),
         crvFTPClient::DefaultPassword(), 10000, ftpcSuccess, 0},
        {"an account, its password not ASCII", QStringLiteral("localhost"), m_server.port(), QStringLiteral("writer"),
         QStringLiteral("s3cret ж"), 10000, ftpcSuccess, 0},
        {"a wrong password", QStringLiteral("127.0.0.1"), m_server.port(), QStringLiteral("writer"),
         QStringLiteral("wrong"), 10000, ftpcInternetConnectFailed, 12015},
        {"an unknown user", QStringLiteral("127.0.0.1"), m_server.port(), QStringLiteral("nobody"), QStringLiteral("x"),
         10000, ftpcInternetConnectFailed, 12015},
        {"nothing listens", QStringLiteral("127.0.0.1"), unused, QStringLiteral("anonymous"), QStringLiteral("x"),
         10000, ftpcInternetConnectFailed, 12029},
        {"a server that never greets", QStringLiteral("127.0.0.1"), silent.port(), QStringLiteral("anonymous"),
         QStringLiteral("x"), 700, ftpcInternetConnectFailed, 12002},
        {"no host name", QStringLiteral("bad host"), m_server.port(), QStringLiteral("anonymous"), QStringLiteral("x"),
         10000, ftpcInternetConnectFailed, 12005},
        {"a password that would end the command", QStringLiteral("127.0.0.1"), m_server.port(),
         QStringLiteral("anonymous"), QStringLiteral("x\r\nDELE a.txt"), 10000, ftpcInternetConnectFailed, 87},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        crvFTPClient ftp;
        EXPECT_EQ(ftp.ConnectToServer(c.host, c.port, c.user, c.password, c.timeout), c.rc) << qPrintable(message(ftp));
        EXPECT_EQ(ftp.ErrorCode(), c.error) << qPrintable(ftp.ErrorText());
        EXPECT_EQ(ftp.IsConnected(), c.rc == ftpcSuccess);
        if (c.rc != ftpcSuccess) {
            EXPECT_TRUE(message(ftp).startsWith(QStringLiteral("Ошибка функции InternetConnect().\r\n\r\nWinInet "
                                                               "error: %1\r\nDescription:   ")
                                                    .arg(c.error)))
                << qPrintable(message(ftp));
            continue;
        }
        // A second connect keeps the session.
        EXPECT_EQ(ftp.ConnectToServer(c.host, c.port, c.user, c.password), ftpcAlreadyConnected);
        EXPECT_TRUE(ftp.IsError());
        EXPECT_EQ(message(ftp), QStringLiteral("Соединение уже установлено."));
        EXPECT_TRUE(ftp.IsConnected());
        EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/"));
        EXPECT_EQ(ftp.SearchFiles(), ftpcSuccess);
        EXPECT_EQ(ftp.GetFile(QStringLiteral("a.txt"), local("a.txt")), ftpcSuccess);
        EXPECT_EQ(ftp.DisconnectFromServer(), ftpcSuccess);
        EXPECT_FALSE(ftp.IsConnected());
        EXPECT_EQ(ftp.DisconnectFromServer(), ftpcNotConnected);
        EXPECT_TRUE(ftp.IsError());
        EXPECT_EQ(ftp.ErrorCode(), 0);
    }
    const QStringList commands = m_server.commands();
    EXPECT_EQ(commands.filter(QRegularExpression(QStringLiteral("^USER"))).size(), 4) << "one login per connect";
    EXPECT_FALSE(commands.join(u'\n').contains(QStringLiteral("DELE"))) << qPrintable(commands.join(u'\n'));
    EXPECT_TRUE(QFile::exists(m_served.path(QStringLiteral("a.txt"))));

    crvFTPClient ftp;
    EXPECT_EQ(corvid::test::raisedNumber([&] { ftp.ConnectToServer(QStringLiteral("127.0.0.1"), 65536); }), 6);
    EXPECT_EQ(corvid::test::raisedNumber([&] { ftp.ConnectToServer(QStringLiteral("127.0.0.1"), -1); }), 6);
    EXPECT_FALSE(ftp.IsConnected());
}

TEST_F(FtpClientTest, TheCurrentDirectoryLivesOnTheServersSession)
{
    crvFTPClient ftp;
    connect(ftp);
    EXPECT_EQ(ftp.SetCurrentDirectory(QStringLiteral("sub")), ftpcSuccess);
    EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/sub"));
    EXPECT_EQ(ftp.GetFile(QStringLiteral("c.txt"), local("c.txt")), ftpcSuccess) << qPrintable(message(ftp));
    EXPECT_EQ(readFile(local("c.txt")), "charlie");
    // An absolute name leaves the directory where it is.
    EXPECT_EQ(ftp.GetFile(QStringLiteral("/a.txt"), local("a.txt")), ftpcSuccess);
    EXPECT_EQ(readFile(local("a.txt")), "alpha\n");
    EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/sub"));

    // Names with blanks and Cyrillic letters, in both directions.
    const QString folder = QStringLiteral("папка с пробелом");
    EXPECT_EQ(ftp.CreateDirectory(folder), ftpcSuccess);
    EXPECT_EQ(ftp.SetCurrentDirectory(folder), ftpcSuccess);
    EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/sub/папка с пробелом"));
    writeFile(local("up.bin"), "uploaded");
    EXPECT_EQ(ftp.PutFile(local("up.bin"), QStringLiteral("файл 1.txt")), ftpcSuccess) << qPrintable(message(ftp));
    EXPECT_EQ(readFile(m_served.path(QStringLiteral("sub/папка с пробелом/файл 1.txt"))), "uploaded");
    EXPECT_EQ(ftp.RenameFile(QStringLiteral("файл 1.txt"), QStringLiteral("файл 2.txt")), ftpcSuccess);
    EXPECT_EQ(ftp.SearchFiles(), ftpcSuccess);
    EXPECT_EQ(names(ftp), QStringList {QStringLiteral("файл 2.txt")});
    EXPECT_EQ(ftp.DeleteFile(QStringLiteral("файл 2.txt")), ftpcSuccess);
    EXPECT_EQ(ftp.SetCurrentDirectory(QStringLiteral("..")), ftpcSuccess);
    EXPECT_EQ(ftp.RemoveDirectory(folder), ftpcSuccess);
    EXPECT_FALSE(QFileInfo::exists(m_served.path(QStringLiteral("sub/папка с пробелом"))));

    // Refusals carry the server's reply, and the session goes on where it was.
    struct Case {
        const char *what;
        std::function<ftpcErrorCode()> call;
        ftpcErrorCode rc;
        qint32 error;
        QString replyStart;
    };
    const QList<Case> cases = {
        {"cwd", [&] { return ftp.SetCurrentDirectory(QStringLiteral("nothere")); }, ftpcFtpSetCurrentDirectoryFailed,
         ExtendedError, QStringLiteral("550 ")},
        {"mkd", [&] { return ftp.CreateDirectory(QStringLiteral("c.txt")); }, ftpcFtpCreateDirectoryFailed,
         ExtendedError, QStringLiteral("550 ")},
        {"rmd", [&] { return ftp.RemoveDirectory(QStringLiteral("nothere")); }, ftpcFtpRemoveDirectoryFailed,
         ExtendedError, QStringLiteral("550 ")},
        {"rename", [&] { return ftp.RenameFile(QStringLiteral("nothere"), QStringLiteral("x")); },
         ftpcFtpRenameFileFailed, ExtendedError, QStringLiteral("550 ")},
        {"delete", [&] { return ftp.DeleteFile(QStringLiteral("nothere")); }, ftpcFtpDeleteFileFailed, ExtendedError,
         QStringLiteral("550 ")},
        {"get", [&] { return ftp.GetFile(QStringLiteral("nothere"), local("nothere")); }, ftpcFtpGetFileFailed,
         ExtendedError, QStringLiteral("550 ")},
        {"a name that would add a command", [&] { return ftp.SetCurrentDirectory(QStringLiteral("..\r\nDELE c.txt")); },
         ftpcFtpSetCurrentDirectoryFailed, 87, QStringLiteral("The parameter is incorrect.")},
        {"a file name that would add a command",
         [&] { return ftp.GetFile(QStringLiteral("c.txt\nDELE c.txt"), local("x")); }, ftpcFtpGetFileFailed, 87,
         QStringLiteral("The parameter is incorrect.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), c.rc);
        EXPECT_EQ(ftp.ErrorCode(), c.error);
        EXPECT_TRUE(ftp.ErrorText().startsWith(c.replyStart)) << qPrintable(ftp.ErrorText());
        EXPECT_TRUE(message(ftp).endsWith(QStringLiteral("\r\nDescription:   ") + ftp.ErrorText()));
        EXPECT_TRUE(ftp.IsConnected());
        EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/sub"));
    }
    EXPECT_EQ(filesIn(m_local.path()),
              (QStringList {QStringLiteral("a.txt"), QStringLiteral("c.txt"), QStringLiteral("up.bin")}));
    EXPECT_TRUE(QFile::exists(m_served.path(QStringLiteral("sub/c.txt"))));
    EXPECT_FALSE(m_server.commands().join(u'\n').contains(QStringLiteral("DELE c.txt")));
    EXPECT_EQ(m_server.commands().filter(QRegularExpression(QStringLiteral("^USER"))).size(), 1);
}

// The listings of one server kind: MLSD, or LIST in the Unix form.
class FtpListingTest : public FtpClientTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(FtpListingTest, SearchFilesFindsWhatTheOriginalFindFunctionsFind)
{
    ServedFolder served;
    FtpServer server({served.root(), {}, GetParam(), -1, false, 300, {}});
    ASSERT_TRUE(server.started());
    crvFTPClient ftp;
    ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port()), ftpcSuccess);
    struct Case {
        QString path;
        ftpcErrorCode rc;
        QStringList names;
    };
    const QStringList everything = {
        QStringLiteral("a.txt"),  QStringLiteral("b.TXT"), QStringLiteral("big.iso"),           QStringLiteral("empty"),
        QStringLiteral("readme"), QStringLiteral("sub"),   QStringLiteral("имя с пробелом.txt")};
    const QList<Case> cases = {
        {{}, ftpcSuccess, everything},
        {QStringLiteral("*"), ftpcSuccess, everything},
        {QStringLiteral("*.*"), ftpcSuccess, everything},
        {QStringLiteral("*.txt"),
         ftpcSuccess,
         {QStringLiteral("a.txt"), QStringLiteral("b.TXT"), QStringLiteral("имя с пробелом.txt")}},
        {QStringLiteral("*."), ftpcSuccess, {QStringLiteral("empty"), QStringLiteral("readme"), QStringLiteral("sub")}},
        {QStringLiteral("?.txt"), ftpcSuccess, {QStringLiteral("a.txt"), QStringLiteral("b.TXT")}},
        {QStringLiteral("*.zip"), ftpcSuccess, {}},
        {QStringLiteral("empty"), ftpcSuccess, {}},
        {QStringLiteral("sub"), ftpcSuccess, {QStringLiteral("c.txt")}},
        {QStringLiteral("/sub/"), ftpcSuccess, {QStringLiteral("c.txt")}},
        {QStringLiteral("sub/*.txt"), ftpcSuccess, {QStringLiteral("c.txt")}},
        {QStringLiteral("a.txt"), ftpcSuccess, {QStringLiteral("a.txt")}},
        {QStringLiteral("имя с пробелом.txt"), ftpcSuccess, {QStringLiteral("имя с пробелом.txt")}},
        {QStringLiteral("nothere"), ftpcSuccess, {}},
        {QStringLiteral("nothere/*.txt"), ftpcFtpFindFirstFileFailed, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        EXPECT_EQ(ftp.SearchFiles(c.path), c.rc) << qPrintable(message(ftp));
        EXPECT_EQ(names(ftp), c.names);
        if (c.rc != ftpcSuccess) {
            EXPECT_EQ(ftp.ErrorCode(), ExtendedError);
        }
    }

    // The fields of the entries.
    ASSERT_EQ(ftp.SearchFiles(), ftpcSuccess);
    const std::shared_ptr<const FoundedFTPFiles> listing = ftp.FoundedFiles();
    for (const FoundedFTPFile &file : *listing) {
        SCOPED_TRACE(qPrintable(file.FileName()));
        const QFileInfo onDisk(served.path(file.FileName()));
        EXPECT_EQ(file.AttributeDirectory(), onDisk.isDir());
        EXPECT_EQ(file.FileAttributes() & 16, onDisk.isDir() ? 16 : 0);
        EXPECT_EQ(file.FileSize(), onDisk.isDir() ? 0.0 : double(onDisk.size()));
        EXPECT_EQ(file.AlternateFileName(), QString());
        if (onDisk.isDir())
            continue;
        // LIST shows the time of day for this year's files and the year for
        // older ones; MLSD the exact time.
        const QDateTime modified = onDisk.lastModified();
        QDateTime expected = modified;
        if (!GetParam())
            expected = modified < QDateTime::currentDateTime().addDays(-180)
                ? QDateTime(modified.date(), QTime(0, 0))
                : QDateTime(modified.date(), QTime(modified.time().hour(), modified.time().minute()));
        expected.setTime(QTime(expected.time().hour(), expected.time().minute(), expected.time().second()));
        EXPECT_EQ(file.LastWriteTime(), expected);
        EXPECT_EQ(file.LastAccessTime(), file.LastWriteTime());
    }
    EXPECT_EQ(ftp.SearchFiles(QStringLiteral("big.iso")), ftpcSuccess);
    ASSERT_EQ(ftp.FoundedFiles()->Count(), 1);
    EXPECT_EQ(ftp.FoundedFiles()->Item(0).FileSize(), 5000000000.0);
    // The earlier listing stays whole for whoever holds it.
    EXPECT_EQ(listing->Count(), everything.size());
    EXPECT_EQ(corvid::test::raisedNumber([&] { listing->Item(listing->Count()); }), 9);
    EXPECT_EQ(server.commands().filter(QRegularExpression(QStringLiteral("^MLSD"))).isEmpty(), !GetParam());
}

INSTANTIATE_TEST_SUITE_P(ByServer, FtpListingTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Mlsd" : "UnixList"; });

TEST_F(FtpClientTest, FilesArriveWholeOrNotAtAll)
{
    crvFTPClient ftp;
    connect(ftp);
    QByteArray bytes(300 * 1024, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    writeFile(local("random.bin"), bytes);
    EXPECT_EQ(ftp.PutFile(local("random.bin"), QStringLiteral("random.bin")), ftpcSuccess);
    EXPECT_EQ(readFile(m_served.path(QStringLiteral("random.bin"))), bytes);
    EXPECT_EQ(ftp.GetFile(QStringLiteral("random.bin"), local("back.bin")), ftpcSuccess);
    EXPECT_EQ(readFile(local("back.bin")), bytes);

    struct Case {
        const char *what;
        QString remote;
        QString localFile;
        qint32 attributes;
        bool failIfExist;
        ftpcErrorCode rc;
        qint32 error;
        QByteArray localAfter;
    };
    writeFile(local("existing.txt"), "old");
    const QList<Case> cases = {
        {"replaces an existing file", QStringLiteral("a.txt"), local("existing.txt"), 0, false, ftpcSuccess, 0,
         "alpha\n"},
        {"FailIfExist keeps it", QStringLiteral("readme"), local("existing.txt"), 0, true, ftpcFtpGetFileFailed, 80,
         "alpha\n"},
        {"FailIfExist with a new name", QStringLiteral("readme"), local("new.txt"), 0, true, ftpcSuccess, 0, "read me"},
        {"a missing remote file leaves the old one", QStringLiteral("nothere"), local("existing.txt"), 0, false,
         ftpcFtpGetFileFailed, ExtendedError, "alpha\n"},
        {"a missing local folder", QStringLiteral("a.txt"), local("no/such/folder.txt"), 0, false, ftpcFtpGetFileFailed,
         3, "<missing>"},
        {"a local folder in the way", QStringLiteral("a.txt"), m_local.path(), 0, false, ftpcFtpGetFileFailed, 5,
         "<missing>"},
        {"read-only", QStringLiteral("a.txt"), local("readonly.txt"), 1, false, ftpcSuccess, 0, "alpha\n"},
        {"a device is written where it is", QStringLiteral("a.txt"), QStringLiteral("/dev/null"), 0, false, ftpcSuccess,
         0, ""},
        {"a full device", QStringLiteral("a.txt"), QStringLiteral("/dev/full"), 0, false, ftpcFtpGetFileFailed, 112,
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ftp.GetFile(c.remote, c.localFile, c.attributes, c.failIfExist), c.rc) << qPrintable(message(ftp));
        EXPECT_EQ(ftp.ErrorCode(), c.error) << qPrintable(ftp.ErrorText());
        if (!c.localFile.startsWith(QLatin1String("/dev/")) && !QFileInfo(c.localFile).isDir()) {
            EXPECT_EQ(readFile(c.localFile), c.localAfter);
        }
        EXPECT_TRUE(filesIn(m_local.path()).filter(QStringLiteral(".part")).isEmpty()) << "no temporary file stays";
    }
    // A transfer stopped by this side (the device is full) takes the session
    // up again where it was.
    ASSERT_EQ(ftp.SetCurrentDirectory(QStringLiteral("sub")), ftpcSuccess);
    EXPECT_EQ(ftp.GetFile(QStringLiteral("c.txt"), QStringLiteral("/dev/full")), ftpcFtpGetFileFailed);
    EXPECT_EQ(ftp.ErrorCode(), 112);
    EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/sub"));
    EXPECT_EQ(ftp.GetFile(QStringLiteral("c.txt"), local("c.txt")), ftpcSuccess) << qPrintable(message(ftp));
    ASSERT_EQ(ftp.SetCurrentDirectory(QStringLiteral("/")), ftpcSuccess);

    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(local("readonly.txt")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0222, 0u) << "read-only clears the write bits";

    EXPECT_EQ(ftp.PutFile(local("nothere"), QStringLiteral("x")), ftpcFtpPutFileFailed);
    EXPECT_EQ(ftp.ErrorCode(), 2);
    EXPECT_EQ(ftp.PutFile(local("no/such/file"), QStringLiteral("x")), ftpcFtpPutFileFailed);
    EXPECT_EQ(ftp.ErrorCode(), 3);
    EXPECT_EQ(ftp.PutFile(m_local.path(), QStringLiteral("x")), ftpcFtpPutFileFailed);
    EXPECT_EQ(ftp.ErrorCode(), 5);
    EXPECT_EQ(ftp.PutFile(local("random.bin"), QStringLiteral("sub")), ftpcFtpPutFileFailed) << "a folder's name";
    EXPECT_EQ(ftp.ErrorCode(), ExtendedError);
}

TEST(crvFTPClient, AsciiModeTurnsLineEndsBothWays)
{
    ServedFolder served;
    writeFile(served.path(QStringLiteral("unix.txt")), "one\ntwo\n\nthree");
    writeFile(served.path(QStringLiteral("dos.txt")), "one\r\ntwo\r\n");
    writeFile(served.path(QStringLiteral("mac.txt")), "one\rtwo\r");
    // This server keeps uploads as they arrive, so the test sees the wire.
    FtpServer server({served.root(), {}, true, -1, true, 300, {}});
    ASSERT_TRUE(server.started());
    QTemporaryDir local;
    crvFTPClient ftp;
    ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port()), ftpcSuccess);
    struct Case {
        const char *file;
        bool ascii;
        QByteArray expected;
    };
    const QList<Case> downloads = {
        {"unix.txt", true, "one\ntwo\n\nthree"}, {"unix.txt", false, "one\ntwo\n\nthree"},
        {"dos.txt", true, "one\ntwo\n"},         {"mac.txt", true, "one\ntwo\n"},
        {"dos.txt", false, "one\r\ntwo\r\n"},
    };
    for (const Case &c : downloads) {
        SCOPED_TRACE(testing::Message() << c.file << (c.ascii ? " ascii" : " binary"));
        const QString target = local.filePath(QStringLiteral("down"));
        EXPECT_EQ(ftp.GetFile(QString::fromLatin1(c.file), target, 0, false, c.ascii), ftpcSuccess);
        EXPECT_EQ(readFile(target), c.expected);
    }
    // A CR before a line end is part of the line.
    const QList<Case> uploads = {
        {"lf", true, "a\r\nb\r\n"},
        {"crlf", true, "a\r\r\nb\r\r\n"},
        {"lf", false, "a\nb\n"},
    };
    writeFile(local.filePath(QStringLiteral("lf")), "a\nb\n");
    writeFile(local.filePath(QStringLiteral("crlf")), "a\r\nb\r\n");
    for (const Case &c : uploads) {
        SCOPED_TRACE(testing::Message() << c.file << (c.ascii ? " ascii" : " binary"));
        EXPECT_EQ(ftp.PutFile(local.filePath(QString::fromLatin1(c.file)), QStringLiteral("up"), c.ascii), ftpcSuccess);
        EXPECT_EQ(readFile(served.path(QStringLiteral("up"))), c.expected);
    }
    EXPECT_TRUE(server.commands().contains(QStringLiteral("TYPE A")));
}

TEST(crvFTPClient, AServerThatDiesMidTransferLeavesNoFile)
{
    ServedFolder served;
    QByteArray bytes(8 * 1024 * 1024, 'x');
    writeFile(served.path(QStringLiteral("large.bin")), bytes);
    FtpServer server({served.root(), {}, true, 1024 * 1024, false, 300, {}});
    ASSERT_TRUE(server.started());
    QTemporaryDir local;
    const QString target = local.filePath(QStringLiteral("large.bin"));
    writeFile(target, "the old contents");
    crvFTPClient ftp;
    ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port()), ftpcSuccess);
    EXPECT_EQ(ftp.GetFile(QStringLiteral("large.bin"), target), ftpcFtpGetFileFailed);
    EXPECT_TRUE(server.exited(5000)) << "the server was to die";
    EXPECT_GT(ftp.ErrorCode(), 12000) << qPrintable(ftp.ErrorText());
    EXPECT_EQ(readFile(target), "the old contents");
    EXPECT_EQ(filesIn(local.path()), QStringList {QStringLiteral("large.bin")}) << "no temporary file stays";
    // The session has gone with the server.
    EXPECT_EQ(ftp.SearchFiles(), ftpcFtpFindFirstFileFailed);
}

TEST(crvFTPClient, AListingThatBreaksOffKeepsTheEntriesReadBefore)
{
    QTemporaryDir served;
    constexpr int FileCount = 3000;
    for (int i = 0; i < FileCount; ++i)
        writeFile(served.filePath(QStringLiteral("file %1 with a name long enough to fill the listing.txt").arg(i)),
                  "");
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        FtpServer server({served.path(), {}, mlsd, 64 * 1024, false, 300, {}});
        ASSERT_TRUE(server.started());
        crvFTPClient ftp;
        ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port()), ftpcSuccess);
        EXPECT_EQ(ftp.SearchFiles(QStringLiteral("*.txt")), ftpcInternetFindNextFileFailed) << qPrintable(message(ftp));
        EXPECT_TRUE(server.exited(5000)) << "the server was to die";
        EXPECT_GT(ftp.ErrorCode(), 12000) << qPrintable(ftp.ErrorText());
        EXPECT_TRUE(message(ftp).startsWith(QStringLiteral("Ошибка функции InternetFindNextFile().")));
        ASSERT_NE(ftp.FoundedFiles(), nullptr);
        EXPECT_GT(ftp.FoundedFiles()->Count(), 0);
        EXPECT_LT(ftp.FoundedFiles()->Count(), FileCount);
        for (const FoundedFTPFile &file : *ftp.FoundedFiles())
            EXPECT_TRUE(file.FileName().endsWith(QStringLiteral("the listing.txt"))) << "no torn last entry";
    }
}

TEST(crvFTPClient, PassiveOrActiveAsAsked)
{
    ServedFolder served;
    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        FtpServer server({served.root(), {}, true, -1, false, 300, {}});
        ASSERT_TRUE(server.started());
        QTemporaryDir local;
        crvFTPClient ftp;
        ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("anonymous"),
                                      crvFTPClient::DefaultPassword(), 10000, passive),
                  ftpcSuccess);
        EXPECT_EQ(ftp.SearchFiles(QStringLiteral("sub")), ftpcSuccess) << qPrintable(message(ftp));
        EXPECT_EQ(names(ftp), QStringList {QStringLiteral("c.txt")});
        EXPECT_EQ(ftp.GetFile(QStringLiteral("a.txt"), local.filePath(QStringLiteral("a"))), ftpcSuccess);
        const QString log = server.commands().join(u'\n');
        const bool sawPassive = log.contains(QStringLiteral("EPSV")) || log.contains(QStringLiteral("PASV"));
        const bool sawActive = log.contains(QStringLiteral("EPRT")) || log.contains(QStringLiteral("PORT"));
        EXPECT_EQ(sawPassive, passive) << qPrintable(log);
        EXPECT_EQ(sawActive, !passive) << qPrintable(log);
    }
}

TEST(crvFTPClient, TimeOutsAndEndedSessionsAreFailuresOfTheirOperation)
{
    ServedFolder served;
    {
        // A command that is never answered.
        FtpServer server({served.root(), {}, true, -1, false, 300, QStringLiteral("hang")});
        ASSERT_TRUE(server.started());
        crvFTPClient ftp;
        ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("anonymous"),
                                      crvFTPClient::DefaultPassword(), 1000),
                  ftpcSuccess);
        EXPECT_EQ(ftp.CreateDirectory(QStringLiteral("hang")), ftpcFtpCreateDirectoryFailed);
        EXPECT_EQ(ftp.ErrorCode(), 12002) << qPrintable(ftp.ErrorText());
    }
    {
        // A session the server ends while it is idle: what follows fails
        // instead of running in a new session's entry directory.
        FtpServer server({served.root(), {}, true, -1, false, 1, {}});
        ASSERT_TRUE(server.started());
        crvFTPClient ftp;
        ASSERT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port()), ftpcSuccess);
        ASSERT_EQ(ftp.SetCurrentDirectory(QStringLiteral("sub")), ftpcSuccess);
        QThread::msleep(2500);
        EXPECT_EQ(ftp.DeleteFile(QStringLiteral("a.txt")), ftpcFtpDeleteFileFailed);
        EXPECT_EQ(ftp.ErrorCode(), 12111) << qPrintable(ftp.ErrorText());
        EXPECT_EQ(ftp.GetCurrentDirectory(), QString());
        EXPECT_EQ(ftp.ErrorCode(), 12111) << "libcurl's next connection would stand in the entry directory";
        EXPECT_TRUE(ftp.IsConnected()) << "the session is over, but held until disconnected";
        EXPECT_TRUE(QFile::exists(served.path(QStringLiteral("a.txt"))));
        EXPECT_EQ(ftp.DisconnectFromServer(), ftpcSuccess);
        EXPECT_EQ(ftp.ConnectToServer(QStringLiteral("127.0.0.1"), server.port()), ftpcSuccess);
        EXPECT_EQ(ftp.GetCurrentDirectory(), QStringLiteral("/"));
    }
}

} // namespace
