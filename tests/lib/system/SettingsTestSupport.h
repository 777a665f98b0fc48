#pragma once

#include "tests/common/TestSandbox.h"

#include <QObject>
#include <QProcess>
#include <QVariant>

#include <gtest/gtest.h>
#include <memory>

namespace corvid::test {

/// An application-information object as hosts pass it: Title, Major, Minor.
inline std::unique_ptr<QObject> makeAppObject(const QString &title, int major, int minor)
{
    auto app = std::make_unique<QObject>();
    app->setProperty("Title", title);
    app->setProperty("Major", major);
    app->setProperty("Minor", minor);
    return app;
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

/// Runs a program built by this project with the test's environment (its
/// hives) and waits for it; \a input goes to its standard input, which is
/// then closed.
inline ProgramRun runProgram(const QString &name, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(builtProgram(name), arguments);
    EXPECT_TRUE(process.waitForStarted()) << qPrintable(process.errorString());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace corvid::test
