#include "tests/common/XServer.h"

#include <QProcess>
#include <QStandardPaths>

namespace corvid::test {

bool XServer::available(const QStringList &tools)
{
    for (const QString &tool : QStringList {QStringLiteral("Xvfb")} + tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    }
    return true;
}

bool XServer::start(const QString &size)
{
    // Xvfb picks a free display number and writes it to -displayfd once it
    // accepts connections.
    if (!m_xvfb.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp"), QStringLiteral("-noreset"), QStringLiteral("-screen"),
                       QStringLiteral("0"), size}))
        return false;
    const QByteArray number = m_xvfb.readLine();
    if (number.isEmpty())
        return false;
    m_display = QStringLiteral(":") + QString::fromLatin1(number);
    return true;
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // The private server has no session bus; without an address libdbus
    // would try to start one through the X server (and leak doing so).
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    return env;
}

bool XServer::run(const QString &program, const QStringList &arguments, QByteArray *output) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    const bool ok
        = process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = process.readAllStandardOutput();
    return ok;
}

} // namespace corvid::test
