// The registry across processes: concurrent writers, a reader beside a
// writer, and a writer killed in the middle of its work.
#include "platform/Registry.h"
#include "platform/Win32Error.h"
#include "tests/common/TestSandbox.h"
#include "tests/platform/RegistryFixture.h"
#include "tests/platform/RegistryPayload.h"

#include <QFile>
#include <QProcess>

#include <memory>
#include <sqlite3.h>

namespace {

using corvid::test::RegistryFixture;
using corvid::test::registryPayload;
using tessera::HKEY;
using tessera::Registry;

constexpr int ProcessTimeoutMs = 120000;

class RegistryProcessTest : public RegistryFixture
{
protected:
    // Starts the writer helper (it inherits the fixture's hive folders) and
    // waits for its first line.
    std::unique_ptr<QProcess> startWriter(const QStringList &arguments, const QByteArray &firstLine)
    {
        auto process = std::make_unique<QProcess>();
        process->start(corvid::test::builtProgram(QStringLiteral("tessera_registry_writer")), arguments);
        EXPECT_TRUE(process->waitForStarted()) << qPrintable(process->errorString());
        while (!process->canReadLine() && process->state() == QProcess::Running)
            process->waitForReadyRead(1000);
        EXPECT_EQ(process->readLine().trimmed(), firstLine);
        return process;
    }

    static void expectFinishedWell(QProcess &process)
    {
        ASSERT_TRUE(process.state() == QProcess::NotRunning || process.waitForFinished(ProcessTimeoutMs));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().constData();
    }

    // Reads every value of \a key and checks that each holds exactly the
    // payload of its index; returns how many there are.
    static int checkValues(HKEY key, int size)
    {
        int count = 0;
        QString name;
        QByteArray data;
        quint32 type = 0;
        qint32 rc;
        while ((rc = Registry::RegEnumValue(key, quint32(count), &name, &type, &data)) == 0) {
            bool ok = false;
            const int index = name.mid(1).toInt(&ok);
            EXPECT_TRUE(ok) << qPrintable(name);
            EXPECT_EQ(data, registryPayload(index, size)) << "value " << qPrintable(name) << " is damaged";
            ++count;
        }
        EXPECT_EQ(rc, tessera::Win32Error::NoMoreItems);
        return count;
    }
};

TEST_F(RegistryProcessTest, ConcurrentWritersFromTwoProcessesLoseNothing)
{
    constexpr int Count = 300;
    const QString key = QStringLiteral("Software\\Sablewing\\Concurrent");
    auto first = startWriter({"batch", key, "a", QString::number(Count), "200"}, "ready");
    auto second = startWriter({"batch", key, "b", QString::number(Count), "200"}, "ready");
    first->write("go\n");
    second->write("go\n");
    expectFinishedWell(*first);
    expectFinishedWell(*second);

    const HKEY handle = open(Registry::HKEY_CURRENT_USER, key, Registry::KEY_READ);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(checkValues(handle, 200), 2 * Count);
    for (int i = 0; i < Count; i += 37) {
        EXPECT_EQ(get(handle, QStringLiteral("a%1").arg(i)), registryPayload(i, 200));
        EXPECT_EQ(get(handle, QStringLiteral("B%1").arg(i)), registryPayload(i, 200));
    }
}

TEST_F(RegistryProcessTest, AReaderSeesOnlyWholeValuesWhileAWriterWrites)
{
    constexpr int Count = 400;
    constexpr int Size = 4000;
    const QString key = QStringLiteral("Software\\Sablewing\\Race");
    auto writer = startWriter({"batch", key, "v", QString::number(Count), QString::number(Size)}, "ready");
    writer->write("go\n");

    int reads = 0;
    int lastCount = 0;
    while (writer->state() == QProcess::Running) {
        HKEY handle = 0;
        if (Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, key, Registry::KEY_READ, &handle) == 0) {
            const int count = checkValues(handle, Size);
            EXPECT_GE(count, lastCount) << "values disappeared";
            lastCount = count;
            ++reads;
            Registry::RegCloseKey(handle);
        }
        writer->waitForFinished(5);
    }
    expectFinishedWell(*writer);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(checkValues(open(Registry::HKEY_CURRENT_USER, key, Registry::KEY_READ), Size), Count);
}

TEST_F(RegistryProcessTest, AKilledWriterLeavesNoHalfWrittenValue)
{
    constexpr int Size = 256 * 1024;
    const QString key = QStringLiteral("Software\\Sablewing\\Crash");
    auto writer = startWriter({"endless", key, "v", QString::number(Size)}, "started");
    writer->waitForFinished(300);
    writer->kill();
    ASSERT_TRUE(writer->waitForFinished(ProcessTimeoutMs));
    EXPECT_EQ(writer->exitStatus(), QProcess::CrashExit);

    const HKEY handle = open(Registry::HKEY_CURRENT_USER, key, Registry::KEY_READ);
    ASSERT_NE(handle, 0u);
    EXPECT_GE(checkValues(handle, Size), 1);
    Registry::closeAllHives();

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(userDir() + QStringLiteral("/user.hive")).constData(), &db,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt *stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok");
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

} // namespace
