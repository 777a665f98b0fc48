// Quillon's composer against mpack on the same 20 MB picture, in one run:
// the time of one message each, how many times as fast ours is, and the
// peak memory of one composition measured on its own. Goals: faster than
// mpack, and a peak under three times the picture's size; the program exits
// with 1 when either is missed.
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

QString g_picture;
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

bool compose(QString *written)
{
    quillon::StringTextHolder folder(g_outFolder);
    return quillon::modMail::MakePostMail(folder, QStringLiteral("me@example.org"), QStringLiteral("blog@tumblr.com"),
                                          QStringLiteral("Sunset over the sea"), g_picture, g_reporter, written);
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
    const qint64 peak = peakMemoryOf([&written] { return compose(&written); });
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
    g_outFolder = folder.filePath(QStringLiteral("out"));
    {
        QByteArray picture(kPictureSize, Qt::Uninitialized);
        QRandomGenerator(2024).fillRange(reinterpret_cast<quint32 *>(picture.data()), kPictureSize / 4);
        QFile file(g_picture);
        if (!file.open(QIODevice::WriteOnly) || file.write(picture) != kPictureSize)
            return 2;
    }
    // Measured first, before other large buffers come and go.
    const qint64 peak = compositionPeak();
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
        std::printf("MakePostMail: %.1f ms, mpack: %.1f ms per 20 MB picture; ours is %.2f times as fast\n",
                    ours->second, peer->second, ratio);
        goalsMet = ratio > 1.0;
    } else {
        std::printf("The time ratio could not be measured\n");
        goalsMet = false;
    }
    if (peak >= 0) {
        const double times = double(peak) / kPictureSize;
        std::printf("Peak memory of one composition: %.1f MB, %.2f times the picture's size (goal: under 3)\n",
                    peak / (1024.0 * 1024.0), times);
        goalsMet = goalsMet && times < 3.0;
    } else {
        std::printf("Peak memory could not be measured (no /proc/self/clear_refs)\n");
        goalsMet = false;
    }
    return goalsMet ? 0 : 1;
}
