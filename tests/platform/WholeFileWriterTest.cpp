// Files written in pieces and made whole at the end: the target changes
// only at commit, a name that was taken meanwhile is not overwritten when
// it may not be, and nothing of an abandoned file stays behind.
#include "platform/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using tessera::WholeFileWriter;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

TEST(WholeFileWriter, TheTargetChangesOnlyAtCommit)
{
    struct Case {
        const char *what;
        WholeFileWriter::Existing existing;
        bool before; // the target exists when the writer opens
        bool appears; // ... or appears before the commit
        bool committed;
        qint32 error;
        QByteArray after;
    };
    const QList<Case> cases = {
        {"a new file", WholeFileWriter::KeepExisting, false, false, true, 0, "new"},
        {"a replaced file", WholeFileWriter::ReplaceExisting, true, false, true, 0, "new"},
        {"an existing file kept", WholeFileWriter::KeepExisting, true, false, false, 80, "old"},
        {"a file that appeared is kept", WholeFileWriter::KeepExisting, false, true, false, 80, "old"},
        {"a file that appeared is replaced", WholeFileWriter::ReplaceExisting, false, true, true, 0, "new"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target"));
        if (c.before)
            put(target, "old");
        WholeFileWriter writer(target, c.existing);
        const bool opened = writer.open();
        if (opened) {
            EXPECT_TRUE(writer.write("new", 3));
            EXPECT_EQ(contents(target), c.before ? QByteArray("old") : QByteArray("<missing>"));
            if (c.appears)
                put(target, "old");
            EXPECT_EQ(writer.commit(), c.committed);
        }
        EXPECT_EQ(opened && c.committed, c.committed);
        EXPECT_EQ(writer.error(), c.error);
        EXPECT_EQ(contents(target), c.after);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("target")});
    }

    // Abandoned: nothing stays.
    QTemporaryDir dir;
    {
        WholeFileWriter writer(dir.filePath(QStringLiteral("gone")));
        ASSERT_TRUE(writer.open());
        EXPECT_TRUE(writer.write("x", 1));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    WholeFileWriter nowhere(QString {});
    EXPECT_FALSE(nowhere.open());
    EXPECT_EQ(nowhere.error(), 3);
}

TEST(WholeFileWriter, PiecesOfAnySizeArriveWholeAndInOrder)
{
    // Small pieces are gathered before they are written; these sizes cross
    // the gathering block below, at and above it.
    constexpr qsizetype Block = 256 * 1024;
    const QList<QList<qsizetype>> runs = {
        {},      {1},        {16384, 16384, 16384}, {Block - 1, 1, 1},
        {Block}, {1, Block}, {Block + 1, 7},        {3, Block * 3 + 5, Block - 3, 16384},
    };
    for (const QList<qsizetype> &sizes : runs) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target"));
        QByteArray expected;
        WholeFileWriter writer(target);
        ASSERT_TRUE(writer.open());
        for (const qsizetype size : sizes) {
            QByteArray piece(size, Qt::Uninitialized);
            for (qsizetype i = 0; i < size; ++i)
                piece[i] = char((expected.size() + i) * 131 % 251);
            EXPECT_TRUE(writer.write(piece.constData(), piece.size()));
            expected += piece;
        }
        EXPECT_EQ(contents(target), QByteArray("<missing>"));
        ASSERT_TRUE(writer.commit());
        EXPECT_EQ(contents(target), expected) << sizes.size() << " pieces";
    }
}

} // namespace
