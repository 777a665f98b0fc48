#include "app/mail/FileAccess.h"

#include "tests/common/RaisedError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using corvid::test::raisedNumber;
using quillon::FileAccess;

namespace {

TEST(FileAccess, NewFileNeverReplacesOneThatExistsOrAppearsMeanwhile)
{
    QTemporaryDir dir;
    FileAccess::WriteFileRaw(dir.filePath(QStringLiteral("a.eml")), "old a");
    int asked = 0;
    // "b.eml" is taken by someone else between the choice of the name and
    // the end of the write.
    const auto nextPath = [&] {
        const QString path = dir.filePath(QLatin1Char("abc"[asked++]) + QLatin1String(".eml"));
        if (path.endsWith(QLatin1String("b.eml")))
            FileAccess::WriteFileRaw(path, "someone else's b");
        return path;
    };
    const mode_t oldMask = umask(022);
    const QString written = FileAccess::WriteNewFileRaw(nextPath, {"new ", "", "message"});
    umask(oldMask);
    EXPECT_EQ(written, dir.filePath(QStringLiteral("c.eml")));
    EXPECT_EQ(FileAccess::ReadFileRaw(dir.filePath(QStringLiteral("a.eml"))), "old a");
    EXPECT_EQ(FileAccess::ReadFileRaw(dir.filePath(QStringLiteral("b.eml"))), "someone else's b");
    EXPECT_EQ(FileAccess::ReadFileRaw(written), "new message");
    EXPECT_TRUE(QFile::permissions(written).testFlag(QFileDevice::ReadOther)) << "not a temporary file's 0600";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "temporary file left behind";
}

TEST(FileAccess, FailuresRaise)
{
    QTemporaryDir dir;
    EXPECT_EQ(raisedNumber([&] { FileAccess::ReadFileRaw(dir.filePath(QStringLiteral("none"))); }), 53);
    EXPECT_EQ(raisedNumber([&] { FileAccess::ReadFileRaw(dir.path()); }), 75);
    const QString inMissingFolder = dir.filePath(QStringLiteral("none/file"));
    EXPECT_EQ(raisedNumber([&] { FileAccess::WriteFileText(inMissingFolder, QStringLiteral("x")); }), 75);
    EXPECT_EQ(raisedNumber([&] { FileAccess::WriteNewFileRaw([&] { return inMissingFolder; }, {"x"}); }), 75);
}

} // namespace
