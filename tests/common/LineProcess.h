#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace corvid::test {

/// A helper program that a test talks to in lines: the test writes a line
/// to its input, the program answers with lines on its output. Waits are
/// bounded (fifteen seconds), so a hung helper fails the test instead of
/// blocking it. A program still running when the object goes gets the end
/// of its input, then a kill.
class LineProcess
{
public:
    LineProcess() = default;
    ~LineProcess();
    LineProcess(const LineProcess &) = delete;
    LineProcess &operator=(const LineProcess &) = delete;

    /// Starts \a program (a full path, or a name on PATH) with \a environment.
    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

    /// The next line of output without its line break; a null array when
    /// none comes in time.
    QByteArray readLine();

    void writeLine(const QByteArray &line);

    /// writeLine(), then readLine().
    QByteArray ask(const QByteArray &line);

    /// Ends its input and waits; true when it exits with status 0.
    bool finish();

    /// Kills it (SIGKILL) and waits; true when it died of it.
    bool kill();

    /// Asks it to stop (SIGTERM), and kills it when it does not.
    void terminate();

private:
    QProcess m_process;
};

/// Asks \a process to stop (SIGTERM) and kills it when it does not within
/// five seconds; nothing when it is not running.
void terminateProcess(QProcess &process);

} // namespace corvid::test
