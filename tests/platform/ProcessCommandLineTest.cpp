#include "platform/ProcessCommandLine.h"

#include "tests/common/TestSandbox.h"

#include <QProcess>

#include <gtest/gtest.h>

TEST(processCommandLine, IsANulTerminatedUtf16Buffer)
{
    const QByteArray buffer = tessera::processCommandLine();
    ASSERT_GE(buffer.size(), 4) << "the line holds at least the program path";
    EXPECT_EQ(buffer.size() % 2, 0);
    EXPECT_TRUE(buffer.endsWith(QByteArray(2, '\0')));
}

TEST(processCommandLine, JoinsTheArgumentsAsThePlatformReceivesThem)
{
    const QString program = corvid::test::builtProgram(QStringLiteral("tessera_print_command_line"));
    ASSERT_FALSE(program.contains(QLatin1Char(' '))) << "the expected line assumes a build path without spaces";
    QProcess process;
    process.start(program,
                  {QStringLiteral("plain"), QStringLiteral("two words"), QString(), QStringLiteral("tab\there"),
                   QStringLiteral("quote\"inside"), QStringLiteral("юникод")});
    ASSERT_TRUE(process.waitForFinished(30000)) << qPrintable(process.errorString());
    ASSERT_EQ(process.exitCode(), 0);
    const QString expected = program + QStringLiteral(" plain \"two words\" \"\" \"tab\there\" quote\"inside юникод");
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), expected);
}
