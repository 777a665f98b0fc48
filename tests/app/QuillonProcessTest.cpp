// The real quillon program, started twice in this test's sandbox: what one
// run stores when it ends, the next one reads.
#include "app/main/modSettings.h"
#include "tests/app/QuillonState.h"
#include "tests/common/TestSandbox.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

using quillon::modSettings::Load;
using quillon::modSettings::Save;

namespace {

// Whether process \a pid has a handler of its own for SIGTERM, from the
// caught-signals mask in /proc.
bool catchesTerm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

// Runs quillon with \a home as the user's home folder until it is up, then
// asks it to end as a desktop session does. Its exit code; -1 when it did
// not start, crashed or did not end within \a endWithin milliseconds of
// the signal.
int runQuillon(const QString &home, int endWithin = 30000)
{
    QProcess quillon;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    quillon.setProcessEnvironment(environment);
    quillon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    quillon.start(corvid::test::builtProgram(QStringLiteral("quillon")));
    if (!quillon.waitForStarted(30000))
        return -1;
    const QDeadlineTimer deadline(30000);
    while (!catchesTerm(quillon.processId()) && !deadline.hasExpired() && quillon.state() == QProcess::Running)
        QThread::msleep(20);
    // Time for a box shown at start-up to come up (the signal also works
    // before; then the box is answered as soon as it runs).
    QThread::msleep(500);
    ::kill(pid_t(quillon.processId()), SIGTERM);
    if (!quillon.waitForFinished(endWithin)) {
        quillon.kill();
        quillon.waitForFinished();
        return -1;
    }
    return quillon.exitStatus() == QProcess::NormalExit ? quillon.exitCode() : -1;
}

TEST(QuillonProgram, SettingsWrittenByOneRunAreReadByTheNext)
{
    corvid::test::forgetQuillon();
    QTemporaryDir firstHome;
    QTemporaryDir secondHome;
    for (const QTemporaryDir *home : {&firstHome, &secondHome})
        ASSERT_TRUE(QDir(home->path()).mkpath(QStringLiteral("Documents")));
    const QString firstDocuments = QDir(firstHome.path()).filePath(QStringLiteral("Documents"));

    Save(QStringLiteral("Last caption"), tessera::rtString, QStringLiteral("Harbour\r\nat night"));
    Save(QStringLiteral("Quick mode"), tessera::rtBoolean, true);
    Save(QStringLiteral("EML folder"), tessera::rtString, QStringLiteral("/no/such/folder"));
    Save(QStringLiteral("To E-Mails"), tessera::rtString, QStringLiteral("a@tumblr.com\r\nb@tumblr.com"));
    Save(QStringLiteral("To E-Mail Index"), tessera::rtLong, 1);

    // The first run replaces the missing folder by its documents folder.
    ASSERT_EQ(runQuillon(firstHome.path()), 0);
    EXPECT_EQ(Load(QStringLiteral("EML folder"), tessera::rtString, {}).toString(), firstDocuments);

    // The second, with other documents, keeps the folder the first stored.
    ASSERT_EQ(runQuillon(secondHome.path()), 0);
    EXPECT_EQ(Load(QStringLiteral("EML folder"), tessera::rtString, {}).toString(), firstDocuments);
    EXPECT_EQ(Load(QStringLiteral("Last caption"), tessera::rtString, {}).toString(),
              QLatin1String("Harbour\r\nat night"));
    EXPECT_TRUE(Load(QStringLiteral("Quick mode"), tessera::rtBoolean, false).toBool());
    EXPECT_EQ(Load(QStringLiteral("To E-Mails"), tessera::rtString, {}).toString(),
              QLatin1String("a@tumblr.com\r\nb@tumblr.com"));
    EXPECT_EQ(Load(QStringLiteral("To E-Mail Index"), tessera::rtLong, {}).toInt(), 1);
    EXPECT_EQ(Load(QStringLiteral("From E-Mail Index"), tessera::rtLong, 0).toInt(), -1);
    EXPECT_TRUE(QFile::exists(QDir(quillon::CHistory::DataFolder()).filePath(QStringLiteral("History.DAT"))));
}

// A message box open when the session ends used to keep the program alive
// until someone answered it. Here the history file is a named pipe, which
// start-up refuses with an error box; SIGTERM answers the box and the
// program ends, saving as usual.
TEST(QuillonProgram, EndsUnderAnOpenMessageBoxAndSaves)
{
    corvid::test::forgetQuillon();
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Documents")));
    const QString data = quillon::CHistory::DataFolder();
    ASSERT_TRUE(QDir().mkpath(data));
    const QString history = QDir(data).filePath(QStringLiteral("History.DAT"));
    QFile::remove(history);
    ASSERT_EQ(::mkfifo(QFile::encodeName(history).constData(), 0600), 0);

    // Ends well within the time a session waits before killing programs;
    // the program itself answers within a second.
    EXPECT_EQ(runQuillon(home.path(), 10000), 0);
    QFile::remove(history);
    EXPECT_EQ(Load(QStringLiteral("EML folder"), tessera::rtString, {}).toString(),
              QDir(home.path()).filePath(QStringLiteral("Documents")))
        << "the settings were not saved";
}

} // namespace
