// tessera-picture as users and scripts run it: info lines, conversion to PNG
// written whole or not at all, pictures from a pipe, and a one-line reason
// with a non-zero status for every failure.
#include "lib/pictures/PcxDecoder.h"
#include "tests/lib/pictures/PictureTestSupport.h"
#include "tests/lib/system/SettingsTestSupport.h"

#include <QTemporaryDir>

namespace {

using namespace corvid::test;
using namespace tessera;

const QString Tool = QStringLiteral("tessera-picture");

class PictureTool : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        runPillow({pillowWriteJob(path("old.pcx"), QStringLiteral("P"), 37, 23),
                   pillowWriteJob(path("old.tga"), QStringLiteral("RGB"), 20, 10,
                                  {{QStringLiteral("compression"), QStringLiteral("tga_rle")}}),
                   pillowWriteJob(path("alpha.png"), QStringLiteral("RGBA"), 37, 23)});
        EXPECT_EQ(runConvert({path("old.tga"), path("old.psd")}), QString());
        writeFile(path("junk.bin"), "no picture here");
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    static QString path(const QString &name) { return s_dir->filePath(name); }

    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> PictureTool::s_dir;

TEST_F(PictureTool, InfoPrintsOneTabSeparatedLinePerFile)
{
    const ProgramRun run
        = runProgram(Tool, {QStringLiteral("info"), path("old.pcx"), path("old.tga"), path("old.psd")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out,
              path("old.pcx") + QStringLiteral("\tZsoft Paintbrush\t37\t23\t8\n") + path("old.tga")
                  + QStringLiteral("\tTruevision Targa\t20\t10\t24\n") + path("old.psd")
                  + QStringLiteral("\tPhotoshop document\t20\t10\t24\n"));
    EXPECT_EQ(run.err, QString());
}

TEST_F(PictureTool, EveryFailingFileGetsOneLineAndTheOthersStillPrint)
{
    const ProgramRun run = runProgram(
        Tool, {QStringLiteral("info"), path("missing.pcx"), path("junk.bin"), s_dir->path(), path("old.pcx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.startsWith(path("old.pcx") + u'\t')) << qPrintable(run.out);
    const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << qPrintable(run.err);
    EXPECT_TRUE(lines.at(0).contains(QStringLiteral("missing.pcx: no such file")));
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("junk.bin: not a picture")));
    EXPECT_TRUE(lines.at(2).contains(QStringLiteral("is a folder")));
}

TEST_F(PictureTool, ReadsAPictureFromStandardInput)
{
    const ProgramRun run = runProgram(Tool, {QStringLiteral("info"), QStringLiteral("-")}, readFile(path("old.tga")));
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out, QStringLiteral("-\tTruevision Targa\t20\t10\t24\n"));
}

TEST_F(PictureTool, ConvertWritesThePicturesPixelsAsPng)
{
    const QString out = path("converted.png");
    const ProgramRun run = runProgram(Tool, {QStringLiteral("convert"), path("old.pcx"), out});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const DecodeResult decoded = DecodePcx(readFile(path("old.pcx")));
    ASSERT_TRUE(decoded.bitmap);
    EXPECT_TRUE(samePixels(rgbOf(QImage(out, "PNG")), rgbOf(*decoded.bitmap)));
}

TEST_F(PictureTool, AConsoleConversionShowsTransparencyOnTheLightButtonFace)
{
    const QString out = path("flat.png");
    ASSERT_EQ(runProgram(Tool, {QStringLiteral("convert"), path("alpha.png"), out}).exitCode, 0);
    EXPECT_EQ(QImage(out).pixelColor(36, 4), QColor(0xEF, 0xEF, 0xEF)); // fully clear in the pattern
}

TEST_F(PictureTool, AFailedConversionLeavesTheTargetAsItWas)
{
    const QString out = path("keep.png");
    writeFile(out, "old contents");
    const ProgramRun junk = runProgram(Tool, {QStringLiteral("convert"), path("junk.bin"), out});
    EXPECT_EQ(junk.exitCode, 1);
    EXPECT_EQ(readFile(out), QByteArray("old contents"));

    const ProgramRun full = runProgram(Tool, {QStringLiteral("convert"), path("old.pcx"), QStringLiteral("/dev/full")});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("/dev/full: cannot be written"))) << qPrintable(full.err);
    EXPECT_EQ(full.err.count(u'\n'), 1);

    const ProgramRun noFolder
        = runProgram(Tool, {QStringLiteral("convert"), path("old.pcx"), path("no/such/folder/out.png")});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_TRUE(noFolder.err.contains(QStringLiteral("cannot be written"))) << qPrintable(noFolder.err);
}

TEST_F(PictureTool, CommandLineMistakesExitWith2AndHelpWith0)
{
    const ProgramRun help = runProgram(Tool, {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: tessera-picture info FILE...")));
    for (const QStringList &args : {QStringList {}, QStringList {QStringLiteral("info")},
                                    QStringList {QStringLiteral("convert"), path("old.pcx")},
                                    QStringList {QStringLiteral("show"), path("old.pcx")}}) {
        const ProgramRun run = runProgram(Tool, args);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(args.join(u' '));
        EXPECT_EQ(run.err.count(u'\n'), 1) << qPrintable(run.err);
    }
}

} // namespace
