#include "lib/system/crvRegistry.h"

#include "platform/Win32Error.h"
#include "tests/platform/RegistryFixture.h"

namespace {

using corvid::test::RegistryFixture;
using namespace tessera;

const QString Key = QStringLiteral("Software\\Sablewing\\RegTest");

// Bytes of a literal, NULs inside and at the end included.
template <qsizetype N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

class crvRegistryTest : public RegistryFixture
{
protected:
    // The value as stored, read past crvRegistry.
    std::optional<QByteArray> stored(const QString &name, quint32 *type = nullptr)
    {
        const HKEY key = open(Registry::HKEY_CURRENT_USER, Key);
        if (!key)
            return std::nullopt;
        if (type)
            Registry::RegQueryValueEx(key, name, type, nullptr, nullptr);
        return get(key, name);
    }

    crvRegistry reg;
};

TEST_F(crvRegistryTest, BooleanTextIsTrueOnlyForOneOrTrue)
{
    const struct {
        QByteArray data;
        bool expected;
    } cases[] = {
        {bytes("TRUE\0"), true}, {bytes(" true \0"), true}, {bytes("1\0"), true},      {bytes("\ttrue\r\n\0"), true},
        {bytes("True"), true},   {bytes("1\0true"), true},  {bytes("yes\0"), false},   {bytes("0\0"), false},
        {bytes("\0"), false},    {bytes("truex\0"), false}, {bytes("tr ue\0"), false},
    };
    const HKEY key = create(Registry::HKEY_CURRENT_USER, Key);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.data.toPercentEncoding().constData());
        set(key, QStringLiteral("b"), c.data, Registry::REG_SZ);
        bool ok = false;
        const QVariant value = reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("b"), rtBoolean, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(value.typeId(), QMetaType::Bool);
        EXPECT_EQ(value.toBool(), c.expected);
    }

    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("b"), rtBoolean, true));
    quint32 type = 0;
    EXPECT_EQ(stored(QStringLiteral("b"), &type), bytes("True\0"));
    EXPECT_EQ(type, Registry::REG_SZ);
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("b"), rtBoolean, false));
    EXPECT_EQ(stored(QStringLiteral("b")), bytes("False\0"));
}

TEST_F(crvRegistryTest, LongsWidenFromSmallIntegersAndOtherKindsAreRefused)
{
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("n"), rtLong, QVariant::fromValue(qint16(5))));
    quint32 type = 0;
    EXPECT_EQ(stored(QStringLiteral("n"), &type), bytes("\x05\x00\x00\x00"));
    EXPECT_EQ(type, Registry::REG_DWORD);
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("n"), rtLong, QVariant::fromValue(quint8(200))));
    EXPECT_EQ(stored(QStringLiteral("n")), bytes("\xC8\x00\x00\x00"));
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("n"), rtLong, -2));
    EXPECT_EQ(stored(QStringLiteral("n")), bytes("\xFE\xFF\xFF\xFF"));
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("n"), rtLong), QVariant(qint32(-2)));

    // Refused before the registry is called: nothing written, LastRegError kept.
    reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("missing"));
    ASSERT_EQ(reg.LastRegError(), Win32Error::FileNotFound);
    const struct {
        RegistryType_Const type;
        QVariant value;
    } refused[] = {
        {rtLong, QStringLiteral("5")},
        {rtLong, QVariant::fromValue(qint64(5))},
        {rtLong, QVariant::fromValue(quint16(5))},
        {rtLong, 5.0},
        {rtString, QByteArray("text")},
        {rtString, QVariant()},
        {rtBinary, QStringLiteral("01")},
        {rtBoolean, 1},
        {RegistryType_Const(4), QStringLiteral("x")},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.value.typeName() ? c.value.typeName() : "empty");
        EXPECT_FALSE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("refused"), c.type, c.value));
    }
    EXPECT_EQ(stored(QStringLiteral("refused")), std::nullopt);
    EXPECT_EQ(reg.LastRegError(), Win32Error::FileNotFound);
}

TEST_F(crvRegistryTest, TextIsStoredAsUtf8WithOneNulAndReadToTheFirstNul)
{
    const QString text = QStringLiteral("Ключ ✓ 𝄞");
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("t"), rtString, text));
    EXPECT_EQ(stored(QStringLiteral("t")), text.toUtf8() + '\0');
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("t")), QVariant(text));

    set(open(Registry::HKEY_CURRENT_USER, Key), QString(), bytes("head\0tail"), Registry::REG_SZ);
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key), QVariant(QStringLiteral("head")));
    // The stored type is not checked: the bytes are read as asked.
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key, QString(), rtBinary), QVariant(bytes("head\0tail")));
}

TEST_F(crvRegistryTest, MissingEmptyAndShortDataGiveTheEmptyValueAndNoSuccess)
{
    bool ok = true;
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("n"), rtLong, &ok), QVariant(qint32(0)));
    EXPECT_FALSE(ok);
    EXPECT_EQ(reg.LastRegError(), Win32Error::FileNotFound); // the key is missing

    const HKEY key = create(Registry::HKEY_CURRENT_USER, Key);
    ok = true;
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("n"), rtLong, &ok), QVariant(qint32(0)));
    EXPECT_FALSE(ok);
    EXPECT_EQ(reg.LastRegError(), Win32Error::FileNotFound); // now the value

    set(key, QStringLiteral("short"), bytes("\x07\x00\x01"), Registry::REG_DWORD);
    ok = true;
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("short"), rtLong, &ok), QVariant(qint32(0)));
    EXPECT_FALSE(ok);

    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("empty"), rtBinary, QByteArray()));
    EXPECT_EQ(stored(QStringLiteral("empty")), QByteArray());
    for (RegistryType_Const type : {rtString, rtLong, rtBinary, rtBoolean}) {
        ok = true;
        const QVariant value = reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("empty"), type, &ok);
        EXPECT_FALSE(ok) << type;
        EXPECT_FALSE(value.toBool()) << type;
        EXPECT_TRUE(value.isValid()) << type;
    }
    ok = true;
    EXPECT_FALSE(reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("short"), RegistryType_Const(-1), &ok).isValid());
    EXPECT_FALSE(ok);
}

TEST_F(crvRegistryTest, KeysReportWhetherTheyExistedAndDeleteOnlyWhenAsked)
{
    bool existed = true;
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key + QStringLiteral("\\A"), QStringLiteral("v"), rtString,
                             QStringLiteral("x"), &existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key + QStringLiteral("\\a"), QStringLiteral("v"), rtString,
                             QStringLiteral("y"), &existed));
    EXPECT_TRUE(existed);
    EXPECT_TRUE(reg.CreateKey(HKEY_CURRENT_USER, Key + QStringLiteral("\\B"), &existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(reg.CreateKey(HKEY_CURRENT_USER, Key + QStringLiteral("\\B"), &existed));
    EXPECT_TRUE(existed);

    EXPECT_FALSE(reg.DeleteKey(HKEY_CURRENT_USER, Key + QStringLiteral("\\A")));
    EXPECT_EQ(reg.LastRegError(), Win32Error::KeyHasChildren);
    EXPECT_TRUE(reg.IsKeyExist(HKEY_CURRENT_USER, Key + QStringLiteral("\\A")));
    EXPECT_TRUE(reg.DeleteKey(HKEY_CURRENT_USER, Key + QStringLiteral("\\B")));
    EXPECT_TRUE(reg.DeleteKeyRecurse(HKEY_CURRENT_USER, Key + QStringLiteral("\\A")));
    EXPECT_FALSE(reg.IsKeyExist(HKEY_CURRENT_USER, Key + QStringLiteral("\\A")));
    EXPECT_EQ(reg.LastRegError(), Win32Error::FileNotFound);

    EXPECT_TRUE(reg.SetValue(HKEY_CURRENT_USER, Key, QStringLiteral("v")));
    EXPECT_TRUE(reg.DeleteValue(HKEY_CURRENT_USER, Key, QStringLiteral("V")));
    EXPECT_FALSE(reg.DeleteValue(HKEY_CURRENT_USER, Key, QStringLiteral("v")));
    EXPECT_EQ(reg.LastRegError(), Win32Error::FileNotFound);
}

TEST_F(crvRegistryTest, ListingsAreEmptyForAnEmptyKeyAndNoneForAMissingOne)
{
    ASSERT_TRUE(reg.CreateKey(HKEY_CURRENT_USER, Key));
    ASSERT_TRUE(reg.GetSubKeysNames(HKEY_CURRENT_USER, Key).has_value());
    EXPECT_EQ(reg.GetSubKeysNames(HKEY_CURRENT_USER, Key)->Count(), 0);
    EXPECT_EQ(reg.GetValuesNames(HKEY_CURRENT_USER, Key)->Count(), 0);
    EXPECT_FALSE(reg.GetSubKeysNames(HKEY_CURRENT_USER, Key + QStringLiteral("\\Missing")).has_value());
    EXPECT_FALSE(reg.GetValuesNames(HKEY_CURRENT_USER, Key + QStringLiteral("\\Missing")).has_value());
    EXPECT_EQ(reg.LastRegError(), Win32Error::FileNotFound);

    for (const char *name : {"b", "C", "a"}) {
        reg.CreateKey(HKEY_CURRENT_USER, Key + u'\\' + QLatin1StringView(name));
        reg.SetValue(HKEY_CURRENT_USER, Key, QLatin1StringView(name), rtLong, 1);
    }
    EXPECT_EQ(reg.GetSubKeysNames(HKEY_CURRENT_USER, Key)->values(), QVariantList({"a", "b", "C"}));
    EXPECT_EQ(reg.GetValuesNames(HKEY_CURRENT_USER, Key)->values(), QVariantList({"b", "C", "a"}));
}

TEST_F(crvRegistryTest, RootsThatAreNotKeptAndUnknownRootsFailWithInvalidHandle)
{
    bool ok = true;
    reg.GetValue(HKEY_USERS, QStringLiteral(".DEFAULT"), QStringLiteral("x"), rtString, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(reg.LastRegError(), Win32Error::InvalidHandle);
    EXPECT_FALSE(reg.SetValue(HKEY_DYN_DATA, Key, QStringLiteral("x")));
    EXPECT_EQ(reg.LastRegError(), Win32Error::InvalidHandle);

    // A small root number must not reach a key that happens to be open under that handle.
    const HKEY open = create(Registry::HKEY_CURRENT_USER, Key);
    set(open, QStringLiteral("x"), bytes("secret\0"), Registry::REG_SZ);
    EXPECT_EQ(reg.GetValue(RegistryRoot_Const(qint32(open)), QString(), QStringLiteral("x")), QVariant(QString()));
    EXPECT_EQ(reg.LastRegError(), Win32Error::InvalidHandle);
    EXPECT_FALSE(reg.IsKeyExist(RegistryRoot_Const(qint32(open)), QString()));

    EXPECT_TRUE(reg.SetValue(HKEY_LOCAL_MACHINE, Key, QStringLiteral("m"), rtLong, 7));
    EXPECT_EQ(reg.GetValue(HKEY_LOCAL_MACHINE, Key, QStringLiteral("m"), rtLong), QVariant(qint32(7)));
    reg.GetValue(HKEY_CURRENT_USER, Key, QStringLiteral("m"), rtLong, &ok);
    EXPECT_FALSE(ok);
}

} // namespace
