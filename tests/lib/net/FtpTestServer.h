#pragma once

// FTP servers on 127.0.0.1 for the FTP tests: pyftpdlib run with Debian's
// /usr/bin/python3 (tests/lib/net/ftp_test_server.py) on a free port it
// chooses itself, stopped when the object goes.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace corvid::test {

class FtpServer
{
public:
    struct Options {
        QString root; ///< the folder served
        QString user; ///< "name:password", besides anonymous
        bool mlsd = true; ///< false: LIST only, with local times
        qint64 dieAfter = -1; ///< killed once this many bytes of a file are sent
        bool rawAscii = false; ///< ASCII uploads kept as they arrive
        double idleTimeout = 300; ///< seconds before an idle session is ended
        QString hangOnMkd; ///< "MKD <this>" is never answered
    };

    explicit FtpServer(const Options &options);
    ~FtpServer();
    FtpServer(const FtpServer &) = delete;
    FtpServer &operator=(const FtpServer &) = delete;

    bool started() const { return m_port > 0; }
    int port() const { return m_port; }
    /// The command lines received so far, in order.
    QStringList commands() const;
    /// Whether the server process has ended within \a ms.
    bool exited(int ms);

private:
    QTemporaryDir m_logDir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace corvid::test
