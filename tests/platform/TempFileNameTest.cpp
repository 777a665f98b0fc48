#include "platform/TempFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using tessera::TempFileName;

TEST(TempFileName, CreatesDistinctEmptyFilesInTheFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSet<QString> names;
    for (int i = 0; i < 200; ++i) {
        const QString name = TempFileName::create(dir.path(), QStringLiteral("TMP"));
        ASSERT_FALSE(name.isEmpty());
        const QFileInfo info(name);
        EXPECT_TRUE(info.isFile()) << qPrintable(name);
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(info.absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("TMP"))) << qPrintable(name);
        EXPECT_TRUE(info.fileName().endsWith(QStringLiteral(".tmp"))) << qPrintable(name);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 200);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 200);
}

TEST(TempFileName, AnEmptyFolderMeansTheSystemsTemporaryFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toUtf8());
    const QString name = TempFileName::create({}, QStringLiteral("TMP"));
    if (wasSet)
        qputenv("TMPDIR", saved);
    else
        qunsetenv("TMPDIR");
    ASSERT_FALSE(name.isEmpty());
    EXPECT_EQ(QFileInfo(name).canonicalPath(), QDir(tmp.path()).canonicalPath());
    EXPECT_TRUE(QFileInfo::exists(name));
}

TEST(TempFileName, FailsWithoutAWritableFolderOrWithASlashInThePrefix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(TempFileName::create(dir.filePath(QStringLiteral("missing")), QStringLiteral("TMP")).isEmpty());
    EXPECT_TRUE(TempFileName::create(dir.path(), QStringLiteral("../TMP")).isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}
