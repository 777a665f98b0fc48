#pragma once

#include "lib/pictures/DecodedBitmap.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

// Pictures for the picture tests: written at run time by ImageMagick's
// convert and by Pillow (Debian's /usr/bin/python3), decoded by them as the
// independent judges of our pixels, and built byte by byte for edge cases.
namespace corvid::test {

/// A temporary folder of test files, each made on first use by its recipe,
/// so that a test process makes only the files its tests use.
class TestFileFolder
{
public:
    /// The path of \a file, made first when it has a recipe.
    QString path(const char *file) const;

protected:
    /// \a file is made by \a make, which writes it to the path it is given.
    void recipe(const char *file, std::function<void(const QString &path)> make);
    /// \a file is Pillow's test pattern in \a mode (pillowWriteJob).
    void pillowRecipe(const char *file, const char *mode, int width, int height, const QJsonObject &options = {});
    /// \a file is ImageMagick's conversion of \a source with \a options.
    void magickRecipe(const char *file, const char *source, const QStringList &options = {});

private:
    QTemporaryDir m_dir;
    QHash<QString, std::function<void(const QString &)>> m_recipes;
    mutable QSet<QString> m_made;
};

/// A test name made of a file name: "old.pcx" gives "old_pcx".
std::string fileTestName(const char *file);

/// A file a decoder must refuse, and a piece of the reason it must give.
struct CorruptFile {
    const char *name;
    QByteArray file;
    const char *reason;
};
void PrintTo(const CorruptFile &file, std::ostream *os);
std::string corruptFileName(const ::testing::TestParamInfo<CorruptFile> &info);
/// Success when \a result holds no bitmap and its reason contains \a reason.
::testing::AssertionResult refusedFor(const tessera::DecodeResult &result, const char *reason);

/// Pixels as red, green, blue bytes, rows top to bottom, no padding.
struct RgbPixels {
    int width = 0;
    int height = 0;
    QByteArray rgb;

    bool operator==(const RgbPixels &) const = default;
};

/// Success when both have the same size and pixels; otherwise the sizes or
/// the first pixel that differs. With \a fiveBits the colours are compared
/// in their top five bits, as 16-bit Targa pixels hold them (the judges widen
/// five bits to eight by scaling, we by shifting).
::testing::AssertionResult samePixels(const RgbPixels &ours, const RgbPixels &theirs, bool fiveBits = false);

RgbPixels rgbOf(const tessera::DecodedBitmap &bitmap);
RgbPixels rgbOf(const QImage &image);

/// Runs pillow_pictures.py on \a jobs and returns one result per job; adds a
/// test failure when the script cannot run.
QJsonArray runPillow(const QJsonArray &jobs);
QJsonObject pillowWriteJob(const QString &path, const QString &mode, int width, int height,
                           const QJsonObject &options = {});
QJsonObject pillowPixelsJob(const QString &path);
/// The pixels of a "pixels" result; empty when it holds an error.
RgbPixels pixelsOfResult(const QJsonObject &result);

/// Runs ImageMagick's convert with \a arguments; the empty text on success,
/// otherwise what went wrong.
QString runConvert(const QStringList &arguments);
/// ImageMagick's decoding of \a path (its first picture), alpha dropped.
RgbPixels magickPixels(const QString &path);

/// All the bytes of a string literal, NULs included.
template <size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

/// Little- and big-endian numbers for hand-made files.
void appendLE16(QByteArray &bytes, quint16 value);
void appendBE16(QByteArray &bytes, quint16 value);
void appendBE32(QByteArray &bytes, quint32 value);

/// A PCX header; every field may be set to anything.
struct PcxFields {
    quint8 manufacturer = 10;
    quint8 bitsPerPixel = 8;
    quint16 xMin = 0;
    quint16 yMin = 0;
    quint16 xMax = 0;
    quint16 yMax = 0;
    quint16 dpi = 72;
    quint8 planes = 1;
    quint16 bytesPerLine = 0;
};
QByteArray pcxHeader(const PcxFields &fields);
/// The 769-byte palette block: marker 12, entry i = (i, 255 - i, i / 2).
QByteArray pcxPalette(quint8 marker = 12);

/// A Targa header.
struct TgaFields {
    quint8 idLength = 0;
    quint8 colorMapType = 0;
    quint8 imageType = 2;
    quint16 colorMapLength = 0;
    quint8 colorMapEntrySize = 0;
    quint16 width = 1;
    quint16 height = 1;
    quint8 depth = 24;
    quint8 descriptor = 0;
};
QByteArray tgaHeader(const TgaFields &fields);

/// A Photoshop file: header, the three sections (given as their contents),
/// the compression field and \a imageData.
struct PsdFields {
    quint32 signature = 0x38425053;
    quint16 version = 1;
    quint16 channels = 3;
    quint32 rows = 1;
    quint32 columns = 1;
    quint16 depth = 8;
    quint16 mode = 3;
    QByteArray resources;
    quint16 compression = 0;
};
QByteArray psdFile(const PsdFields &fields, const QByteArray &imageData);

} // namespace corvid::test
