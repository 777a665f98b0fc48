#include "app/history/CHistory.h"

#include "app/mail/FileAccess.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/common/RaisedError.h"
#include "tests/common/TestSandbox.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillon;
using tessera::MessageBox;
using tessera::ScopedMessageBoxAnswerer;

namespace {

QStringList entries(const CHistory &history)
{
    QStringList list;
    for (qint32 i = 0; i < history.Count(); ++i)
        list << history.Item(i);
    return list;
}

TEST(CHistory, EntriesAreTrimmedUniqueAndInFirstAdditionOrder)
{
    CHistory history;
    for (const char *text : {"  Sunset  ", "sunset", " \t\r\n", "", "Dawn", "SUNSET", "line one\r\nline two"})
        history.Add(QLatin1String(text));
    EXPECT_EQ(entries(history),
              (QStringList {QStringLiteral("Sunset"), QStringLiteral("Dawn"), QStringLiteral("line one\r\nline two")}));
    EXPECT_EQ(corvid::test::raisedNumber([&] { history.Item(3); }), 9);

    QListWidget list;
    list.addItem(QStringLiteral("kept"));
    history.FillListBox(&list);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(1)->text(), QLatin1String("Sunset"));
    EXPECT_EQ(list.currentRow(), 0);
    QComboBox combo;
    history.FillComboBox(&combo);
    EXPECT_EQ(combo.currentText(), QLatin1String("Sunset"));
}

TEST(CHistory, FileLivesInTheDataFolderAndMustBeDefined)
{
    ScopedMessageBoxAnswerer answerer;
    CHistory history;
    history.Add(QStringLiteral("kept"));
    history.LoadHistory();
    history.SaveHistory();
    EXPECT_EQ(history.Count(), 1);
    ASSERT_EQ(answerer.requests().size(), 2);
    EXPECT_EQ(answerer.requests()[1].text, QLatin1String("History file not defined."));
    EXPECT_EQ(answerer.requests()[1].style & MessageBox::IconMask, MessageBox::Critical);

    history.InitFileName({}, QStringLiteral("Path History.DAT"));
    const QString folder = corvid::test::sandboxDir() + QLatin1String("/home/.local/share/Sablewing/Quillon");
    EXPECT_EQ(history.FileName(), folder + QLatin1String("/Path History.DAT"));
    EXPECT_TRUE(QDir(folder).exists());
}

TEST(CHistory, FileHoldsEntriesBetweenNuls)
{
    QTemporaryDir dir;
    CHistory history;
    history.InitFileName(dir.path(), QStringLiteral("History.DAT"));
    history.Add(QStringLiteral("replaced"));
    history.LoadHistory();
    EXPECT_EQ(history.Count(), 0) << "a missing file loads as an empty list";

    const QByteArray zako("\xD0\x97\xD0\xB0\xD0\xBA", 6);
    FileAccess::WriteFileRaw(history.FileName(), QByteArray("a\0\0 b \0two\r\nlines\0a\0", 20) + zako);
    history.LoadHistory();
    EXPECT_EQ(entries(history),
              (QStringList {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("two\r\nlines"),
                            QStringLiteral("a"), QString::fromUtf8(zako)}));

    CHistory three;
    three.InitFileName(dir.path(), QStringLiteral("History.DAT"));
    for (const QString &entry : {QStringLiteral("entry1"), QString::fromUtf8(zako), QStringLiteral("entry3")})
        three.Add(entry);
    three.SaveHistory();
    EXPECT_EQ(FileAccess::ReadFileRaw(history.FileName()), "entry1" + QByteArray(1, 0) + zako + '\0' + "entry3");

    CHistory empty;
    empty.InitFileName(dir.path(), QStringLiteral("History.DAT"));
    empty.SaveHistory();
    EXPECT_EQ(FileAccess::ReadFileRaw(history.FileName()), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("History.DAT")});
}

TEST(CHistory, SaveFailureIsShown)
{
    QTemporaryDir dir;
    // A file where the folder should be: the folder cannot be created.
    FileAccess::WriteFileRaw(dir.filePath(QStringLiteral("file")), "x");
    CHistory blocked;
    blocked.InitFileName(dir.filePath(QStringLiteral("file/sub")), QStringLiteral("History.DAT"));
    blocked.Add(QStringLiteral("lost"));
    ScopedMessageBoxAnswerer answerer;
    blocked.SaveHistory();
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_TRUE(answerer.requests()[0].text.startsWith(QLatin1String("Can't save history.\r\n\r\nError number: 75")))
        << answerer.requests()[0].text.toStdString();
    EXPECT_EQ(answerer.requests()[0].title, QLatin1String("Corvid - Quillon"));
}

} // namespace
