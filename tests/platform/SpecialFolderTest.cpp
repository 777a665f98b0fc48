#include "platform/SpecialFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using tessera::SpecialFolder;

// The test main points HOME and the XDG folders into a private sandbox.
TEST(SpecialFolder, KnownNumbersLieInTheUsersXdgFolders)
{
    const QString home = QDir::cleanPath(qEnvironmentVariable("HOME"));
    EXPECT_EQ(SpecialFolder::path(SpecialFolder::ApplicationData),
              QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME")));
    EXPECT_EQ(SpecialFolder::path(5), home + QStringLiteral("/Documents"));
    EXPECT_EQ(SpecialFolder::path(39), home + QStringLiteral("/Pictures"));
}

TEST(SpecialFolder, OtherNumbersGiveNothing)
{
    for (int id : {-1, 0, 4, 6, 25, 27, 38, 40, 0x8005}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(SpecialFolder::path(id).isEmpty());
    }
}

TEST(SpecialFolder, ReportsWithoutCreating)
{
    const QString documents = SpecialFolder::path(SpecialFolder::Documents);
    QDir(documents).removeRecursively();
    EXPECT_EQ(SpecialFolder::path(SpecialFolder::Documents), documents);
    EXPECT_FALSE(QFileInfo::exists(documents));
}
