#include "tests/lib/pictures/PictureTestSupport.h"

#include "tests/common/TestSandbox.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

namespace corvid::test {

namespace {

constexpr int ToolTimeoutMs = 120000;

} // namespace

QString TestFileFolder::path(const char *file) const
{
    const QString name = QString::fromLatin1(file);
    const QString full = m_dir.filePath(name);
    if (m_recipes.contains(name) && !m_made.contains(name)) {
        m_made.insert(name);
        m_recipes.value(name)(full);
    }
    return full;
}

void TestFileFolder::recipe(const char *file, std::function<void(const QString &)> make)
{
    m_recipes.insert(QString::fromLatin1(file), std::move(make));
}

void TestFileFolder::pillowRecipe(const char *file, const char *mode, int width, int height, const QJsonObject &options)
{
    recipe(file, [=](const QString &path) {
        const QJsonObject result
            = runPillow({pillowWriteJob(path, QString::fromLatin1(mode), width, height, options)}).first().toObject();
        EXPECT_FALSE(result.contains(QStringLiteral("error")))
            << qPrintable(result.value(QStringLiteral("error")).toString());
    });
}

void TestFileFolder::magickRecipe(const char *file, const char *source, const QStringList &options)
{
    recipe(file, [this, source, options](const QString &path) {
        const QStringList arguments = QStringList {this->path(source)} + options + QStringList {path};
        EXPECT_EQ(runConvert(arguments), QString()) << qPrintable(arguments.join(u' '));
    });
}

std::string fileTestName(const char *file)
{
    return QString::fromLatin1(file).replace(u'.', u'_').replace(u'-', u'_').toStdString();
}

void PrintTo(const CorruptFile &file, std::ostream *os)
{
    *os << file.name;
}

std::string corruptFileName(const ::testing::TestParamInfo<CorruptFile> &info)
{
    return info.param.name;
}

::testing::AssertionResult refusedFor(const tessera::DecodeResult &result, const char *reason)
{
    if (result.bitmap)
        return ::testing::AssertionFailure()
            << "decoded a " << result.bitmap->Width << "x" << result.bitmap->Height << " bitmap";
    if (!result.failure || !QByteArrayView(result.failure).contains(reason))
        return ::testing::AssertionFailure()
            << "refused for \"" << (result.failure ? result.failure : "(none)") << "\", not for \"" << reason << "\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult samePixels(const RgbPixels &ours, const RgbPixels &theirs, bool fiveBits)
{
    if (ours.width != theirs.width || ours.height != theirs.height || ours.rgb.size() != theirs.rgb.size()) {
        return ::testing::AssertionFailure()
            << "size " << ours.width << "x" << ours.height << " (" << ours.rgb.size() << " bytes), expected "
            << theirs.width << "x" << theirs.height << " (" << theirs.rgb.size() << " bytes)";
    }
    for (qsizetype i = 0; i < ours.rgb.size(); ++i) {
        const int a = uchar(ours.rgb[i]);
        const int b = uchar(theirs.rgb[i]);
        if (fiveBits ? a >> 3 != qRound(b * 31 / 255.0) : a != b) {
            const qsizetype pixel = i / 3;
            return ::testing::AssertionFailure() << "pixel (" << pixel % ours.width << ", " << pixel / ours.width
                                                 << ") channel " << i % 3 << ": " << a << ", expected " << b;
        }
    }
    return ::testing::AssertionSuccess();
}

RgbPixels rgbOf(const tessera::DecodedBitmap &bitmap)
{
    RgbPixels out {bitmap.Width, bitmap.Height, {}};
    const qsizetype stride = tessera::DibStride(bitmap.Width, bitmap.layoutBits());
    out.rgb.reserve(qsizetype(bitmap.Width) * bitmap.Height * 3);
    for (int y = 0; y < bitmap.Height; ++y) {
        const auto *row = reinterpret_cast<const uchar *>(bitmap.Bits.constData()) + y * stride;
        for (int x = 0; x < bitmap.Width; ++x) {
            if (bitmap.layoutBits() == 8) {
                const quint32 entry = bitmap.Palette.at(row[x]);
                out.rgb.append(char(entry >> 16)).append(char(entry >> 8)).append(char(entry));
            } else {
                out.rgb.append(char(row[3 * x + 2])).append(char(row[3 * x + 1])).append(char(row[3 * x]));
            }
        }
    }
    return out;
}

RgbPixels rgbOf(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    RgbPixels out {rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y)
        out.rgb.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), qsizetype(rgb.width()) * 3);
    return out;
}

QJsonArray runPillow(const QJsonArray &jobs)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {sourceFile(QStringLiteral("tests/lib/pictures/pillow_pictures.py"))});
    if (!python.waitForStarted()) {
        ADD_FAILURE() << "Pillow cannot run: " << qPrintable(python.errorString());
        return {};
    }
    python.write(QJsonDocument(jobs).toJson(QJsonDocument::Compact));
    python.closeWriteChannel();
    python.waitForFinished(ToolTimeoutMs);
    const QJsonArray results = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    if (python.exitCode() != 0 || results.size() != jobs.size())
        ADD_FAILURE() << "Pillow failed: " << python.readAllStandardError().constData();
    return results;
}

QJsonObject pillowWriteJob(const QString &path, const QString &mode, int width, int height, const QJsonObject &options)
{
    return {{QStringLiteral("op"), QStringLiteral("write")},
            {QStringLiteral("path"), path},
            {QStringLiteral("mode"), mode},
            {QStringLiteral("size"), QJsonArray {width, height}},
            {QStringLiteral("options"), options}};
}

QJsonObject pillowPixelsJob(const QString &path)
{
    return {{QStringLiteral("op"), QStringLiteral("pixels")}, {QStringLiteral("path"), path}};
}

RgbPixels pixelsOfResult(const QJsonObject &result)
{
    if (result.contains(QStringLiteral("error")))
        return {};
    const QJsonArray size = result.value(QStringLiteral("size")).toArray();
    return {size.at(0).toInt(), size.at(1).toInt(),
            QByteArray::fromHex(result.value(QStringLiteral("rgb")).toString().toLatin1())};
}

QString runConvert(const QStringList &arguments)
{
    QProcess convert;
    convert.start(QStringLiteral("convert"), arguments);
    if (!convert.waitForStarted())
        return QStringLiteral("ImageMagick's convert cannot run: ") + convert.errorString();
    convert.waitForFinished(ToolTimeoutMs);
    if (convert.exitStatus() != QProcess::NormalExit || convert.exitCode() != 0)
        return QString::fromLocal8Bit(convert.readAllStandardError());
    return {};
}

RgbPixels magickPixels(const QString &path)
{
    QProcess convert;
    convert.start(QStringLiteral("convert"),
                  {path + QStringLiteral("[0]"), QStringLiteral("-alpha"), QStringLiteral("off"),
                   QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("ppm:-")});
    convert.waitForFinished(ToolTimeoutMs);
    const QByteArray ppm = convert.readAllStandardOutput();
    // "P6\n<width> <height>\n255\n" and the pixels.
    const QList<QByteArray> fields = ppm.left(64).simplified().split(' ');
    if (fields.size() < 4 || fields.at(0) != "P6") {
        ADD_FAILURE() << "ImageMagick cannot decode " << qPrintable(path);
        return {};
    }
    RgbPixels out {fields.at(1).toInt(), fields.at(2).toInt(), {}};
    out.rgb = ppm.right(qsizetype(out.width) * out.height * 3);
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void appendLE16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF)).append(char(value >> 8));
}

void appendBE16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value >> 8)).append(char(value & 0xFF));
}

void appendBE32(QByteArray &bytes, quint32 value)
{
    appendBE16(bytes, quint16(value >> 16));
    appendBE16(bytes, quint16(value & 0xFFFF));
}

QByteArray pcxHeader(const PcxFields &fields)
{
    QByteArray h;
    h.append(char(fields.manufacturer)).append(char(5)).append(char(1)).append(char(fields.bitsPerPixel));
    for (const quint16 v : {fields.xMin, fields.yMin, fields.xMax, fields.yMax, fields.dpi, fields.dpi})
        appendLE16(h, v);
    h.append(48 + 1, '\0');
    h.append(char(fields.planes));
    appendLE16(h, fields.bytesPerLine);
    appendLE16(h, 1);
    h.append(128 - h.size(), '\0');
    return h;
}

QByteArray pcxPalette(quint8 marker)
{
    QByteArray p(1, char(marker));
    for (int i = 0; i < 256; ++i)
        p.append(char(i)).append(char(255 - i)).append(char(i / 2));
    return p;
}

QByteArray tgaHeader(const TgaFields &fields)
{
    QByteArray h;
    h.append(char(fields.idLength)).append(char(fields.colorMapType)).append(char(fields.imageType));
    appendLE16(h, 0);
    appendLE16(h, fields.colorMapLength);
    h.append(char(fields.colorMapEntrySize));
    appendLE16(h, 0);
    appendLE16(h, 0);
    appendLE16(h, fields.width);
    appendLE16(h, fields.height);
    h.append(char(fields.depth)).append(char(fields.descriptor));
    return h;
}

QByteArray psdFile(const PsdFields &fields, const QByteArray &imageData)
{
    QByteArray f;
    appendBE32(f, fields.signature);
    appendBE16(f, fields.version);
    f.append(6, '\0');
    appendBE16(f, fields.channels);
    appendBE32(f, fields.rows);
    appendBE32(f, fields.columns);
    appendBE16(f, fields.depth);
    appendBE16(f, fields.mode);
    appendBE32(f, 0); // colour-mode data
    appendBE32(f, quint32(fields.resources.size()));
    f.append(fields.resources);
    appendBE32(f, 0); // layers and masks
    appendBE16(f, fields.compression);
    return f + imageData;
}

} // namespace corvid::test
