// crvGZipArchive: the order of its checks, what a good member leaves in the
// properties, what a failing one clears, and the run without zlib.
#include "lib/net/crvGZipArchive.h"

#include "lib/net/ZLibLibrary_p.h"
#include "lib/net/cCRC32.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/net/GZipMember.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

using namespace tessera;
using corvid::test::GZipFields;
using corvid::test::gzipMember;

QByteArray randomBytes(qsizetype n, quint32 seed)
{
    QRandomGenerator g(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (char &c : out)
        c = char(g.bounded(256));
    return out;
}

void expectCleared(const crvGZipArchive &gz)
{
    EXPECT_EQ(gz.ID1(), 0);
    EXPECT_EQ(gz.ID2(), 0);
    EXPECT_EQ(gz.CompressionMethod(), 0);
    EXPECT_EQ(gz.Flags(), 0);
    EXPECT_EQ(gz.ModificationTime(), 0);
    EXPECT_EQ(gz.ExtraFlags(), 0);
    EXPECT_EQ(gz.OS(), gzosUnknown);
    EXPECT_TRUE(gz.ExtraData().isEmpty());
    EXPECT_TRUE(gz.FileName().isEmpty());
    EXPECT_TRUE(gz.Comment().isEmpty());
    EXPECT_EQ(gz.HeaderCRC16(), 0);
    EXPECT_EQ(gz.DataLen(), 0);
    EXPECT_EQ(gz.DataCRC32(), 0);
    EXPECT_TRUE(gz.UncompressedData().isEmpty());
}

QByteArray withByte(QByteArray data, qsizetype index, char value)
{
    data[index] = value;
    return data;
}

struct BadMember {
    const char *what;
    QByteArray data;
    gzUncompressErrors expected;
};

TEST(crvGZipArchiveTest, FailuresComeInTheirOrderAndLeaveNothingBehind)
{
    const QByteArray text("The quick brown fox jumps over the lazy dog, twice: the quick brown fox.");
    const QByteArray good = gzipMember(text, {.name = QByteArray("a.txt")});
    const qsizetype deflateStart = 10 + 6;
    QByteArray noNameZero = gzipMember(text);
    noNameZero[3] = char(8); // a name flag, but the "name" runs to the end without a zero
    noNameZero.replace('\0', '\1');
    QByteArray noCommentZero = gzipMember(text);
    noCommentZero[3] = char(16);
    noCommentZero.replace('\0', '\1');
    const QByteArray extraLong = gzipMember(text, {.extra = QByteArray(20, 'x')}).left(10) + QByteArray("\x30\x00", 2)
        + QByteArray(20, 'x') + QByteArray(8, '\0');
    QByteArray extraNegative = gzipMember(text, {.extra = QByteArray(3, 'x')});
    extraNegative[11] = char(0x90); // XLEN 0x9003 reads as a negative 16-bit number

    const std::vector<BadMember> cases = {
        {"empty", QByteArray(), gzueNotGZip},
        {"one magic byte", QByteArray("\x1F"), gzueNotGZip},
        {"wrong second magic byte", withByte(good, 1, char(0x8C)), gzueNotGZip},
        {"zlib stream", QByteArray("\x78\xDA\x4B\x4C\x4A\x06\x00\x02\x4D\x01\x27"), gzueNotGZip},
        {"reserved flag 32, before any field", withByte(noNameZero, 3, char(32 | 8)), gzueInvalidFlags},
        {"reserved flag 128", withByte(good, 3, char(128)), gzueInvalidFlags},
        {"extra field of length 0", gzipMember(text, {.extra = QByteArray()}), gzueInvalidExtraDataLen},
        {"extra field longer than the data", extraLong, gzueInvalidExtraDataLen},
        {"extra field length above 32767", extraNegative, gzueInvalidExtraDataLen},
        {"extra flag, data ends in XLEN", withByte(good.left(10), 3, 4) + '\x01', gzueInvalidExtraDataLen},
        {"name without its zero", noNameZero, gzueInvalidFileNameLen},
        {"comment without its zero", noCommentZero, gzueInvalidCommentLen},
        {"header only", withByte(good.left(10), 3, 0), gzueInvalidDataLen},
        {"cut inside the trailer", withByte(good.left(10), 3, 0) + QByteArray(7, '\0'), gzueInvalidDataLen},
        {"trailer claims 2 GB", gzipMember(text, {.size = 0x7FFFFFFFu}), gzueInvalidDataLen},
        {"trailer length negative", gzipMember(text, {.size = 0x80000000u}), gzueInvalidDataLen},
        {"one changed byte in the deflate data", withByte(good, deflateStart + 3, char(good[deflateStart + 3] ^ 0x20)),
         gzueCRCMismatch},
        {"wrong CRC", gzipMember(text, {.crc = 1234u}), gzueCRCMismatch},
        {"trailer length one short", gzipMember(text, {.size = quint32(text.size() - 1)}), gzueCRCMismatch},
        {"trailer length one long", gzipMember(text, {.size = quint32(text.size() + 1)}), gzueCRCMismatch},
        {"deflate data cut short", good.left(good.size() - 8 - 5) + good.right(8), gzueCRCMismatch},
        {"no deflate data at all", good.left(deflateStart) + good.right(8), gzueCRCMismatch},
        {"empty data claimed, stream holds some", gzipMember(text, {.crc = 0u, .size = 0u}), gzueCRCMismatch},
        {"garbage after the member", good + QByteArray("\x05\x00\x00\x00", 4), gzueCRCMismatch},
        {"two members", good + gzipMember("second"), gzueCRCMismatch},
    };
    crvGZipArchive gz;
    ASSERT_TRUE(gz.IsLibraryAvailable());
    for (const BadMember &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(gz.UncompressData(good), gzueSuccess); // fill the properties first
        EXPECT_EQ(gz.UncompressData(c.data), c.expected);
        expectCleared(gz);
    }
}

TEST(crvGZipArchiveTest, GoodMembersFillEveryProperty)
{
    crvGZipArchive gz;
    // gzip -n of "abc" as a standard compressor writes it.
    ASSERT_EQ(gz.UncompressData(gzipMember("abc")), gzueSuccess);
    EXPECT_EQ(gz.UncompressedData(), QByteArray("abc"));
    EXPECT_EQ(gz.DataLen(), 3);
    EXPECT_EQ(gz.DataCRC32(), 891568578);
    EXPECT_EQ(gz.ID1(), 31);
    EXPECT_EQ(gz.ID2(), 139);
    EXPECT_EQ(gz.CompressionMethod(), 8);
    EXPECT_EQ(gz.OS(), gzosUNIX);

    ASSERT_EQ(gz.UncompressData(gzipMember("x", {.name = QByteArray("a.txt")})), gzueSuccess);
    EXPECT_EQ(gz.Flags(), gzfFileName);
    EXPECT_EQ(gz.FileName(), QStringLiteral("a.txt"));

    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const GZipFields every {.flags = gzfText,
                            .mtime = 0x80000001u,
                            .os = 11,
                            .extra = QByteArray("AB\x02\x00\xFF\x00", 6),
                            .name = QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2.txt"), // "Привет.txt" in Windows-1251
                            .comment = QByteArray("a comment"),
                            .headerCrc = 0xBEEF};
    ASSERT_EQ(gz.UncompressData(gzipMember(all, every)), gzueSuccess);
    EXPECT_EQ(gz.UncompressedData(), all);
    EXPECT_EQ(gz.Flags(), gzfText | gzfHCRC | gzfExtra | gzfFileName | gzfComment);
    EXPECT_EQ(gz.ModificationTime(), qint32(0x80000001u));
    EXPECT_EQ(gz.OS(), gzosNTFSFileSystem);
    EXPECT_EQ(gz.ExtraData(), QByteArray("AB\x02\x00\xFF\x00", 6));
    EXPECT_EQ(gz.FileName(), QStringLiteral("Привет.txt"));
    EXPECT_EQ(gz.Comment(), QStringLiteral("a comment"));
    EXPECT_EQ(gz.HeaderCRC16(), qint16(0xBEEF));

    ASSERT_EQ(gz.UncompressData(gzipMember(QByteArray())), gzueSuccess);
    EXPECT_TRUE(gz.UncompressedData().isEmpty());
    EXPECT_EQ(gz.DataLen(), 0);

    // Highly repetitive data near deflate's best ratio, and data that does
    // not compress at all.
    const QByteArray zeros(4 << 20, '\0');
    ASSERT_EQ(gz.UncompressData(gzipMember(zeros)), gzueSuccess);
    EXPECT_EQ(gz.UncompressedData(), zeros);
    const QByteArray noise = randomBytes(1 << 20, 7);
    ASSERT_EQ(gz.UncompressData(gzipMember(noise)), gzueSuccess);
    EXPECT_EQ(gz.UncompressedData(), noise);

    gz.Clear();
    expectCleared(gz);
}

TEST(crvGZipArchiveTest, DataShorterThanTheFixedHeaderRaises5)
{
    crvGZipArchive gz;
    EXPECT_EQ(corvid::test::raisedNumber([&] { gz.UncompressData(QByteArray("\x1F\x8B\x08\x00", 4)); }), 5);
    EXPECT_EQ(corvid::test::raisedNumber([&] { gz.UncompressData(QByteArray("\x1F\x8B\x08\x00\0\0\0\0\0", 9)); }), 5);
}

TEST(crvGZipArchiveTest, WithoutZLibEveryMemberGives8)
{
    const QByteArray previous = detail::setZLibModuleName("libtessera-no-such-zlib.so.1");
    {
        crvGZipArchive gz;
        EXPECT_FALSE(gz.IsLibraryAvailable());
        EXPECT_EQ(gz.UncompressData(QByteArray()), gzueLibraryNotAvailable);
        EXPECT_EQ(gz.UncompressData(gzipMember("abc")), gzueLibraryNotAvailable);
        expectCleared(gz);
    }
    detail::setZLibModuleName(previous);
    crvGZipArchive gz;
    EXPECT_TRUE(gz.IsLibraryAvailable());
    EXPECT_EQ(gz.UncompressData(QByteArray()), gzueNotGZip);
}

TEST(crvGZipArchiveTest, TextsOfResultsAndSystems)
{
    const char16_t *results[] = {
        u"Операция выполнена успешно",
        u"Данные не являются GZip архивом",
        u"CRC32 данных не совпадают с CRC32, указанным в архиве",
        u"Неверное значение длины дополнительных данных",
        u"Неверное значение длины имени файла",
        u"Неверное значение длины комментария",
        u"В архиве используются зарезервированные флаги",
        u"Неверное значение длины даных",
        u"Неизвестная ошибка",
    };
    for (int code = 0; code <= 8; ++code)
        EXPECT_EQ(crvGZipArchive::UncompressErrorCodeToString(gzUncompressErrors(code)),
                  QString::fromUtf16(results[code]));
    EXPECT_EQ(crvGZipArchive::UncompressErrorCodeToString(gzUncompressErrors(-1)),
              QStringLiteral("Неизвестная ошибка"));
    EXPECT_EQ(crvGZipArchive::UncompressErrorCodeToString(gzUncompressErrors(9)), QStringLiteral("Неизвестная ошибка"));

    const char *systems[] = {"FAT filesystem (MS-DOS, OS/2, NT/Win32)",
                             "Amiga",
                             "VMS (or OpenVMS)",
                             "Unix",
                             "VM/CMS",
                             "Atari TOS",
                             "HPFS filesystem (OS/2, NT)",
                             "Macintosh",
                             "Z-System",
                             "CP/M",
                             "TOPS-20",
                             "NTFS filesystem (NT)",
                             "QDOS",
                             "Acorn RISCOS"};
    for (int code = 0; code <= 13; ++code)
        EXPECT_EQ(crvGZipArchive::OSCodeToString(gzArchiveOS(code)), QLatin1String(systems[code]));
    for (int code : {14, 200, 255})
        EXPECT_EQ(crvGZipArchive::OSCodeToString(gzArchiveOS(code)), QStringLiteral("Unknown"));
}

TEST(cCRC32Test, MatchesZLibAtEveryLengthAndAlignment)
{
    const cCRC32 crc;
    EXPECT_EQ(crc.GetByteArrayCrc32("123456789"), -873187034);
    EXPECT_EQ(crc.GetByteArrayCrc32(QByteArray()), 0);
    const QByteArray data = randomBytes(4096 + 64, 42);
    for (qsizetype offset = 0; offset < 17; ++offset) {
        for (qsizetype length : {1, 2, 15, 16, 17, 31, 32, 33, 63, 64, 65, 80, 127, 128, 255, 1000, 4096}) {
            const QByteArray piece = data.mid(offset, length);
            const auto expected = qint32(crc32(0, reinterpret_cast<const Bytef *>(piece.constData()), uInt(length)));
            ASSERT_EQ(crc.GetByteArrayCrc32(piece), expected) << "offset " << offset << " length " << length;
        }
    }
    // In pieces, as a stream is checked.
    const quint32 whole = quint32(crc.GetByteArrayCrc32(data));
    EXPECT_EQ(cCRC32::update(cCRC32::update(0, data.constData(), 1000), data.constData() + 1000, data.size() - 1000),
              whole);
}

} // namespace
