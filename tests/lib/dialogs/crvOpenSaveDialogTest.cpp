#include "lib/dialogs/crvOpenSaveDialog.h"

#include "tests/common/RaisedError.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessera;
using corvid::test::whenShown;

namespace {

const QChar Nul(0);

// Types \a names into the dialog's file-name box and presses Open / Save.
void choose(QFileDialog *dialog, const QString &names)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(names);
    QMetaObject::invokeMethod(dialog, "accept"); // protected in QFileDialog
}

class OpenSaveDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char *name : {"a.txt", "b.txt", "c.dat"}) {
            QFile file(path(QLatin1String(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        dlg.setInitialDirectory(dir.path());
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    crvOpenSaveDialog dlg;
};

} // namespace

TEST_F(OpenSaveDialog, FilterIsConvertedOnceAndShowsTheSameListOnEveryCall)
{
    dlg.setFilter(QStringLiteral("Text files (*.txt)|*.txt;*.text|All files|*.*"));
    dlg.setFileName(QStringLiteral("keep.txt"));
    const QString converted = QStringLiteral("Text files (*.txt)") + Nul + QStringLiteral("*.txt;*.text") + Nul
        + QStringLiteral("All files") + Nul + QStringLiteral("*.*") + Nul + Nul;
    const QStringList shownFilters {QStringLiteral("Text files (*.txt) (*.txt *.text)"),
                                    QStringLiteral("All files (*)")};

    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE(call);
        QStringList shown;
        auto ran = whenShown<QFileDialog>([&shown](QFileDialog *dialog) {
            shown = dialog->nameFilters();
            dialog->reject();
        });
        EXPECT_FALSE(dlg.ShowOpen());
        EXPECT_TRUE(*ran);
        EXPECT_EQ(shown, shownFilters);
        EXPECT_EQ(dlg.Filter(), converted) << "no growth by two NULs per call";
        EXPECT_EQ(dlg.LastDlgError(), 0);
        EXPECT_EQ(dlg.FileName(), QStringLiteral("keep.txt")) << "a cancel keeps the file name";
    }
}

TEST_F(OpenSaveDialog, SingleSelectionWithFilterIndexInAndOut)
{
    dlg.setFilter(QStringLiteral("Text|*.txt|Data|*.dat"));
    dlg.setFilterIndex(1);
    dlg.setDefaultExtension(QStringLiteral("txt"));
    QString selectedFilter;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        selectedFilter = dialog->selectedNameFilter();
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->directory().absolutePath(), dir.path());
        dialog->selectNameFilter(QStringLiteral("Text (*.txt)"));
        choose(dialog, QStringLiteral("c.dat"));
    });
    ASSERT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(selectedFilter, QStringLiteral("Data")) << "shown without its patterns";
    EXPECT_EQ(dlg.FilterIndex(), 0);
    EXPECT_EQ(dlg.FileName(), path(QStringLiteral("c.dat")));
    EXPECT_EQ(dlg.FileTitle(), QStringLiteral("c.dat"));
    EXPECT_EQ(dlg.FileExtension(), QStringLiteral("dat"));
    EXPECT_TRUE(dlg.ExtensionDifferent());
    EXPECT_EQ(dlg.FileNames().Count(), 0);
    EXPECT_EQ(dlg.LastDlgError(), 0);
}

TEST_F(OpenSaveDialog, MultipleSelectionOfOneAndOfTwoFiles)
{
    dlg.setAllowMultiselect(true);
    const struct {
        QString typed;
        QVariantList expected;
    } cases[] = {
        {QStringLiteral("\"a.txt\""), {path(QStringLiteral("a.txt"))}},
        {QStringLiteral("\"a.txt\" \"b.txt\""), {path(QStringLiteral("a.txt")), path(QStringLiteral("b.txt"))}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        dlg.setFileName(QStringLiteral("earlier.txt"));
        whenShown<QFileDialog>([&c](QFileDialog *dialog) {
            EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
            choose(dialog, c.typed);
        });
        ASSERT_TRUE(dlg.ShowOpen());
        EXPECT_EQ(dlg.FileNames().values(), c.expected);
        EXPECT_EQ(dlg.FileName(), QString());
        EXPECT_EQ(dlg.FileTitle(), QString());
    }
}

TEST_F(OpenSaveDialog, SwitchesReachTheDialog)
{
    whenShown<QFileDialog>([](QFileDialog *dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Open"));
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontResolveSymlinks));
        EXPECT_FALSE(dialog->filter() & QDir::Hidden);
        EXPECT_EQ(dialog->findChild<QCheckBox *>(QStringLiteral("chkReadOnly")), nullptr);
    });
    EXPECT_FALSE(dlg.ShowOpen());

    dlg.setTitle(QStringLiteral("Export"));
    dlg.setFileMustExist(false);
    dlg.setOverwritePrompt(false);
    dlg.setNoDereferenceLinks(true);
    dlg.setForceShowHidden(true);
    dlg.setHideReadOnly(false);
    dlg.setReadOnly(true);
    dlg.setAllowMultiselect(true); // the save dialog takes one name all the same
    whenShown<QFileDialog>([](QFileDialog *dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export"));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontResolveSymlinks));
        EXPECT_TRUE(dialog->filter() & QDir::Hidden);
        auto *readOnly = dialog->findChild<QCheckBox *>(QStringLiteral("chkReadOnly"));
        ASSERT_NE(readOnly, nullptr);
        EXPECT_TRUE(readOnly->isChecked());
        readOnly->setChecked(false);
        choose(dialog, QStringLiteral("a.txt"));
    });
    ASSERT_TRUE(dlg.ShowSave());
    EXPECT_FALSE(dlg.ReadOnly());
    EXPECT_EQ(dlg.FileNames().values(), QVariantList {path(QStringLiteral("a.txt"))});
}

TEST_F(OpenSaveDialog, LargestFilterIndexOverflowsAfterConvertingTheFilter)
{
    dlg.setFilterIndex(2147483647);
    EXPECT_EQ(corvid::test::raisedNumber([this] { dlg.ShowOpen(); }), 6);
    EXPECT_EQ(dlg.Filter(), QStringLiteral("Все файлы") + Nul + QStringLiteral("*.*") + Nul + Nul);
}
