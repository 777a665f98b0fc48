// csBase64Encode against GNU coreutils' "base64 -w 76" on the same 50 MB of
// random bytes, in one run. The peer writes LF line ends, ours CR LF: the run
// first checks that the two texts agree once that difference is taken out,
// then times both and prints how many times as fast ours is.
#include "bench/TimeKeepingReporter.h"
#include "support/csText.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr qsizetype kInputSize = 50 * 1024 * 1024;

QByteArray g_input;
QString g_inputFile;

// Runs "base64 -w 76 <input>" with its output going to \a outputFd.
// Returns the exit status, or -1 when the program cannot be started.
int runGnuBase64(int outputFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    const QByteArray file = QFile::encodeName(g_inputFile);
    char program[] = "base64";
    char width[] = "-w";
    char columns[] = "76";
    char *const argv[] = {program, width, columns, const_cast<char *>(file.constData()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool outputsAgree(const QString &folder)
{
    const QString peerFile = folder + QStringLiteral("/peer.txt");
    const int fd = ::open(QFile::encodeName(peerFile).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || runGnuBase64(fd) != 0) {
        std::fprintf(stderr, "cannot run base64 -w 76\n");
        return false;
    }
    ::close(fd);
    QFile peer(peerFile);
    if (!peer.open(QIODevice::ReadOnly))
        return false;
    QByteArray expected = peer.readAll();
    if (expected.endsWith('\n'))
        expected.chop(1); // base64 ends its last line; ours does not
    expected.replace("\n", "\r\n");
    const bool same = cs::csBase64Encode(g_input, 15) == expected;
    std::printf("Output check: csBase64Encode(data, 15) %s base64 -w 76 with LF -> CR LF (%lld characters)\n",
                same ? "equals" : "DIFFERS FROM", static_cast<long long>(expected.size()));
    return same;
}

void BM_csBase64Encode(benchmark::State &state)
{
    for (auto _ : state) {
        QByteArray text = cs::csBase64Encode(g_input, 15);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * g_input.size());
}

void BM_GnuBase64(benchmark::State &state)
{
    const int devNull = ::open("/dev/null", O_WRONLY);
    for (auto _ : state) {
        if (runGnuBase64(devNull) != 0) {
            state.SkipWithError("base64 -w 76 failed");
            break;
        }
    }
    ::close(devNull);
    state.SetBytesProcessed(state.iterations() * g_input.size());
}

BENCHMARK(BM_csBase64Encode)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_GnuBase64)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 2;
    g_input = QByteArray(kInputSize, Qt::Uninitialized);
    QRandomGenerator(2024).fillRange(reinterpret_cast<quint32 *>(g_input.data()), kInputSize / 4);
    g_inputFile = folder.filePath(QStringLiteral("input.bin"));
    QFile input(g_inputFile);
    if (!input.open(QIODevice::WriteOnly) || input.write(g_input) != kInputSize)
        return 2;
    input.close();
    if (!outputsAgree(folder.path()))
        return 1;

    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.realTime.find("BM_csBase64Encode");
    const auto peer = reporter.realTime.find("BM_GnuBase64");
    if (ours != reporter.realTime.end() && peer != reporter.realTime.end() && ours->second > 0) {
        std::printf("csBase64Encode: %.1f ms, base64 -w 76: %.1f ms per 50 MB; ours is %.2f times as fast\n",
                    ours->second, peer->second, peer->second / ours->second);
    }
    benchmark::Shutdown();
    return 0;
}
