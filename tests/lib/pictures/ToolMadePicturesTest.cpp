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

#include <QDir>
#include <QHash>
#include <QTemporaryDir>

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

// The files, made once per test run in a temporary folder.
class ToolMadeFiles : public TestFileFolder
{
public:
    static const ToolMadeFiles &instance()
    {
        static const ToolMadeFiles files;
        return files;
    }

    RgbPixels pillowPixels(const char *file) const { return m_pillow.value(QString::fromLatin1(file)); }

private:
    ToolMadeFiles()
    {
        const QJsonObject rle {{QStringLiteral("compression"), QStringLiteral("tga_rle")}};
        const QJsonObject topDown {{QStringLiteral("orientation"), 1}};
        const QJsonObject rleTopDown {{QStringLiteral("compression"), QStringLiteral("tga_rle")},
                                      {QStringLiteral("orientation"), 1}};
        const QList<QJsonObject> writes {
            pillowWriteJob(path("src.png"), QStringLiteral("RGB"), 37, 23),
            pillowWriteJob(path("src_alpha.png"), QStringLiteral("RGBA"), 37, 23),
            pillowWriteJob(path("wide.png"), QStringLiteral("RGB"), 301, 7),
            pillowWriteJob(path("pil_p.pcx"), QStringLiteral("P"), 37, 23),
            pillowWriteJob(path("pil_l.pcx"), QStringLiteral("L"), 37, 23),
            pillowWriteJob(path("pil_p_wide.pcx"), QStringLiteral("P"), 301, 7),
            pillowWriteJob(path("pil_rgb.pcx"), QStringLiteral("RGB"), 37, 23),
            pillowWriteJob(path("pil_rgb_wide.pcx"), QStringLiteral("RGB"), 301, 7),
            pillowWriteJob(path("pil_1bit.pcx"), QStringLiteral("1"), 37, 23),
            pillowWriteJob(path("pil_24_raw_bottomup.tga"), QStringLiteral("RGB"), 37, 23),
            pillowWriteJob(path("pil_24_raw_topdown.tga"), QStringLiteral("RGB"), 37, 23, topDown),
            pillowWriteJob(path("pil_24_rle_bottomup.tga"), QStringLiteral("RGB"), 301, 7, rle),
            pillowWriteJob(path("pil_24_rle_topdown.tga"), QStringLiteral("RGB"), 301, 7, rleTopDown),
            pillowWriteJob(path("pil_32_raw.tga"), QStringLiteral("RGBA"), 37, 23),
            pillowWriteJob(path("pil_32_rle_topdown.tga"), QStringLiteral("RGBA"), 37, 23, rleTopDown),
            pillowWriteJob(path("pil_colormapped.tga"), QStringLiteral("P"), 37, 23),
            pillowWriteJob(path("pil_colormapped_rle.tga"), QStringLiteral("P"), 37, 23, rle),
            pillowWriteJob(path("pil_grey.tga"), QStringLiteral("L"), 37, 23),
            pillowWriteJob(path("pil_grey_rle.tga"), QStringLiteral("L"), 37, 23, rle),
        };
        QJsonArray jobs;
        for (const QJsonObject &job : writes)
            jobs.append(job);
        for (const QJsonValue &result : runPillow(jobs))
            EXPECT_FALSE(result.toObject().contains(QStringLiteral("error")))
                << qPrintable(result.toObject().value(QStringLiteral("error")).toString());

        const QString src = path("src.png");
        const QString alpha = path("src_alpha.png");
        const QString wide = path("wide.png");
        const QList<QStringList> conversions {
            {src, QStringLiteral("-type"), QStringLiteral("palette"), path("im_palette.pcx")},
            {src, path("im_rgb.pcx")},
            {alpha, path("im_rgba.pcx")},
            {wide, path("im_rgb_wide.pcx")},
            {src, QStringLiteral("-compress"), QStringLiteral("None"), path("im_24_raw_bottomup.tga")},
            {src, QStringLiteral("-orient"), QStringLiteral("TopLeft"), path("im_24_raw_topdown.tga")},
            {wide, QStringLiteral("-compress"), QStringLiteral("RLE"), path("im_24_rle_bottomup.tga")},
            {src, QStringLiteral("-depth"), QStringLiteral("5"), path("im_16_raw_bottomup.tga")},
            {src, QStringLiteral("-depth"), QStringLiteral("5"), QStringLiteral("-orient"), QStringLiteral("TopLeft"),
             path("im_16_raw_topdown.tga")},
            {wide, QStringLiteral("-depth"), QStringLiteral("5"), QStringLiteral("-compress"), QStringLiteral("RLE"),
             path("im_16_rle_bottomup.tga")},
            {alpha, QStringLiteral("-compress"), QStringLiteral("RLE"), path("im_32_rle_bottomup.tga")},
            {src, QStringLiteral("-compress"), QStringLiteral("RLE"), path("im_rgb_rle.psd")},
            {src, QStringLiteral("-compress"), QStringLiteral("None"), path("im_rgb_raw.psd")},
            {wide, QStringLiteral("-compress"), QStringLiteral("RLE"), path("im_rgb_rle_wide.psd")},
            {alpha, QStringLiteral("-compress"), QStringLiteral("RLE"), path("im_rgba_rle.psd")},
            {alpha, QStringLiteral("-compress"), QStringLiteral("None"), path("im_rgba_raw.psd")},
            {src, QStringLiteral("-colorspace"), QStringLiteral("Gray"), QStringLiteral("-depth"), QStringLiteral("8"),
             path("im_grey.psd")},
            {src, QStringLiteral("-type"), QStringLiteral("palette"), path("im_indexed.psd")},
            {src, QStringLiteral("-depth"), QStringLiteral("16"), path("im_16bit.psd")},
        };
        for (const QStringList &arguments : conversions)
            EXPECT_EQ(runConvert(arguments), QString()) << qPrintable(arguments.join(u' '));

        // PCX files of 16 colours in the two layouts the format has: four
        // planes of one bit, and one plane of four bits.
        PcxSpec planar {.xMax = 7, .yMax = 1, .planes = 4, .bytesPerLine = 2};
        planar.bitsPerPixel = 1;
        writeFile(path("hand_4bit_planar.pcx"), pcxHeader(planar) + QByteArray(16, '\x55'));
        PcxSpec packed {.xMax = 7, .yMax = 1, .planes = 1, .bytesPerLine = 4};
        packed.bitsPerPixel = 4;
        writeFile(path("hand_4bit_packed.pcx"), pcxHeader(packed) + QByteArray(8, '\x12'));

        QJsonArray reads;
        const QStringList judged = QDir(m_dir.path()).entryList({QStringLiteral("pil_*"), QStringLiteral("im_*")});
        for (const QString &file : judged)
            reads.append(pillowPixelsJob(m_dir.filePath(file)));
        const QJsonArray results = runPillow(reads);
        for (qsizetype i = 0; i < results.size(); ++i)
            m_pillow.insert(judged.at(i), pixelsOfResult(results.at(i).toObject()));
    }

    QHash<QString, RgbPixels> m_pillow;
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
