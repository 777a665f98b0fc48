#include "platform/NamedMutex.h"

#include "platform/Win32Error.h"
#include "tests/common/LineProcess.h"
#include "tests/common/ScopedEnvironment.h"
#include "tests/common/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace tessera;
using corvid::test::LineProcess;
using corvid::test::ScopedEnvironment;

namespace {

// Another process holding a named mutex. A waiting holder creates it only
// when go() tells it to.
class Holder
{
public:
    enum Start { Now, OnGo };
    explicit Holder(const QString &name, Start start = Now)
    {
        QStringList arguments {name};
        if (start == OnGo)
            arguments.prepend(QStringLiteral("--wait"));
        const bool started
            = m_process.start(corvid::test::builtProgram(QStringLiteral("tessera_mutex_holder")), arguments);
        m_ready = started && (start == Now || m_process.readLine() == "ready");
    }
    bool ready() const { return m_ready; }
    void go() { m_process.writeLine({}); }
    int lastError()
    {
        if (m_lastError < 0) {
            const QByteArray line = m_process.readLine();
            m_lastError = line.isEmpty() ? -2 : line.toInt();
        }
        return m_lastError;
    }
    bool release() { return m_process.finish(); }
    bool kill() { return m_process.kill(); }

private:
    LineProcess m_process;
    bool m_ready = false;
    int m_lastError = -1;
};

} // namespace

TEST(NamedMutex, ANameExistsWhileAnyHandleInTheProcessHoldsIt)
{
    const QString name = QStringLiteral("{4F1C2B1E-0000-4000-8000-000000000001}");
    NamedMutex first(name);
    ASSERT_TRUE(first.isValid());
    EXPECT_EQ(first.lastError(), Win32Error::Success);

    NamedMutex second(name);
    EXPECT_TRUE(second.isValid());
    EXPECT_EQ(second.lastError(), Win32Error::AlreadyExists);

    first.close();
    EXPECT_FALSE(first.isValid());
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::AlreadyExists) << "the second handle still holds it";

    NamedMutex moved(std::move(second));
    EXPECT_FALSE(second.isValid());
    EXPECT_TRUE(moved.isValid());
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::AlreadyExists) << "moving keeps the claim";

    moved = NamedMutex();
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::Success);
}

TEST(NamedMutex, LockFileGoesWithTheLastHolder)
{
    const QString name = QStringLiteral("Lock file life");
    const QString path = NamedMutex::lockFilePath(name);
    ASSERT_FALSE(path.isEmpty());
    {
        NamedMutex first(name);
        NamedMutex second(name);
        EXPECT_TRUE(QFileInfo::exists(path));
        first.close();
        EXPECT_TRUE(QFileInfo::exists(path)) << "still held by the second handle";
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(NamedMutex, NamespacesAndCaseMakeDistinctNames)
{
    NamedMutex plain(QStringLiteral("App"));
    ASSERT_EQ(plain.lastError(), Win32Error::Success);
    EXPECT_EQ(NamedMutex(QStringLiteral("Local\\App")).lastError(), Win32Error::AlreadyExists)
        << "plain names live in the session's namespace";
    EXPECT_EQ(NamedMutex(QStringLiteral("Global\\App")).lastError(), Win32Error::Success);
    EXPECT_EQ(NamedMutex(QStringLiteral("app")).lastError(), Win32Error::Success) << "names are case-sensitive";
    EXPECT_EQ(NamedMutex(QStringLiteral("Global\\")).lastError(), Win32Error::InvalidName);
    EXPECT_FALSE(NamedMutex(QStringLiteral("Local\\")).isValid());

    const QDir locks(qEnvironmentVariable("TESSERA_MUTEX_DIR"));
    EXPECT_EQ(QFileInfo(NamedMutex::lockFilePath(QStringLiteral("Global\\App"))).dir(), QDir(locks.filePath("Global")));
    EXPECT_EQ(QFileInfo(NamedMutex::lockFilePath(QStringLiteral("App"))).dir(), QDir(locks.filePath("Local")));
}

TEST(NamedMutex, WithoutAnOverrideNamesLiveInTheMachineAndUserFolders)
{
    const ScopedEnvironment noOverride("TESSERA_MUTEX_DIR", QByteArray());
    EXPECT_EQ(NamedMutex::lockFilePath(QStringLiteral("Global\\App")), QStringLiteral("/tmp/.sablewing-locks/App"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    EXPECT_EQ(NamedMutex::lockFilePath(QStringLiteral("App")), runtime + QStringLiteral("/sablewing-locks/App"));
    {
        NamedMutex mutex(QStringLiteral("Local\\App"));
        EXPECT_EQ(mutex.lastError(), Win32Error::Success);
        EXPECT_EQ(QFileInfo(runtime + QStringLiteral("/sablewing-locks")).permissions().toInt() & 0x0077, 0)
            << "the user's lock folder is private";
    }
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", QByteArray());
    EXPECT_EQ(NamedMutex::lockFilePath(QStringLiteral("App")),
              QStringLiteral("/tmp/.sablewing-locks-%1/App").arg(::geteuid()));
}

TEST(NamedMutex, UnnamedMutexesNeverExistBeforehand)
{
    NamedMutex first(QString {});
    NamedMutex second(QString {});
    EXPECT_TRUE(first.isValid());
    EXPECT_EQ(first.lastError(), Win32Error::Success);
    EXPECT_EQ(second.lastError(), Win32Error::Success);
    EXPECT_TRUE(NamedMutex::lockFilePath(QString {}).isEmpty());
}

// Every name stays one file inside its folder, different names never share
// a file, and the file name decodes back to the name.
TEST(NamedMutex, AnyNameMapsToItsOwnFileInsideTheFolder)
{
    const QString names[] = {
        QStringLiteral("a/b"),
        QStringLiteral("a\\b"),
        QStringLiteral("a%2Fb"),
        QStringLiteral("a_b"),
        QStringLiteral("."),
        QStringLiteral(".."),
        QStringLiteral("../escape"),
        QStringLiteral("~tilde"),
        QStringLiteral("{GUID}_User_Иван Петров"),
        QStringLiteral("{GUID}_Desktop_Default"),
        QStringLiteral("line\nbreak"),
    };
    const QDir local(QDir(qEnvironmentVariable("TESSERA_MUTEX_DIR")).filePath("Local"));
    QStringList paths;
    std::vector<NamedMutex> held;
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = NamedMutex::lockFilePath(name);
        const QFileInfo file(path);
        EXPECT_EQ(file.dir(), local);
        EXPECT_EQ(QString::fromUtf8(QByteArray::fromPercentEncoding(QFile::encodeName(file.fileName()))), name);
        EXPECT_FALSE(paths.contains(path));
        paths.append(path);

        held.emplace_back(name);
        EXPECT_EQ(held.back().lastError(), Win32Error::Success);
        EXPECT_TRUE(file.exists());
    }
}

TEST(NamedMutex, LongNamesStayDistinctAndFitAFileName)
{
    const QString stem = QString(300, QChar(0x0416)); // 300 × "Ж", 1800 bytes encoded
    const QString a = stem + QLatin1Char('a');
    const QString b = stem + QLatin1Char('b');
    EXPECT_NE(NamedMutex::lockFilePath(a), NamedMutex::lockFilePath(b));
    EXPECT_LE(QFile::encodeName(QFileInfo(NamedMutex::lockFilePath(a)).fileName()).size(), 255);

    NamedMutex holdA(a);
    EXPECT_EQ(holdA.lastError(), Win32Error::Success);
    EXPECT_EQ(NamedMutex(a).lastError(), Win32Error::AlreadyExists);
    EXPECT_EQ(NamedMutex(b).lastError(), Win32Error::Success);
}

TEST(NamedMutex, ANameHeldByAnotherProcessExistsUntilItExits)
{
    const QString name = QStringLiteral("Global\\{cross-process}");
    Holder holder(name);
    ASSERT_EQ(holder.lastError(), Win32Error::Success);
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::AlreadyExists);
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::AlreadyExists) << "probing must not take the claim over";

    ASSERT_TRUE(holder.release());
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::Success);
}

// Processes that create one name at the same moment: exactly one of them
// finds it new.
TEST(NamedMutex, OfConcurrentCreatorsExactlyOneFindsTheNameNew)
{
    for (int round = 0; round < 8; ++round) {
        const QString name = QStringLiteral("{race %1}").arg(round);
        std::vector<std::unique_ptr<Holder>> holders;
        for (int i = 0; i < 6; ++i) {
            holders.push_back(std::make_unique<Holder>(name, Holder::OnGo));
            ASSERT_TRUE(holders.back()->ready());
        }
        for (const auto &holder : holders)
            holder->go();
        int created = 0;
        for (const auto &holder : holders) {
            EXPECT_TRUE(holder->lastError() == Win32Error::Success || holder->lastError() == Win32Error::AlreadyExists)
                << holder->lastError();
            created += holder->lastError() == Win32Error::Success;
        }
        EXPECT_EQ(created, 1) << "round " << round;
    }
}

TEST(NamedMutex, AKilledHolderReleasesTheName)
{
    const QString name = QStringLiteral("{killed holder}");
    Holder holder(name);
    ASSERT_EQ(holder.lastError(), Win32Error::Success);
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::AlreadyExists);

    ASSERT_TRUE(holder.kill());
    EXPECT_EQ(NamedMutex(name).lastError(), Win32Error::Success);
}

TEST(NamedMutex, AnotherProcessSeesAClaimOfThisProcess)
{
    const QString name = QStringLiteral("{held here}");
    NamedMutex mine(name);
    ASSERT_EQ(mine.lastError(), Win32Error::Success);
    Holder other(name);
    EXPECT_EQ(other.lastError(), Win32Error::AlreadyExists);
}

TEST(NamedMutex, ALockFileThatIsNotOursIsAccessDenied)
{
    const QString name = QStringLiteral("planted");
    const QString path = NamedMutex::lockFilePath(name);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    const QString target = QDir(corvid::test::sandboxDir()).filePath("elsewhere");
    ASSERT_TRUE(QFile::link(target, path));

    NamedMutex mutex(name);
    EXPECT_FALSE(mutex.isValid());
    EXPECT_EQ(mutex.lastError(), Win32Error::AccessDenied);
    EXPECT_FALSE(QFileInfo::exists(target)) << "the link must not be followed";
    QFile::remove(path);
}

TEST(NamedMutex, AnUnreadableLockFileIsAccessDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const QString name = QStringLiteral("unreadable");
    const QString path = NamedMutex::lockFilePath(name);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::WriteOwner));

    NamedMutex mutex(name);
    EXPECT_FALSE(mutex.isValid());
    EXPECT_EQ(mutex.lastError(), Win32Error::AccessDenied);
}

TEST(NamedMutex, AFolderThatCannotBeMadeFailsWithoutAHandle)
{
    const QString notAFolder = QDir(corvid::test::sandboxDir()).filePath("plain-file");
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const ScopedEnvironment dir("TESSERA_MUTEX_DIR", QFile::encodeName(notAFolder));

    NamedMutex mutex(QStringLiteral("App"));
    EXPECT_FALSE(mutex.isValid());
    EXPECT_EQ(mutex.lastError(), Win32Error::PathNotFound);
}
