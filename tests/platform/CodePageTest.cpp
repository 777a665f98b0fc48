#include "platform/CodePage.h"

#include <QList>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>

using tessera::CodePage;

namespace {

struct PageUnderTest {
    const char *iconvName;
    std::function<QString(QByteArrayView)> decode;
    std::function<QByteArray(QStringView)> encode;
};

const PageUnderTest kAnsi {"CP1251", CodePage::fromAnsi, CodePage::toAnsi};
const PageUnderTest kOem {"CP866", CodePage::fromOem, CodePage::toOem};

// glibc's converter as an independent oracle. Answers nothing where glibc
// has no mapping.
class Iconv
{
public:
    Iconv(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {
        EXPECT_NE(m_cd, reinterpret_cast<iconv_t>(-1)) << from << " -> " << to;
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    std::optional<QByteArray> convert(QByteArray in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char *inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char *outPtr = out;
        size_t outLeft = sizeof out;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
            return std::nullopt;
        return QByteArray(out, outPtr - out);
    }

private:
    iconv_t m_cd;
};

QByteArray utf16le(char16_t c)
{
    const char bytes[2] = {char(c & 0xFF), char(c >> 8)};
    return QByteArray(bytes, 2);
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

class CodePageTest : public ::testing::TestWithParam<PageUnderTest>
{
};

} // namespace

TEST_P(CodePageTest, EveryByteSurvivesARoundTrip)
{
    const QByteArray bytes = allBytes();
    const QString text = GetParam().decode(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(GetParam().encode(text), bytes);
    // 256 distinct characters: no two bytes decode alike.
    QList<QChar> chars(text.begin(), text.end());
    std::sort(chars.begin(), chars.end());
    EXPECT_EQ(std::unique(chars.begin(), chars.end()), chars.end());
}

TEST_P(CodePageTest, DecodingAgreesWithIconv)
{
    Iconv oracle("UTF-16LE", GetParam().iconvName);
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::optional<QByteArray> expected = oracle.convert(QByteArray(1, char(b)));
        const QString ours = GetParam().decode(QByteArray(1, char(b)));
        ASSERT_EQ(ours.size(), 1);
        if (!expected) {
            // glibc leaves only the unassigned 1251 byte without a character.
            EXPECT_STREQ(GetParam().iconvName, "CP1251");
            EXPECT_EQ(b, 0x98);
            EXPECT_EQ(ours.at(0).unicode(), 0x0098);
            continue;
        }
        EXPECT_EQ(utf16le(ours.at(0).unicode()), *expected) << "ours U+" << std::hex << unsigned(ours.at(0).unicode());
    }
}

TEST_P(CodePageTest, EncodingAgreesWithIconvForTheWholeBasicPlane)
{
    Iconv oracle(GetParam().iconvName, "UTF-16LE");
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const char16_t ch = char16_t(c);
        const QByteArray ours = GetParam().encode(QStringView(&ch, 1));
        std::optional<QByteArray> expected = oracle.convert(utf16le(ch));
        if (!expected && c == 0x0098 && QByteArrayView(GetParam().iconvName) == "CP1251")
            expected = QByteArray(1, char(0x98));
        ASSERT_EQ(ours, expected.value_or(QByteArray("?"))) << "U+" << std::hex << unsigned(c);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, CodePageTest, ::testing::Values(kAnsi, kOem),
                         [](const auto &info) { return std::string(info.param.iconvName); });

TEST(CodePage, UnmappableCharactersBecomeOneQuestionMarkEach)
{
    // Kanji, a surrogate pair (one character), a lone surrogate of each kind.
    const QString text = QStringLiteral("a\u65E5b") + QString::fromUcs4(U"\U0001F600") + QChar(0xD800)
        + QStringLiteral("c") + QChar(0xDC00);
    EXPECT_EQ(CodePage::toAnsi(text), QByteArray("a?b??c?"));
    EXPECT_EQ(CodePage::toOem(text), QByteArray("a?b??c?"));
}

TEST(CodePage, EmbeddedNulsAreKept)
{
    const QByteArray bytes("a\0b", 3);
    EXPECT_EQ(CodePage::fromAnsi(bytes).size(), 3);
    EXPECT_EQ(CodePage::toAnsi(CodePage::fromAnsi(bytes)), bytes);
    EXPECT_TRUE(CodePage::toOem(QString()).isEmpty());
}
