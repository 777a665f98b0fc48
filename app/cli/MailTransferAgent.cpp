#include "app/cli/MailTransferAgent.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace quillon {

namespace {

constexpr int StartTimeoutMs = 30000;
constexpr int FinishTimeoutMs = 120000;
// What is quoted of the agent's complaint.
constexpr qsizetype ComplaintLimit = 300;

// The agent's words on one line: its lines joined, cut when long.
QString oneLine(const QByteArray &text)
{
    QString line = QString::fromLocal8Bit(text).simplified();
    if (line.size() > ComplaintLimit)
        line = line.left(ComplaintLimit) + QStringLiteral("...");
    return line;
}

} // namespace

QStringList MailTransferAgent::Command()
{
    QStringList command;
    const QString configured = qEnvironmentVariable("SENDMAIL");
    if (!configured.trimmed().isEmpty())
        command = QProcess::splitCommand(configured);
    if (command.isEmpty()) {
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("sendmail"));
        command << (onPath.isEmpty() ? QStringLiteral("/usr/sbin/sendmail") : onPath);
    }
    return command << QStringLiteral("-t") << QStringLiteral("-oi");
}

QString MailTransferAgent::HandOver(const QString &MessagePath)
{
    QFile file(MessagePath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the message: ") + file.errorString();
    QByteArray message = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read the message: ") + file.errorString();
    // The file keeps the CR LF of the mail format; the agent's input is text
    // with local line ends.
    message.replace("\r\n", "\n");

    QStringList arguments = Command();
    const QString program = arguments.takeFirst();
    QProcess agent;
    agent.start(program, arguments);
    if (!agent.waitForStarted(StartTimeoutMs))
        return QStringLiteral("cannot start the mail transfer agent %1: %2").arg(program, agent.errorString());
    agent.write(message);
    agent.closeWriteChannel();
    if (!agent.waitForFinished(FinishTimeoutMs)) {
        agent.kill();
        agent.waitForFinished();
        return QStringLiteral("the mail transfer agent %1 did not finish within %2 seconds")
            .arg(program)
            .arg(FinishTimeoutMs / 1000);
    }
    const QString complaint = oneLine(agent.readAllStandardError());
    if (agent.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("the mail transfer agent %1 was stopped: %2").arg(program, agent.errorString());
    if (agent.exitCode() != 0)
        return QStringLiteral("the mail transfer agent %1 failed with exit status %2%3")
            .arg(program)
            .arg(agent.exitCode())
            .arg(complaint.isEmpty() ? QString() : QLatin1String(": ") + complaint);
    return {};
}

} // namespace quillon
