// Registry::Transaction: writes kept together or dropped together.
#include "platform/Registry.h"
#include "platform/Win32Error.h"
#include "tests/platform/RegistryFixture.h"

#include <thread>

namespace {

using corvid::test::RegistryFixture;
using tessera::HKEY;
using tessera::Registry;
namespace Win32Error = tessera::Win32Error;

using RegistryTransactionTest = RegistryFixture;

const QString Key = QStringLiteral("Software\\Sablewing\\Tx");

// What another thread (with connections of its own) reads of \a name.
std::optional<QByteArray> readElsewhere(const QString &name)
{
    std::optional<QByteArray> result;
    std::thread([&] {
        HKEY key = 0;
        if (Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, Key, Registry::KEY_READ, &key) == 0) {
            QByteArray data;
            quint32 size = 1024;
            if (Registry::RegQueryValueEx(key, name, nullptr, &data, &size) == 0)
                result = data;
            Registry::RegCloseKey(key);
        }
        Registry::closeAllHives();
    }).join();
    return result;
}

TEST_F(RegistryTransactionTest, CommitKeepsEverythingAndOthersSeeNothingBefore)
{
    {
        Registry::Transaction tx;
        const HKEY key = create(Registry::HKEY_CURRENT_USER, Key);
        set(key, QStringLiteral("a"), "1");
        set(create(Registry::HKEY_LOCAL_MACHINE, Key), QStringLiteral("m"), "2");
        EXPECT_EQ(get(key, QStringLiteral("a")), QByteArray("1")); // the thread reads its own writes
        EXPECT_EQ(readElsewhere(QStringLiteral("a")), std::nullopt);
        EXPECT_EQ(tx.commit(), 0);
    }
    EXPECT_EQ(readElsewhere(QStringLiteral("a")), QByteArray("1"));
    EXPECT_EQ(get(open(Registry::HKEY_LOCAL_MACHINE, Key), QStringLiteral("m")), QByteArray("2"));
}

TEST_F(RegistryTransactionTest, AScopeEndedWithoutCommitLeavesNothingAndTheHiveWorksOn)
{
    // The first write ever to these hives lays out their tables inside the
    // scope; the rollback must not take the tables with it.
    {
        Registry::Transaction tx;
        set(create(Registry::HKEY_CURRENT_USER, Key + QStringLiteral("\\Deep")), QStringLiteral("a"), "1");
        set(create(Registry::HKEY_LOCAL_MACHINE, Key), QStringLiteral("m"), "2");
    }
    EXPECT_EQ(open(Registry::HKEY_CURRENT_USER, QStringLiteral("Software")), 0u);
    EXPECT_EQ(open(Registry::HKEY_LOCAL_MACHINE, QStringLiteral("Software")), 0u);

    set(create(Registry::HKEY_CURRENT_USER, Key), QStringLiteral("b"), "3");
    EXPECT_EQ(readElsewhere(QStringLiteral("b")), QByteArray("3"));
}

TEST_F(RegistryTransactionTest, ClosedHivesOrANestedScopeCannotCommit)
{
    {
        Registry::Transaction tx;
        set(create(Registry::HKEY_CURRENT_USER, Key), QStringLiteral("a"), "1");
        Registry::closeAllHives();
        set(create(Registry::HKEY_CURRENT_USER, Key), QStringLiteral("b"), "2");
        EXPECT_EQ(tx.commit(), Win32Error::TransactionNotActive);
    }
    EXPECT_EQ(readElsewhere(QStringLiteral("a")), std::nullopt);
    EXPECT_EQ(readElsewhere(QStringLiteral("b")), std::nullopt);

    Registry::Transaction outer;
    {
        Registry::Transaction inner;
        set(create(Registry::HKEY_CURRENT_USER, Key), QStringLiteral("c"), "3");
        EXPECT_EQ(inner.commit(), Win32Error::TransactionNotActive);
    }
    EXPECT_EQ(readElsewhere(QStringLiteral("c")), std::nullopt);
    EXPECT_EQ(outer.commit(), 0);
    EXPECT_EQ(readElsewhere(QStringLiteral("c")), QByteArray("3"));
}

} // namespace
