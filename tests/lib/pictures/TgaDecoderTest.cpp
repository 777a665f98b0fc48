// DecodeTga on hand-made files: the table of refused and corrupt files, and
// the edge cases of orientation, packets, 16-bit pixels and skipped fields.
#include "lib/pictures/TgaDecoder.h"

#include "tests/lib/pictures/PictureTestSupport.h"

namespace {

using namespace corvid::test;
using namespace tessera;

constexpr quint8 TopDown = 0x20;

QByteArray tga(const TgaFields &fields, const QByteArray &data)
{
    return tgaHeader(fields) + data;
}

// Run-length packets: \a count copies of one pixel, or \a count pixels.
QByteArray repeatPacket(int count, const QByteArray &pixel)
{
    return char(0x80 | (count - 1)) + pixel;
}

QByteArray rawPacket(int count, const QByteArray &pixels)
{
    return char(count - 1) + pixels;
}

TgaFields fields(quint8 type, quint16 width, quint16 height, quint8 depth = 24, quint8 descriptor = 0)
{
    return {.imageType = type, .width = width, .height = height, .depth = depth, .descriptor = descriptor};
}

class TgaCorrupt : public ::testing::TestWithParam<CorruptFile>
{
};

TEST_P(TgaCorrupt, IsRefusedWithItsReason)
{
    EXPECT_TRUE(refusedFor(DecodeTga(GetParam().file), GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TgaCorrupt,
    ::testing::Values(
        CorruptFile {"ShorterThanTheHeader", tgaHeader(fields(2, 1, 1)).left(17), "shorter than a Targa header"},
        CorruptFile {"ColourMapped", tga(fields(1, 1, 1, 8), bytes("\x00")), "true-colour"},
        CorruptFile {"Grey", tga(fields(3, 1, 1, 8), bytes("\x00")), "true-colour"},
        CorruptFile {"ColourMappedRunLength", tga(fields(9, 1, 1, 8), bytes("\x80\x00")), "true-colour"},
        CorruptFile {"GreyRunLength", tga(fields(11, 1, 1, 8), bytes("\x80\x00")), "true-colour"},
        CorruptFile {"NoImage", tga(fields(0, 1, 1), {}), "true-colour"},
        // An 8-bit true-colour picture is no form of the format; a few bytes
        // stated as a large black picture are refused.
        CorruptFile {"EightBitTrueColour", tga(fields(2, 2, 1, 8), "\x01\x02"), "16, 24 and 32 bits"},
        CorruptFile {"FifteenBits", tga(fields(2, 1, 1, 15), "\x01\x02"), "16, 24 and 32 bits"},
        CorruptFile {"WidthZero", tga(fields(2, 0, 1), {}), "0 or less"},
        CorruptFile {"HeightNegative", tga(fields(2, 1, 0xFFFF), "abc"), "0 or less"},
        CorruptFile {"RowOver32767Bytes", tga(fields(10, 10923, 1), repeatPacket(128, "abc")), "longer than 32767 bytes"},
        CorruptFile {"RawThirtyTwoBitRowOver32767Bytes", tga(fields(2, 8192, 1, 32), QByteArray(8192 * 4, 'a')),
                 "longer than 32767 bytes"},
        CorruptFile {"IdentificationPastTheEnd", [] { TgaFields s = fields(2, 1, 1); s.idLength = 200; return tga(s, "abc"); }(),
                 "ends before its pixels"},
        CorruptFile {"ColourMapPastTheEnd",
                 [] {
                     TgaFields s = fields(2, 1, 1);
                     s.colorMapType = 1;
                     s.colorMapLength = 65535;
                     s.colorMapEntrySize = 32;
                     return tga(s, QByteArray(64, 'a'));
                 }(),
                 "ends before its pixels"},
        CorruptFile {"RawRowsCutShort", tga(fields(2, 2, 2), QByteArray(11, 'a')), "too short"},
        CorruptFile {"PacketPastTheLastPixel", tga(fields(10, 2, 2), repeatPacket(2, "abc") + repeatPacket(3, "def")),
                 "past the last pixel"},
        CorruptFile {"RawPacketPastTheLastPixel", tga(fields(10, 2, 1), rawPacket(3, "abcdefghi")),
                 "past the last pixel"},
        CorruptFile {"PacketsEndEarly", tga(fields(10, 4, 1), repeatPacket(2, "abc") + rawPacket(1, "def")), "end before"},
        CorruptFile {"RawPacketCutShort", tga(fields(10, 2, 1), rawPacket(2, "abcde")), "end before"},
        // Four bytes cannot hold 10000 × 10000 pixels; nothing is allocated.
        CorruptFile {"HugePictureFromFourBytes", tga(fields(10, 10000, 10000), repeatPacket(128, "abc")), "too short"}),
    corruptFileName);

// A 3 × 2 picture stored top-down, as stored pixels of each depth.
QByteArray storedPixel(int depth, int i)
{
    const quint8 b = quint8(10 * i + 8), g = quint8(10 * i + 16), r = quint8(10 * i + 24);
    if (depth == 16) {
        QByteArray p;
        appendLE16(p, quint16((b >> 3) | (g >> 3) << 5 | (r >> 3) << 10 | 0x8000));
        return p;
    }
    QByteArray p;
    p.append(char(b)).append(char(g)).append(char(r));
    if (depth == 32)
        p.append('\x7F'); // alpha, not shown
    return p;
}

RgbPixels expectedPixels(int depth)
{
    RgbPixels out {3, 2, {}};
    for (int i = 0; i < 6; ++i) {
        const QByteArray p = storedPixel(24, i);
        const auto round = [depth](char c) { return depth == 16 ? char(uchar(c) & 0xF8) : c; };
        out.rgb.append(round(p[2])).append(round(p[1])).append(round(p[0]));
    }
    return out;
}

// The rows of the picture in stored order, raw or as packets: all pixels
// differ, so there are raw packets only, one of four pixels that crosses the
// row end and one of two.
QByteArray storedData(int depth, bool runLength, bool topDown)
{
    QByteArrayList pixels;
    for (int row : topDown ? QList<int> {0, 1} : QList<int> {1, 0}) {
        for (int x = 0; x < 3; ++x)
            pixels.append(storedPixel(depth, row * 3 + x));
    }
    if (!runLength)
        return pixels.join();
    return rawPacket(4, pixels.mid(0, 4).join()) + rawPacket(2, pixels.mid(4).join());
}

struct Layout {
    int depth;
    bool runLength;
    bool topDown;
};

class TgaLayout : public ::testing::TestWithParam<Layout>
{
};

TEST_P(TgaLayout, BottomUpAndTopDownRawAndPacketsGiveTheSamePixels)
{
    const Layout l = GetParam();
    const TgaFields s = fields(l.runLength ? 10 : 2, 3, 2, quint8(l.depth), l.topDown ? TopDown : 0);
    const DecodeResult r = DecodeTga(tga(s, storedData(l.depth, l.runLength, l.topDown)));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->BPP, 24);
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), expectedPixels(l.depth)));
}

INSTANTIATE_TEST_SUITE_P(AllDepths, TgaLayout,
                         ::testing::Values(Layout {16, false, false}, Layout {16, false, true},
                                           Layout {16, true, false}, Layout {16, true, true}, Layout {24, false, false},
                                           Layout {24, false, true}, Layout {24, true, false}, Layout {24, true, true},
                                           Layout {32, false, false}, Layout {32, false, true},
                                           Layout {32, true, false}, Layout {32, true, true}),
                         [](const ::testing::TestParamInfo<Layout> &info) {
                             return std::to_string(info.param.depth) + (info.param.runLength ? "Rle" : "Raw")
                                 + (info.param.topDown ? "TopDown" : "BottomUp");
                         });

TEST(TgaDecoder, A16BitWhitePixelIs248)
{
    const DecodeResult r = DecodeTga(tga(fields(2, 1, 1, 16), "\xFF\x7F"));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_EQ(r.bitmap->Bits.left(3), QByteArray("\xF8\xF8\xF8"));
}

TEST(TgaDecoder, RepeatPacketsCrossRowEnds)
{
    // Width 2, three rows top-down: one repeat packet of 5 pixels, then one
    // raw pixel.
    const DecodeResult r = DecodeTga(tga(fields(10, 2, 3, 24, TopDown), repeatPacket(5, "abc") + rawPacket(1, "xyz")));
    ASSERT_TRUE(r.bitmap) << r.failure;
    EXPECT_TRUE(samePixels(rgbOf(*r.bitmap), {2, 3, QByteArray("cbacbacbacbacbazyx")}));
}

TEST(TgaDecoder, IdentificationFieldAndColourMapAreSkipped)
{
    TgaFields s = fields(2, 1, 1);
    const QByteArray plain = tga(s, "abc");
    s.idLength = 10;
    s.colorMapType = 1;
    s.colorMapLength = 3;
    s.colorMapEntrySize = 15; // two bytes per entry
    const QByteArray withFields = tga(s, QByteArray(10, 'I') + QByteArray(6, 'M') + "abc");
    const DecodeResult a = DecodeTga(plain);
    const DecodeResult b = DecodeTga(withFields);
    ASSERT_TRUE(a.bitmap && b.bitmap);
    EXPECT_EQ(a.bitmap->Bits, b.bitmap->Bits);
    EXPECT_EQ(a.bitmap->Bits.left(3), QByteArray("abc"));
}

TEST(TgaDecoder, WidthLimitsFollowTheRowLength)
{
    TgaHeader h;
    EXPECT_EQ(readTgaHeader(tgaHeader(fields(2, 10922, 1)), &h), nullptr);
    EXPECT_EQ(readTgaHeader(tgaHeader(fields(10, 10922, 1, 32)), &h), nullptr)
        << "packets hold 32-bit pixels one by one";
    EXPECT_EQ(readTgaHeader(tgaHeader(fields(2, 8191, 1, 32)), &h), nullptr);
    EXPECT_NE(readTgaHeader(tgaHeader(fields(2, 8192, 1, 32)), &h), nullptr);
}

} // namespace
