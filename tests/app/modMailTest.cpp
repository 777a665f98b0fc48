#include "app/mail/modMail.h"

#include "app/common/StringTextHolder.h"
#include "app/mail/FileAccess.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "support/csText.h"
#include "tests/app/PipeWatchdog.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

using namespace quillon;
using tessera::MessageBox;
using tessera::ScopedMessageBoxAnswerer;

namespace {

QString counterSuffix(qint32 counter)
{
    return QStringLiteral(" %1.EML").arg(counter, 4, 10, QLatin1Char('0'));
}

// The composer reads, encodes and writes in blocks of whole base64 lines.
constexpr qsizetype Line = 57; // bytes per base64 line
constexpr qsizetype Block = 57 * 8192; // the composer's block

class MakePostMailTest : public ::testing::Test
{
protected:
    QString picture(const QByteArray &data, const QString &name = QStringLiteral("My photo.PNG"))
    {
        FileAccess::WriteFileRaw(pictures.filePath(name), data);
        return pictures.filePath(name);
    }

    bool make(const QString &picturePath, const QString &caption = QStringLiteral("abc"),
              const QString &from = QStringLiteral("me@example.org"),
              const QString &to = QStringLiteral("blog@tumblr.com"))
    {
        return modMail::MakePostMail(folder, from, to, caption, picturePath, MailFailureReporter::messageBoxes(),
                                     &path);
    }

    // Files in the output folder, temporary (hidden) ones included.
    QStringList written() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir pictures;
    QTemporaryDir out;
    StringTextHolder folder {out.path()};
    QString path;
};

TEST(modMail, MimeTypesAndFileNames)
{
    const std::pair<const char *, const char *> types[] = {
        {"photo.JPEG", "image/jpeg"},
        {"a.Jpe", "image/jpeg"},
        {"a.jfif", "image/jpeg"},
        {"a.bmp", "image/bmp"},
        {"a.GIF", "image/gif"},
        {"a.png", "image/png"},
        {"scan.rle", "application/octet-stream"},
        {"noextension", "application/octet-stream"},
    };
    for (const auto &[name, type] : types)
        EXPECT_EQ(modMail::GetMimeType(QLatin1String(name)), QLatin1String(type)) << name;

    const QDateTime when(QDate(2010, 12, 12), QTime(17, 16, 16));
    EXPECT_EQ(modMail::MailFileName(when, 0), QLatin1String("Mail 2010-12-12 17-16-16 0000.EML"));
    EXPECT_EQ(modMail::MailFileName(when, 10000), QLatin1String("Mail 2010-12-12 17-16-16 10000.EML"));
}

TEST_F(MakePostMailTest, WritesTheMessageLineByLine)
{
    QByteArray data;
    for (int i = 0; i < 200; ++i)
        data += char(i * 7);
    const qint32 counter = modMail::MailCounter();
    folder.setText(QLatin1String(" \t") + out.path() + QLatin1String("\r\n "));
    ASSERT_TRUE(make(picture(data)));
    EXPECT_EQ(folder.text(), out.path()) << "the folder box is trimmed in place";
    EXPECT_EQ(modMail::MailCounter(), counter + 1);
    EXPECT_TRUE(QRegularExpression(QLatin1String("/Mail \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d")
                                   + counterSuffix(counter) + QLatin1Char('$'))
                    .match(path)
                    .hasMatch())
        << path.toStdString();
    EXPECT_EQ(written(), QStringList {QFileInfo(path).fileName()});

    const QByteArray message = FileAccess::ReadFileRaw(path);
    ASSERT_TRUE(message.endsWith("\r\n"));
    QList<QByteArray> expected = {
        "From: me@example.org",
        "To: blog@tumblr.com",
        "Subject: =?WINDOWS-1251?Q?=61=62=63?=",
        "Date",
        "MIME-Version: 1.0",
        "X-Mailer: Corvid - Quillon 1.00.0039",
        "Content-Type: image/png;",
        " name=\"My photo.PNG\"",
        "Content-Disposition: attachment;",
        " filename=\"My photo.PNG\"",
        "Content-Transfer-Encoding: base64",
        "",
    };
    const QByteArray base64 = data.toBase64();
    for (qsizetype at = 0; at < base64.size(); at += 76)
        expected.append(base64.mid(at, 76));
    QByteArray unixLines = message;
    unixLines.replace("\r\n", "\n");
    EXPECT_FALSE(unixLines.contains('\r')) << "a line ends in a bare CR";
    EXPECT_EQ(unixLines.count('\n'), message.count('\n')) << "a line ends in a bare LF";
    const QList<QByteArray> lines = unixLines.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), expected.size()) << message.toStdString();
    const QRegularExpression date(
        QStringLiteral("^Date: [A-Z][a-z]{2}, \\d\\d [A-Z][a-z]{2} \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}$"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (expected[i] == "Date")
            EXPECT_TRUE(date.match(QString::fromLatin1(lines[i])).hasMatch()) << lines[i].toStdString();
        else
            EXPECT_EQ(lines[i], expected[i]) << "line " << i;
    }
}

TEST_F(MakePostMailTest, EmptyPictureAndCaptionGiveEmptySubjectAndBody)
{
    ASSERT_TRUE(make(picture({}), QString()));
    const QByteArray message = FileAccess::ReadFileRaw(path);
    EXPECT_TRUE(message.contains("\r\nSubject: \r\nDate: "));
    EXPECT_TRUE(message.endsWith("\r\nContent-Transfer-Encoding: base64\r\n\r\n\r\n"));
}

TEST_F(MakePostMailTest, CounterTakesNewNamesAndPassesExistingFiles)
{
    const QString pic = picture("jpeg");
    ASSERT_TRUE(make(pic));
    const QString first = path;
    ASSERT_TRUE(make(pic));
    const qint32 next = modMail::MailCounter();
    EXPECT_NE(path, first);
    EXPECT_TRUE(path.endsWith(counterSuffix(next - 1)));

    // Someone else's files under the next name, for this second and the next
    // few, are passed over and left alone.
    QStringList taken;
    for (int s = 0; s < 3; ++s) {
        taken << out.filePath(modMail::MailFileName(QDateTime::currentDateTime().addSecs(s), next));
        FileAccess::WriteFileRaw(taken.last(), "keep");
    }
    ASSERT_TRUE(make(pic));
    EXPECT_TRUE(path.endsWith(counterSuffix(next + 1))) << path.toStdString();
    EXPECT_EQ(modMail::MailCounter(), next + 2);
    for (const QString &file : std::as_const(taken))
        EXPECT_EQ(FileAccess::ReadFileRaw(file), "keep");
}

TEST_F(MakePostMailTest, FailuresAreShownAndWriteNothing)
{
    const QString pic = picture("jpeg");
    ScopedMessageBoxAnswerer answerer;
    const qint32 counter = modMail::MailCounter();
    const QString missingFolder = out.filePath(QStringLiteral("missing"));
    folder.setText(missingFolder + QLatin1Char(' '));
    EXPECT_FALSE(make(pic));
    folder.setText(out.path());
    const QString missingPicture = pictures.filePath(QStringLiteral("none.jpg"));
    EXPECT_FALSE(make(missingPicture));
    EXPECT_FALSE(make(pic, {}, QStringLiteral("me@example.org\r\nBcc: victim@example.org")));
    EXPECT_FALSE(make(pic, {}, QStringLiteral("me@example.org"), QStringLiteral("blog@tumblr.com\t")));
    EXPECT_EQ(modMail::MailCounter(), counter) << "no name is taken before the picture is read";
    EXPECT_TRUE(written().isEmpty());

    const auto &requests = answerer.requests();
    ASSERT_EQ(requests.size(), 4);
    for (const auto &request : requests) {
        EXPECT_EQ(request.style & MessageBox::IconMask, MessageBox::Critical);
        EXPECT_EQ(request.title, QLatin1String("Corvid - Quillon"));
    }
    EXPECT_EQ(requests[0].text, missingFolder + QLatin1String("\r\n\r\nOutput directory was not found."));
    EXPECT_TRUE(
        requests[1].text.startsWith(missingPicture + QLatin1String("\r\n\r\nCan't read file.\r\n\r\nError number: 53")))
        << requests[1].text.toStdString();
    EXPECT_TRUE(requests[2].text.contains(QLatin1String("\"From\" address")));
    EXPECT_TRUE(requests[3].text.contains(QLatin1String("\"To\" address")));
}

TEST_F(MakePostMailTest, FailedWriteLeavesNoPartialFile)
{
    const QString pic = picture(QByteArray(64 * 1024, 'j'));
    ScopedMessageBoxAnswerer answerer;
    const qint32 counter = modMail::MailCounter();

    // A file-size limit makes the write fail half-way, as a full disk does.
    signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool made = make(pic);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(made);
    EXPECT_TRUE(written().isEmpty()) << written().join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(modMail::MailCounter(), counter + 1) << "a failed write still takes its number";
    ASSERT_EQ(answerer.requests().size(), 1);
    const QString text = answerer.requests()[0].text;
    EXPECT_TRUE(text.startsWith(out.filePath(QStringLiteral("Mail "))));
    EXPECT_TRUE(text.contains(counterSuffix(counter) + QLatin1String("\r\n\r\nCan't write file.\r\n\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String(".EML: File too large"))) << "the system's reason: " << text.toStdString();
}

// The composer streams the picture: the message must be byte for byte the
// one built from the whole picture at once, at every block boundary.
TEST_F(MakePostMailTest, BodyIsTheWholePictureEncodedAtEveryBlockBoundary)
{
    const qsizetype sizes[]
        = {0, 1, Line - 1, Line, Line + 1, Block - 1, Block, Block + 1, 2 * Block, 2 * Block + Line + 2, 3 * Block - 5};
    for (const qsizetype size : sizes) {
        SCOPED_TRACE(size);
        QByteArray data((size + 3) / 4 * 4, Qt::Uninitialized);
        QRandomGenerator(quint32(size)).fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
        data.truncate(size);
        const QString picture = pictures.filePath(QStringLiteral("p.jpg"));
        FileAccess::WriteFileRaw(picture, data);
        ASSERT_TRUE(make(picture));
        const QByteArray message = FileAccess::ReadFileRaw(path);
        const qsizetype bodyStart = message.indexOf("\r\n\r\n") + 4;
        ASSERT_GE(bodyStart, 4);
        EXPECT_TRUE(message.mid(bodyStart) == cs::csBase64Encode(data, 15) + "\r\n");
        QFile::remove(path);
    }
}

TEST_F(MakePostMailTest, PicturesThatAreNotRegularFilesAreRefusedAtOnce)
{
    const QString fifo = pictures.filePath(QStringLiteral("fifo.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folderPicture = pictures.filePath(QStringLiteral("folder.jpg"));
    ASSERT_TRUE(QDir().mkdir(folderPicture));
    const QString socketPath = pictures.filePath(QStringLiteral("socket.jpg"));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray socketName = QFile::encodeName(socketPath);
    ASSERT_LT(size_t(socketName.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketName.constData(), size_t(socketName.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const QString link = pictures.filePath(QStringLiteral("link-to-fifo.jpg"));
    ASSERT_TRUE(QFile::link(fifo, link));

    const std::pair<QString, const char *> cases[] = {
        {fifo, "This is a named pipe, not a regular file."},
        {link, "This is a named pipe, not a regular file."},
        {QStringLiteral("/dev/null"), "This is a device, not a regular file."},
        {socketPath, "This is a socket, not a regular file."},
        {folderPicture, "This is a folder, not a regular file."},
    };
    const qint32 counter = modMail::MailCounter();
    for (const auto &[special, reason] : cases) {
        SCOPED_TRACE(special.toStdString());
        ScopedMessageBoxAnswerer answerer;
        corvid::test::PipeWatchdog watchdog(fifo);
        EXPECT_FALSE(make(special));
        EXPECT_FALSE(watchdog.freedReader()) << "the composer waited for a writer";
        ASSERT_EQ(answerer.requests().size(), 1);
        const QString text = answerer.requests()[0].text;
        EXPECT_TRUE(text.startsWith(special + QLatin1String("\r\n\r\nCan't read file.\r\n\r\nError number: 75")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(reason))) << text.toStdString();
    }
    ::close(sock);
    EXPECT_EQ(modMail::MailCounter(), counter) << "no name is taken for a picture that cannot be read";
    EXPECT_TRUE(written().isEmpty()) << written().join(QLatin1Char(',')).toStdString();
}

} // namespace
