#include "support/csSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace cs;

namespace {

// The entry of this test program in the sandbox's applications folder.
class csRegisterAppPathTest : public ::testing::Test
{
protected:
    void SetUp() override { QFile::remove(entryPath()); }
    void TearDown() override { QFile::remove(entryPath()); }

    static QString entryPath()
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation))
            .filePath(QStringLiteral("test_support.desktop"));
    }
    static QByteArray entry()
    {
        QFile file(entryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(entryPath()).path());
        QFile file(entryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
};

} // namespace

TEST_F(csRegisterAppPathTest, WritesAHiddenEntryInTheUsersOwnFolder)
{
    ASSERT_TRUE(entryPath().startsWith(qEnvironmentVariable("XDG_DATA_HOME"))) << "stays in the sandbox";
    ASSERT_TRUE(csRegisterAppPath());
    const QList<QByteArray> lines = entry().split('\n');
    EXPECT_TRUE(lines.contains("[Desktop Entry]"));
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("NoDisplay=true"));
    EXPECT_TRUE(lines.contains("Exec=\"" + csGetEXEModulePrettyFileName().toUtf8() + "\""));
}

TEST_F(csRegisterAppPathTest, LeavesAnUpToDateEntryUntouched)
{
    ASSERT_TRUE(csRegisterAppPath());
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile file(entryPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(csRegisterAppPath());
    EXPECT_EQ(QFileInfo(entryPath()).lastModified().toUTC().toSecsSinceEpoch(), old.toSecsSinceEpoch());
}

TEST_F(csRegisterAppPathTest, RefreshesItsOwnStaleEntry)
{
    write("[Desktop Entry]\nType=Application\nName=old\nExec=\"/old/place/test_support\"\nNoDisplay=true\n"
          "X-Corvid-AppPath=true\n");
    EXPECT_TRUE(csRegisterAppPath());
    EXPECT_FALSE(entry().contains("/old/place"));
    EXPECT_TRUE(entry().contains(csGetEXEModulePrettyFileName().toUtf8()));
}

TEST_F(csRegisterAppPathTest, NeverOverwritesSomeoneElsesEntry)
{
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nName=Mine\nExec=/usr/bin/true\n";
    write(foreign);
    EXPECT_FALSE(csRegisterAppPath());
    EXPECT_EQ(entry(), foreign);
}
