#include "lib/system/crvMain.h"

#include <QComboBox>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

// What the completer offers after "<dir>/al" was typed into \a edit, once
// the file-system model has read the folder (it reads in the background).
QStringList completions(QLineEdit *edit, const QString &dir, qsizetype expected)
{
    edit->window()->show();
    QTest::keyClicks(edit, dir + QStringLiteral("/al"));
    QCompleter *completer = edit->completer();
    QDeadlineTimer deadline(10000);
    while (completer->completionCount() < expected && !deadline.hasExpired())
        QTest::qWait(20);
    QStringList found;
    for (int i = 0; completer->setCurrentRow(i); ++i)
        found.append(QDir(dir).relativeFilePath(completer->currentCompletion()));
    found.sort();
    return found;
}

class AutoComplete : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("alps")));
        QFile file(dir.filePath(QStringLiteral("alpha.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    crvMain &m = crvMain::global();
};

} // namespace

TEST_F(AutoComplete, OffersFilesAndFoldersOrFoldersOnly)
{
    QLineEdit all;
    ASSERT_TRUE(m.AddAutoComplete(&all));
    EXPECT_EQ(all.completer()->completionMode(), QCompleter::PopupCompletion);
    EXPECT_EQ(completions(&all, dir.path(), 2), (QStringList {QStringLiteral("alpha.txt"), QStringLiteral("alps")}));

    QComboBox combo;
    combo.setEditable(true);
    ASSERT_TRUE(m.AddAutoComplete(&combo, aacFileSystemDirs));
    ASSERT_EQ(combo.lineEdit()->completer(), combo.completer());
    EXPECT_EQ(completions(combo.lineEdit(), dir.path(), 1), QStringList {QStringLiteral("alps")});
}

TEST_F(AutoComplete, FlagsAndControls)
{
    QLineEdit inline_;
    ASSERT_TRUE(m.AddAutoComplete(&inline_, aacAutosuggestForceOff + aacAutoappendForceOn));
    EXPECT_EQ(inline_.completer()->completionMode(), QCompleter::InlineCompletion);

    QLineEdit none;
    EXPECT_TRUE(m.AddAutoComplete(&none, aacAutosuggestForceOff));
    EXPECT_EQ(none.completer(), nullptr) << "neither suggestions nor appending";

    QLineEdit urls;
    EXPECT_FALSE(m.AddAutoComplete(&urls, aacURLAll)) << "no URL history here";
    EXPECT_TRUE(m.AddAutoComplete(&urls, aacURLAll + aacFileSystem));

    QComboBox list;
    EXPECT_FALSE(m.AddAutoComplete(&list)) << "a drop-down list has no edit field";
    QPushButton button;
    EXPECT_FALSE(m.AddAutoComplete(&button));
    EXPECT_FALSE(m.AddAutoComplete(nullptr));
}

// The completer is a child of the field, and a field deletes the completer
// it parents when another replaces it: repeated calls leave one behind.
TEST_F(AutoComplete, ASecondCallReplacesTheFirstCompleter)
{
    QLineEdit edit;
    QComboBox combo;
    combo.setEditable(true);
    const QPointer<QCompleter> hosts = new QCompleter(QStringList {QStringLiteral("host's own")});
    edit.setCompleter(hosts);
    ASSERT_TRUE(m.AddAutoComplete(&edit, aacFileSystemDirs));
    ASSERT_TRUE(m.AddAutoComplete(&combo));
    for (QWidget *control : {static_cast<QWidget *>(&edit), static_cast<QWidget *>(&combo)}) {
        QLineEdit *field = control == &edit ? &edit : combo.lineEdit();
        const QPointer<QCompleter> first = field->completer();
        const QPointer<QObject> firstModel = first->model();
        ASSERT_TRUE(m.AddAutoComplete(control, aacFileSystemDirs));
        EXPECT_NE(field->completer(), first.data());
        EXPECT_TRUE(first.isNull()) << "the first completer is left behind";
        EXPECT_TRUE(firstModel.isNull()) << "the first file-system model is left behind";
    }
    EXPECT_FALSE(hosts.isNull()) << "the host's own completer is the host's to delete";
    delete hosts.data();
}
