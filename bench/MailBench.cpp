// Quillon's composer against mpack on the same 20 MB picture, in one run:
// the time of one message each (ours synced to the disk, as every message
// is), how many times as fast ours is, and the peak memory of composing a
// 200 MB picture, measured on its own. Goals: at least three times as fast
// as mpack, and a peak under 16 MB above the idle process, however large
// the picture; the program exits with 1 when either is missed.
//
// The "picture" is 20 MB of random bytes named .jpg: the composer never
// decodes a picture, and random bytes are what a compressed picture looks
// like to base64.
#include "app/common/StringTextHolder.h"
#include "app/mail/modMail.h"
#include "bench/PeakMemory.h"
#include "bench/TimeKeepingReporter.h"
#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr qsizetype kPictureSize = 20 * 1024 * 1024;
constexpr qint64 kLargePictureSize = 200 * 1024 * 1024;
constexpr double kSpeedGoal = 3.0;
constexpr qint64 kPeakGoal = 16 * 1024 * 1024;

QString g_picture;
QString g_largePicture;
QString g_outFolder;

// Failures go to standard error; a benchmark shows no boxes.
class PrintingReporter : public quillon::MailFailureReporter
{
public:
    void showMessage(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void showError(const tessera::RuntimeError &error, const QString &text) override
    {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(text), error.what());
    }
};

PrintingReporter g_reporter;

bool compose(QString *written, const QString &picture = g_picture)
{
    quillon::StringTextHolder folder(g_outFolder);
    return quillon::modMail::MakePostMail(folder, QStringLiteral("me@example.org"), QStringLiteral("blog@tumblr.com"),
                                          QStringLiteral("Sunset over the sea"), picture, g_reporter, written);
}

// Random bytes, written in pieces so that making the file costs no memory.
bool writeRandomFile(const QString &path, qint64 size, quint32 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(seed);
    QByteArray piece(1024 * 1024, Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= piece.size()) {
        random.fillRange(reinterpret_cast<quint32 *>(piece.data()), piece.size() / 4);
        const qint64 n = qMin<qint64>(left, piece.size());
        if (file.write(piece.constData(), n) != n)
            return false;
    }
    return true;
}

// Runs "mpack -s <subject> -o <output> <picture>". Returns its exit status,
// or -1 when it cannot be started.
int runMpack(const QString &output)
{
    const QByteArray out = QFile::encodeName(output);
    const QByteArray picture = QFile::encodeName(g_picture);
    char program[] = "mpack";
    char subjectOption[] = "-s";
    char subject[] = "Sunset over the sea";
    char outputOption[] = "-o";
    char *const argv[] = {program,
                          subjectOption,
                          subject,
                          outputOption,
                          const_cast<char *>(out.constData()),
                          const_cast<char *>(picture.constData()),
                          nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The memory one composition adds at its peak (-1 when it cannot be
// measured).
qint64 compositionPeak()
{
    QString written;
    const qint64 peak = peakMemoryOf([&written] { return compose(&written, g_largePicture); });
    QFile::remove(written);
    return peak;
}

bool bodyMatchesPicture(const QByteArray &picture)
{
    QString written;
    if (!compose(&written))
        return false;
    QFile message(written);
    if (!message.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = message.readAll();
    message.remove();
    const qsizetype bodyStart = text.indexOf("\r\n\r\n") + 4;
    return bodyStart >= 4 && QByteArray::fromBase64(text.mid(bodyStart)) == picture;
}

void BM_MakePostMail(benchmark::State &state)
{
    for (auto _ : state) {
        QString written;
        if (!compose(&written)) {
            state.SkipWithError("MakePostMail failed");
            break;
        }
        state.PauseTiming();
        QFile::remove(written);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kPictureSize);
}

void BM_Mpack(benchmark::State &state)
{
    const QString output = QDir(g_outFolder).filePath(QStringLiteral("mpack.eml"));
    for (auto _ : state) {
        if (runMpack(output) != 0) {
            state.SkipWithError("mpack failed");
            break;
        }
        state.PauseTiming();
        QFile::remove(output);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kPictureSize);
}

BENCHMARK(BM_MakePostMail)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Mpack)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir(folder.path()).mkdir(QStringLiteral("out")))
        return 2;
    g_picture = folder.filePath(QStringLiteral("picture.jpg"));
    g_largePicture = folder.filePath(QStringLiteral("large.jpg"));
    g_outFolder = folder.filePath(QStringLiteral("out"));
    if (!writeRandomFile(g_picture, kPictureSize, 2024) || !writeRandomFile(g_largePicture, kLargePictureSize, 2025))
        return 2;
    // Measured first, before other large buffers come and go.
    const qint64 peak = compositionPeak();
    QFile::remove(g_largePicture);
    {
        QFile file(g_picture);
        const bool same = file.open(QIODevice::ReadOnly) && bodyMatchesPicture(file.readAll());
        std::printf("Output check: the message body decodes to the picture: %s\n", same ? "yes" : "NO");
        if (!same)
            return 1;
    }

    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool goalsMet = true;
    const auto ours = reporter.realTime.find("BM_MakePostMail");
    const auto peer = reporter.realTime.find("BM_Mpack");
    if (ours != reporter.realTime.end() && peer != reporter.realTime.end() && ours->second > 0) {
        const double ratio = peer->second / ours->second;
        std::printf("MakePostMail (synced): %.1f ms, mpack: %.1f ms per 20 MB picture; ours is %.2f times as fast "
                    "(goal: at least %.0f)\n",
                    ours->second, peer->second, ratio, kSpeedGoal);
        goalsMet = ratio >= kSpeedGoal;
    } else {
        std::printf("The time ratio could not be measured\n");
        goalsMet = false;
    }
    if (peak >= 0) {
        std::printf("Peak memory of composing a 200 MB picture: %.1f MB above the idle process (goal: under 16 MB)\n",
                    peak / (1024.0 * 1024.0));
        goalsMet = goalsMet && peak < kPeakGoal;
    } else {
        std::printf("Peak memory could not be measured (no /proc/self/clear_refs)\n");
        goalsMet = false;
    }
    return goalsMet ? 0 : 1;
}
