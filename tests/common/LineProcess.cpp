#include "tests/common/LineProcess.h"

#include <QDeadlineTimer>

namespace corvid::test {

namespace {
constexpr int Patience = 15000;
}

LineProcess::~LineProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000))
        terminate();
}

bool LineProcess::start(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, arguments);
    return m_process.waitForStarted(Patience);
}

QByteArray LineProcess::readLine()
{
    QDeadlineTimer deadline(Patience);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
            return {};
    }
    QByteArray line = m_process.readLine();
    line.chop(1);
    return line.isEmpty() ? QByteArray("") : line; // an empty line is not a timeout
}

void LineProcess::writeLine(const QByteArray &line)
{
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(Patience);
}

QByteArray LineProcess::ask(const QByteArray &line)
{
    writeLine(line);
    return readLine();
}

bool LineProcess::finish()
{
    m_process.closeWriteChannel();
    return m_process.waitForFinished(Patience) && m_process.exitStatus() == QProcess::NormalExit
        && m_process.exitCode() == 0;
}

bool LineProcess::kill()
{
    m_process.kill();
    return m_process.waitForFinished(Patience) && m_process.exitStatus() == QProcess::CrashExit;
}

void LineProcess::terminate()
{
    terminateProcess(m_process);
}

void terminateProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace corvid::test
