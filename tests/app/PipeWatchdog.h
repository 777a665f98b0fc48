#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace corvid::test {

// A named pipe with nobody writing to it used to hang the program in open().
// The watchdog plays the missing writer after a while, so that a composer
// that waits fails this test instead of hanging it.
class PipeWatchdog
{
public:
    explicit PipeWatchdog(const QString &fifo)
        : m_thread([this, path = QFile::encodeName(fifo)] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!m_done && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            // Succeeds only while a reader waits in open().
            while (!m_done) {
                const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_freedReader = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        })
    { }
    ~PipeWatchdog()
    {
        m_done = true;
        m_thread.join();
    }
    bool freedReader() const { return m_freedReader; }

private:
    std::atomic<bool> m_done {false};
    std::atomic<bool> m_freedReader {false};
    std::thread m_thread;
};

} // namespace corvid::test
