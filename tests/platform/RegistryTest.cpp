#include "platform/Registry.h"

#include "platform/Win32Error.h"
#include "tests/platform/RegistryFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using corvid::test::RegistryFixture;
using tessera::HKEY;
using tessera::Registry;
namespace Win32Error = tessera::Win32Error;

using RegistryTest = RegistryFixture;

TEST_F(RegistryTest, CreateReportsWhetherTheKeyIsNewAndKeepsTheFirstSpelling)
{
    HKEY key = 0;
    quint32 disposition = 0;
    ASSERT_EQ(Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Sablewing\\Test"),
                                       Registry::KEY_ALL_ACCESS, &key, &disposition),
              0);
    EXPECT_EQ(disposition, Registry::REG_CREATED_NEW_KEY);
    EXPECT_EQ(Registry::RegCloseKey(key), 0);

    ASSERT_EQ(Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\sablewing\\TEST"),
                                       Registry::KEY_ALL_ACCESS, &key, &disposition),
              0);
    EXPECT_EQ(disposition, Registry::REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(Registry::RegCloseKey(key), 0);

    // A deeper path under an existing key: only the last part is new.
    ASSERT_EQ(Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("software\\SABLEWING\\test\\Deeper"),
                                       Registry::KEY_READ, &key, &disposition),
              0);
    EXPECT_EQ(disposition, Registry::REG_CREATED_NEW_KEY);
    EXPECT_EQ(Registry::RegCloseKey(key), 0);

    EXPECT_EQ(subKeys(open(Registry::HKEY_CURRENT_USER, QString())), QStringList {QStringLiteral("Software")});
    EXPECT_EQ(subKeys(open(Registry::HKEY_CURRENT_USER, QStringLiteral("software\\sablewing"))),
              QStringList {QStringLiteral("Test")});
}

TEST_F(RegistryTest, NamesCompareWithUnicodeCaseFolding)
{
    const HKEY created = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Ключ\\ΣΊΣΥΦΟΣ\\Straße"));
    set(created, QStringLiteral("Имя"), "first");

    const HKEY key = open(Registry::HKEY_CURRENT_USER, QStringLiteral("КЛЮЧ\\σίσυφος\\STRAẞE"));
    ASSERT_NE(key, 0u);
    EXPECT_EQ(get(key, QStringLiteral("ИМЯ")), QByteArray("first"));

    // Writing through another spelling replaces the value and keeps its name.
    set(key, QStringLiteral("имя"), "second");
    EXPECT_EQ(valueNames(key), QStringList {QStringLiteral("Имя")});
    EXPECT_EQ(get(created, QStringLiteral("Имя")), QByteArray("second"));

    // Full case mapping is not folding: "STRASSE" is another name than "Straße".
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("ключ\\σίσυφος\\STRASSE")), 0u);
}

TEST_F(RegistryTest, QueryValueProbesTheSizeAndRefusesASmallBuffer)
{
    const HKEY key = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Values"));
    set(key, QStringLiteral("Text"), QByteArray("hello\0", 6), Registry::REG_SZ);

    quint32 type = 0;
    quint32 size = 0;
    ASSERT_EQ(Registry::RegQueryValueEx(key, QStringLiteral("Text"), &type, nullptr, &size), 0);
    EXPECT_EQ(type, Registry::REG_SZ);
    EXPECT_EQ(size, 6u);

    QByteArray data("untouched");
    size = 3;
    EXPECT_EQ(Registry::RegQueryValueEx(key, QStringLiteral("Text"), &type, &data, &size), Win32Error::MoreData);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(data, QByteArray("untouched"));

    size = 100;
    ASSERT_EQ(Registry::RegQueryValueEx(key, QStringLiteral("Text"), &type, &data, &size), 0);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(data, QByteArray("hello\0", 6));

    EXPECT_EQ(Registry::RegQueryValueEx(key, QStringLiteral("Text"), &type, &data, nullptr),
              Win32Error::InvalidParameter);
}

TEST_F(RegistryTest, DataAndTypesComeBackExactly)
{
    const HKEY key = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Types"));
    const struct {
        const char *name;
        quint32 type;
        QByteArray data;
    } cases[] = {
        {"dword", Registry::REG_DWORD, QByteArray("\x05\x00\x00\x00", 4)},
        {"binary", Registry::REG_BINARY, QByteArray("\x00\xff\x00\x80", 4)},
        {"empty", Registry::REG_BINARY, QByteArray()},
        {"", Registry::REG_SZ, QByteArray("default\0", 8)},
        {"odd type", 0x1234, QByteArray("x")},
        {"big", Registry::REG_BINARY, QByteArray(1 << 20, '\x5a')},
    };
    for (const auto &c : cases)
        set(key, QString::fromLatin1(c.name), c.data, c.type);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        quint32 type = 0;
        quint32 size = quint32(c.data.size());
        QByteArray data("not read");
        ASSERT_EQ(Registry::RegQueryValueEx(key, QString::fromLatin1(c.name), &type, &data, &size), 0);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(data, c.data);
        EXPECT_EQ(size, quint32(c.data.size()));
    }
}

TEST_F(RegistryTest, MissingKeysValuesAndBadHandlesGiveTheirCodes)
{
    HKEY key = 0;
    EXPECT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Missing"),
                                     Registry::KEY_READ, &key),
              Win32Error::FileNotFound);
    EXPECT_EQ(key, 0u);

    const HKEY existing = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\There"));
    quint32 size = 0;
    EXPECT_EQ(Registry::RegQueryValueEx(existing, QStringLiteral("none"), nullptr, nullptr, &size),
              Win32Error::FileNotFound);
    EXPECT_EQ(Registry::RegDeleteValue(existing, QStringLiteral("none")), Win32Error::FileNotFound);

    EXPECT_EQ(Registry::RegSetValueEx(0x1234, QStringLiteral("v"), Registry::REG_SZ, "x"), Win32Error::InvalidHandle);
    EXPECT_EQ(Registry::RegCloseKey(0x1234), Win32Error::InvalidHandle);

    ASSERT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\There"), Registry::KEY_READ,
                                     &key),
              0);
    EXPECT_EQ(Registry::RegCloseKey(key), 0);
    EXPECT_EQ(Registry::RegCloseKey(key), Win32Error::InvalidHandle);
    EXPECT_EQ(Registry::RegQueryValueEx(key, QStringLiteral("v"), nullptr, nullptr, &size), Win32Error::InvalidHandle);

    for (HKEY root : {Registry::HKEY_USERS, Registry::HKEY_PERFORMANCE_DATA, Registry::HKEY_CURRENT_CONFIG,
                      Registry::HKEY_DYN_DATA}) {
        SCOPED_TRACE(root);
        EXPECT_EQ(Registry::RegOpenKeyEx(root, QString(), Registry::KEY_READ, &key), Win32Error::InvalidHandle);
        EXPECT_EQ(Registry::RegCreateKeyEx(root, QStringLiteral("X"), Registry::KEY_ALL_ACCESS, &key),
                  Win32Error::InvalidHandle);
        EXPECT_EQ(Registry::RegCloseKey(root), 0);
    }
    EXPECT_EQ(
        Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software"), Registry::KEY_READ, nullptr),
        Win32Error::InvalidParameter);
}

TEST_F(RegistryTest, KeyPathsFollowTheBackslashRules)
{
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Paths"));
    const struct {
        const char *path;
        qint32 expected;
    } cases[] = {
        {"Software\\Paths", 0},
        {"Software\\Paths\\", 0},
        {"Software\\Paths\\\\", 0},
        {"\\Software\\Paths", Win32Error::BadPathname},
        {"Software\\\\Paths", Win32Error::BadPathname},
        {"Software\\Paths\\Missing", Win32Error::FileNotFound},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        HKEY key = 0;
        EXPECT_EQ(
            Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QString::fromLatin1(c.path), Registry::KEY_READ, &key),
            c.expected);
        Registry::RegCloseKey(key);
    }
    HKEY key = 0;
    EXPECT_EQ(
        Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("\\Lead"), Registry::KEY_ALL_ACCESS, &key),
        Win32Error::BadPathname);
    EXPECT_EQ(
        Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("A\\\\B"), Registry::KEY_ALL_ACCESS, &key),
        Win32Error::BadPathname);
    EXPECT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("A"), Registry::KEY_READ, &key),
              Win32Error::FileNotFound);

    // A value name is not a path: backslashes are part of it.
    const HKEY paths = open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Paths"));
    set(paths, QStringLiteral("a\\b"), "slash");
    EXPECT_EQ(get(paths, QStringLiteral("A\\B")), QByteArray("slash"));
}

TEST_F(RegistryTest, HandlesAllowOnlyTheRightsTheyWereOpenedWith)
{
    const HKEY full = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Rights"));
    set(full, QStringLiteral("v"), "1");
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Rights\\Child"));

    const HKEY reader = open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Rights"), Registry::KEY_READ);
    ASSERT_NE(reader, 0u);
    EXPECT_EQ(get(reader, QStringLiteral("v")), QByteArray("1"));
    EXPECT_EQ(Registry::RegSetValueEx(reader, QStringLiteral("v"), Registry::REG_SZ, "2"), Win32Error::AccessDenied);
    EXPECT_EQ(Registry::RegDeleteValue(reader, QStringLiteral("v")), Win32Error::AccessDenied);
    HKEY child = 0;
    EXPECT_EQ(Registry::RegCreateKeyEx(reader, QStringLiteral("New"), Registry::KEY_ALL_ACCESS, &child),
              Win32Error::AccessDenied);
    // Opening an existing sub-key needs no right on the parent.
    EXPECT_EQ(Registry::RegCreateKeyEx(reader, QStringLiteral("Child"), Registry::KEY_READ, &child), 0);
    EXPECT_EQ(Registry::RegCloseKey(child), 0);

    const HKEY writer = open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Rights"), Registry::KEY_SET_VALUE);
    ASSERT_NE(writer, 0u);
    EXPECT_EQ(Registry::RegSetValueEx(writer, QStringLiteral("v"), Registry::REG_SZ, "2"), 0);
    quint32 size = 0;
    EXPECT_EQ(Registry::RegQueryValueEx(writer, QStringLiteral("v"), nullptr, nullptr, &size),
              Win32Error::AccessDenied);
    QString name;
    EXPECT_EQ(Registry::RegEnumKey(writer, 0, &name), Win32Error::AccessDenied);
    EXPECT_EQ(Registry::RegEnumValue(writer, 0, &name), Win32Error::AccessDenied);
    EXPECT_EQ(Registry::RegQueryInfoKey(writer, nullptr, nullptr, nullptr, nullptr), Win32Error::AccessDenied);

    const HKEY enumerator
        = open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Rights"), Registry::KEY_ENUMERATE_SUB_KEYS);
    EXPECT_EQ(Registry::RegEnumKey(enumerator, 0, &name), 0);
    EXPECT_EQ(name, QStringLiteral("Child"));
    EXPECT_EQ(Registry::RegEnumValue(enumerator, 0, &name), Win32Error::AccessDenied);
}

TEST_F(RegistryTest, SubKeysEnumerateByNameAndValuesByCreation)
{
    const HKEY key = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Order"));
    for (const char *name : {"b", "A_B", "AB", "a", "C", "ä"})
        create(key, QString::fromUtf8(name));
    // Upper-cased order: "AB" comes before "A_B" because 'B' < '_'.
    EXPECT_EQ(subKeys(key), (QStringList {"a", "AB", "A_B", "b", "C", QStringLiteral("ä")}));

    for (const char *name : {"z", "a", "m"})
        set(key, QString::fromLatin1(name), name);
    set(key, QStringLiteral("A"), "overwritten");
    EXPECT_EQ(valueNames(key), (QStringList {"z", "a", "m"}));
    ASSERT_EQ(Registry::RegDeleteValue(key, QStringLiteral("Z")), 0);
    set(key, QStringLiteral("Z"), "again");
    EXPECT_EQ(valueNames(key), (QStringList {"a", "m", "Z"}));

    QString name;
    quint32 type = 0;
    QByteArray data;
    ASSERT_EQ(Registry::RegEnumValue(key, 0, &name, &type, &data), 0);
    EXPECT_EQ(data, QByteArray("overwritten"));
    EXPECT_EQ(Registry::RegEnumValue(key, 3, &name), Win32Error::NoMoreItems);
    EXPECT_EQ(Registry::RegEnumKey(key, 6, &name), Win32Error::NoMoreItems);
}

TEST_F(RegistryTest, QueryInfoCountsAndMeasuresEntries)
{
    const HKEY key = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Info"));
    quint32 subKeyCount = 99, longestKey = 99, valueCount = 99, longestName = 99, longestData = 99;
    ASSERT_EQ(Registry::RegQueryInfoKey(key, &subKeyCount, &longestKey, &valueCount, &longestName, &longestData), 0);
    EXPECT_EQ(subKeyCount + longestKey + valueCount + longestName + longestData, 0u);

    create(key, QStringLiteral("Short"));
    create(key, QStringLiteral("Somewhat longer"));
    create(key, QStringLiteral("Short\\Grandchild with the longest name"));
    set(key, QStringLiteral("v"), QByteArray(300, 'x'));
    set(key, QStringLiteral("Version 1.10"), "1");
    ASSERT_EQ(Registry::RegQueryInfoKey(key, &subKeyCount, &longestKey, &valueCount, &longestName, &longestData), 0);
    EXPECT_EQ(subKeyCount, 2u);
    EXPECT_EQ(longestKey, 15u);
    EXPECT_EQ(valueCount, 2u);
    EXPECT_EQ(longestName, 12u);
    EXPECT_EQ(longestData, 300u);
}

TEST_F(RegistryTest, DeletingKeys)
{
    const HKEY withValue = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithValue"));
    set(withValue, QStringLiteral("v"), "1");
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithChild\\Child"));
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\Empty"));

    EXPECT_EQ(Registry::SHDeleteEmptyKey(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithValue")),
              Win32Error::KeyHasChildren);
    EXPECT_EQ(Registry::SHDeleteEmptyKey(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithChild")),
              Win32Error::KeyHasChildren);
    EXPECT_EQ(get(withValue, QStringLiteral("v")), QByteArray("1"));
    EXPECT_EQ(Registry::SHDeleteEmptyKey(Registry::HKEY_CURRENT_USER, QStringLiteral("software\\del\\EMPTY")), 0);
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\Empty")), 0u);
    EXPECT_EQ(Registry::SHDeleteEmptyKey(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\Empty")),
              Win32Error::FileNotFound);

    // The tree goes with everything below it; a sibling sharing the prefix stays.
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithChild2"));
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithChild b"));
    EXPECT_EQ(Registry::SHDeleteKey(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithChild")), 0);
    EXPECT_EQ(subKeys(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del"))),
              (QStringList {"WithChild b", "WithChild2", "WithValue"}));
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithChild\\Child")), 0u);

    // A handle to a deleted key answers that its key is gone, even after a
    // key of the same name is made again.
    EXPECT_EQ(Registry::SHDeleteKey(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithValue")), 0);
    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\WithValue"));
    quint32 size = 0;
    EXPECT_EQ(Registry::RegQueryValueEx(withValue, QStringLiteral("v"), nullptr, nullptr, &size),
              Win32Error::KeyDeleted);
    EXPECT_EQ(Registry::RegSetValueEx(withValue, QStringLiteral("v"), Registry::REG_SZ, "x"), Win32Error::KeyDeleted);
    QString name;
    EXPECT_EQ(Registry::RegEnumValue(withValue, 0, &name), Win32Error::KeyDeleted);

    EXPECT_EQ(Registry::SHDeleteKey(Registry::HKEY_CURRENT_USER, QString()), Win32Error::AccessDenied);
    EXPECT_EQ(Registry::SHDeleteKey(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Del\\Nothing")),
              Win32Error::FileNotFound);
}

TEST_F(RegistryTest, AMissingHiveReadsAsEmptyAndTheFirstWriteCreatesIt)
{
    HKEY key = 0;
    EXPECT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software"), Registry::KEY_READ, &key),
              Win32Error::FileNotFound);
    QString name;
    EXPECT_EQ(Registry::RegEnumKey(Registry::HKEY_CURRENT_USER, 0, &name), Win32Error::NoMoreItems);
    quint32 count = 9;
    EXPECT_EQ(Registry::RegQueryInfoKey(Registry::HKEY_CURRENT_USER, &count, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(QFileInfo::exists(userDir())) << "reading must not create the hive";

    create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software"));
    EXPECT_TRUE(QFileInfo::exists(userDir() + QStringLiteral("/user.hive")));
    EXPECT_FALSE(QFileInfo::exists(machineDir()));
}

TEST_F(RegistryTest, AMachineHiveThatCannotBeCreatedRefusesWritesOnly)
{
    // A folder below a plain file cannot be made, not even by root.
    QFile blocker(path(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    pointHivesAt(userDir(), path(QStringLiteral("blocker/registry")));

    HKEY key = 0;
    EXPECT_EQ(Registry::RegCreateKeyEx(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Run"),
                                       Registry::KEY_ALL_ACCESS, &key),
              Win32Error::AccessDenied);
    EXPECT_EQ(Registry::RegSetValueEx(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("v"), Registry::REG_SZ, "x"),
              Win32Error::AccessDenied);
    EXPECT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_LOCAL_MACHINE, QString(), Registry::KEY_WRITE, &key),
              Win32Error::AccessDenied);
    EXPECT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_LOCAL_MACHINE, QString(), Registry::KEY_READ, &key), 0);
    EXPECT_EQ(Registry::RegCloseKey(key), 0);
    EXPECT_EQ(
        Registry::RegOpenKeyEx(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software"), Registry::KEY_READ, &key),
        Win32Error::FileNotFound);

    // The user's hive is not affected.
    EXPECT_NE(create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Run")), 0u);
}

TEST_F(RegistryTest, AReadOnlyMachineHiveIsStillRead)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const HKEY key = create(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Shared"));
    set(key, QStringLiteral("v"), "machine");
    Registry::closeAllHives();
    const QDir dir(machineDir());
    const auto setFolderWritable = [&](bool writable) {
        ASSERT_TRUE(QFile::setPermissions(machineDir(),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                              | (writable ? QFileDevice::WriteOwner : QFileDevice::Permissions())));
    };

    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(machineDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });

    // First as written (the WAL files kept beside the hive), then with only
    // the main file left, as after a copy or a clean-up.
    for (bool withWalFiles : {true, false}) {
        SCOPED_TRACE(withWalFiles ? "with WAL files" : "main file only");
        setFolderWritable(true);
        if (!withWalFiles) {
            ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("machine.hive-wal"))));
            ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("machine.hive-shm"))));
        }
        for (const QString &file : dir.entryList(QDir::Files))
            ASSERT_TRUE(QFile::setPermissions(dir.filePath(file), QFileDevice::ReadOwner | QFileDevice::ReadOther));
        setFolderWritable(false);
        Registry::closeAllHives();

        HKEY reader = 0;
        ASSERT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Shared"),
                                         Registry::KEY_READ, &reader),
                  0);
        EXPECT_EQ(get(reader, QStringLiteral("v")), QByteArray("machine"));
        Registry::RegCloseKey(reader);
        HKEY writer = 0;
        EXPECT_EQ(Registry::RegOpenKeyEx(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Shared"),
                                         Registry::KEY_SET_VALUE, &writer),
                  Win32Error::AccessDenied);
        EXPECT_EQ(Registry::RegSetValueEx(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("v"), Registry::REG_SZ, "x"),
                  Win32Error::AccessDenied);
        Registry::closeAllHives();
    }
}

// The permission bits of \a path in octal; "missing" when it does not exist.
std::string modeOf(const QString &path)
{
    struct stat info {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return "missing";
    return QByteArray::number(info.st_mode & 07777, 8).toStdString();
}

TEST_F(RegistryTest, TheUsersHiveIsPrivateAndTheMachinesReadableByAll)
{
    const mode_t savedMask = ::umask(022);
    const auto restoreMask = qScopeGuard([&] { ::umask(savedMask); });
    const QStringList suffixes = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};
    const auto expectModes = [&](const QString &folder, const QString &hive, int folderMode, int fileMode) {
        EXPECT_EQ(modeOf(folder), QByteArray::number(folderMode, 8).toStdString()) << qPrintable(folder);
        for (const QString &suffix : suffixes) {
            EXPECT_EQ(modeOf(folder + u'/' + hive + suffix), QByteArray::number(fileMode, 8).toStdString())
                << qPrintable(hive + suffix);
        }
    };
    const auto loosen = [&](const QString &folder, const QString &hive, int fileMode) {
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        for (const QString &suffix : suffixes)
            ASSERT_EQ(::chmod(QFile::encodeName(folder + u'/' + hive + suffix).constData(), mode_t(fileMode)), 0);
    };

    // Made new, whatever the umask: the proxy password lives in the user's hive.
    set(create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Private")), QStringLiteral("v"), "secret");
    expectModes(userDir(), QStringLiteral("user.hive"), 0700, 0600);

    // Made by an earlier version or copied in: tightened when next opened,
    // never loosened (an owner-only read-only file stays read-only).
    for (const int loose : {0644, 0444}) {
        SCOPED_TRACE(loose);
        Registry::closeAllHives();
        loosen(userDir(), QStringLiteral("user.hive"), loose);
        EXPECT_NE(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Private"), Registry::KEY_READ), 0u);
        expectModes(userDir(), QStringLiteral("user.hive"), 0700, loose & 0700);
        ASSERT_EQ(::chmod(QFile::encodeName(userDir() + QStringLiteral("/user.hive")).constData(), 0600), 0);
    }

    // Every user reads the machine's hive and none but its owner writes it,
    // whatever the umask of the one who made it.
    for (const mode_t mask : {077, 0}) {
        SCOPED_TRACE(mask);
        ::umask(mask);
        const QString machine = path(QStringLiteral("machine-%1").arg(mask));
        pointHivesAt(userDir(), machine);
        set(create(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Shared")), QStringLiteral("v"), "all");
        expectModes(machine, QStringLiteral("machine.hive"), 0755, 0644);
    }
}

TEST_F(RegistryTest, AHiveFileThatIsNotADatabaseIsAFailureNotAnEmptyHive)
{
    ASSERT_TRUE(QDir().mkpath(userDir()));
    QFile garbage(userDir() + QStringLiteral("/user.hive"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, '\x7f'));
    garbage.close();

    HKEY key = 0;
    const qint32 opened
        = Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, QStringLiteral("Software"), Registry::KEY_READ, &key);
    EXPECT_NE(opened, 0);
    EXPECT_NE(opened, Win32Error::FileNotFound);
    const qint32 written
        = Registry::RegSetValueEx(Registry::HKEY_CURRENT_USER, QStringLiteral("v"), Registry::REG_SZ, "x");
    EXPECT_EQ(written, Win32Error::RegistryCorrupt);
}

TEST_F(RegistryTest, TheEnvironmentIsReadAgainAfterClosingTheHives)
{
    set(create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Env")), QStringLiteral("v"), "first");
    const QString first = userDir();
    pointHivesAt(path(QStringLiteral("other")), machineDir());
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Env")), 0u);
    pointHivesAt(first, machineDir());
    EXPECT_EQ(get(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Env")), QStringLiteral("v")),
              QByteArray("first"));
}

TEST_F(RegistryTest, HandlesWorkAcrossThreadsAndThreadsWriteTogether)
{
    const HKEY key = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Threads"));
    constexpr int Threads = 4;
    constexpr int PerThread = 100;
    std::vector<std::thread> threads;
    std::atomic<int> failures = 0;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < PerThread; ++i) {
                const QString name = QStringLiteral("t%1-%2").arg(t).arg(i);
                if (Registry::RegSetValueEx(key, name, Registry::REG_SZ, name.toUtf8()) != 0)
                    ++failures;
            }
            Registry::closeAllHives();
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    quint32 values = 0;
    ASSERT_EQ(Registry::RegQueryInfoKey(key, nullptr, nullptr, &values, nullptr), 0);
    EXPECT_EQ(values, quint32(Threads * PerThread));
    EXPECT_EQ(get(key, QStringLiteral("T3-99")), QByteArray("t3-99"));
}

} // namespace
