#include "lib/system/modPrevVersionFinder.h"

#include "lib/system/crvRegistry.h"
#include "tests/platform/RegistryFixture.h"

namespace {

using namespace tessera;

TEST(modPrevVersionFinderTest, VersionsCompareAsNumbersPartByPart)
{
    const struct {
        const char *a;
        const char *b;
        int order;
    } cases[] = {
        {"1.10", "1.9", 1},
        {"2", "2.0", 0},
        {"2.0.0", "2", 0},
        {"0b", "0", 0},
        {"1.0b", "1.1", -1},
        {"1.02", "1.2", 0},
        {"1.2", "1.2.1", -1},
        {"", "0.0", 0},
        {"1..2", "1.0.2", 0},
        {"3.-1", "3.0", 0},
        {"2147483647", "2147483646", 1},
        {"2147483648", "0", 0},
        {"99999999999999999999", "1", -1},
        {"10", "9.99", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const int order = modPrevVersionFinder::CompareVersions(QString::fromLatin1(c.a), QString::fromLatin1(c.b));
        EXPECT_EQ((order > 0) - (order < 0), c.order);
        const int reverse = modPrevVersionFinder::CompareVersions(QString::fromLatin1(c.b), QString::fromLatin1(c.a));
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.order);
    }
}

using modPrevVersionFinderRegistryTest = corvid::test::RegistryFixture;

TEST_F(modPrevVersionFinderRegistryTest, TheNewestOlderVersionKeyIsFoundAsSpelled)
{
    crvRegistry reg;
    const QString app = QStringLiteral("Software\\Sablewing\\Corvid\\Finder");
    EXPECT_EQ(modPrevVersionFinder::FindPreviousVersionKey(reg, HKEY_CURRENT_USER, app, QStringLiteral("1.0")),
              QString());
    for (const char *name : {"Version 0.9", "  VERSION   1.1\t", "version 1.10", "Version 2.0", "Versions 1.5",
                             "Version1.6", "Old Version 1.7"})
        reg.CreateKey(HKEY_CURRENT_USER, app + u'\\' + QLatin1StringView(name));
    EXPECT_EQ(modPrevVersionFinder::FindPreviousVersionKey(reg, HKEY_CURRENT_USER, app, QStringLiteral("1.10")),
              QStringLiteral("  VERSION   1.1\t"));
    EXPECT_EQ(modPrevVersionFinder::FindPreviousVersionKey(reg, HKEY_CURRENT_USER, app, QStringLiteral("1.11")),
              QStringLiteral("version 1.10"));
    EXPECT_EQ(modPrevVersionFinder::FindPreviousVersionKey(reg, HKEY_CURRENT_USER, app, QStringLiteral("0.9")),
              QString());
}

} // namespace
