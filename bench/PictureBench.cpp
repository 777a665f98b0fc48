// The library's own picture readers against their peers, in one run: 4000 ×
// 3000 pictures as Targa (run-length and raw), Photoshop (PackBits) and PCX
// (24-bit) files, decoded from the file by our decoders, by stb_image where
// it reads the format (Targa, Photoshop) and by Pillow otherwise (PCX).
// Pillow decodes every file too, for comparison. Goals: at least as fast as
// stb_image (Pillow for PCX), and a peak memory of no more than the decoded
// picture plus the file (give or take the pages the measurement rounds to).
// The program exits with 1 when a goal is missed.
//
// The files are written by ImageMagick from a picture with flat areas,
// gradients and fine texture, so that run-length data hold runs and
// literals as photographs and drawings do.
#include "bench/PeakMemory.h"
#include "bench/TimeKeepingReporter.h"
#include "lib/pictures/PcxDecoder.h"
#include "lib/pictures/PictureFile.h"
#include "lib/pictures/PsdDecoder.h"
#include "lib/pictures/TgaDecoder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <stb_image.h>

namespace {

using namespace tessera;

constexpr int Width = 4000;
constexpr int Height = 3000;
// Memory is measured in whole pages: both buffers round up to a page, and
// reading /proc/self/status for the measurement allocates a little itself.
constexpr qint64 MeasureSlack = 64 * 1024;

enum class Peer { Stb, Pillow };

struct Case {
    const char *name;
    const char *file;
    QStringList convertOptions;
    DecodeResult (*decode)(QByteArrayView);
    Peer peer;
};

const QList<Case> &cases()
{
    static const QList<Case> list {
        {"TgaRle", "picture_rle.tga", {QStringLiteral("-compress"), QStringLiteral("RLE")}, DecodeTga, Peer::Stb},
        {"TgaRaw", "picture_raw.tga", {QStringLiteral("-compress"), QStringLiteral("None")}, DecodeTga, Peer::Stb},
        {"PsdRle", "picture_rle.psd", {QStringLiteral("-compress"), QStringLiteral("RLE")}, DecodePsd, Peer::Stb},
        {"Pcx", "picture.pcx", {}, DecodePcx, Peer::Pillow},
    };
    return list;
}

QString g_folder;

QString pathOf(const Case &c)
{
    return QDir(g_folder).filePath(QString::fromLatin1(c.file));
}

// The source picture as a binary PPM: flat blocks, a gradient and a band of
// texture.
bool writeSource(const QString &path)
{
    QByteArray ppm = QByteArrayLiteral("P6\n4000 3000\n255\n");
    const qsizetype header = ppm.size();
    ppm.resize(header + qsizetype(Width) * Height * 3);
    auto *p = reinterpret_cast<uchar *>(ppm.data()) + header;
    quint32 noise = 2024;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x, p += 3) {
            noise = noise * 1664525u + 1013904223u;
            if (y < Height / 3) { // sky: flat blocks
                p[0] = uchar(40 + (x / 500) * 20);
                p[1] = uchar(90 + (y / 250) * 10);
                p[2] = 200;
            } else if (y < 2 * Height / 3) { // a smooth gradient
                p[0] = uchar(x * 255 / Width);
                p[1] = uchar(y * 255 / Height);
                p[2] = uchar((x + y) / 28);
            } else { // texture
                p[0] = uchar(100 + (noise >> 27));
                p[1] = uchar(80 + (noise >> 22 & 31));
                p[2] = uchar(60 + (noise >> 17 & 31));
            }
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ppm) == ppm.size();
}

bool decodeOurs(const Case &c)
{
    const PictureFile file(pathOf(c));
    const DecodeResult result = c.decode(file.bytes());
    benchmark::DoNotOptimize(result.bitmap);
    return file.isValid() && result.bitmap.has_value();
}

void BM_Ours(benchmark::State &state, const Case &c)
{
    for (auto _ : state) {
        if (!decodeOurs(c)) {
            state.SkipWithError("our decoder failed");
            break;
        }
    }
}

void BM_StbImage(benchmark::State &state, const Case &c)
{
    const QByteArray path = QFile::encodeName(pathOf(c));
    for (auto _ : state) {
        int w = 0, h = 0, channels = 0;
        stbi_uc *pixels = stbi_load(path.constData(), &w, &h, &channels, 0);
        if (!pixels) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

// Pillow's time for one decode of each file (Image.open + load), the median
// of five, in milliseconds; empty when Pillow cannot run.
QMap<QString, double> pillowTimes()
{
    QStringList files;
    for (const Case &c : cases())
        files.append(pathOf(c));
    const char script[] = R"(
import statistics, sys, time
from PIL import Image
for path in sys.argv[1:]:
    times = []
    for _ in range(5):
        start = time.perf_counter()
        with Image.open(path) as picture:
            picture.load()
        times.append(time.perf_counter() - start)
    print(path, statistics.median(times) * 1000)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList {QStringLiteral("-c"), QString::fromLatin1(script)} + files);
    python.waitForFinished(-1);
    QMap<QString, double> times;
    for (const QByteArray &line : python.readAllStandardOutput().split('\n')) {
        const qsizetype space = line.lastIndexOf(' ');
        if (space > 0)
            times.insert(QFile::decodeName(line.left(space)), line.mid(space + 1).toDouble());
    }
    return times;
}

// Our pixels equal stb_image's for the formats it reads.
bool samePixelsAsStb(const Case &c)
{
    const PictureFile file(pathOf(c));
    const DecodeResult ours = c.decode(file.bytes());
    int w = 0, h = 0, channels = 0;
    stbi_uc *theirs = stbi_load(QFile::encodeName(pathOf(c)).constData(), &w, &h, &channels, 3);
    bool same = ours.bitmap && theirs && w == ours.bitmap->Width && h == ours.bitmap->Height;
    const qsizetype stride = DibStride(w, 24);
    for (int y = 0; same && y < h; ++y) {
        const auto *row = reinterpret_cast<const uchar *>(ours.bitmap->Bits.constData()) + y * stride;
        const stbi_uc *peer = theirs + qsizetype(y) * w * 3;
        for (int x = 0; same && x < w; ++x)
            same = row[3 * x] == peer[3 * x + 2] && row[3 * x + 1] == peer[3 * x + 1] && row[3 * x + 2] == peer[3 * x];
    }
    stbi_image_free(theirs);
    return same;
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 2;
    g_folder = folder.path();
    const QString source = folder.filePath(QStringLiteral("source.ppm"));
    if (!writeSource(source))
        return 2;
    for (const Case &c : cases()) {
        QProcess convert;
        convert.start(QStringLiteral("convert"), QStringList {source} + c.convertOptions + QStringList {pathOf(c)});
        if (!convert.waitForFinished(-1) || convert.exitCode() != 0) {
            std::fprintf(stderr, "ImageMagick could not write %s\n", c.file);
            return 2;
        }
    }
    QFile::remove(source);

    // Peak memory first, before the benchmarks' buffers come and go.
    bool goalsMet = true;
    for (const Case &c : cases()) {
        const qint64 picture = qint64(DibStride(Width, 24)) * Height;
        const qint64 file = QFileInfo(pathOf(c)).size();
        // A first decode pages the decoder's code in; the second is measured.
        decodeOurs(c);
        const qint64 peak = peakMemoryOf([&c] { return decodeOurs(c); });
        const bool met = peak >= 0 && peak <= picture + file + MeasureSlack;
        std::printf("%-7s peak memory %.2f MB (%+lld kB); picture %.2f MB + file %.2f MB = %.2f MB: %s\n", c.name,
                    peak / 1048576.0, (long long)(peak - picture - file) / 1024, picture / 1048576.0, file / 1048576.0,
                    (picture + file) / 1048576.0,
                    peak < 0  ? "NOT MEASURED"
                        : met ? "goal met"
                              : "GOAL MISSED");
        goalsMet = goalsMet && met;
        if (c.peer == Peer::Stb) {
            const bool same = samePixelsAsStb(c);
            std::printf("%-7s our pixels equal stb_image's: %s\n", c.name, same ? "yes" : "NO");
            goalsMet = goalsMet && same;
        }
    }

    for (const Case &c : cases()) {
        benchmark::RegisterBenchmark((std::string("BM_Ours/") + c.name).c_str(), BM_Ours, c)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(2.0);
        if (c.peer == Peer::Stb) {
            benchmark::RegisterBenchmark((std::string("BM_StbImage/") + c.name).c_str(), BM_StbImage, c)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(2.0);
        }
    }
    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const QMap<QString, double> pillow = pillowTimes();
    std::printf("\n%-7s %10s %10s %10s  %s\n", "file", "ours ms", "stb ms", "Pillow ms", "ours against the peer");
    for (const Case &c : cases()) {
        const double ours = reporter.realTime[std::string("BM_Ours/") + c.name];
        const double stb = c.peer == Peer::Stb ? reporter.realTime[std::string("BM_StbImage/") + c.name] : 0;
        const double pil = pillow.value(pathOf(c), 0);
        const double peer = c.peer == Peer::Stb ? stb : pil;
        const bool met = ours > 0 && peer > 0 && ours <= peer;
        std::printf("%-7s %10.1f %10s %10.1f  %.2f times as fast as %s: %s\n", c.name, ours,
                    c.peer == Peer::Stb ? qPrintable(QString::number(stb, 'f', 1)) : "-", pil,
                    ours > 0 ? peer / ours : 0.0, c.peer == Peer::Stb ? "stb_image" : "Pillow",
                    met ? "goal met" : "GOAL MISSED");
        goalsMet = goalsMet && met;
    }
    return goalsMet ? 0 : 1;
}
