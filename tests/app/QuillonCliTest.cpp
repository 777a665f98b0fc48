// quillon-cli end to end: real JPEG, PNG and GIF files in, each message read
// back by an independent MIME parser (Python's email package, parse_eml.py).
#include "tests/common/TestSandbox.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct Picture {
    QString name;
    QByteArray data;
    const char *type;
};

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

struct Output {
    int exitCode = -1;
    QStringList written;
    QString errors;
};

class QuillonCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QImage image(320, 200, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QPainter(&image).fillRect(40, 30, 200, 120, QColor(200, 90, 30));
        // The smallest GIF there is, one transparent pixel: Qt writes no GIF.
        const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00"
                             "\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                             43);
        made = {{QStringLiteral("sunset.jpg"), encoded(image, "JPG"), "image/jpeg"},
                {QString::fromUtf8("\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE \"1\".png"), encoded(image, "PNG"), "image/png"},
                {QStringLiteral("back\\slash.GIF"), gif, "image/gif"}};
        for (const Picture &picture : std::as_const(made)) {
            ASSERT_FALSE(QImage::fromData(picture.data).isNull()) << picture.name.toStdString() << " is no picture";
            QFile file(pictures.filePath(picture.name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(picture.data) == picture.data.size());
            paths << file.fileName();
        }
    }

    Output run(const QString &caption, const QStringList &pictureArguments, const QString &folder = {},
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess cli;
        cli.setProcessEnvironment(environment);
        QStringList arguments
            = {QStringLiteral("--from"),          QStringLiteral("me@example.org"), QStringLiteral("--to"),
               QStringLiteral("blog@tumblr.com"), QStringLiteral("--caption"),      caption};
        if (!folder.isNull())
            arguments << QStringLiteral("--out") << folder;
        cli.start(corvid::test::builtProgram(QStringLiteral("quillon-cli")), arguments + pictureArguments);
        Output output;
        if (cli.waitForFinished(60000) && cli.exitStatus() == QProcess::NormalExit)
            output.exitCode = cli.exitCode();
        output.written = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        output.errors = QString::fromUtf8(cli.readAllStandardError());
        return output;
    }

    // Checks what Python's email package reads in each message.
    void expectMessages(const QStringList &messages, const QList<Picture> &expected, const QString &caption)
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        ASSERT_FALSE(python.isEmpty()) << "python3 is needed to read the messages back";
        QProcess parser;
        parser.start(python,
                     QStringList {corvid::test::sourceFile(QStringLiteral("tests/app/parse_eml.py"))} + messages);
        ASSERT_TRUE(parser.waitForFinished(60000));
        ASSERT_EQ(parser.exitCode(), 0) << parser.readAllStandardError().toStdString();
        const QJsonArray parsed = QJsonDocument::fromJson(parser.readAllStandardOutput()).array();
        ASSERT_EQ(parsed.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QJsonObject message = parsed[i].toObject();
            const Picture &picture = expected[i];
            SCOPED_TRACE(picture.name.toStdString());
            EXPECT_EQ(message[QLatin1String("subject")].toString(), caption);
            EXPECT_EQ(message[QLatin1String("from")].toString(), QLatin1String("me@example.org"));
            EXPECT_EQ(message[QLatin1String("to")].toString(), QLatin1String("blog@tumblr.com"));
            EXPECT_EQ(message[QLatin1String("type")].toString(), QLatin1String(picture.type));
            EXPECT_EQ(message[QLatin1String("name")].toString(), picture.name);
            EXPECT_EQ(message[QLatin1String("filename")].toString(), picture.name);
            EXPECT_EQ(QByteArray::fromBase64(message[QLatin1String("body")].toString().toLatin1()), picture.data);
            EXPECT_EQ(message[QLatin1String("defects")].toArray(), QJsonArray());
        }
    }

    QTemporaryDir pictures;
    QTemporaryDir out;
    QList<Picture> made;
    QStringList paths;
};

TEST_F(QuillonCli, EveryPictureComesBackWhole)
{
    const QString caption = QString::fromUtf8("\xD0\x97\xD0\xB0\xD0\xBA\xD0\xB0\xD1\x82, \"sea\" & sky");
    const Output output = run(caption, paths, out.path());
    ASSERT_EQ(output.exitCode, 0) << output.errors.toStdString();
    EXPECT_TRUE(output.errors.isEmpty());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), made.size());
    expectMessages(output.written, made, caption);
}

TEST_F(QuillonCli, FailuresGoToStandardErrorAndTheRestIsWritten)
{
    const QString caption = QString::fromUtf8("Sunset \xF0\x9F\x8C\x85 \xD0\xBD\xD0\xB0\xD0\xB4 sea\r\nline two");
    const QString missing = pictures.filePath(QStringLiteral("missing.jpg"));
    const Output output = run(caption, {missing, paths[0]}, out.path());
    EXPECT_EQ(output.exitCode, 1);
    EXPECT_TRUE(output.errors.startsWith(missing + QLatin1String("\n\nCan't read file.\n")))
        << output.errors.toStdString();
    expectMessages(output.written, {made[0]}, caption);

    const Output noFolder = run(caption, paths);
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(noFolder.errors.contains(QLatin1String("--out is missing.")));
    EXPECT_EQ(run(caption, {}, out.path()).exitCode, 2);
}

TEST_F(QuillonCli, AFolderGivesWhatBatchModeWouldList)
{
    const QDir folder(pictures.path());
    ASSERT_TRUE(folder.mkdir(QStringLiteral("album.png")));
    QFile notes(folder.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("not a picture") > 0);
    notes.close();

    const Output output = run(QStringLiteral("All of them"), {QStringLiteral("--folder"), pictures.path()}, out.path());
    ASSERT_EQ(output.exitCode, 0) << output.errors.toStdString();
    // Sorted by character code: the GIF, "sunset.jpg", then the Cyrillic name.
    expectMessages(output.written, {made[2], made[0], made[1]}, QStringLiteral("All of them"));

    const Output missing
        = run(QStringLiteral("x"), {QStringLiteral("--folder"), folder.filePath(QStringLiteral("none"))}, out.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.errors.contains(QLatin1String("Cat't get picture files list.")))
        << missing.errors.toStdString();
}

// A named pipe given as the picture used to hang the tool in open(); a full
// disk read "Unknown error". Both must fail at once with the system's reason.
TEST_F(QuillonCli, PipesAndFullDisksFailWithTheirReason)
{
    const QString fifo = pictures.filePath(QStringLiteral("some.fifo.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess cli;
    cli.start(corvid::test::builtProgram(QStringLiteral("quillon-cli")),
              {QStringLiteral("--from"), QStringLiteral("a@b.c"), QStringLiteral("--to"), QStringLiteral("d@e.f"),
               QStringLiteral("--out"), out.path(), fifo, paths[0]});
    const bool ended = cli.waitForFinished(15000);
    if (!ended)
        cli.kill();
    ASSERT_TRUE(ended) << "quillon-cli waits on the named pipe";
    EXPECT_EQ(cli.exitCode(), 1);
    const QString errors = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_TRUE(errors.contains(QLatin1String("This is a named pipe, not a regular file."))) << errors.toStdString();
    EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()).count(QLatin1Char('\n')), 1)
        << "the other picture is written";

    // A 64 kB file system of its own, in a mount namespace of the test's.
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    ASSERT_FALSE(unshare.isEmpty());
    QTemporaryDir mountPoint;
    const QStringList script
        = {QStringLiteral("-c"),
           QStringLiteral("mount -t tmpfs -o size=64k none \"$1\" || exit 99; shift; \"$@\"; status=$?; "
                          "ls -A \"$OUT\"; exit $status"),
           QStringLiteral("sh"),
           mountPoint.path(),
           corvid::test::builtProgram(QStringLiteral("quillon-cli")),
           QStringLiteral("--from"),
           QStringLiteral("a@b.c"),
           QStringLiteral("--to"),
           QStringLiteral("d@e.f"),
           QStringLiteral("--out"),
           mountPoint.path(),
           paths[0]};
    QByteArray big(256 * 1024, 'x');
    QFile bigPicture(pictures.filePath(QStringLiteral("big.jpg")));
    ASSERT_TRUE(bigPicture.open(QIODevice::WriteOnly) && bigPicture.write(big) == big.size());
    bigPicture.close();
    QStringList arguments = script;
    arguments.last() = bigPicture.fileName();
    QProcess full;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OUT"), mountPoint.path());
    full.setProcessEnvironment(environment);
    // Unprivileged user namespaces where the system allows them, else root.
    full.start(unshare,
               QStringList {QStringLiteral("--user"), QStringLiteral("--map-root-user"), QStringLiteral("--mount"),
                            QStringLiteral("sh")}
                   + arguments);
    ASSERT_TRUE(full.waitForFinished(60000));
    if (full.exitCode() == 99 || full.exitStatus() != QProcess::NormalExit || full.exitCode() > 1) {
        full.start(unshare, QStringList {QStringLiteral("--mount"), QStringLiteral("sh")} + arguments);
        ASSERT_TRUE(full.waitForFinished(60000));
    }
    if (full.exitCode() == 99 || full.exitCode() > 1)
        GTEST_SKIP() << "no mount namespace for a small file system here: "
                     << full.readAllStandardError().toStdString();
    EXPECT_EQ(full.exitCode(), 1);
    const QString fullErrors = QString::fromUtf8(full.readAllStandardError());
    EXPECT_TRUE(fullErrors.contains(QLatin1String(".EML: No space left on device"))) << fullErrors.toStdString();
    EXPECT_TRUE(fullErrors.contains(QLatin1String("Can't write file."))) << fullErrors.toStdString();
    EXPECT_EQ(QString::fromUtf8(full.readAllStandardOutput()), QString()) << "a file was left on the full disk";
}

// A stand-in mail transfer agent: records its arguments and its input in
// \a folder, then says \a complaint on standard error and exits with
// \a status.
QString makeAgent(const QString &folder, const QString &name, int status = 0, const QByteArray &complaint = {})
{
    const QString path = QDir(folder).filePath(name);
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nd=\"$(dirname \"$0\")\"\nprintf '%s\\n' \"$@\" >> \"$d/args\"\ncat >> \"$d/input\"\n");
    if (!complaint.isEmpty())
        script.write("echo '" + complaint + "' >&2\n");
    script.write("exit " + QByteArray::number(status) + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(QuillonCli, SendHandsEachMessageToTheMailTransferAgent)
{
    QTemporaryDir agents;
    const QString agent = makeAgent(agents.path(), QStringLiteral("agent"));
    struct Case {
        const char *what;
        QString sendmail; // unset when null
        QString path;
        QStringList arguments;
    };
    const QList<Case> cases = {
        {"$SENDMAIL with options of its own",
         agent + QStringLiteral(" -f \"me@example.org\""),
         {},
         {QStringLiteral("-f"), QStringLiteral("me@example.org"), QStringLiteral("-t"), QStringLiteral("-oi")}},
        {"sendmail on PATH", {}, agents.path(), {QStringLiteral("-t"), QStringLiteral("-oi")}},
    };
    QFile::link(agent, agents.filePath(QStringLiteral("sendmail")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(agents.filePath(QStringLiteral("args")));
        QFile::remove(agents.filePath(QStringLiteral("input")));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("SENDMAIL"));
        if (!c.sendmail.isNull())
            environment.insert(QStringLiteral("SENDMAIL"), c.sendmail);
        if (!c.path.isNull())
            environment.insert(QStringLiteral("PATH"), c.path + QLatin1Char(':') + environment.value("PATH"));
        QTemporaryDir folder;
        const Output output
            = run(QStringLiteral("Sent"), {QStringLiteral("--send"), paths[0], paths[1]}, folder.path(), environment);
        ASSERT_EQ(output.exitCode, 0) << output.errors.toStdString();
        ASSERT_EQ(output.written.size(), 2);
        expectMessages(output.written, {made[0], made[1]}, QStringLiteral("Sent"));
        EXPECT_EQ(QString::fromUtf8(contents(agents.filePath(QStringLiteral("args")))).split(u'\n', Qt::SkipEmptyParts),
                  c.arguments + c.arguments);
        // The agent reads both messages whole, with LF line ends.
        QByteArray expected;
        for (const QString &written : output.written)
            expected += contents(written).replace("\r\n", "\n");
        EXPECT_EQ(contents(agents.filePath(QStringLiteral("input"))), expected);
        EXPECT_FALSE(expected.contains('\r'));
    }
}

TEST_F(QuillonCli, AFailedHandOverIsReportedAndTheMessageKept)
{
    QTemporaryDir agents;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SENDMAIL"),
                       makeAgent(agents.path(), QStringLiteral("failing"), 75, "sendmail: queue file write error"));
    const Output output = run(QStringLiteral("Kept"), {QStringLiteral("--send"), paths[0]}, out.path(), environment);
    EXPECT_EQ(output.exitCode, 3);
    ASSERT_EQ(output.written.size(), 1);
    expectMessages(output.written, {made[0]}, QStringLiteral("Kept"));
    EXPECT_TRUE(output.errors.contains(QLatin1String("exit status 75: sendmail: queue file write error")))
        << output.errors.toStdString();
    EXPECT_TRUE(output.errors.startsWith(QLatin1String("quillon-cli: ") + output.written[0]));

    environment.insert(QStringLiteral("SENDMAIL"), agents.filePath(QStringLiteral("missing")));
    const Output missing = run(QStringLiteral("Kept"), {QStringLiteral("--send"), paths[0]}, out.path(), environment);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.errors.contains(QLatin1String("cannot start the mail transfer agent")));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 2) << "both messages stay";

    // A picture that fails outranks a message that was not sent.
    const Output both = run(QStringLiteral("Kept"), {QStringLiteral("--send"), pictures.filePath("none.jpg"), paths[0]},
                            out.path(), environment);
    EXPECT_EQ(both.exitCode, 1);
}

} // namespace
