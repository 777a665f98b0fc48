#include "support/csHostOS.h"

#include <gtest/gtest.h>

using namespace cs;

namespace {

struct HostCase {
    const char *label;
    const char *osRelease;
    const char *fullName;
    const char *shortName;
};

HostOSFacts kernel(const char *osRelease)
{
    return {QByteArray(osRelease), QStringLiteral("Linux"), QStringLiteral("6.1.0-18-amd64"), QStringLiteral("x86_64")};
}

} // namespace

TEST(csHostOS, NamesFromOsReleaseAndKernel)
{
    const HostCase cases[] = {
        {"no os-release: kernel only", "", "Linux 6.1.0-18-amd64 x86_64", "Linux 6.1.0-18-amd64"},
        {"quoted fields, comments and blank lines",
         "# comment\n\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n",
         "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64 x86_64", "Debian GNU/Linux 12"},
        {"unquoted and single-quoted", "NAME=Arch\nVERSION='rolling'\nVERSION_ID='rolling'\n",
         "Arch rolling, Linux 6.1.0-18-amd64 x86_64", "Arch rolling"},
        {"escapes inside double quotes", "PRETTY_NAME=\"A \\\"B\\\" \\\\ C\"\n",
         "A \"B\" \\ C, Linux 6.1.0-18-amd64 x86_64", "Linux 6.1.0-18-amd64"},
        // The short name goes inside a User-Agent comment: no parentheses,
        // no backslash, no control or non-ASCII characters.
        {"hostile name for the user agent", "NAME=\"Evil) \\\\\\r\\nX: y (\xc3\xa9\"\nVERSION_ID=1\n", nullptr,
         "Evil rnX: y 1"},
        {"lines without '=' or with an empty key are ignored", "garbage\n=x\nNAME=Ok\n",
         "Ok, Linux 6.1.0-18-amd64 x86_64", "Ok"},
    };
    for (const HostCase &c : cases) {
        SCOPED_TRACE(c.label);
        const HostOSFacts facts = kernel(c.osRelease);
        EXPECT_EQ(csHostOSShortNameFrom(facts).toStdString(), c.shortName);
        if (c.fullName) {
            EXPECT_EQ(csHostOSFullNameFrom(facts).toStdString(), c.fullName);
        }
    }
}

TEST(csHostOS, MachineAnswersAreNeverEmptyAndFitAComment)
{
    EXPECT_FALSE(csGetHostOSFullName().isEmpty());
    const QString shortName = csGetHostOSShortName();
    ASSERT_FALSE(shortName.isEmpty());
    for (const QChar c : shortName)
        EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u'(' && c != u')') << shortName.toStdString();
}
