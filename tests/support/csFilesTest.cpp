#include "support/csFiles.h"

#include "tests/common/RaisedError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs;
using corvid::test::raisedNumber;

namespace {

struct PathRow {
    const char *path;
    const char *fileName;
    const char *filePath;
    const char *extension;
};

const PathRow kPaths[] = {
    {"/home/u/photo.JPEG", "photo.JPEG", "/home/u", "JPEG"},
    {"/b.txt", "b.txt", "/", "txt"},
    {"b.txt", "b.txt", "", "txt"},
    {"dir/sub/a.tar.gz", "a.tar.gz", "dir/sub", "gz"},
    {"/home/u/pictures/", "pictures", "/home/u", ""},
    {"/home/u//x.d///", "x.d", "/home/u", "d"},
    {"/x.d/README", "README", "/x.d", ""},
    {"/home/u/.bashrc", ".bashrc", "/home/u", ""},
    {"/home/u/.config.bak", ".config.bak", "/home/u", "bak"},
    {"name.", "name.", "", ""},
    {"..", "..", "", ""},
    {"/", "", "/", ""},
    {"", "", "", ""},
};

} // namespace

TEST(csFiles, PathPartsOfEdgeCases)
{
    for (const PathRow &row : kPaths) {
        SCOPED_TRACE(row.path);
        const QString path = QString::fromUtf8(row.path);
        EXPECT_EQ(csGetFileName(path).toStdString(), row.fileName);
        EXPECT_EQ(csGetFilePath(path).toStdString(), row.filePath);
        EXPECT_EQ(csGetFileExtension(path).toStdString(), row.extension);
    }
}

TEST(csFiles, FolderAndNameBuildThePathBack)
{
    for (const char *p : {"/home/u/photo.JPEG", "/b.txt", "dir/sub/a.tar.gz", "b.txt"}) {
        SCOPED_TRACE(p);
        const QString path = QString::fromUtf8(p);
        EXPECT_EQ(csBuildFileName(csGetFilePath(path), csGetFileName(path)), path);
    }
}

TEST(csFiles, BuildFileNameUsesExactlyOneSeparator)
{
    const struct {
        const char *folder;
        const char *name;
        const char *joined;
    } table[] = {
        {"/home/u", "x.eml", "/home/u/x.eml"},
        {"/home/u/", "x.eml", "/home/u/x.eml"},
        {"/home/u//", "//x.eml", "/home/u/x.eml"},
        {"/", "tmp", "/tmp"},
        {"//", "/tmp", "/tmp"},
        {"rel", "sub/x", "rel/sub/x"},
        {"", "x.eml", "x.eml"},
        {"/home/u", "", "/home/u"},
        {"/data", "*.*", "/data/*.*"},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(std::string(row.folder) + " + " + row.name);
        EXPECT_EQ(csBuildFileName(QString::fromUtf8(row.folder), QString::fromUtf8(row.name)).toStdString(),
                  row.joined);
    }
}

TEST(csFiles, FullAndLongFileNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString here = QDir::currentPath();
    EXPECT_EQ(csGetFullFileName(QStringLiteral("a/b/../c/")), here + QStringLiteral("/a/c"));
    EXPECT_EQ(csGetFullFileName(QStringLiteral(".")), here);
    QDir::setCurrent(saved);
    EXPECT_EQ(csGetFullFileName(QStringLiteral("/x/./y//z/..")), QStringLiteral("/x/y"));
    EXPECT_EQ(csGetFullFileName(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(raisedNumber([] { csGetFullFileName(QString()); }), 5);
    EXPECT_EQ(csGetLongFileName(QStringLiteral("/usr/lib/x.so")), QStringLiteral("/usr/lib/x.so"));
}

TEST(csFiles, FileAndFolderExistenceAreDistinct)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("f.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(file, link));

    EXPECT_TRUE(csIsFileExist(file));
    EXPECT_TRUE(csIsFileExist(link));
    EXPECT_FALSE(csIsFileExist(dir.path()));
    EXPECT_FALSE(csIsFileExist(file + QStringLiteral("/")));
    EXPECT_FALSE(csIsFileExist(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(csIsFileExist(QString()));

    EXPECT_TRUE(csIsDirectoryExist(dir.path()));
    EXPECT_TRUE(csIsDirectoryExist(dir.path() + QStringLiteral("/")));
    EXPECT_FALSE(csIsDirectoryExist(file));
    EXPECT_FALSE(csIsDirectoryExist(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(csIsDirectoryExist(QString()));
}

TEST(csFiles, CreateComplexDirectoryMakesEveryLevel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString deep = dir.filePath(QStringLiteral("Sablewing/Quillon/a/b/c"));
    EXPECT_TRUE(csCreateComplexDirectory(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(csCreateComplexDirectory(deep + QStringLiteral("/")));

    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(csCreateComplexDirectory(blocker.fileName()));
    EXPECT_FALSE(csCreateComplexDirectory(blocker.fileName() + QStringLiteral("/below")));
    EXPECT_FALSE(csCreateComplexDirectory(QString()));
}

TEST(csFiles, SpecialFoldersAndTempFileNames)
{
    EXPECT_EQ(csGetSpecialFolder(26), QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME")));
    EXPECT_TRUE(csGetSpecialFolder(38).isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = csGetTempFileName2(dir.path(), QStringLiteral("TMP"));
    const QString second = csGetTempFileName2(dir.path(), QStringLiteral("TMP"));
    EXPECT_NE(first, second);
    EXPECT_TRUE(csIsFileExist(first));
    EXPECT_TRUE(csIsFileExist(second));
    EXPECT_EQ(csGetFilePath(first), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(csGetFileName(first).startsWith(QStringLiteral("TMP")));

    EXPECT_EQ(raisedNumber([&] { csGetTempFileName2(dir.filePath(QStringLiteral("missing")), "TMP"); }), 76);
    EXPECT_EQ(raisedNumber([&] { csGetTempFileName2(first, QStringLiteral("TMP")); }), 76);
    EXPECT_EQ(raisedNumber([&] { csGetTempFileName2(dir.path(), QStringLiteral("a/b")); }), 5);
}

TEST(csFiles, PathFromAChosenFolderItem)
{
    EXPECT_EQ(csGetPathFromPIDL(QUrl::fromLocalFile(QStringLiteral("/home/u/Pictures/"))),
              QStringLiteral("/home/u/Pictures"));
    EXPECT_EQ(csGetPathFromPIDL(QUrl::fromLocalFile(QStringLiteral("/"))), QStringLiteral("/"));
    EXPECT_TRUE(csGetPathFromPIDL(QUrl(QStringLiteral("trash:/"))).isEmpty());
    EXPECT_TRUE(csGetPathFromPIDL(QUrl()).isEmpty());
}
