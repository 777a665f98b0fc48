#pragma once

#include "tests/common/LineProcess.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace corvid::test {

/// A private X server (Xvfb) for one test, on a display number it chooses
/// itself; it stops when the object goes. The server keeps its state when
/// its last client leaves (-noreset), so that settings made with X tools
/// stay for the programs the test starts next.
class XServer
{
public:
    XServer() = default;
    ~XServer() { m_xvfb.terminate(); }
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    /// Whether Xvfb and every tool in \a tools can be found on PATH.
    static bool available(const QStringList &tools = {});

    /// Starts the server with one screen of \a size ("640x480x24").
    bool start(const QString &size = QStringLiteral("640x480x24"));

    /// The environment of a program that runs on this server with Qt's xcb
    /// platform.
    QProcessEnvironment environment() const;

    /// Runs \a program with \a arguments on this server and waits; true when
    /// it exits with status 0. Its output is returned in \a output.
    bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr) const;

private:
    LineProcess m_xvfb;
    QString m_display;
};

} // namespace corvid::test
