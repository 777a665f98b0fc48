#include "tests/lib/net/FtpTestServer.h"

#include <QDeadlineTimer>
#include <QFile>

#include <gtest/gtest.h>

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

} // namespace corvid::test
