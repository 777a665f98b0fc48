#include "tests/lib/net/LoopbackServers.h"

#include "tests/common/LineProcess.h"

#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvid::test {

namespace {

// A listening socket on 127.0.0.1 and a free port; -1 on failure.
int listenOnFreePort(int *port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

bool canConnect(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

} // namespace

void clearProxyEnvironment()
{
    for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "ftp_proxy", "FTP_PROXY",
                             "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY", "XDG_CURRENT_DESKTOP"})
        qunsetenv(name);
}

int unusedPort()
{
    int port = 0;
    const int fd = listenOnFreePort(&port);
    ::close(fd);
    return port;
}

HttpServer::HttpServer(const std::function<void(httplib::Server &)> &setup)
{
    setup(m_server);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    for (int i = 0; i < 500 && !m_server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(m_server.is_running()) << "the test HTTP server did not start";
}

HttpServer::~HttpServer()
{
    m_server.stop();
    m_thread.join();
}

RawServer::RawServer(Reply reply)
    : m_reply(std::move(reply))
{
    m_listener = listenOnFreePort(&m_port);
    EXPECT_GE(m_listener, 0) << "the raw test server cannot listen";
    m_thread = std::thread([this] { run(); });
}

RawServer::~RawServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

bool RawServer::send(int socket, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(socket, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void RawServer::holdOpen(int socket, int ms)
{
    for (int waited = 0; waited < ms && !m_stop; waited += 20) {
        pollfd p {socket, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            char byte;
            if (::recv(socket, &byte, 1, MSG_PEEK) <= 0)
                return; // the client has gone
        }
    }
}

void RawServer::run()
{
    while (!m_stop) {
        pollfd p {m_listener, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int socket = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        // The header block, then as much body as it announces.
        QByteArray request;
        qsizetype wanted = -1;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_stop && std::chrono::steady_clock::now() < deadline) {
            const qsizetype end = request.indexOf("\r\n\r\n");
            if (end >= 0 && wanted < 0) {
                wanted = end + 4;
                const qsizetype at = request.toLower().indexOf("\r\ncontent-length:");
                if (at >= 0 && at < end)
                    wanted += request.mid(at + 17, request.indexOf("\r\n", at + 2) - at - 17).trimmed().toLongLong();
            }
            if (wanted >= 0 && request.size() >= wanted)
                break;
            pollfd r {socket, POLLIN, 0};
            if (::poll(&r, 1, 20) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, n);
        }
        m_reply(*this, socket, request);
        ::close(socket);
    }
}

SilentListener::SilentListener()
{
    // Connections wait in the backlog, where nobody accepts them.
    m_socket = listenOnFreePort(&m_port);
    EXPECT_GE(m_socket, 0) << "the silent listener cannot listen";
}

SilentListener::~SilentListener()
{
    ::close(m_socket);
}

TinyProxy::TinyProxy(const QString &user, const QString &password)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("tinyproxy"));
    if (program.isEmpty() || !m_dir.isValid())
        return;
    m_port = unusedPort();
    QByteArray config = "Port " + QByteArray::number(m_port)
        + "\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\nLogLevel Critical\n"
          "LogFile \""
        + m_dir.filePath(QStringLiteral("tinyproxy.log")).toUtf8() + "\"\nDisableViaHeader No\n";
    if (!user.isEmpty())
        config += "BasicAuth " + user.toUtf8() + ' ' + password.toUtf8() + '\n';
    QFile file(m_dir.filePath(QStringLiteral("tinyproxy.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
        return;
    file.close();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {QStringLiteral("-d"), QStringLiteral("-c"), file.fileName()});
    if (!m_process.waitForStarted(5000))
        return;
    for (int i = 0; i < 500 && !m_started; ++i) {
        m_started = canConnect(m_port);
        if (!m_started)
            QThread::msleep(10);
    }
}

TinyProxy::~TinyProxy()
{
    terminateProcess(m_process);
}

} // namespace corvid::test
