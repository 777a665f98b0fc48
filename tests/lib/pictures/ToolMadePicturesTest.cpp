// The own readers on files written by ImageMagick and Pillow: every form the
// readers take decodes to exactly the pixels an independent decoder gives,
// through the decoder and through the whole reader chain; every form they
// refuse fails the whole chain with 481 and leaves no picture facts.
#include "lib/pictures/PcxDecoder.h"
#include "lib/pictures/PictureInfo.h"
#include "lib/pictures/PsdDecoder.h"
#include "lib/pictures/TgaDecoder.h"
#include "lib/system/crvMain.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/pictures/PictureTestSupport.h"

#include <memory>

namespace {

using namespace corvid::test;
using namespace tessera;

enum class Judge { Pillow, Magick };

struct Form {
    const char *file;
    crvPictureTypeEx kind;
    qint32 bpp; // what the reader reports
    Judge judge;
    bool fiveBits = false; // 16-bit Targa
};

void PrintTo(const Form &form, std::ostream *os)
{
    *os << form.file;
}

DecodeResult decode(crvPictureTypeEx kind, QByteArrayView bytes)
{
    switch (kind) {
    case crvPtePCX:
        return DecodePcx(bytes);
    case crvPteTGA:
        return DecodeTga(bytes);
    default:
        return DecodePsd(bytes);
    }
}

// The files, each made when a test first asks for it.
class ToolMadeFiles : public TestFileFolder
{
public:
    static const ToolMadeFiles &instance()
    {
        static const ToolMadeFiles files;
        return files;
    }

    RgbPixels pillowPixels(const char *file) const
    {
        return pixelsOfResult(runPillow({pillowPixelsJob(path(file))}).first().toObject());
    }

private:
    ToolMadeFiles()
    {
        const QJsonObject rle {{QStringLiteral("compression"), QStringLiteral("tga_rle")}};
        const QJsonObject topDown {{QStringLiteral("orientation"), 1}};
        const QJsonObject rleTopDown {{QStringLiteral("compression"), QStringLiteral("tga_rle")},
                                      {QStringLiteral("orientation"), 1}};
        pillowRecipe("src.png", "RGB", 37, 23);
        pillowRecipe("src_alpha.png", "RGBA", 37, 23);
        pillowRecipe("wide.png", "RGB", 301, 7);
        pillowRecipe("pil_p.pcx", "P", 37, 23);
        pillowRecipe("pil_l.pcx", "L", 37, 23);
        pillowRecipe("pil_p_wide.pcx", "P", 301, 7);
        pillowRecipe("pil_rgb.pcx", "RGB", 37, 23);
        pillowRecipe("pil_rgb_wide.pcx", "RGB", 301, 7);
        pillowRecipe("pil_1bit.pcx", "1", 37, 23);
        pillowRecipe("pil_24_raw_bottomup.tga", "RGB", 37, 23);
        pillowRecipe("pil_24_raw_topdown.tga", "RGB", 37, 23, topDown);
        pillowRecipe("pil_24_rle_bottomup.tga", "RGB", 301, 7, rle);
        pillowRecipe("pil_24_rle_topdown.tga", "RGB", 301, 7, rleTopDown);
        pillowRecipe("pil_32_raw.tga", "RGBA", 37, 23);
        pillowRecipe("pil_32_rle_topdown.tga", "RGBA", 37, 23, rleTopDown);
        pillowRecipe("pil_colormapped.tga", "P", 37, 23);
        pillowRecipe("pil_colormapped_rle.tga", "P", 37, 23, rle);
        pillowRecipe("pil_grey.tga", "L", 37, 23);
        pillowRecipe("pil_grey_rle.tga", "L", 37, 23, rle);

        const QString compress = QStringLiteral("-compress");
        const QString depth = QStringLiteral("-depth");
        const QStringList topLeft {QStringLiteral("-orient"), QStringLiteral("TopLeft")};
        magickRecipe("im_palette.pcx", "src.png", {QStringLiteral("-type"), QStringLiteral("palette")});
        magickRecipe("im_rgb.pcx", "src.png");
        magickRecipe("im_rgba.pcx", "src_alpha.png");
        magickRecipe("im_rgb_wide.pcx", "wide.png");
        magickRecipe("im_24_raw_bottomup.tga", "src.png", {compress, QStringLiteral("None")});
        magickRecipe("im_24_raw_topdown.tga", "src.png", topLeft);
        magickRecipe("im_24_rle_bottomup.tga", "wide.png", {compress, QStringLiteral("RLE")});
        magickRecipe("im_16_raw_bottomup.tga", "src.png", {depth, QStringLiteral("5")});
        magickRecipe("im_16_raw_topdown.tga", "src.png", QStringList {depth, QStringLiteral("5")} + topLeft);
        magickRecipe("im_16_rle_bottomup.tga", "wide.png",
                     {depth, QStringLiteral("5"), compress, QStringLiteral("RLE")});
        magickRecipe("im_32_rle_bottomup.tga", "src_alpha.png", {compress, QStringLiteral("RLE")});
        magickRecipe("im_rgb_rle.psd", "src.png", {compress, QStringLiteral("RLE")});
        magickRecipe("im_rgb_raw.psd", "src.png", {compress, QStringLiteral("None")});
        magickRecipe("im_rgb_rle_wide.psd", "wide.png", {compress, QStringLiteral("RLE")});
        magickRecipe("im_rgba_rle.psd", "src_alpha.png", {compress, QStringLiteral("RLE")});
        magickRecipe("im_rgba_raw.psd", "src_alpha.png", {compress, QStringLiteral("None")});
        magickRecipe("im_grey.psd", "src.png",
                     {QStringLiteral("-colorspace"), QStringLiteral("Gray"), depth, QStringLiteral("8")});
        magickRecipe("im_indexed.psd", "src.png", {QStringLiteral("-type"), QStringLiteral("palette")});
        magickRecipe("im_16bit.psd", "src.png", {depth, QStringLiteral("16")});

        // PCX files of 16 colours in the two layouts the format has: four
        // planes of one bit, and one plane of four bits.
        recipe("hand_4bit_planar.pcx", [](const QString &path) {
            PcxFields planar {.xMax = 7, .yMax = 1, .planes = 4, .bytesPerLine = 2};
            planar.bitsPerPixel = 1;
            writeFile(path, pcxHeader(planar) + QByteArray(16, '\x55'));
        });
        recipe("hand_4bit_packed.pcx", [](const QString &path) {
            PcxFields packed {.xMax = 7, .yMax = 1, .planes = 1, .bytesPerLine = 4};
            packed.bitsPerPixel = 4;
            writeFile(path, pcxHeader(packed) + QByteArray(8, '\x12'));
        });
    }
};

class TakenForm : public ::testing::TestWithParam<Form>
{
};

TEST_P(TakenForm, DecodesToTheIndependentDecodersPixels)
{
    const Form form = GetParam();
    const ToolMadeFiles &files = ToolMadeFiles::instance();
    const QString path = files.path(form.file);
    const RgbPixels judge = form.judge == Judge::Pillow ? files.pillowPixels(form.file) : magickPixels(path);
    ASSERT_GT(judge.width, 0) << "the judge cannot read " << form.file;

    const DecodeResult decoded = decode(form.kind, readFile(path));
    ASSERT_TRUE(decoded.bitmap) << decoded.failure;
    EXPECT_EQ(decoded.bitmap->BPP, form.bpp);
    EXPECT_TRUE(samePixels(rgbOf(*decoded.bitmap), judge, form.fiveBits));

    PictureInfo *info = nullptr;
    const StdPicture picture = crvMain::global().LoadPictureEx(path, &info);
    const std::unique_ptr<PictureInfo> owner(info);
    EXPECT_EQ(info->PictureType(), form.kind);
    EXPECT_EQ(info->ImageBPP(), form.bpp);
    EXPECT_EQ(info->Width(), judge.width);
    EXPECT_EQ(info->Height(), judge.height);
    EXPECT_EQ(picture.Type(), StdPicture::vbPicTypeBitmap);
    EXPECT_TRUE(samePixels(rgbOf(picture.image()), judge, form.fiveBits));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TakenForm,
    ::testing::Values(
        Form {"pil_p.pcx", crvPtePCX, 8, Judge::Pillow}, Form {"pil_l.pcx", crvPtePCX, 8, Judge::Pillow},
        Form {"pil_p_wide.pcx", crvPtePCX, 8, Judge::Pillow}, Form {"pil_rgb.pcx", crvPtePCX, 24, Judge::Pillow},
        Form {"pil_rgb_wide.pcx", crvPtePCX, 24, Judge::Pillow}, Form {"im_palette.pcx", crvPtePCX, 8, Judge::Pillow},
        Form {"im_rgb.pcx", crvPtePCX, 24, Judge::Pillow}, Form {"im_rgb_wide.pcx", crvPtePCX, 24, Judge::Pillow},
        // Four planes: the fourth (alpha) is not shown; Pillow does not read them.
        Form {"im_rgba.pcx", crvPtePCX, 32, Judge::Magick},
        Form {"pil_24_raw_bottomup.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"pil_24_raw_topdown.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"pil_24_rle_bottomup.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"pil_24_rle_topdown.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"pil_32_raw.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"pil_32_rle_topdown.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"im_24_raw_bottomup.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"im_24_raw_topdown.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"im_24_rle_bottomup.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"im_16_raw_bottomup.tga", crvPteTGA, 24, Judge::Pillow, true},
        Form {"im_16_raw_topdown.tga", crvPteTGA, 24, Judge::Pillow, true},
        Form {"im_16_rle_bottomup.tga", crvPteTGA, 24, Judge::Pillow, true},
        Form {"im_32_rle_bottomup.tga", crvPteTGA, 24, Judge::Pillow},
        Form {"im_rgb_rle.psd", crvPtePSD, 24, Judge::Pillow}, Form {"im_rgb_raw.psd", crvPtePSD, 24, Judge::Pillow},
        Form {"im_rgb_rle_wide.psd", crvPtePSD, 24, Judge::Pillow},
        Form {"im_rgba_rle.psd", crvPtePSD, 24, Judge::Pillow}, Form {"im_rgba_raw.psd", crvPtePSD, 24, Judge::Pillow}),
    [](const ::testing::TestParamInfo<Form> &info) { return fileTestName(info.param.file); });

class RefusedForm : public ::testing::TestWithParam<const char *>
{
};

TEST_P(RefusedForm, FailsThroughTheWholeChainWith481)
{
    const QString path = ToolMadeFiles::instance().path(GetParam());
    ASSERT_TRUE(QFile::exists(path));
    std::unique_ptr<PictureInfo> info = std::make_unique<PictureInfo>();
    info->SetInfo({1, 2, 3}, crvPteBMP); // must be reset
    PictureInfo *raw = info.get();
    StdPicture picture(StdPicture::vbPicTypeBitmap, QImage(1, 1, QImage::Format_RGB32));
    EXPECT_EQ(raisedNumber([&] { picture = crvMain::global().LoadPictureEx(path, &raw); }),
              RuntimeError::InvalidPicture);
    EXPECT_EQ(raw, info.get());
    EXPECT_EQ(picture.Type(), StdPicture::vbPicTypeBitmap) << "no new picture";
    EXPECT_EQ(info->Width(), 0);
    EXPECT_EQ(info->Height(), 0);
    EXPECT_EQ(info->ImageBPP(), 0);
    EXPECT_EQ(info->PictureType(), crvPteNothing);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedForm,
                         ::testing::Values("pil_1bit.pcx", "hand_4bit_planar.pcx", "hand_4bit_packed.pcx",
                                           "pil_colormapped.tga", "pil_colormapped_rle.tga", "pil_grey.tga",
                                           "pil_grey_rle.tga", "im_grey.psd", "im_indexed.psd", "im_16bit.psd"),
                         [](const ::testing::TestParamInfo<const char *> &info) { return fileTestName(info.param); });

} // namespace
