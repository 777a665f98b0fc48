#include "platform/Registry.h"
#include "platform/Win32Error.h"
#include "tests/platform/RegistryFixture.h"

namespace {

using corvid::test::RegistryFixture;
using tessera::HKEY;
using tessera::Registry;
namespace Win32Error = tessera::Win32Error;

// HKEY_CLASSES_ROOT over Software\Classes of the user's and the machine's hive.
class RegistryClassesRootTest : public RegistryFixture
{
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        userClasses = create(Registry::HKEY_CURRENT_USER, QStringLiteral("Software\\Classes"));
        machineClasses = create(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Classes"));
        set(create(userClasses, QStringLiteral(".Both")), QString(), "user");
        set(create(machineClasses, QStringLiteral(".both")), QString(), "machine");
        set(create(machineClasses, QStringLiteral(".both")), QStringLiteral("MachineOnly"), "hidden");
        create(machineClasses, QStringLiteral(".both\\MachineChild"));
        create(userClasses, QStringLiteral(".both\\UserChild"));
        set(create(machineClasses, QStringLiteral(".machine")), QString(), "m");
        create(userClasses, QStringLiteral(".user"));
    }

    HKEY userClasses = 0;
    HKEY machineClasses = 0;
};

TEST_F(RegistryClassesRootTest, ReadsTheUsersCopyBeforeTheMachines)
{
    const HKEY both = open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".BOTH"), Registry::KEY_READ);
    ASSERT_NE(both, 0u);
    EXPECT_EQ(get(both, QString()), QByteArray("user"));
    // Values come from the user's copy alone; the machine's copy is hidden.
    EXPECT_EQ(get(both, QStringLiteral("MachineOnly")), std::nullopt);
    EXPECT_EQ(valueNames(both), QStringList {QString()});

    EXPECT_EQ(get(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".machine")), QString()), QByteArray("m"));
    EXPECT_EQ(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".none")), 0u);
}

TEST_F(RegistryClassesRootTest, SubKeysAreMergedWithTheUsersSpelling)
{
    EXPECT_EQ(subKeys(Registry::HKEY_CLASSES_ROOT), (QStringList {".Both", ".machine", ".user"}));
    const HKEY both = open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".both"), Registry::KEY_READ);
    EXPECT_EQ(subKeys(both), (QStringList {"MachineChild", "UserChild"}));
    quint32 subKeyCount = 0;
    quint32 longest = 0;
    quint32 values = 0;
    ASSERT_EQ(Registry::RegQueryInfoKey(Registry::HKEY_CLASSES_ROOT, &subKeyCount, &longest, &values, nullptr), 0);
    EXPECT_EQ(subKeyCount, 3u);
    EXPECT_EQ(longest, 8u);
    EXPECT_EQ(values, 0u);
}

TEST_F(RegistryClassesRootTest, ValuesGoToTheCopyTheyAreReadFromAndNewKeysToTheMachine)
{
    set(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".both")), QStringLiteral("Written"), "w");
    EXPECT_EQ(get(open(userClasses, QStringLiteral(".both")), QStringLiteral("Written")), QByteArray("w"));
    EXPECT_EQ(get(open(machineClasses, QStringLiteral(".both")), QStringLiteral("Written")), std::nullopt);

    set(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".machine")), QStringLiteral("Written"), "m");
    EXPECT_EQ(get(open(machineClasses, QStringLiteral(".machine")), QStringLiteral("Written")), QByteArray("m"));

    HKEY created = 0;
    quint32 disposition = 0;
    ASSERT_EQ(Registry::RegCreateKeyEx(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".user\\Shell\\Open"),
                                       Registry::KEY_ALL_ACCESS, &created, &disposition),
              0);
    EXPECT_EQ(disposition, Registry::REG_CREATED_NEW_KEY);
    set(created, QString(), "open");
    Registry::RegCloseKey(created);
    EXPECT_EQ(open(userClasses, QStringLiteral(".user\\Shell")), 0u);
    EXPECT_EQ(get(open(machineClasses, QStringLiteral(".user\\shell\\open")), QString()), QByteArray("open"));
    EXPECT_EQ(subKeys(open(machineClasses, QString())), (QStringList {".both", ".machine", ".user"}));
}

TEST_F(RegistryClassesRootTest, DeletingRemovesTheUsersCopyFirst)
{
    ASSERT_EQ(Registry::SHDeleteKey(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".both")), 0);
    EXPECT_EQ(open(userClasses, QStringLiteral(".both")), 0u);
    EXPECT_EQ(get(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".both")), QString()), QByteArray("machine"));
    ASSERT_EQ(Registry::SHDeleteKey(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".both")), 0);
    EXPECT_EQ(open(Registry::HKEY_CLASSES_ROOT, QStringLiteral(".both")), 0u);
    EXPECT_EQ(Registry::SHDeleteKey(Registry::HKEY_CLASSES_ROOT, QString()), Win32Error::AccessDenied);
}

} // namespace
