#include "lib/system/crvAutorunSupport.h"

#include "lib/system/crvRegistry.h"
#include "support/csSystem.h"
#include "tests/common/ScopedEnvironment.h"
#include "tests/platform/RegistryFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

namespace {

using corvid::test::ScopedEnvironment;
using namespace tessera;

const QString RunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString Guid = QStringLiteral("{9C1E64B0-2F7D-4A3B-8E15-6D0A7F3B5C21}");

// Fresh hives (RegistryFixture) and fresh autostart folders for the user and
// the machine.
class crvAutorunSupportTest : public corvid::test::RegistryFixture
{
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        m_config = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
        m_machine = std::make_unique<ScopedEnvironment>("TESSERA_MACHINE_AUTOSTART_DIR",
                                                        path(QStringLiteral("xdg-autostart")).toUtf8());
    }
    void TearDown() override
    {
        m_machine.reset();
        m_config.reset();
        RegistryFixture::TearDown();
    }

    QString userEntry(const QString &fileName = Guid + QStringLiteral(".desktop")) const
    {
        return path(QStringLiteral("config/autostart/")) + fileName;
    }
    QString machineEntry() const { return path(QStringLiteral("xdg-autostart/")) + Guid + QStringLiteral(".desktop"); }

    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QByteArray execLine(const QString &file)
    {
        for (const QByteArray &line : read(file).split('\n'))
            if (line.startsWith("Exec="))
                return line.mid(5);
        return {};
    }

    // desktop-file-validate's complaints; empty when the entry is valid.
    static QString complaints(const QString &file)
    {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            return QStringLiteral("desktop-file-validate is missing (.ci/install-deps installs desktop-file-utils)");
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(validator, {file});
        if (!process.waitForFinished(30000))
            return QStringLiteral("desktop-file-validate did not finish");
        const QString output = QString::fromUtf8(process.readAll());
        return process.exitCode() == 0 ? output : output + QStringLiteral(" (exit status not 0)");
    }

    static void breakFolder(const char *variable, const QString &regularFile)
    {
        QFile file(regularFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        qputenv(variable, QFile::encodeName(regularFile + QStringLiteral("/below-a-file")));
    }

    crvAutorunSupport autorun;

private:
    std::unique_ptr<ScopedEnvironment> m_config;
    std::unique_ptr<ScopedEnvironment> m_machine;
};

} // namespace

// Add, test, read and delete in both roots: the registry value as designed,
// the autostart entry in step with it.
TEST_F(crvAutorunSupportTest, EntriesComeAndGoInEitherRoot)
{
    EXPECT_TRUE(autorun.ForCurrentUserOnly()) << "the current user's root at first";
    const QString program = cs::csGetEXEModulePrettyFileName();
    for (const bool forUser : {true, false}) {
        SCOPED_TRACE(forUser ? "current user" : "machine");
        autorun.setForCurrentUserOnly(forUser);
        EXPECT_EQ(autorun.ForCurrentUserOnly(), forUser);
        const RegistryRoot_Const root = forUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const RegistryRoot_Const otherRoot = forUser ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        const QString entry = forUser ? userEntry() : machineEntry();

        EXPECT_FALSE(autorun.IsInAutorun(Guid));
        EXPECT_EQ(autorun.GetAutorunString(Guid), QString());
        EXPECT_FALSE(autorun.DeleteFromAutorun(Guid)) << "nothing to delete";

        ASSERT_TRUE(autorun.AddToAutorun(Guid)) << "an empty command line stores the program's own path";
        EXPECT_TRUE(autorun.IsInAutorun(Guid));
        EXPECT_EQ(autorun.GetAutorunString(Guid), program);
        crvRegistry reg;
        EXPECT_EQ(reg.GetValue(root, RunKey, Guid).toString(), program);
        EXPECT_EQ(reg.GetValue(otherRoot, RunKey, Guid).toString(), QString()) << "the other root stays empty";
        EXPECT_EQ(execLine(entry), "\"" + program.toUtf8() + "\"");
        EXPECT_TRUE(read(entry).contains("X-Sablewing-AppGUID=" + Guid.toUtf8()));
        EXPECT_EQ(complaints(entry), QString());

        ASSERT_TRUE(autorun.AddToAutorun(Guid, QStringLiteral("/usr/bin/quillon --tray")));
        EXPECT_EQ(autorun.GetAutorunString(Guid), QStringLiteral("/usr/bin/quillon --tray"));
        EXPECT_EQ(execLine(entry), "\"/usr/bin/quillon\" \"--tray\"");

        EXPECT_TRUE(autorun.DeleteFromAutorun(Guid));
        EXPECT_FALSE(autorun.IsInAutorun(Guid));
        EXPECT_FALSE(QFileInfo::exists(entry));
        EXPECT_FALSE(autorun.DeleteFromAutorun(Guid));
    }
}

// The Exec line starts exactly the stored command line, and every entry
// passes desktop-file-validate.
TEST_F(crvAutorunSupportTest, ExecLinesQuoteEveryArgument)
{
    const QString spaced = path(QStringLiteral("my programs/the app"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(spaced).path()));
    QFile program(spaced);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();

    const struct {
        QString commandLine;
        QByteArray exec;
    } cases[] = {
        {spaced, "\"" + spaced.toUtf8() + "\""},
        {QStringLiteral("\"/opt/My App/quillon\" --tray"), R"("/opt/My App/quillon" "--tray")"},
        {QStringLiteral("  /usr/bin/quillon   50% $HOME  "), R"("/usr/bin/quillon" "50%%" "\\$HOME")"},
        {QStringLiteral(R"(/bin/echo a\b a`b "it's")"), R"("/bin/echo" "a\\\\b" "a\\`b" "it's")"},
        {QStringLiteral("/bin/echo \"\" \"x\"y"), R"("/bin/echo" "" "x" "y")"},
        {QStringLiteral("/usr/bin/Жук ёж"), "\"/usr/bin/Жук\" \"ёж\""},
        {QStringLiteral("/bin/echo \"tab\there\""), R"("/bin/echo" "tab\there")"},
        {QStringLiteral("/bin/echo \"two\nlines\""), R"("/bin/echo" "two\nlines")"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.commandLine.toStdString());
        ASSERT_TRUE(autorun.AddToAutorun(Guid, c.commandLine));
        EXPECT_EQ(autorun.GetAutorunString(Guid), c.commandLine) << "the registry keeps the line as given";
        EXPECT_EQ(execLine(userEntry()), c.exec);
        EXPECT_EQ(complaints(userEntry()), QString());
    }
}

TEST_F(crvAutorunSupportTest, BlankLinesAndEmptyIdentifiersAreNotInAutorun)
{
    ASSERT_TRUE(autorun.AddToAutorun(Guid, QStringLiteral("/usr/bin/quillon")));
    EXPECT_TRUE(autorun.AddToAutorun(Guid, QStringLiteral("  \t ")));
    EXPECT_EQ(autorun.GetAutorunString(Guid), QStringLiteral("  \t "));
    EXPECT_FALSE(autorun.IsInAutorun(Guid)) << "only blanks";
    EXPECT_FALSE(QFileInfo::exists(userEntry())) << "no entry for a line that starts nothing";

    EXPECT_FALSE(autorun.AddToAutorun(QString(), QStringLiteral("/usr/bin/quillon")));
    EXPECT_FALSE(autorun.IsInAutorun(QString()));
    EXPECT_EQ(autorun.GetAutorunString(QString()), QString());
    EXPECT_FALSE(autorun.DeleteFromAutorun(QString()));
    crvRegistry reg;
    EXPECT_EQ(reg.GetValuesNames(HKEY_CURRENT_USER, RunKey)->Count(), 1) << "only the value written above";
    EXPECT_EQ(QDir(path(QStringLiteral("config/autostart"))).entryList(QDir::Files), QStringList());
}

TEST_F(crvAutorunSupportTest, EveryIdentifierGetsAFileOfItsOwn)
{
    const struct {
        QString guid;
        QString fileName;
    } cases[] = {
        {QStringLiteral("a/b c%"), QStringLiteral("a%2Fb%20c%25.desktop")},
        {QStringLiteral(".."), QStringLiteral("...desktop")},
        {QStringLiteral("Квиллон"), QStringLiteral("%D0%9A%D0%B2%D0%B8%D0%BB%D0%BB%D0%BE%D0%BD.desktop")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fileName.toStdString());
        ASSERT_TRUE(autorun.AddToAutorun(c.guid, QStringLiteral("/usr/bin/quillon")));
        EXPECT_TRUE(QFileInfo::exists(userEntry(c.fileName)));
        EXPECT_EQ(complaints(userEntry(c.fileName)), QString());
        EXPECT_TRUE(autorun.DeleteFromAutorun(c.guid));
        EXPECT_FALSE(QFileInfo::exists(userEntry(c.fileName)));
    }
}

// A change that cannot be made whole leaves both halves as they were.
TEST_F(crvAutorunSupportTest, FailuresLeaveRegistryAndEntryInStep)
{
    autorun.setForCurrentUserOnly(false);
    ASSERT_TRUE(autorun.AddToAutorun(Guid, QStringLiteral("/usr/bin/quillon --old")));
    const QByteArray before = read(machineEntry());
    ASSERT_FALSE(before.isEmpty());

    {
        SCOPED_TRACE("no right to the machine's hive");
        const ScopedEnvironment saved("TESSERA_MACHINE_HIVE_DIR", qgetenv("TESSERA_MACHINE_HIVE_DIR"));
        breakFolder("TESSERA_MACHINE_HIVE_DIR", path(QStringLiteral("hive-blocker")));
        Registry::closeAllHives();
        EXPECT_FALSE(autorun.AddToAutorun(Guid, QStringLiteral("/usr/bin/quillon --new")));
        EXPECT_EQ(read(machineEntry()), before) << "the entry is put back";
        Registry::closeAllHives();
    }
    EXPECT_EQ(autorun.GetAutorunString(Guid), QStringLiteral("/usr/bin/quillon --old"));

    {
        SCOPED_TRACE("no right to the machine's autostart folder");
        const ScopedEnvironment saved("TESSERA_MACHINE_AUTOSTART_DIR", qgetenv("TESSERA_MACHINE_AUTOSTART_DIR"));
        breakFolder("TESSERA_MACHINE_AUTOSTART_DIR", path(QStringLiteral("folder-blocker")));
        EXPECT_FALSE(autorun.AddToAutorun(QStringLiteral("{other}"), QStringLiteral("/usr/bin/quillon")));
        EXPECT_FALSE(autorun.IsInAutorun(QStringLiteral("{other}"))) << "no value without its entry";
    }

    {
        SCOPED_TRACE("an entry that cannot be removed");
        ASSERT_TRUE(QFile::remove(machineEntry()));
        ASSERT_TRUE(QDir().mkpath(machineEntry() + QStringLiteral("/in-the-way")));
        EXPECT_FALSE(autorun.DeleteFromAutorun(Guid));
        EXPECT_TRUE(autorun.IsInAutorun(Guid)) << "the value stays with its entry";
        ASSERT_TRUE(QDir(machineEntry()).removeRecursively());
    }

    {
        SCOPED_TRACE("a stray entry without a value");
        crvRegistry reg;
        ASSERT_TRUE(reg.DeleteValue(HKEY_LOCAL_MACHINE, RunKey, Guid));
        QFile stray(machineEntry());
        ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
        stray.write(before);
        stray.close();
        EXPECT_FALSE(autorun.DeleteFromAutorun(Guid)) << "there was no value to delete";
        EXPECT_FALSE(QFileInfo::exists(machineEntry())) << "but the stray entry is gone";
    }
}

TEST_F(crvAutorunSupportTest, TheApplicationObjectIsOnePerThread)
{
    crvAutorunSupport &global = crvAutorunSupport::global();
    EXPECT_EQ(&global, &crvAutorunSupport::global());
    ASSERT_TRUE(global.AddToAutorun(Guid, QStringLiteral("/usr/bin/quillon")));
    EXPECT_TRUE(autorun.IsInAutorun(Guid)) << "the same registry for every object";
    EXPECT_TRUE(global.DeleteFromAutorun(Guid));
}
