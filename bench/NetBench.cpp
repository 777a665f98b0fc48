// The internet client against its peers, in one run:
//  - a 200 MB download from a server on 127.0.0.1 with tessera-fetch against
//    "curl -o", with tessera-fetch's peak memory (goals: at least 0.9 times
//    curl's speed, under 32 MB; /usr/bin/time measures the peak);
//  - inflating a gzip member of 100 MB with crvGZipArchive against
//    "gzip -dc" (goal: at least as fast);
//  - the CRC-32 of 100 MB with cCRC32 against zlib's crc32 (goal: at least
//    0.8 times its speed).
// Files go to /dev/shm when it exists, so that the disk does not decide. The
// program exits with 1 when a goal is missed.
#include "bench/TimeKeepingReporter.h"
#include "lib/net/cCRC32.h"
#include "lib/net/crvGZipArchive.h"
#include "tests/lib/net/GZipMember.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

extern char **environ;

namespace {

constexpr qint64 kDownloadSize = 200LL * 1024 * 1024;
constexpr qsizetype kInflatedSize = 100 * 1024 * 1024;
constexpr qsizetype kCrcSize = 100 * 1024 * 1024;

QString g_folder;
int g_port = 0;
QByteArray g_member; // the gzip member of kInflatedSize bytes
QByteArray g_crcData;
long g_fetchPeakKb = 0;

// Serves kDownloadSize bytes to every request until stopped.
class DownloadServer
{
public:
    DownloadServer()
        : m_block(4 * 1024 * 1024, 'd')
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
            && ::listen(m_listener, 8) == 0
            && ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            g_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~DownloadServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_listener);
    }

private:
    void run()
    {
        while (!m_stop) {
            pollfd p {m_listener, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int socket = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (socket < 0)
                continue;
            QByteArray request;
            char buffer[4096];
            while (!request.contains("\r\n\r\n")) {
                const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, n);
            }
            const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: "
                + QByteArray::number(kDownloadSize) + "\r\nConnection: close\r\n\r\n";
            bool ok = ::send(socket, head.constData(), size_t(head.size()), MSG_NOSIGNAL) == head.size();
            for (qint64 sent = 0; ok && sent < kDownloadSize;) {
                const ssize_t n = ::send(socket, m_block.constData(),
                                         size_t(std::min<qint64>(m_block.size(), kDownloadSize - sent)), MSG_NOSIGNAL);
                ok = n > 0;
                sent += n;
            }
            ::close(socket);
        }
    }

    QByteArray m_block;
    int m_listener = -1;
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

// Runs a program with its output to \a stdoutFile (or inherited when empty);
// its exit status, or -1. \a peakKb gets its peak resident size, measured by
// /usr/bin/time: a child spawned from this large process would report this
// process's size as its own peak.
int runProgram(const std::vector<QByteArray> &arguments, const char *stdoutFile = nullptr, long *peakKb = nullptr)
{
    const QByteArray peakFile = QFile::encodeName(g_folder + QStringLiteral("/peak.txt"));
    std::vector<QByteArray> command = arguments;
    if (peakKb)
        command.insert(command.begin(), {"/usr/bin/time", "-f", "%M", "-o", peakFile});
    std::vector<char *> argv;
    for (const QByteArray &a : command)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFile)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutFile, O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    if (peakKb) {
        QFile peak(QFile::decodeName(peakFile));
        if (peak.open(QIODevice::ReadOnly))
            *peakKb = std::max(*peakKb, peak.readAll().trimmed().split('\n').last().toLong());
    }
    return WEXITSTATUS(status);
}

QByteArray url()
{
    return "http://127.0.0.1:" + QByteArray::number(g_port) + "/big.bin";
}

void download(benchmark::State &state, const std::vector<QByteArray> &command, long *peakKb)
{
    const QString output = g_folder + QStringLiteral("/download.bin");
    for (auto _ : state) {
        if (runProgram(command, nullptr, peakKb) != 0 || QFile(output).size() != kDownloadSize) {
            state.SkipWithError("the download failed");
            break;
        }
        state.PauseTiming();
        QFile::remove(output);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kDownloadSize);
}

void BM_FetchTessera(benchmark::State &state)
{
    download(state, {TESSERA_FETCH, "-o", QFile::encodeName(g_folder + QStringLiteral("/download.bin")), url()},
             &g_fetchPeakKb);
}

void BM_FetchCurl(benchmark::State &state)
{
    download(state, {"curl", "-s", "-o", QFile::encodeName(g_folder + QStringLiteral("/download.bin")), url()},
             nullptr);
}

void BM_InflateTessera(benchmark::State &state)
{
    tessera::crvGZipArchive gz;
    for (auto _ : state) {
        if (gz.UncompressData(g_member) != tessera::gzueSuccess) {
            state.SkipWithError("UncompressData failed");
            break;
        }
        benchmark::DoNotOptimize(gz.UncompressedData().constData());
    }
    state.SetBytesProcessed(state.iterations() * kInflatedSize);
}

void BM_InflateGzip(benchmark::State &state)
{
    const QByteArray member = QFile::encodeName(g_folder + QStringLiteral("/member.gz"));
    for (auto _ : state) {
        if (runProgram({"gzip", "-dc", member}, "/dev/null") != 0) {
            state.SkipWithError("gzip -dc failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * kInflatedSize);
}

void BM_Crc32Tessera(benchmark::State &state)
{
    const tessera::cCRC32 crc;
    for (auto _ : state)
        benchmark::DoNotOptimize(crc.GetByteArrayCrc32(g_crcData));
    state.SetBytesProcessed(state.iterations() * kCrcSize);
}

void BM_Crc32ZLib(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(crc32(0, reinterpret_cast<const Bytef *>(g_crcData.constData()), uInt(kCrcSize)));
    state.SetBytesProcessed(state.iterations() * kCrcSize);
}

BENCHMARK(BM_FetchTessera)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FetchCurl)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_InflateTessera)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_InflateGzip)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Crc32Tessera)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Crc32ZLib)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// Text-like data (words from a small vocabulary), which deflate shrinks
// about as much as ordinary documents.
QByteArray textLikeData(qsizetype size)
{
    static const char *words[]
        = {"the ",  "quick ", "brown ", "fox ", "jumps ", "over ",   "lazy ",   "dog ",     "and ",     "runs ",
           "away ", "from ",  "a ",     "big ", "red ",   "barn.\n", "Sunset ", "caption ", "picture ", "message "};
    QRandomGenerator random(13);
    QByteArray data;
    data.reserve(size + 16);
    while (data.size() < size)
        data += words[random.bounded(int(std::size(words)))];
    data.truncate(size);
    return data;
}

double ratio(const TimeKeepingReporter &reporter, const char *ours, const char *peer)
{
    const auto a = reporter.realTime.find(ours);
    const auto b = reporter.realTime.find(peer);
    if (a == reporter.realTime.end() || b == reporter.realTime.end() || a->second <= 0)
        return 0;
    return b->second / a->second;
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir folder(base + QStringLiteral("/tessera-netbench-XXXXXX"));
    if (!folder.isValid())
        return 2;
    g_folder = folder.path();
    g_member = corvid::test::gzipMember(textLikeData(kInflatedSize));
    {
        QFile file(folder.filePath(QStringLiteral("member.gz")));
        if (!file.open(QIODevice::WriteOnly) || file.write(g_member) != g_member.size())
            return 2;
    }
    g_crcData = QByteArray(kCrcSize, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(g_crcData.data()), kCrcSize / 4);
    std::printf("gzip member: %lld bytes for %lld bytes of text\n", qint64(g_member.size()), qint64(kInflatedSize));

    DownloadServer server;
    if (g_port == 0)
        return 2;
    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool met = true;
    const auto report = [&met](const char *what, double value, double goal, const char *unit) {
        const bool ok = value >= goal;
        met = met && ok;
        std::printf("%-40s %6.2f %s (goal: at least %.2f) %s\n", what, value, unit, goal, ok ? "met" : "MISSED");
    };
    report("tessera-fetch speed / curl -o speed:", ratio(reporter, "BM_FetchTessera", "BM_FetchCurl"), 0.9, "x");
    const double peakMb = g_fetchPeakKb / 1024.0;
    const bool memoryOk = g_fetchPeakKb > 0 && peakMb < 32;
    met = met && memoryOk;
    std::printf("%-40s %6.2f MB (goal: under 32) %s\n", "tessera-fetch peak resident memory:", peakMb,
                memoryOk ? "met" : "MISSED");
    report("UncompressData speed / gzip -dc speed:", ratio(reporter, "BM_InflateTessera", "BM_InflateGzip"), 1.0, "x");
    report("cCRC32 speed / zlib crc32 speed:", ratio(reporter, "BM_Crc32Tessera", "BM_Crc32ZLib"), 0.8, "x");
    return met ? 0 : 1;
}
