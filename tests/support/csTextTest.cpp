#include "support/csText.h"

#include "tests/common/RaisedError.h"

#include <gtest/gtest.h>
#include <limits>

using namespace cs;
using corvid::test::raisedNumber;

namespace {

QString withNul(const char *before, const char *after)
{
    return QString::fromLatin1(before) + QChar(0) + QString::fromLatin1(after);
}

} // namespace

TEST(csTrimEx, TrimsBlanksAtBothEndsOnly)
{
    EXPECT_EQ(csTrimEx(QStringLiteral(" \t\r\n a b\t c \r\n\t ")), QStringLiteral("a b\t c"));
    EXPECT_EQ(csTrimEx(withNul("", " x ") + QChar(0)), QStringLiteral("x"));
    EXPECT_EQ(csTrimEx(QStringLiteral(" \t\r\n ")), QString());
    EXPECT_EQ(csTrimEx(QString()), QString());
    // Kinds outside the five are kept.
    EXPECT_EQ(csTrimEx(QStringLiteral("\u00A0x\v\f")), QStringLiteral("\u00A0x\v\f"));
}

TEST(csTrimEx2, EachFlagTrimsItsOwnKind)
{
    const QChar kinds[] = {QChar(0x20), QChar(0x09), QChar(0x0D), QChar(0x0A),   QChar(0x00),
                           QChar(0x0B), QChar(0x0C), QChar(0xA0), QChar(0x3000), QChar(0xFEFF)};
    for (int flag = 0; flag < 10; ++flag) {
        SCOPED_TRACE(flag);
        bool f[10] = {};
        f[flag] = true;
        for (int kind = 0; kind < 10; ++kind) {
            const QString text = QString(kinds[kind]) + QStringLiteral("x") + kinds[kind];
            const QString result = csTrimEx2(text, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
            EXPECT_EQ(result, kind == flag ? QStringLiteral("x") : text) << "kind " << kind;
        }
    }
}

TEST(csTrimEx2, CallersFiveTrueFiveFalseMatchesTrimEx)
{
    const QString text = QStringLiteral("\r\n  /home/user/My Pictures \t");
    EXPECT_EQ(csTrimEx2(text, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0), QStringLiteral("/home/user/My Pictures"));
    EXPECT_EQ(csTrimEx2(QStringLiteral("\u2003\u200Bx\u2028"), 0, 0, 0, 0, 0, 0, 0, 0, 1, 1), QStringLiteral("x"));
}

TEST(csTrimCRLF, RemovesLineBreaksAtTheEndsAndNothingElse)
{
    EXPECT_EQ(csTrimCRLF(QStringLiteral("\r\n\r\nError: 5\r\nText\r\n\r\n")), QStringLiteral("Error: 5\r\nText"));
    EXPECT_EQ(csTrimCRLF(QStringLiteral("\n\r x \r")), QStringLiteral(" x "));
    EXPECT_EQ(csTrimCRLF(QStringLiteral("\r\n\r\n")), QString());
}

TEST(csCut, CutsCharactersOrBytesFromEitherEnd)
{
    EXPECT_EQ(csCutLeft(QStringLiteral("abcdef"), 2), QStringLiteral("cdef"));
    EXPECT_EQ(csCutRight(QStringLiteral("abcdef"), 2), QStringLiteral("abcd"));
    EXPECT_EQ(csCutLeft(QStringLiteral("abc"), 0), QStringLiteral("abc"));
    // A count at or past the length leaves nothing, without an error.
    EXPECT_EQ(csCutLeft(QStringLiteral("abc"), 3), QString());
    EXPECT_EQ(csCutRight(QStringLiteral("abc"), 8), QString());
    const QByteArray gzipTail("\x1F\x8B\x08\0\1\2\3\4", 8);
    EXPECT_EQ(csCutRight(gzipTail, 4), QByteArray("\x1F\x8B\x08\0", 4));
    EXPECT_EQ(csCutLeft(gzipTail, 6), QByteArray("\3\4"));
    EXPECT_EQ(csCutRight(gzipTail, 10), QByteArray());
    EXPECT_EQ(raisedNumber([] { csCutLeft(QStringLiteral("abc"), -1); }), 5);
    EXPECT_EQ(raisedNumber([] { csCutRight(QByteArray("abc"), -1); }), 5);
}

TEST(csGetLineOnly, StopsAtTheFirstCrOrLf)
{
    EXPECT_EQ(csGetLineOnly(QStringLiteral("first\r\nsecond")), QStringLiteral("first"));
    EXPECT_EQ(csGetLineOnly(QStringLiteral("first\nsecond")), QStringLiteral("first"));
    EXPECT_EQ(csGetLineOnly(QStringLiteral("\rsecond")), QString());
    EXPECT_EQ(csGetLineOnly(QStringLiteral("only")), QStringLiteral("only"));
}

TEST(csHex, FixedWidthUpperCase)
{
    EXPECT_EQ(csHex1(0), QStringLiteral("00"));
    EXPECT_EQ(csHex1(10), QStringLiteral("0A"));
    EXPECT_EQ(csHex1(0xC0), QStringLiteral("C0"));
    EXPECT_EQ(csHex1(255), QStringLiteral("FF"));
    EXPECT_EQ(csHex2(0x409), QStringLiteral("0409"));
    EXPECT_EQ(csHex2(0x4E4), QStringLiteral("04E4"));
    EXPECT_EQ(csHex2(0xFFFF), QStringLiteral("FFFF"));
    EXPECT_EQ(csHex4(0xFF), QStringLiteral("000000FF"));
    EXPECT_EQ(csHex4(0x8000000F), QStringLiteral("8000000F"));
    EXPECT_EQ(csHex4(quint32(-1)), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(csHexEx4(0x10000000), QStringLiteral("0x10000000"));
    EXPECT_EQ(csHexEx4(0xabc), QStringLiteral("0x00000ABC"));
    EXPECT_EQ(csHexEx4(0x7f0012345000), QStringLiteral("0x7F0012345000"));
}

TEST(csFormatNumbers, IntegersGroupedByThree)
{
    EXPECT_EQ(csFormatLong(0), QStringLiteral("0"));
    EXPECT_EQ(csFormatLong(999), QStringLiteral("999"));
    EXPECT_EQ(csFormatLong(1000), QStringLiteral("1,000"));
    EXPECT_EQ(csFormatLong(-123456), QStringLiteral("-123,456"));
    EXPECT_EQ(csFormatLong(1245184), QStringLiteral("1,245,184"));
    // The widest 32-bit text fits the 14-character column of the module list.
    EXPECT_EQ(csFormatLong(std::numeric_limits<qint32>::min()), QStringLiteral("-2,147,483,648"));
    EXPECT_EQ(csFormatInt64(std::numeric_limits<qint64>::min()), QStringLiteral("-9,223,372,036,854,775,808"));
    EXPECT_EQ(csFormatInt64(12345678901), QStringLiteral("12,345,678,901"));
}

TEST(csFormatNumbers, DoublesWithUpToSixDecimals)
{
    EXPECT_EQ(csFormatDouble(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(csFormatDouble(2.0), QStringLiteral("2"));
    EXPECT_EQ(csFormatDouble(0.0), QStringLiteral("0"));
    EXPECT_EQ(csFormatDouble(-0.0000001), QStringLiteral("0"));
    EXPECT_EQ(csFormatDouble(1.0 / 3.0), QStringLiteral("0.333333"));
    EXPECT_EQ(csFormatDouble(0.0000126), QStringLiteral("0.000013"));
    EXPECT_EQ(csFormatDouble(1234.5678901), QStringLiteral("1,234.56789"));
    EXPECT_EQ(csFormatDouble(-1234567.25), QStringLiteral("-1,234,567.25"));
    EXPECT_EQ(csFormatDouble(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("NaN"));
    EXPECT_EQ(csFormatDouble(-std::numeric_limits<double>::infinity()), QStringLiteral("-Infinity"));
}

TEST(csFormatByteSizeEx, UnitsAndDigits)
{
    const struct {
        qint64 bytes;
        const char *text;
    } table[] = {
        {0, "0 bytes"},
        {1, "1 byte"},
        {1023, "1023 bytes"},
        {1024, "1.00 KB"},
        {1536, "1.50 KB"},
        {10239, "9.99 KB"}, // cut, not rounded up to "10.0 KB"
        {15872, "15.5 KB"},
        {1048575, "1023 KB"},
        {1048576, "1.00 MB"},
        {2453667, "2.33 MB"},
        {qint64(5) << 30, "5.00 GB"},
        {qint64(300) << 40, "300 TB"},
        {std::numeric_limits<qint64>::max(), "7.99 EB"},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(csFormatByteSizeEx(row.bytes).toStdString(), row.text);
    }
    EXPECT_EQ(raisedNumber([] { csFormatByteSizeEx(-1); }), 5);
}

TEST(csFormatVersion, MinorTwoDigitsRevisionFour)
{
    EXPECT_EQ(csFormatVersion(1, 0, 39), QStringLiteral("1.00.0039"));
    EXPECT_EQ(csFormatVersion(1, 0, 0), QStringLiteral("1.00.0000"));
    EXPECT_EQ(csFormatVersion(12, 34, 5678), QStringLiteral("12.34.5678"));
    EXPECT_EQ(csFormatVersion(2, 100, 12345), QStringLiteral("2.100.12345"));
    EXPECT_EQ(csFormatVersionShort(1, 0), QStringLiteral("1.00"));
    EXPECT_EQ(csFormatVersionShort(3, 7), QStringLiteral("3.07"));
    EXPECT_EQ(csFormatVersionShort(2, 123), QStringLiteral("2.123"));
    EXPECT_EQ(raisedNumber([] { csFormatVersion(1, 0, -1); }), 5);
    EXPECT_EQ(raisedNumber([] { csFormatVersionShort(-1, 0); }), 5);
    EXPECT_EQ(raisedNumber([] { csFormatVersionShort(1, -2); }), 5);
}

TEST(csGetErrorNumber, DecimalWithHexadecimalForLargeAndNegative)
{
    EXPECT_EQ(csGetErrorNumber(0), QStringLiteral("0"));
    EXPECT_EQ(csGetErrorNumber(53), QStringLiteral("53"));
    EXPECT_EQ(csGetErrorNumber(12002), QStringLiteral("12002"));
    EXPECT_EQ(csGetErrorNumber(65535), QStringLiteral("65535"));
    EXPECT_EQ(csGetErrorNumber(65536), QStringLiteral("65536 (0x00010000)"));
    EXPECT_EQ(csGetErrorNumber(-2147221504), QStringLiteral("-2147221504 (0x80040000)"));
    EXPECT_EQ(csGetErrorNumber(-1), QStringLiteral("-1 (0xFFFFFFFF)"));
}

TEST(csStrConv, BytesAsTextRoundTripThroughWindows1251)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = csStrConvW(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0xC0), QChar(0x0410));
    EXPECT_EQ(text.at(0xB9), QChar(0x2116));
    EXPECT_EQ(csStrConvB(text), all);
    EXPECT_EQ(csStrConvB(QStringLiteral("Привет, \u65E5!")), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2, ?!"));
}

TEST(csUTF8, ConvertsBothWays)
{
    const QString text = QStringLiteral("Ж€") + QString::fromUcs4(U"\U0001F600");
    const QByteArray utf8("\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(csUNICODEToUTF8(text), utf8);
    EXPECT_EQ(csUTF8ToUNICODE(utf8), text);
    EXPECT_EQ(csUTF8ToUNICODE(QByteArray("a\xFF"
                                         "b")),
              QStringLiteral("a\uFFFDb"));
}

TEST(csAnsiToOem, UsesCodePage866)
{
    EXPECT_EQ(csAnsiToOem(QStringLiteral("Ёлка 1\u20AC")), QByteArray("\xF0\xAB\xAA\xA0 1?"));
}

TEST(csGetStringFromPointer, ReadsUpToTheFirstNul)
{
    EXPECT_EQ(csGetStringFromPointerA(QByteArray("abc\0def", 7)), QStringLiteral("abc"));
    EXPECT_EQ(csGetStringFromPointerA(QByteArray("\xC0\xC1")), QStringLiteral("АБ"));
    EXPECT_EQ(csGetStringFromPointerA(QByteArray("\0abc", 4)), QString());
    EXPECT_EQ(csGetStringFromPointerA(QByteArray()), QString());

    EXPECT_EQ(csGetStringFromPointerW(QByteArray("a\0\x10\x04\0\0z\0", 8)), QStringLiteral("aА"));
    // A NUL byte inside a code unit does not end the text.
    EXPECT_EQ(csGetStringFromPointerW(QByteArray("\0\x04"
                                                 "b\0",
                                                 4)),
              QStringLiteral("\u0400b"));
    // Without a terminator the text ends at the last whole code unit.
    EXPECT_EQ(csGetStringFromPointerW(QByteArray("x\0y", 3)), QStringLiteral("x"));
}

TEST(csGetStringFrom2NullBufferA, SplitsUntilTheDoubleNul)
{
    EXPECT_EQ(csGetStringFrom2NullBufferA(QByteArray("/home/u\0a.jpg\0b.png\0\0garbage\0\0", 31)),
              QStringList({QStringLiteral("/home/u"), QStringLiteral("a.jpg"), QStringLiteral("b.png")}));
    EXPECT_EQ(csGetStringFrom2NullBufferA(QByteArray("/one/file.jpg\0\0", 15)),
              QStringList({QStringLiteral("/one/file.jpg")}));
    EXPECT_EQ(csGetStringFrom2NullBufferA(QByteArray("\xC0\0tail", 6)),
              QStringList({QStringLiteral("А"), QStringLiteral("tail")}));
    EXPECT_TRUE(csGetStringFrom2NullBufferA(QByteArray("\0\0x", 3)).isEmpty());
    EXPECT_TRUE(csGetStringFrom2NullBufferA(QByteArray()).isEmpty());
}
