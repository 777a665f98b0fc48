#include "support/csText.h"
#include "tests/common/RaisedError.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace cs;

namespace {

// Qt's own encoder, cut into MIME lines by hand, as the independent oracle.
QByteArray mimeOracle(const QByteArray &data)
{
    const QByteArray flat = data.toBase64();
    QByteArray text;
    for (qsizetype i = 0; i < flat.size(); i += 76) {
        if (i > 0)
            text += "\r\n";
        text += flat.mid(i, 76);
    }
    return text;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray data(size, Qt::Uninitialized);
    for (char &c : data)
        c = char(generator.bounded(256));
    return data;
}

} // namespace

TEST(csBase64Encode, Rfc4648Vectors)
{
    const struct {
        const char *data;
        const char *base64;
    } vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto &v : vectors) {
        SCOPED_TRACE(v.data);
        EXPECT_EQ(csBase64Encode(v.data, 15), QByteArray(v.base64));
        EXPECT_EQ(csBase64Encode(v.data, 0), QByteArray(v.base64));
    }
}

TEST(csBase64Encode, EveryByteValueAndBothPaddings)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    for (int cut = 0; cut < 3; ++cut) {
        const QByteArray data = all.left(all.size() - cut);
        SCOPED_TRACE(data.size());
        EXPECT_EQ(csBase64Encode(data, 15), mimeOracle(data));
        EXPECT_EQ(csBase64Encode(data, 0), data.toBase64());
    }
}

TEST(csBase64Encode, LinesBreakEvery57BytesWithCrLfAndNoneAtTheEnd)
{
    const struct {
        qsizetype bytes;
        qsizetype lines;
        qsizetype lastLine;
    } table[] = {
        {1, 1, 4}, {56, 1, 76}, {57, 1, 76}, {58, 2, 4}, {113, 2, 76}, {114, 2, 76}, {115, 3, 4}, {171, 3, 76},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.bytes);
        const QByteArray text = csBase64Encode(randomBytes(row.bytes, quint32(row.bytes)), 15);
        const QList<QByteArray> lines = text.split('\n');
        ASSERT_EQ(lines.size(), row.lines);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            EXPECT_EQ(lines[i].size(), 77) << "line " << i;
            EXPECT_TRUE(lines[i].endsWith('\r')) << "line " << i;
        }
        EXPECT_EQ(lines.last().size(), row.lastLine);
        EXPECT_FALSE(text.endsWith('\n'));
        EXPECT_EQ(text.count('\r'), row.lines - 1);
    }
}

TEST(csBase64Encode, MatchesTheOracleForEveryLengthUpTo400)
{
    for (qsizetype size = 0; size <= 400; ++size) {
        const QByteArray data = randomBytes(size, quint32(1000 + size));
        ASSERT_EQ(csBase64Encode(data, 15), mimeOracle(data)) << "size " << size;
        ASSERT_EQ(csBase64Encode(data, 0), data.toBase64()) << "size " << size;
    }
}

TEST(csBase64Encode, LargeInputHasNoNulAndDecodesBack)
{
    const QByteArray data = randomBytes(3 * 1024 * 1024 + 1, 7);
    const QByteArray text = csBase64Encode(data, 15);
    EXPECT_FALSE(text.contains('\0'));
    EXPECT_EQ(text, mimeOracle(data));
    EXPECT_EQ(QByteArray::fromBase64(text), data);
}

TEST(csBase64Encode, OtherOptionValuesAreRejected)
{
    for (qint32 options : {-1, 1, 14, 16, 255}) {
        SCOPED_TRACE(options);
        EXPECT_EQ(corvid::test::raisedNumber([&] { csBase64Encode("abc", options); }), 5);
    }
}
