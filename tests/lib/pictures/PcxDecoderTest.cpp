// DecodePcx on hand-made files: the table of refused and corrupt files, and
// the edge cases of the run-length rules, line padding and planes.
#include "lib/pictures/PcxDecoder.h"

#include "tests/lib/pictures/PictureTestSupport.h"

namespace {

using namespace corvid::test;
using namespace tessera;

constexpr char RunOf(int count)
{
    return char(0xC0 | count);
}

// A 256-colour file of width × height: the header, \a data and the palette
// block (entry i = (i, 255 - i, i / 2)).
QByteArray indexedPcx(quint16 width, quint16 height, const QByteArray &data, quint16 bytesPerLine = 0,
                      quint8 marker = 12)
{
    const PcxFields fields {.xMax = quint16(width - 1),
                            .yMax = quint16(height - 1),
                            .planes = 1,
                            .bytesPerLine = bytesPerLine ? bytesPerLine : width};
    return pcxHeader(fields) + data + pcxPalette(marker);
}

QByteArray planarPcx(quint16 width, quint16 height, quint8 planes, const QByteArray &data, quint16 bytesPerLine = 0)
{
    const PcxFields fields {.xMax = quint16(width - 1),
                            .yMax = quint16(height - 1),
                            .planes = planes,
                            .bytesPerLine = bytesPerLine ? bytesPerLine : width};
    return pcxHeader(fields) + data;
}

class PcxCorrupt : public ::testing::TestWithParam<CorruptFile>
{
};

TEST_P(PcxCorrupt, IsRefusedWithItsReason)
{
    EXPECT_TRUE(refusedFor(DecodePcx(GetParam().file), GetParam().reason));
}

PcxFields with(quint16 xMax, quint16 yMax, quint16 bytesPerLine)
{
    return {.xMax = xMax, .yMax = yMax, .bytesPerLine = bytesPerLine};
}

INSTANTIATE_TEST_SUITE_P(
    Files, PcxCorrupt,
    ::testing::Values(
        CorruptFile {"ShorterThanTheHeader", pcxHeader(with(0, 0, 2)).left(127), "shorter than a PCX header"},
        CorruptFile {"Manufacturer11",
                     [] {
                         PcxFields s = with(0, 0, 2);
                         s.manufacturer = 11;
                         return pcxHeader(s);
                     }(),
                     "not a PCX file"},
        CorruptFile {"XmaxAbove32767", indexedPcx(1, 1, "A").replace(8, 2, QByteArray("\x40\x9C", 2)), "above 32767"},
        CorruptFile {"DpiAbove32767",
                     [] {
                         PcxFields s = with(0, 0, 2);
                         s.dpi = 40000;
                         return pcxHeader(s);
                     }(),
                     "above 32767"},
        CorruptFile {"WidthOverflows", pcxHeader(with(32767, 0, 32767)), "overflows"},
        CorruptFile {"WidthZero",
                     [] {
                         PcxFields s = with(4, 0, 2);
                         s.xMin = 5;
                         return pcxHeader(s);
                     }(),
                     "0 or less"},
        CorruptFile {"HeightNegative",
                     [] {
                         PcxFields s = with(0, 2, 2);
                         s.yMin = 10;
                         return pcxHeader(s);
                     }(),
                     "0 or less"},
        CorruptFile {"OneBitPerPlane",
                     [] {
                         PcxFields s = with(7, 0, 2);
                         s.bitsPerPixel = 1;
                         return pcxHeader(s);
                     }(),
                     "8 bits per plane"},
        CorruptFile {"TwoPlanes", planarPcx(1, 1, 2, "AB"), "1, 3 or 4 planes"},
        CorruptFile {"FivePlanes", planarPcx(1, 1, 5, "ABCDE"), "1, 3 or 4 planes"},
        CorruptFile {"ScanLineOverflows", planarPcx(10, 1, 3, {}, 11000), "scan line length overflows"},
        CorruptFile {"LinesShorterThanTheWidth", indexedPcx(10, 1, QByteArray(8, 'A'), 8), "shorter than the picture"},
        CorruptFile {"NoPaletteMarker", indexedPcx(2, 1, "AB", 0, 11), "does not end in a 256-colour palette"},
        CorruptFile {"TooShortForAPalette", pcxHeader(with(1, 1, 2)) + QByteArray(300, 'A'), "too short"},
        CorruptFile {"IndexedDataEndEarly", indexedPcx(4, 4, "ABCDEFGH"), "end before the picture"},
        CorruptFile {"IndexedRunWithoutItsValue", indexedPcx(4, 1, QByteArray("AB") + RunOf(2)), "without its value"},
        // Ten bytes cannot hold a 30000 × 30000 picture; nothing is allocated.
        CorruptFile {"HugePictureFromTenBytes", indexedPcx(30000, 30000, QByteArray(10, 'A')),
                     "too short for the picture"},
        CorruptFile {"PlanarPaletteAfterTheData", planarPcx(2, 1, 3, "RRGGBB") + pcxPalette(), "past the end"},
        CorruptFile {"PlanarRunPastThePicture", planarPcx(2, 1, 3, QByteArray("RR") + RunOf(5) + 'G'), "past the end"},
        CorruptFile {"PlanarDataEndEarly", planarPcx(4, 2, 3, QByteArray(20, 'A')), "end before the picture"},
        CorruptFile {"PlanarRunWithoutItsValue", planarPcx(1, 1, 3, QByteArray("RG") + RunOf(1)), "without its value"}),
    corruptFileName);

// The rows of an 8-bit result as palette indices, padding left out.
QList<QByteArray> indexRows(const DecodedBitmap &b)
{
    QList<QByteArray> rows;
    const qsizetype stride = DibStride(b.Width, 8);
    for (int y = 0; y < b.Height; ++y)
        rows.append(b.Bits.mid(y * stride, b.Width));
    return rows;
}

TEST(PcxDecoder, IndexedRunsAreCutAtTheLineEndAndTheReadPositionRunsOn)
{
    // A run of 6 in a line of 4 fills the line and ends there; the next line
    // starts with the byte after the run.
    const DecodeResult r = DecodePcx(indexedPcx(4, 2, QByteArray() + RunOf(6) + '\x01' + "\x02\x03\x04\x05"));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->BPP, 8);
    EXPECT_EQ(indexRows(*r.bitmap), (QList<QByteArray> {"\x01\x01\x01\x01", "\x02\x03\x04\x05"}));
    // Entry 5 of the palette block: red 5, green 250, blue 2 (stored 0x00RRGGBB).
    EXPECT_EQ(r.bitmap->Palette.at(5), 0x0005FA02u);
    EXPECT_EQ(r.bitmap->Palette.size(), 256u);
}

TEST(PcxDecoder, IndexedPaddingPastTheWidthIsDroppedEvenWhenLinesAreLongerThanTheRow)
{
    // Width 3, lines of 8 bytes, rows of 4 bytes: the padding bytes (7) are
    // not shown and do not spill into the next row or past the last one.
    const QByteArray line = QByteArray("\x01\x02\x03") + QByteArray(5, '\x07');
    const DecodeResult r = DecodePcx(indexedPcx(3, 2, line + QByteArray("\x04\x05\x06") + RunOf(5) + '\x07', 8));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->Bits, QByteArray("\x01\x02\x03\x00\x04\x05\x06\x00", 8));
}

TEST(PcxDecoder, ZeroCountRunsWriteNothing)
{
    const DecodeResult r = DecodePcx(indexedPcx(2, 1, QByteArray() + RunOf(0) + '\x09' + "\x01\x02"));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(indexRows(*r.bitmap).first(), QByteArray("\x01\x02"));
}

TEST(PcxDecoder, XminAndYminShiftTheEdges)
{
    PcxFields fields {.xMin = 10, .yMin = 3, .xMax = 19, .yMax = 4, .bytesPerLine = 10};
    const DecodeResult r = DecodePcx(pcxHeader(fields) + QByteArray(20, '\x01') + pcxPalette());
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->Width, 10);
    EXPECT_EQ(r.bitmap->Height, 2);
}

TEST(PcxDecoder, PlanarRunsRunOnAcrossPlanesAndLines)
{
    // Width 2, two lines of three planes: 12 samples. The first run covers
    // red and the first green; the last run takes the whole second line.
    const QByteArray data = QByteArray() + RunOf(3) + '\x0A' + '\x14' + RunOf(2) + '\x1E' + RunOf(6) + '\x28';
    const DecodeResult r = DecodePcx(planarPcx(2, 2, 3, data));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->BPP, 24);
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap),
                           {2, 2,
                            QByteArray("\x0A\x0A\x1E\x0A\x14\x1E"
                                       "\x28\x28\x28\x28\x28\x28")}));
}

TEST(PcxDecoder, FourPlanesReportThirtyTwoBitsAndShowTheFirstThree)
{
    // Lines of two bytes for a width of 1; each row is four planes long.
    const QByteArray data("\x01-\x02-\x03-\x04-"
                          "\x05-\x06-\x07-\x08-");
    const DecodeResult r = DecodePcx(planarPcx(1, 2, 4, data, 2));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->BPP, 32);
    EXPECT_EQ(DibStride(1, r.bitmap->layoutBits()) * 2, r.bitmap->Bits.size());
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {1, 2, QByteArray("\x01\x02\x03\x05\x06\x07")}));
}

TEST(PcxDecoder, PlanarDataMayEndExactlyAtThePicturesEnd)
{
    EXPECT_TRUE(DecodePcx(planarPcx(1, 1, 3, "RGB")).bitmap);
    EXPECT_FALSE(DecodePcx(planarPcx(1, 1, 3, "RGBX")).bitmap) << "one byte more than the picture";
}

} // namespace
