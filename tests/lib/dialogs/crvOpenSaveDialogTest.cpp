#include "lib/dialogs/crvOpenSaveDialog.h"

#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <functional>
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

// Closes, and counts, any box Qt shows itself instead of through the
// message-box seam, so that none can hold a test up.
class StrayBoxCloser
{
public:
    StrayBoxCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (box && box->isVisible()) {
                    ++m_closed;
                    box->reject();
                }
            }
        });
        m_timer.start(20);
    }
    int closed() const { return m_closed; }

private:
    QTimer m_timer;
    int m_closed = 0;
};

TEST_F(OpenSaveDialog, TheSwitchesCheckTheChosenNameAsThePlatformsDialogDoes)
{
    QFile readOnly(path(QStringLiteral("ro.txt")));
    ASSERT_TRUE(readOnly.open(QIODevice::WriteOnly));
    ASSERT_TRUE(readOnly.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    ASSERT_TRUE(QFile::setPermissions(path(QStringLiteral("locked")), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto restore = qScopeGuard([this] {
        QFile::setPermissions(path(QStringLiteral("locked")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });

    using Box = MessageBox;
    const qint32 Warning = Box::OkOnly | Box::Exclamation;
    const qint32 Overwrite = Box::YesNo | Box::Exclamation | Box::DefaultButton2;
    const qint32 Create = Box::YesNo | Box::Question;
    const QString Exists = QStringLiteral(" already exists.\nDo you want to replace it?");
    const QString NoPath = QStringLiteral("\nPath does not exist.\nCheck the path and try again.");
    const QString NotFound = QStringLiteral("\nFile not found.\nCheck the file name and try again.");
    const QString Missing = QStringLiteral("\nThis file does not exist.\nDo you want to create it?");
    const QString IsReadOnly
        = QStringLiteral("\nThis file is set to read-only.\nTry again with a different file name.");
    const QString Protected = QStringLiteral("\nThe folder is write-protected.\nTry again with a different file name.");
    const std::function<void(crvOpenSaveDialog &)> defaults = [](crvOpenSaveDialog &) {};

    const struct {
        const char *what;
        bool save;
        std::function<void(crvOpenSaveDialog &)> switches;
        QString typed;
        qint32 answer; // to every box
        bool accepted;
        QList<std::pair<QString, qint32>> boxes; // sentence after the full path, style
    } cases[] = {
        // The save dialog with its defaults.
        {"save: a new name", true, defaults, "new.txt", Box::Ok, true, {}},
        {"save: replacing, yes", true, defaults, "a.txt", Box::Yes, true, {{Exists, Overwrite}}},
        {"save: replacing, no", true, defaults, "a.txt", Box::No, false, {{Exists, Overwrite}}},
        {"save: a missing folder", true, defaults, "missing/new.txt", Box::Ok, false, {{NoPath, Warning}}},
        {"save: a read-only file may be replaced", true, defaults, "ro.txt", Box::Yes, true, {{Exists, Overwrite}}},
        // The save dialog with a switch changed.
        {"save: no overwrite prompt",
         true,
         [](crvOpenSaveDialog &d) { d.setOverwritePrompt(false); },
         "a.txt",
         Box::No,
         true,
         {}},
        {"save: a missing folder allowed",
         true,
         [](crvOpenSaveDialog &d) { d.setPathMustExist(false); },
         "missing/new.txt",
         Box::Ok,
         true,
         {}},
        {"save: create prompt, yes",
         true,
         [](crvOpenSaveDialog &d) { d.setCreatePrompt(true); },
         "new.txt",
         Box::Yes,
         true,
         {{Missing, Create}}},
        {"save: create prompt, no",
         true,
         [](crvOpenSaveDialog &d) { d.setCreatePrompt(true); },
         "new.txt",
         Box::No,
         false,
         {{Missing, Create}}},
        {"save: no read-only file",
         true,
         [](crvOpenSaveDialog &d) { d.setNoReadonlyReturn(true); },
         "ro.txt",
         Box::Yes,
         false,
         {{IsReadOnly, Warning}}},
        {"save: no write-protected folder",
         true,
         [](crvOpenSaveDialog &d) { d.setNoReadonlyReturn(true); },
         "locked/new.txt",
         Box::Ok,
         false,
         {{Protected, Warning}}},
        // The open dialog.
        {"open: an existing file, no overwrite question", false, defaults, "a.txt", Box::No, true, {}},
        {"open: a missing file", false, defaults, "new.txt", Box::Ok, false, {{NotFound, Warning}}},
        {"open: a missing folder",
         false,
         [](crvOpenSaveDialog &d) { d.setPathMustExist(false); },
         "missing/a.txt",
         Box::Ok,
         false,
         {{NoPath, Warning}}},
        {"open: any name",
         false,
         [](crvOpenSaveDialog &d) { d.setFileMustExist(false); },
         "new.txt",
         Box::Ok,
         true,
         {}},
        {"open: create prompt, yes",
         false,
         [](crvOpenSaveDialog &d) { d.setCreatePrompt(true); },
         "new.txt",
         Box::Yes,
         true,
         {{Missing, Create}}},
        {"open: no read-only file",
         false,
         [](crvOpenSaveDialog &d) { d.setNoReadonlyReturn(true); },
         "ro.txt",
         Box::Ok,
         false,
         {{IsReadOnly, Warning}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        crvOpenSaveDialog dlg;
        dlg.setInitialDirectory(dir.path());
        dlg.setFileName(QStringLiteral("earlier.txt"));
        c.switches(dlg);
        const StrayBoxCloser closer;
        ScopedMessageBoxAnswerer answerer(c.answer);
        QPointer<QFileDialog> shown;
        bool stayedOpen = false;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            shown = dialog;
            choose(dialog, c.typed);
            stayedOpen = dialog->isVisible();
        });
        EXPECT_EQ(c.save ? dlg.ShowSave() : dlg.ShowOpen(), c.accepted);
        EXPECT_EQ(stayedOpen, !c.accepted) << "a refused name leaves the dialog open";
        EXPECT_EQ(closer.closed(), 0) << "Qt showed a box of its own";
        EXPECT_EQ(dlg.FileName().toStdString(),
                  (c.accepted ? path(c.typed) : QStringLiteral("earlier.txt")).toStdString());
        ASSERT_EQ(answerer.requests().size(), c.boxes.size());
        for (qsizetype i = 0; i < c.boxes.size(); ++i) {
            const ScopedMessageBoxAnswerer::Request &box = answerer.requests().at(i);
            EXPECT_EQ(box.text.toStdString(), (path(c.typed) + c.boxes.at(i).first).toStdString());
            EXPECT_EQ(box.style, c.boxes.at(i).second);
            EXPECT_EQ(box.title.toStdString(), c.save ? "Save As" : "Open");
            EXPECT_EQ(box.owner, shown) << "over the file dialog";
        }
    }
}

TEST_F(OpenSaveDialog, LargestFilterIndexOverflowsAfterConvertingTheFilter)
{
    dlg.setFilterIndex(2147483647);
    EXPECT_EQ(corvid::test::raisedNumber([this] { dlg.ShowOpen(); }), 6);
    EXPECT_EQ(dlg.Filter(), QStringLiteral("Все файлы") + Nul + QStringLiteral("*.*") + Nul + Nul);
}
