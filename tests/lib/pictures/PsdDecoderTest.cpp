// DecodePsd on hand-made files: the table of refused and corrupt files, and
// the edge cases of channels, PackBits packets and skipped sections.
#include "lib/pictures/PsdDecoder.h"

#include "tests/lib/pictures/PictureTestSupport.h"

namespace {

using namespace corvid::test;
using namespace tessera;

constexpr quint16 PackBits = 1;

PsdFields rgb(quint32 rows, quint32 columns, quint16 channels = 3, quint16 compression = 0)
{
    PsdFields s;
    s.rows = rows;
    s.columns = columns;
    s.channels = channels;
    s.compression = compression;
    return s;
}

template <typename Change> QByteArray changed(Change change, const QByteArray &data = QByteArray(3, 'a'))
{
    PsdFields s = rgb(1, 1);
    change(s);
    return psdFile(s, data);
}

// PackBits packets: \a count copies of one byte, bytes as they are, and the
// packet that does nothing.
QByteArray repeat(int count, char value)
{
    return QByteArray(1, char(257 - count)) + value;
}

QByteArray literal(const QByteArray &values)
{
    return char(values.size() - 1) + values;
}

const QByteArray NoOperation(1, char(128));

// The byte-count table of a PackBits image (never read) and the packets.
QByteArray packed(const PsdFields &s, const QByteArray &packets)
{
    return QByteArray(qsizetype(s.rows) * s.channels * 2, '\0') + packets;
}

class PsdCorrupt : public ::testing::TestWithParam<CorruptFile>
{
};

TEST_P(PsdCorrupt, IsRefusedWithItsReason)
{
    EXPECT_TRUE(refusedFor(DecodePsd(GetParam().file), GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PsdCorrupt,
    ::testing::Values(
        CorruptFile {"ShorterThanTheHeader", psdFile(rgb(1, 1), "abc").left(25), "shorter than a Photoshop header"},
        CorruptFile {"WrongSignature", changed([](PsdFields &s) { s.signature = 0x38425054; }), "not a Photoshop"},
        CorruptFile {"LargeDocumentVersion2", changed([](PsdFields &s) { s.version = 2; }), "version 1"},
        CorruptFile {"VersionAbove32767", changed([](PsdFields &s) { s.version = 40000; }), "above 32767"},
        CorruptFile {"Channels17", changed([](PsdFields &s) { s.channels = 17; }), "more than 16 channels"},
        CorruptFile {"Channels57", changed([](PsdFields &s) { s.channels = 57; }), "more than 16 channels"},
        CorruptFile {"ChannelsAbove32767", changed([](PsdFields &s) { s.channels = 0x8003; }), "above 32767"},
        // No channels would be a black picture of any size from a few bytes.
        CorruptFile {"NoChannels", changed([](PsdFields &s) { s.channels = 0; }, {}), "without channels"},
        CorruptFile {"RowsZero", changed([](PsdFields &s) { s.rows = 0; }), "0 or less"},
        CorruptFile {"ColumnsOf2Pow31", changed([](PsdFields &s) { s.columns = 0x80000000; }), "2^31"},
        CorruptFile {"Depth16", changed([](PsdFields &s) { s.depth = 16; }), "8 bits per channel"},
        CorruptFile {"Depth1", changed([](PsdFields &s) { s.depth = 1; }), "8 bits per channel"},
        CorruptFile {"Greyscale", changed([](PsdFields &s) { s.mode = 1; }), "only RGB"},
        CorruptFile {"Indexed", changed([](PsdFields &s) { s.mode = 2; }), "only RGB"},
        CorruptFile {"Cmyk", changed([](PsdFields &s) { s.mode = 4; }), "only RGB"},
        CorruptFile {"Lab", changed([](PsdFields &s) { s.mode = 9; }), "only RGB"},
        CorruptFile {"SectionLengthOf2Pow31",
                     psdFile(rgb(1, 1), "abc").replace(26, 4, QByteArray("\x80\x00\x00\x00", 4)), "section length"},
        CorruptFile {"ResourcesPastTheEnd", psdFile(rgb(1, 1), "abc").replace(30, 4, QByteArray("\x00\x00\x10\x00", 4)),
                     "ends before its image data"},
        CorruptFile {"NoCompressionField", psdFile(rgb(1, 1), {}).chopped(1), "ends before its image data"},
        CorruptFile {"ZipCompressed", psdFile(rgb(1, 1, 3, 2), "abc"), "raw and PackBits"},
        CorruptFile {"ZipWithPrediction", psdFile(rgb(1, 1, 3, 3), "abc"), "raw and PackBits"},
        CorruptFile {"RawDataCutShort", psdFile(rgb(2, 2), QByteArray(11, 'a')), "too short"},
        CorruptFile {"ByteCountTableCutShort", psdFile(rgb(4, 1, 3, PackBits), QByteArray(10, '\0')), "too short"},
        // 1493172227 × 1610612738 pixels × 4 channels overflows 64 bits.
        CorruptFile {"SizesWhoseProductOverflows", psdFile(rgb(0x59000003, 0x60000002, 11), QByteArray(10, 'a')),
                     "more pixels than the readers take"},
        CorruptFile {"HugePictureFromTenBytes", psdFile(rgb(30000, 30000), QByteArray(10, 'a')), "too short"},
        // 257 - 253 = 4 copies for a channel of 2 pixels (one spare is allowed).
        CorruptFile {
            "PacketTwoPastItsChannel",
            psdFile(rgb(1, 2, 3, PackBits), packed(rgb(1, 2, 3), repeat(4, 'a') + repeat(2, 'b') + repeat(2, 'c'))),
            "past the end of its channel"},
        CorruptFile {"AlphaPacketOnePastItsChannel",
                     psdFile(rgb(1, 2, 4, PackBits),
                             packed(rgb(1, 2, 4), repeat(2, 'a') + repeat(2, 'b') + repeat(2, 'c') + repeat(3, 'd'))),
                     "past the end of its channel"},
        CorruptFile {"DataEndInsideAChannel",
                     psdFile(rgb(1, 4, 3, PackBits), packed(rgb(1, 4, 3), repeat(4, 'a') + literal("bcd").chopped(1))),
                     "end inside a channel"},
        CorruptFile {"RepeatWithoutItsValue",
                     psdFile(rgb(1, 4, 3, PackBits), packed(rgb(1, 4, 3), literal("ab") + repeat(3, 'x').chopped(1))),
                     "end inside a channel"}),
    corruptFileName);

struct Channels {
    quint16 count;
    const char *rgb; // the resulting pixel of the planes "R", "G", "B", "A", "X"
};

class PsdChannels : public ::testing::TestWithParam<Channels>
{
};

TEST_P(PsdChannels, ChannelsLandInTheirSlotsRawAndPacked)
{
    // One pixel; file channel i holds the letter "RGBAX"[i].
    const quint16 count = GetParam().count;
    const QByteArray planes = QByteArray("RGBAX").left(count);
    QByteArray packets;
    for (const char c : planes)
        packets.append(literal(QByteArray(1, c)));
    for (const QByteArray &file :
         {psdFile(rgb(1, 1, count), planes), psdFile(rgb(1, 1, count, PackBits), packed(rgb(1, 1, count), packets))}) {
        const DecodeResult r = DecodePsd(file);
        ASSERT_TRUE(r.bitmap) << r.failure;
        EXPECT_EQ(r.bitmap->BPP, 24);
        EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {1, 1, QByteArray(GetParam().rgb, 3)}));
    }
}

// With fewer than three channels a colour is read only when its slot (blue
// 0, green 1, red 2) is below the count, from the file's channels in order;
// alpha and later channels have no effect.
INSTANTIATE_TEST_SUITE_P(Counts, PsdChannels,
                         ::testing::Values(Channels {1, "\0\0R"}, Channels {2, "\0RG"}, Channels {3, "RGB"},
                                           Channels {4, "RGB"}, Channels {5, "RGB"}),
                         [](const ::testing::TestParamInfo<Channels> &info) {
                             return std::to_string(info.param.count) + "Channels";
                         });

TEST(PsdDecoder, PackBitsRunOnAcrossRowsAndSkipNoOperations)
{
    // 2 × 2: red is one repeat of 4; green a literal of 3 crossing the row
    // end, a no-operation (128) and a literal of 1; blue a repeat of 4.
    const PsdFields s = rgb(2, 2, 3, PackBits);
    const QByteArray packets = repeat(4, 'r') + literal("abc") + NoOperation + literal("d") + repeat(4, 'b');
    const DecodeResult r = DecodePsd(psdFile(s, packed(s, packets)));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap),
                           {2, 2,
                            "rab"
                            "rbb"
                            "rcb"
                            "rdb"}));
}

TEST(PsdDecoder, AColourChannelMayOvershootByOnePixel)
{
    // Each channel of 2 pixels is one repeat of 3; the spare sample is dropped
    // and the next channel starts after it.
    const PsdFields s = rgb(1, 2, 3, PackBits);
    const DecodeResult r = DecodePsd(psdFile(s, packed(s, repeat(3, 'r') + repeat(3, 'g') + repeat(3, 'b'))));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {1 * 2, 1, "rgbrgb"}));
}

TEST(PsdDecoder, LongResourceSectionsAreSkipped)
{
    PsdFields s = rgb(1, 1);
    s.resources = QByteArray(100000, '\xFF');
    const DecodeResult r = DecodePsd(psdFile(s, "xyz"));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {1, 1, "xyz"}));
}

} // namespace
