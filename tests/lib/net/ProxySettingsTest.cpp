// ProxySettings: its values, the bypass text it builds, the scrambled
// password and the round trip through the settings store.
#include "lib/net/ProxySettings.h"

#include "lib/net/ProxyRules_p.h"
#include "lib/net/modPasswordCryptor.h"
#include "lib/system/crvRegistry.h"
#include "platform/CodePage.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/system/SettingsTestSupport.h"
#include "tests/platform/RegistryFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace tessera;
using corvid::test::raisedNumber;
using modPasswordCryptor::ScramblePassword;
using modPasswordCryptor::UnscramblePassword;

TEST(ProxySettingsTest, AccessTypeAndTheBypassText)
{
    ProxySettings proxy;
    EXPECT_EQ(proxy.HTTP_AccessType(), psatPreconfigByIE);
    for (const auto &[written, stored] : {std::pair {3, 3}, {1, 1}, {2, 0}, {4, 0}, {-1, 0}, {0, 0}}) {
        proxy.setHTTP_AccessType(written);
        EXPECT_EQ(proxy.HTTP_AccessType(), stored) << written;
    }
    EXPECT_FALSE(proxy.GetProxyName().has_value());
    proxy.setHTTP_Address(QStringLiteral("p:8080"));
    EXPECT_EQ(proxy.GetProxyName(), QStringLiteral("p:8080"));

    const struct {
        const char *list;
        bool local;
        const char *bypass;
    } cases[] = {
        {"*.lan", true, "*.lan <local>"}, {"A <LOCAL>", true, "A <LOCAL>"}, {"", false, ""}, {"", true, "<local>"},
        {"*.lan", false, "*.lan"},
    };
    for (const auto &c : cases) {
        proxy.setHTTP_BypassList(QLatin1String(c.list));
        proxy.setHTTP_BypassLocal(c.local);
        EXPECT_EQ(proxy.GetProxyBypass(), QLatin1String(c.bypass)) << c.list << c.local;
    }
}

TEST(ProxyRulesTest, ProxyListsAndBypassPatterns)
{
    const struct {
        const char *list;
        const char *http;
    } lists[] = {
        {"p:3128", "p:3128"},
        {"ftp=f:21 http=p:8080", "p:8080"},
        {"HTTP=p:1;https=s:2", "p:1"},
        {"https=s:2 ftp=f:21", ""},
        {"http= plain:9", "plain:9"},
        {"https=s:2 plain:9", "plain:9"},
        {"", ""},
    };
    for (const auto &c : lists)
        EXPECT_EQ(detail::proxyForScheme(QLatin1String(c.list), u"http"), QLatin1String(c.http)) << c.list;

    const struct {
        const char *bypass;
        const char *host;
        bool bypassed;
    } hosts[] = {
        {"*.corp", "a.corp", true},
        {"*.corp", "A.CORP", true},
        {"*.corp", "corp", false},
        {"*.corp", "a.corp.example", false},
        {"<local>", "intranet", true},
        {"<local>", "a.b", false},
        {"<local>", "::1", false},
        {"127.0.0.0/8", "127.1.2.3", true},
        {"127.0.0.0/8", "128.0.0.1", false},
        {"10.1.0.0/17", "10.1.127.1", true},
        {"10.1.0.0/17", "10.1.128.1", false},
        {"::1", "0:0::1", true},
        {"fe80::/10", "fe80::1", true},
        {"fe80::/10", "fec0::1", false},
        {"http://host:8080", "host", true},
        {"x;y  *z", "az", true},
        {"12*.4", "123.4", true},
        {"", "anything", false},
        {"a/99", "a", false},
    };
    for (const auto &c : hosts)
        EXPECT_EQ(detail::bypassesProxy(QLatin1String(c.bypass), QLatin1String(c.host)), c.bypassed)
            << c.bypass << " / " << c.host;
}

TEST(modPasswordCryptorTest, ScramblesReversibly)
{
    EXPECT_EQ(UnscramblePassword(QStringLiteral("BE")), QString());
    EXPECT_EQ(UnscramblePassword(QStringLiteral("BE00")), QStringLiteral("A"));
    EXPECT_EQ(UnscramblePassword(QStringLiteral("be7f")), QStringLiteral("A"));
    EXPECT_EQ(UnscramblePassword(QStringLiteral("BE00ZZ00")), QString());
    EXPECT_EQ(UnscramblePassword(QStringLiteral("B 00")), QString());
    EXPECT_EQ(UnscramblePassword(QString()), QString());
    EXPECT_EQ(ScramblePassword(QString()), QString());

    const QString password = QStringLiteral("Пароль-?-p@ss w0rd\x01");
    const QString a = ScramblePassword(password);
    const QString b = ScramblePassword(password);
    ASSERT_EQ(a.size(), password.size() * 4);
    EXPECT_EQ(UnscramblePassword(a), password);
    EXPECT_EQ(UnscramblePassword(b), password);
    EXPECT_NE(a, b) << "the random pairs differ";
    for (qsizetype i = 0; i < a.size(); i += 4)
        EXPECT_EQ(a.mid(i, 2), b.mid(i, 2));
    // The last character comes first: "A" (65) as 255 - 65 = BE.
    EXPECT_TRUE(ScramblePassword(QStringLiteral("xA")).startsWith(QLatin1String("BE")));

    QString every;
    for (int code = 1; code < 256; ++code)
        every += CodePage::fromAnsi(QByteArray(1, char(code)));
    EXPECT_EQ(UnscramblePassword(ScramblePassword(every)), every);
    // A character the ANSI page cannot hold is refused, not stored as "?".
    EXPECT_EQ(raisedNumber([] { ScramblePassword(QStringLiteral("a✓")); }), RuntimeError::Overflow);
}

class ProxySettingsStoreTest : public corvid::test::RegistryFixture
{
};

TEST_F(ProxySettingsStoreTest, SavesAndLoadsTheSixValues)
{
    const auto app = corvid::test::makeAppObject(QStringLiteral("Proxy Test"), 1, 0);
    ProxySettings saved;
    saved.setHTTP_AccessType(psatProxy);
    saved.setHTTP_Address(QStringLiteral("proxy:3128"));
    saved.setHTTP_BypassList(QStringLiteral("*.corp"));
    saved.setHTTP_BypassLocal(true);
    saved.setHTTP_UserName(QStringLiteral("юзер"));
    saved.setHTTP_Password(QStringLiteral("секрет"));
    ASSERT_TRUE(saved.HTTP_SaveProxySettings2(QStringLiteral("HTTP Proxy"), app.get()));

    const QString key = QStringLiteral("Software\\Sablewing\\Corvid\\Proxy Test\\Version 1.00\\HTTP Proxy");
    crvRegistry reg;
    const QString stored = reg.GetValue(HKEY_CURRENT_USER, key, QStringLiteral("Password"), rtString).toString();
    EXPECT_EQ(stored.size(), 24);
    EXPECT_EQ(UnscramblePassword(stored), QStringLiteral("секрет"));
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, key, QStringLiteral("AccessType"), rtLong).toInt(), 3);

    ProxySettings loaded;
    ASSERT_TRUE(loaded.HTTP_LoadProxySettings2(QStringLiteral("HTTP Proxy"), app.get()));
    EXPECT_EQ(loaded.HTTP_AccessType(), psatProxy);
    EXPECT_EQ(loaded.HTTP_Address(), QStringLiteral("proxy:3128"));
    EXPECT_EQ(loaded.HTTP_BypassList(), QStringLiteral("*.corp"));
    EXPECT_TRUE(loaded.HTTP_BypassLocal());
    EXPECT_EQ(loaded.HTTP_UserName(), QStringLiteral("юзер"));
    EXPECT_EQ(loaded.HTTP_Password(), QStringLiteral("секрет"));

    // A stored access type 2 loads as 0; a damaged password loads empty.
    reg.SetValue(HKEY_CURRENT_USER, key, QStringLiteral("AccessType"), rtLong, 2);
    reg.SetValue(HKEY_CURRENT_USER, key, QStringLiteral("Password"), rtString, QStringLiteral("BE0"));
    ASSERT_TRUE(loaded.HTTP_LoadProxySettings2(QStringLiteral("HTTP Proxy"), app.get()));
    EXPECT_EQ(loaded.HTTP_AccessType(), psatPreconfigByIE);
    EXPECT_TRUE(loaded.HTTP_Password().isEmpty());

    // Nothing stored: the defaults, and false.
    ProxySettings fresh;
    fresh.setHTTP_Address(QStringLiteral("stale"));
    EXPECT_FALSE(fresh.HTTP_LoadProxySettings2(QStringLiteral("Other"), app.get()));
    EXPECT_TRUE(fresh.HTTP_Address().isEmpty());
    EXPECT_EQ(fresh.HTTP_AccessType(), psatPreconfigByIE);

    // The store's own error reaches the caller; an unstorable password
    // stops the save before anything is written.
    EXPECT_EQ(raisedNumber([&] { saved.HTTP_SaveProxySettings2(); }), RuntimeError::ObjectVariableNotSet);
    saved.setHTTP_Password(QStringLiteral("✓"));
    saved.setHTTP_Address(QStringLiteral("changed:1"));
    EXPECT_EQ(raisedNumber([&] { saved.HTTP_SaveProxySettings2(QStringLiteral("HTTP Proxy"), app.get()); }),
              RuntimeError::Overflow);
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, key, QStringLiteral("Address"), rtString).toString(),
              QStringLiteral("proxy:3128"));
}

} // namespace
