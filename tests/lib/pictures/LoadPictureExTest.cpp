// crvMain's picture operations over the whole reader chain: kinds, sizes and
// depths of the common formats (files written by ImageMagick at run time),
// the failures 53 and 481, the script-host form, pictures held in memory and
// the open dialog's filter texts.
#include "lib/pictures/GdiPlusStatus.h"
#include "lib/pictures/PictureInfo.h"
#include "lib/pictures/modBitmapWorks.h"
#include "lib/system/crvMain.h"
#include "support/csWindows.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/pictures/PictureTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <sys/stat.h>

namespace {

using namespace corvid::test;
using namespace tessera;

crvMain &library()
{
    return crvMain::global();
}

// The files, each made when a test first asks for it.
class CommonFiles : public TestFileFolder
{
public:
    static const CommonFiles &instance()
    {
        static const CommonFiles files;
        return files;
    }

private:
    CommonFiles()
    {
        pillowRecipe("src.png", "RGB", 37, 23);
        pillowRecipe("alpha.png", "RGBA", 37, 23);
        const QString palette = QStringLiteral("palette");
        magickRecipe("photo.jpg", "src.png");
        magickRecipe("grey.jpg", "src.png", {QStringLiteral("-colorspace"), QStringLiteral("Gray")});
        magickRecipe("opaque.png", "src.png");
        magickRecipe("palette.png", "src.png", {QStringLiteral("-type"), palette});
        magickRecipe("picture.gif", "src.png");
        magickRecipe("true.bmp", "src.png", {QStringLiteral("-type"), QStringLiteral("truecolor")});
        magickRecipe("palette.bmp", "src.png", {QStringLiteral("-type"), palette});
        magickRecipe("icon.ico", "src.png", {QStringLiteral("-resize"), QStringLiteral("16x16!")});
        magickRecipe("picture.tif", "src.png", {QStringLiteral("-depth"), QStringLiteral("8")});
        magickRecipe("alpha.tif", "alpha.png", {QStringLiteral("-depth"), QStringLiteral("8")});

        // A cursor is an icon directory of type 2; a JPEG may carry any name;
        // the letters "gif" may come in lower case.
        recipe("cursor.cur",
               [this](const QString &p) { writeFile(p, readFile(path("icon.ico")).replace(2, 1, "\x02")); });
        recipe("photo-named.gif", [this](const QString &p) { writeFile(p, readFile(path("photo.jpg"))); });
        recipe("lower.gif",
               [this](const QString &p) { writeFile(p, readFile(path("picture.gif")).replace(0, 3, "gif")); });
        recipe("text.txt", [](const QString &p) { writeFile(p, "This is no picture at all, only text.\n"); });
    }
};

struct Expected {
    const char *file;
    crvPictureTypeEx kind;
    qint32 width;
    qint32 height;
    qint32 bpp;
    StdPicture::PictureType type;
};

void PrintTo(const Expected &e, std::ostream *os)
{
    *os << e.file;
}

class ChainKind : public ::testing::TestWithParam<Expected>
{
};

TEST_P(ChainKind, ReportsKindSizeAndDepthFromTheFilesFirstBytes)
{
    const Expected e = GetParam();
    PictureInfo *info = nullptr;
    const StdPicture picture = library().LoadPictureEx(CommonFiles::instance().path(e.file), &info);
    const std::unique_ptr<PictureInfo> owner(info);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->PictureType(), e.kind) << qPrintable(info->GetPictureTypeName());
    EXPECT_EQ(info->Width(), e.width);
    EXPECT_EQ(info->Height(), e.height);
    EXPECT_EQ(info->ImageBPP(), e.bpp);
    EXPECT_EQ(picture.Type(), e.type);
    EXPECT_NE(picture.Handle(), 0);
    const QSize size = e.type == StdPicture::vbPicTypeIcon ? QSize(16, 16) : QSize(37, 23);
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), size);
}

constexpr auto Bitmap = StdPicture::vbPicTypeBitmap;
constexpr auto Icon = StdPicture::vbPicTypeIcon;

INSTANTIATE_TEST_SUITE_P(
    Files, ChainKind,
    ::testing::Values(
        Expected {"photo.jpg", crvPteJPG, 37, 23, 24, Bitmap}, Expected {"grey.jpg", crvPteJPG, 37, 23, 8, Bitmap},
        Expected {"photo-named.gif", crvPteJPG, 37, 23, 24, Bitmap},
        Expected {"picture.gif", crvPteGIF, 37, 23, 8, Bitmap}, Expected {"lower.gif", crvPteGIF, 37, 23, 8, Bitmap},
        Expected {"true.bmp", crvPteBMP, 37, 23, 24, Bitmap}, Expected {"palette.bmp", crvPteBMP, 37, 23, 8, Bitmap},
        Expected {"icon.ico", crvPteICO, -1, -1, -1, Icon}, Expected {"cursor.cur", crvPteCUR, -1, -1, -1, Icon},
        Expected {"opaque.png", crvPtePNG, 37, 23, 24, Bitmap}, Expected {"palette.png", crvPtePNG, 37, 23, 8, Bitmap},
        Expected {"alpha.png", crvPtePNG, 37, 23, 32, Bitmap}, Expected {"picture.tif", crvPteTIFF, 37, 23, 24, Bitmap},
        Expected {"alpha.tif", crvPteTIFF, 37, 23, 32, Bitmap}),
    [](const ::testing::TestParamInfo<Expected> &info) { return fileTestName(info.param.file); });

TEST(LoadPictureEx, TransparentPartsOfPngShowTheButtonFace)
{
    const StdPicture picture = library().LoadPictureEx(CommonFiles::instance().path("alpha.png"));
    const QColor face = cs::csTranslateColor(0x8000000F);
    // Outside its blocks, pixel (x, y) of the pattern has alpha (7x + y) mod
    // 256: (36, 4) is clear, (1, 0) nearly so.
    EXPECT_EQ(picture.image().pixelColor(36, 4), face);
    EXPECT_NE(picture.image().pixelColor(1, 0), face);
    EXPECT_EQ(picture.image().format(), QImage::Format_RGB32);
}

TEST(LoadPictureEx, FailuresRaise53And481AndLeaveZeros)
{
    auto info = std::make_unique<PictureInfo>();
    info->SetInfo({5, 6, 7}, crvPtePNG);
    PictureInfo *raw = info.get();
    EXPECT_EQ(raisedNumber([&] { library().LoadPictureEx(CommonFiles::instance().path("missing.png"), &raw); }),
              RuntimeError::FileNotFound);
    EXPECT_EQ(info->Width(), 5) << "a missing file is found out before any reader runs";
    EXPECT_EQ(raisedNumber([&] { library().LoadPictureEx(CommonFiles::instance().path("text.txt"), &raw); }),
              RuntimeError::InvalidPicture);
    EXPECT_EQ(raw, info.get());
    EXPECT_EQ(QList<qint32>({info->Width(), info->Height(), info->ImageBPP(), info->PictureType()}),
              QList<qint32>({0, 0, 0, 0}));
    EXPECT_EQ(raisedNumber([&] { library().LoadPictureEx(QDir::tempPath()); }), RuntimeError::FileNotFound)
        << "a folder is no file";

    // A named pipe without a writer would hold any reader forever; a device
    // never ends. Neither is read.
    const QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("picture.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &special : {pipe, QStringLiteral("/dev/zero")}) {
        info->SetInfo({5, 6, 7}, crvPtePNG);
        EXPECT_EQ(raisedNumber([&] { library().LoadPictureEx(special, &raw); }), RuntimeError::InvalidPicture)
            << qPrintable(special);
        EXPECT_EQ(info->Width(), 0) << qPrintable(special);
    }
}

TEST(LoadPictureEx, EmptyNameGivesTheEmptyPictureAndLeavesTheInfoAlone)
{
    PictureInfo *none = nullptr;
    const StdPicture picture = library().LoadPictureEx(QString(), &none);
    EXPECT_TRUE(picture.isEmpty());
    EXPECT_EQ(picture.Handle(), 0);
    EXPECT_EQ(none, nullptr);
}

TEST(LoadPictureEx, WorksWithoutPictureInfoAndCreatesOneForANullPointer)
{
    EXPECT_EQ(library().LoadPictureEx(CommonFiles::instance().path("photo.jpg")).Type(), StdPicture::vbPicTypeBitmap);
    PictureInfo *created = nullptr;
    library().LoadPictureEx(CommonFiles::instance().path("picture.gif"), &created);
    const std::unique_ptr<PictureInfo> owner(created);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetPictureTypeName(), QStringLiteral("CompuServe GIF"));
}

TEST(LoadPictureExByVar, TakesTextAndEmptyNothingOrAPictureInfo)
{
    const QString path = CommonFiles::instance().path("photo.jpg");
    QVariant info; // Empty
    const QVariant picture = library().LoadPictureExByVar(path, info);
    const std::unique_ptr<QObject> created(info.value<QObject *>());
    ASSERT_TRUE(qobject_cast<PictureInfo *>(created.get()));
    EXPECT_EQ(qobject_cast<PictureInfo *>(created.get())->PictureType(), crvPteJPG);
    EXPECT_EQ(picture.value<StdPicture>().Type(), StdPicture::vbPicTypeBitmap);

    PictureInfo mine;
    QVariant given = QVariant::fromValue<QObject *>(&mine);
    library().LoadPictureExByVar(path, given);
    EXPECT_EQ(given.value<QObject *>(), &mine);
    EXPECT_EQ(mine.Width(), 37);

    QVariant number = 5;
    EXPECT_EQ(raisedNumber([&] { library().LoadPictureExByVar(path, number); }), RuntimeError::TypeMismatch);
    QObject other;
    QVariant wrongObject = QVariant::fromValue(&other);
    EXPECT_EQ(raisedNumber([&] { library().LoadPictureExByVar(path, wrongObject); }), RuntimeError::TypeMismatch);
    QVariant empty;
    EXPECT_TRUE(library().LoadPictureExByVar(QString(), empty).value<StdPicture>().isEmpty());
}

class LoadResPictureByData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        m_oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }
    void TearDown() override { qputenv("TMPDIR", m_oldTemp); }
    QStringList leftOver() const { return QDir(m_temp.path()).entryList(QDir::Files); }

    QTemporaryDir m_temp;
    QByteArray m_oldTemp;
};

TEST_F(LoadResPictureByData, LoadsFromMemoryAndAlwaysRemovesItsTemporaryFile)
{
    PictureInfo *info = nullptr;
    const StdPicture picture
        = library().LoadResPictureByData(readFile(CommonFiles::instance().path("opaque.png")), &info);
    const std::unique_ptr<PictureInfo> owner(info);
    EXPECT_EQ(picture.Width(), 37);
    EXPECT_EQ(info->PictureType(), crvPtePNG);
    EXPECT_EQ(leftOver(), QStringList());

    EXPECT_EQ(raisedNumber([&] { library().LoadResPictureByData("not a picture"); }), RuntimeError::InvalidPicture);
    EXPECT_EQ(leftOver(), QStringList());
    // An empty file is a file: no reader takes it.
    EXPECT_EQ(raisedNumber([&] { library().LoadResPictureByData({}); }), RuntimeError::InvalidPicture);
    EXPECT_EQ(leftOver(), QStringList());
}

TEST(GetLoadPictureExPattern, ListsTheWildcardsInTheirOrder)
{
    EXPECT_EQ(library().GetLoadPictureExPattern(),
              QStringLiteral("*.BMP;*.DIB;*.RLE;*.JPG;*.JPE;*.JPEG;*.GIF;*.PNG;*.PSD;*.PCX;*.TGA;*.TIF;*.TIFF"));
    EXPECT_EQ(library().GetLoadPictureExPattern(true, true, true, true),
              QStringLiteral("*.BMP;*.DIB;*.RLE;*.JPG;*.JPE;*.JPEG;*.GIF;*.WMF;*.EMF;*.ICO;*.CUR;*.PNG;*.PSD;*.PCX;"
                             "*.TGA;*.TIF;*.TIFF"));
    // The optional kinds keep their order whatever the flags' order is.
    EXPECT_EQ(library().GetLoadPictureExPattern(true, false, true, false),
              QStringLiteral("*.BMP;*.DIB;*.RLE;*.JPG;*.JPE;*.JPEG;*.GIF;*.WMF;*.ICO;*.PNG;*.PSD;*.PCX;*.TGA;*.TIF;"
                             "*.TIFF"));
}

TEST(GetLoadPictureExFilter, PairsCaptionsWithPatterns)
{
    EXPECT_EQ(library().GetLoadPictureExFilter(),
              QStringLiteral("Картинки|*.BMP;*.DIB;*.RLE;*.JPG;*.JPE;*.JPEG;*.GIF;*.PNG;*.PSD;*.PCX;*.TGA;*.TIF;*.TIFF"
                             "|Windows bitmap|*.BMP;*.DIB;*.RLE|JPEG|*.JPG;*.JPE;*.JPEG|CompuServe GIF|*.GIF"
                             "|Portable network graphics|*.PNG|Photoshop document|*.PSD|Zsoft Paintbrush|*.PCX"
                             "|Truevision Targa|*.TGA|Tagged image file format|*.TIF;*.TIFF|Все файлы|*.*"));
    const QString all = library().GetLoadPictureExFilter(true, true, true, true);
    EXPECT_TRUE(all.contains(QStringLiteral("|CompuServe GIF|*.GIF|Windows metafile|*.WMF|Enhanced metafile|*.EMF"
                                            "|Windows icon|*.ICO|Windows cursor|*.CUR|Portable network graphics|")))
        << qPrintable(all);
    EXPECT_EQ(all.split(u'|').size(), 2 * 14) << "the pictures entry, twelve kinds and all files";
}

TEST(PictureInfo, NamesEveryKindAndStartsAsNothing)
{
    const PictureInfo fresh;
    EXPECT_EQ(fresh.GetPictureTypeName(), QStringLiteral("Nothing"));
    EXPECT_EQ(fresh.property("PictureType").toInt(), 0);
    const QStringList names {"Nothing",
                             "Windows bitmap",
                             "JPEG",
                             "CompuServe GIF",
                             "Windows metafile",
                             "Enhanced metafile",
                             "Windows icon",
                             "Windows cursor",
                             "Portable network graphics",
                             "Photoshop document",
                             "Zsoft Paintbrush",
                             "Truevision Targa",
                             "Tagged image file format"};
    for (qint32 kind = 0; kind < names.size(); ++kind)
        EXPECT_EQ(pictureTypeName(kind), names.at(kind)) << kind;
    for (const qint32 other : {-1, 13, 98, 100})
        EXPECT_EQ(pictureTypeName(other), QStringLiteral("Unknown")) << other;
    EXPECT_EQ(pictureTypeName(crvPteUnknown), QStringLiteral("Unknown"));
}

TEST(CreatePictureFromBits, KeepsThePaletteAndRefusesRecordsThatAreNoBitmap)
{
    DecodedBitmap indexed {2, 1, 8, std::vector<quint32>(256, 0), QByteArray("\x01\x00\x00\x00", 4)};
    indexed.Palette[1] = 0x00112233;
    const StdPicture picture = CreatePictureFromBits(indexed);
    EXPECT_EQ(picture.image().pixel(0, 0), qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(picture.image().pixel(1, 0), qRgb(0, 0, 0));

    const DecodedBitmap wrongLength {2, 1, 24, {}, QByteArray(6, '\0')}; // rows are padded to 8
    const DecodedBitmap noPalette {2, 1, 8, {}, QByteArray(4, '\0')};
    const DecodedBitmap noHeight {2, 0, 24, {}, {}};
    for (const DecodedBitmap &b : {wrongLength, noPalette, noHeight})
        EXPECT_EQ(raisedNumber([&] { CreatePictureFromBits(b); }), RuntimeError::InternalError);
}

TEST(GetGdiPlusStatusText, NamesTheStatusesAndNumbersTheRest)
{
    EXPECT_EQ(GetGdiPlusStatusText(0), QStringLiteral("Unknown error"));
    EXPECT_EQ(GetGdiPlusStatusText(12), QStringLiteral("Accedd denied"));
    EXPECT_EQ(GetGdiPlusStatusText(20), QStringLiteral("Property not supported"));
    EXPECT_EQ(GetGdiPlusStatusText(21), QStringLiteral("Unknown error 21"));
    EXPECT_EQ(GetGdiPlusStatusText(-1), QStringLiteral("Unknown error -1"));
}

} // namespace
