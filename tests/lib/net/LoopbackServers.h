#pragma once

// Real servers on 127.0.0.1 for the network tests, each on a free port chosen
// when it starts and stopped when it goes: an HTTP server (cpp-httplib) for
// well-behaved answers, a raw server that answers with exactly the bytes a
// test scripts (for the broken ones), and tinyproxy.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <httplib.h>
#include <thread>

namespace corvid::test {

/// Unsets the proxy variables and the desktop name, so requests go where
/// the test says whatever the machine's environment holds. Call it first.
void clearProxyEnvironment();

/// A port on 127.0.0.1 that nothing listens on (bound and released).
int unusedPort();

/// cpp-httplib on 127.0.0.1; register handlers on server() in the
/// constructor's \a setup, which runs before it starts listening.
class HttpServer
{
public:
    explicit HttpServer(const std::function<void(httplib::Server &)> &setup);
    ~HttpServer();
    HttpServer(const HttpServer &) = delete;
    HttpServer &operator=(const HttpServer &) = delete;

    int port() const { return m_port; }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

/// Accepts connections one at a time, reads each request's header block
/// (and its Content-Length body), and hands the socket to \a reply, which
/// writes what it likes; the connection is closed after it returns. \a reply
/// may hold the connection open without answering with holdOpen().
class RawServer
{
public:
    using Reply = std::function<void(RawServer &server, int socket, const QByteArray &request)>;
    explicit RawServer(Reply reply);
    ~RawServer();
    RawServer(const RawServer &) = delete;
    RawServer &operator=(const RawServer &) = delete;

    int port() const { return m_port; }
    /// Writes all of \a bytes; false when the peer has gone.
    static bool send(int socket, const QByteArray &bytes);
    /// Waits until the client closes \a socket, the server stops or \a ms pass.
    void holdOpen(int socket, int ms);

private:
    void run();

    Reply m_reply;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

/// A socket on 127.0.0.1 that takes connections into its backlog and never
/// says a word: a server that does not answer.
class SilentListener
{
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;
    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

/// tinyproxy on 127.0.0.1, with basic authentication when \a user is given.
class TinyProxy
{
public:
    explicit TinyProxy(const QString &user = {}, const QString &password = {});
    ~TinyProxy();

    bool started() const { return m_started; }
    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    bool m_started = false;
};

} // namespace corvid::test
