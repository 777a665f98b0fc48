// The composer streams the picture: the message must be byte for byte the
// one built from the whole picture at once, at every block boundary, and a
// picture that is not a regular file must be refused at once.
#include "app/common/StringTextHolder.h"
#include "app/mail/FileAccess.h"
#include "app/mail/modMail.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "support/csText.h"
#include "tests/app/PipeWatchdog.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quillon;
using tessera::ScopedMessageBoxAnswerer;

namespace {

constexpr qsizetype Line = 57; // bytes per base64 line
constexpr qsizetype Block = 57 * 8192; // the composer's block

class ComposerInput : public ::testing::Test
{
protected:
    bool make(const QString &picture)
    {
        written.clear();
        return modMail::MakePostMail(folder, QStringLiteral("me@example.org"), QStringLiteral("blog@tumblr.com"),
                                     QStringLiteral("caption"), picture, MailFailureReporter::messageBoxes(), &written);
    }
    QStringList outputFiles() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir pictures;
    QTemporaryDir out;
    StringTextHolder folder {out.path()};
    QString written;
};

TEST_F(ComposerInput, BodyIsTheWholePictureEncodedAtEveryBlockBoundary)
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
        const QByteArray message = FileAccess::ReadFileRaw(written);
        const qsizetype bodyStart = message.indexOf("\r\n\r\n") + 4;
        ASSERT_GE(bodyStart, 4);
        EXPECT_TRUE(message.mid(bodyStart) == cs::csBase64Encode(data, 15) + "\r\n");
        QFile::remove(written);
    }
}

TEST_F(ComposerInput, PicturesThatAreNotRegularFilesAreRefusedAtOnce)
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
    for (const auto &[path, reason] : cases) {
        SCOPED_TRACE(path.toStdString());
        ScopedMessageBoxAnswerer answerer;
        corvid::test::PipeWatchdog watchdog(fifo);
        EXPECT_FALSE(make(path));
        EXPECT_FALSE(watchdog.freedReader()) << "the composer waited for a writer";
        ASSERT_EQ(answerer.requests().size(), 1);
        const QString text = answerer.requests()[0].text;
        EXPECT_TRUE(text.startsWith(path + QLatin1String("\r\n\r\nCan't read file.\r\n\r\nError number: 75")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(reason))) << text.toStdString();
    }
    ::close(sock);
    EXPECT_EQ(modMail::MailCounter(), counter) << "no name is taken for a picture that cannot be read";
    EXPECT_TRUE(outputFiles().isEmpty()) << outputFiles().join(QLatin1Char(',')).toStdString();
}

} // namespace
