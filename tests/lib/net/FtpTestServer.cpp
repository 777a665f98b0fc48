#include "tests/lib/net/FtpTestServer.h"

#include <QDeadlineTimer>
#include <QFile>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvid::test {

FtpServer::FtpServer(const Options &options)
{
    QStringList arguments = {QStringLiteral(CORVID_FTP_TEST_SERVER),
                             QStringLiteral("--root"),
                             options.root,
                             QStringLiteral("--log"),
                             m_logDir.filePath(QStringLiteral("commands.log")),
                             QStringLiteral("--idle-timeout"),
                             QString::number(options.idleTimeout)};
    if (!options.user.isEmpty())
        arguments << QStringLiteral("--user") << options.user;
    if (!options.mlsd)
        arguments << QStringLiteral("--no-mlsd");
    if (options.dieAfter >= 0)
        arguments << QStringLiteral("--die-after") << QString::number(options.dieAfter);
    if (options.rawAscii)
        arguments << QStringLiteral("--raw-ascii");
    if (!options.hangOnMkd.isEmpty())
        arguments << QStringLiteral("--hang-on-mkd") << options.hangOnMkd;
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    const QDeadlineTimer deadline(15000);
    QByteArray line;
    while (!deadline.hasExpired() && !line.endsWith('\n') && m_process.waitForReadyRead(int(deadline.remainingTime())))
        line += m_process.readLine();
    if (line.startsWith("PORT "))
        m_port = line.mid(5).trimmed().toInt();
    EXPECT_GT(m_port, 0) << "the FTP test server did not start (python3-pyftpdlib installed?)";
}

FtpServer::~FtpServer()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

QStringList FtpServer::commands() const
{
    QFile log(m_logDir.filePath(QStringLiteral("commands.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

bool FtpServer::exited(int ms)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(ms);
}

SilentListener::SilentListener()
{
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && ::listen(m_socket, 8) == 0
        && ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
    EXPECT_GT(m_port, 0) << "the silent listener cannot listen";
}

SilentListener::~SilentListener()
{
    ::close(m_socket);
}

} // namespace corvid::test
