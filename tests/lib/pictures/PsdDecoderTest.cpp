// DecodePsd on hand-made files: the table of refused and corrupt files, and
// the edge cases of channels, PackBits packets and skipped sections.
#include "lib/pictures/PsdDecoder.h"

#include "tests/lib/pictures/PictureTestSupport.h"

#include <gmock/gmock.h>

namespace {

using namespace corvid::test;
using namespace tessera;

constexpr quint16 PackBits = 1;

PsdSpec rgb(quint32 rows, quint32 columns, quint16 channels = 3, quint16 compression = 0)
{
    PsdSpec s;
    s.rows = rows;
    s.columns = columns;
    s.channels = channels;
    s.compression = compression;
    return s;
}

template <typename Change> QByteArray changed(Change change, const QByteArray &data = QByteArray(3, 'a'))
{
    PsdSpec s = rgb(1, 1);
    change(s);
    return psdFile(s, data);
}

// The byte-count table of a PackBits image (never read) and the packets.
QByteArray packed(const PsdSpec &s, const QByteArray &packets)
{
    return QByteArray(qsizetype(s.rows) * s.channels * 2, '\0') + packets;
}

struct Corrupt {
    const char *name;
    QByteArray file;
    const char *reason;
};

void PrintTo(const Corrupt &c, std::ostream *os)
{
    *os << c.name;
}

class PsdCorrupt : public ::testing::TestWithParam<Corrupt>
{
};

TEST_P(PsdCorrupt, IsRefusedWithItsReason)
{
    const DecodeResult result = DecodePsd(GetParam().file);
    ASSERT_FALSE(result.bitmap);
    EXPECT_THAT(result.failure, ::testing::HasSubstr(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PsdCorrupt,
    ::testing::Values(
        Corrupt {"ShorterThanTheHeader", psdFile(rgb(1, 1), "abc").left(25), "shorter than a Photoshop header"},
        Corrupt {"WrongSignature", changed([](PsdSpec &s) { s.signature = 0x38425054; }), "not a Photoshop"},
        Corrupt {"LargeDocumentVersion2", changed([](PsdSpec &s) { s.version = 2; }), "version 1"},
        Corrupt {"VersionAbove32767", changed([](PsdSpec &s) { s.version = 40000; }), "above 32767"},
        Corrupt {"Channels17", changed([](PsdSpec &s) { s.channels = 17; }), "more than 16 channels"},
        Corrupt {"Channels57", changed([](PsdSpec &s) { s.channels = 57; }), "more than 16 channels"},
        Corrupt {"ChannelsAbove32767", changed([](PsdSpec &s) { s.channels = 0x8003; }), "above 32767"},
        // No channels would be a black picture of any size from a few bytes.
        Corrupt {"NoChannels", changed([](PsdSpec &s) { s.channels = 0; }, {}), "without channels"},
        Corrupt {"RowsZero", changed([](PsdSpec &s) { s.rows = 0; }), "0 or less"},
        Corrupt {"ColumnsOf2Pow31", changed([](PsdSpec &s) { s.columns = 0x80000000; }), "2^31"},
        Corrupt {"Depth16", changed([](PsdSpec &s) { s.depth = 16; }), "8 bits per channel"},
        Corrupt {"Depth1", changed([](PsdSpec &s) { s.depth = 1; }), "8 bits per channel"},
        Corrupt {"Greyscale", changed([](PsdSpec &s) { s.mode = 1; }), "only RGB"},
        Corrupt {"Indexed", changed([](PsdSpec &s) { s.mode = 2; }), "only RGB"},
        Corrupt {"Cmyk", changed([](PsdSpec &s) { s.mode = 4; }), "only RGB"},
        Corrupt {"Lab", changed([](PsdSpec &s) { s.mode = 9; }), "only RGB"},
        Corrupt {"SectionLengthOf2Pow31", psdFile(rgb(1, 1), "abc").replace(26, 4, QByteArray("\x80\x00\x00\x00", 4)),
                 "section length"},
        Corrupt {"ResourcesPastTheEnd", psdFile(rgb(1, 1), "abc").replace(30, 4, QByteArray("\x00\x00\x10\x00", 4)),
                 "ends before its image data"},
        Corrupt {"NoCompressionField", psdFile(rgb(1, 1), {}).chopped(1), "ends before its image data"},
        Corrupt {"ZipCompressed", psdFile(rgb(1, 1, 3, 2), "abc"), "raw and PackBits"},
        Corrupt {"ZipWithPrediction", psdFile(rgb(1, 1, 3, 3), "abc"), "raw and PackBits"},
        Corrupt {"RawDataCutShort", psdFile(rgb(2, 2), QByteArray(11, 'a')), "too short"},
        Corrupt {"ByteCountTableCutShort", psdFile(rgb(4, 1, 3, PackBits), QByteArray(10, '\0')), "too short"},
        Corrupt {"HugePictureFromTenBytes", psdFile(rgb(30000, 30000), QByteArray(10, 'a')), "too short"},
        // 257 - 253 = 4 copies for a channel of 2 pixels (one spare is allowed).
        Corrupt {"PacketTwoPastItsChannel",
                 psdFile(rgb(1, 2, 3, PackBits),
                         packed(rgb(1, 2, 3),
                                QByteArray("\xFD"
                                           "a"
                                           "\xFF"
                                           "b"
                                           "\xFF"
                                           "c"))),
                 "past the end of its channel"},
        Corrupt {"AlphaPacketOnePastItsChannel",
                 psdFile(rgb(1, 2, 4, PackBits),
                         packed(rgb(1, 2, 4),
                                QByteArray("\xFF"
                                           "a"
                                           "\xFF"
                                           "b"
                                           "\xFF"
                                           "c"
                                           "\xFE"
                                           "d"))),
                 "past the end of its channel"},
        Corrupt {"DataEndInsideAChannel",
                 psdFile(rgb(1, 4, 3, PackBits),
                         packed(rgb(1, 4, 3),
                                "\xFD"
                                "a"
                                "\x02"
                                "bc")),
                 "end inside a channel"},
        Corrupt {"RepeatWithoutItsValue",
                 psdFile(rgb(1, 4, 3, PackBits),
                         packed(rgb(1, 4, 3),
                                "\x01"
                                "ab"
                                "\xFE")),
                 "end inside a channel"}),
    [](const ::testing::TestParamInfo<Corrupt> &info) { return std::string(info.param.name); });

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
        packets.append('\0').append(c); // a literal packet of one byte
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
    const PsdSpec s = rgb(2, 2, 3, PackBits);
    const QByteArray packets = bytes("\xFD"
                                     "r"
                                     "\x02"
                                     "abc"
                                     "\x80"
                                     "\x00"
                                     "d"
                                     "\xFD"
                                     "b");
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
    const PsdSpec s = rgb(1, 2, 3, PackBits);
    const DecodeResult r = DecodePsd(psdFile(s,
                                             packed(s,
                                                    "\xFE"
                                                    "r"
                                                    "\xFE"
                                                    "g"
                                                    "\xFE"
                                                    "b")));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {1 * 2, 1, "rgbrgb"}));
}

TEST(PsdDecoder, LongResourceSectionsAreSkipped)
{
    PsdSpec s = rgb(1, 1);
    s.resources = QByteArray(100000, '\xFF');
    const DecodeResult r = DecodePsd(psdFile(s, "xyz"));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {1, 1, "xyz"}));
}

} // namespace
