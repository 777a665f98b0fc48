#include "lib/dialogs/crvBrowseForFolderDialog.h"

#include "lib/dialogs/crvBrowseForFolderDialog2.h"
#include "lib/dialogs/frmBrowseForFolder.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessera;
using corvid::test::whenShown;

namespace {

const QString Missing = QStringLiteral("Каталог не существует.");
const QString CreateIt = QStringLiteral("Каталог не существует. Создать его?");
const QString CannotCreate = QStringLiteral("Не удаётся создать каталог.");

class FolderDialog : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Shows the folder window with \a typed in txtPath and presses Ok
    // \a presses times; returns whether the window was still open then.
    bool typeAndPressOk(const QString &typed, int presses = 1)
    {
        bool open = false;
        whenShown<frmBrowseForFolder>([&](frmBrowseForFolder *window) {
            window->txtPath()->setText(typed);
            for (int i = 0; i < presses; ++i)
                window->cmdOk()->click();
            open = window->isVisible();
        });
        shown = dlg.Show();
        return open;
    }

    QTemporaryDir dir;
    crvBrowseForFolderDialog2 dlg;
    bool shown = false;
};

} // namespace

TEST_F(FolderDialog, EmptyDescriptionHidesTheLabelAndShortensTheWindow)
{
    struct Layout {
        bool labelShown = false;
        QString label;
        QString title;
        int labelTop = 0;
        int pathTop = 0;
        int okTop = 0;
        int height = 0;
    };
    const auto layoutOf = [this](const QString &description) {
        Layout layout;
        dlg.setDescription(description);
        whenShown<frmBrowseForFolder>([&layout](frmBrowseForFolder *window) {
            layout = {window->lblDescription()->isVisible(),
                      window->lblDescription()->text(),
                      window->windowTitle(),
                      window->lblDescription()->y(),
                      window->txtPath()->y(),
                      window->cmdOk()->y(),
                      window->height()};
            window->cmdCancel()->click();
        });
        EXPECT_FALSE(dlg.Show());
        return layout;
    };
    dlg.setPath(dir.path());
    const Layout with = layoutOf(QStringLiteral("Choose directory for EML files saving."));
    const Layout without = layoutOf(QString());

    EXPECT_TRUE(with.labelShown);
    EXPECT_EQ(with.label, QStringLiteral("Choose directory for EML files saving."));
    EXPECT_EQ(with.title, QStringLiteral("Обзор папок"));
    EXPECT_GT(with.pathTop, with.labelTop);
    EXPECT_FALSE(without.labelShown);
    EXPECT_EQ(without.pathTop, with.labelTop) << "the path moves up by the label's top and height plus 45 twips";
    const int shift = with.pathTop - without.pathTop;
    EXPECT_EQ(with.okTop - without.okTop, shift);
    EXPECT_EQ(with.height - without.height, shift);
    EXPECT_EQ(dlg.Path(), dir.path()) << "a cancel keeps the path";
}

TEST_F(FolderDialog, OkNeedsMoreThanBlanks)
{
    dlg.setPath(dir.path());
    whenShown<frmBrowseForFolder>([](frmBrowseForFolder *window) {
        EXPECT_TRUE(window->cmdOk()->isEnabled());
        window->txtPath()->setText(QStringLiteral(" \t "));
        EXPECT_FALSE(window->cmdOk()->isEnabled());
        window->txtPath()->setText(QStringLiteral(" x"));
        EXPECT_TRUE(window->cmdOk()->isEnabled());
    });
    EXPECT_FALSE(dlg.Show());

    dlg.setPath(QString());
    whenShown<frmBrowseForFolder>([](frmBrowseForFolder *window) { EXPECT_FALSE(window->cmdOk()->isEnabled()); });
    EXPECT_FALSE(dlg.Show());
}

TEST_F(FolderDialog, MissingFolderWithoutAskingIsRefused)
{
    dlg.setAskToCreateFolder(false);
    ScopedMessageBoxAnswerer answerer;
    EXPECT_TRUE(typeAndPressOk(path(QStringLiteral("missing"))));
    EXPECT_FALSE(shown);
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests().first().text, Missing);
    EXPECT_EQ(answerer.requests().first().style & MessageBox::IconMask, MessageBox::Critical);
    EXPECT_FALSE(QDir(path(QStringLiteral("missing"))).exists());
}

TEST_F(FolderDialog, MissingFolderIsCreatedWithEveryLevelOnceTheUserAgrees)
{
    ScopedMessageBoxAnswerer answerer({MessageBox::Cancel, MessageBox::Ok});
    const QString nested = path(QStringLiteral("a/b/c"));
    EXPECT_FALSE(typeAndPressOk(QStringLiteral("  ") + nested + QStringLiteral("  "), 2));
    ASSERT_TRUE(shown);
    EXPECT_EQ(dlg.Path(), nested);
    EXPECT_TRUE(QDir(nested).exists());
    ASSERT_EQ(answerer.requests().size(), 2) << "Cancel keeps the window open, OK creates the folder";
    for (const auto &request : answerer.requests()) {
        EXPECT_EQ(request.text, CreateIt);
        EXPECT_EQ(request.style, MessageBox::OkCancel | MessageBox::Question);
    }
}

TEST_F(FolderDialog, FolderThatCannotBeCreatedIsReported)
{
    QFile blocker(path(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    ScopedMessageBoxAnswerer answerer(MessageBox::Ok);
    EXPECT_TRUE(typeAndPressOk(path(QStringLiteral("blocker/sub"))));
    EXPECT_FALSE(shown);
    ASSERT_EQ(answerer.requests().size(), 2);
    EXPECT_EQ(answerer.requests().at(1).text, CannotCreate);
    EXPECT_EQ(answerer.requests().at(1).style & MessageBox::IconMask, MessageBox::Critical);
}

TEST_F(FolderDialog, RelativePathComesBackFull)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("rel")));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    typeAndPressOk(QStringLiteral("rel/../rel"));
    QDir::setCurrent(previous);
    ASSERT_TRUE(shown);
    EXPECT_EQ(dlg.Path(), path(QStringLiteral("rel")));
}

TEST_F(FolderDialog, BrowseButtonOpensTheFolderChooser)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    dlg.setDescription(QStringLiteral("Pick a folder"));
    dlg.setPath(dir.path());
    dlg.setUseNewUI(false);
    whenShown<frmBrowseForFolder>([this](frmBrowseForFolder *window) {
        whenShown<QFileDialog>([this](QFileDialog *chooser) {
            EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Pick a folder"));
            EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
            EXPECT_TRUE(chooser->testOption(QFileDialog::ShowDirsOnly));
            EXPECT_TRUE(chooser->testOption(QFileDialog::ReadOnly)) << "UseNewUI off";
            EXPECT_EQ(chooser->directory().absolutePath(), dir.path());
            chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("sub"));
            QMetaObject::invokeMethod(chooser, "accept"); // protected in QFileDialog
        });
        window->cmdBrowse()->click();
        EXPECT_EQ(window->txtPath()->text(), path(QStringLiteral("sub")));
        window->cmdOk()->click();
    });
    ASSERT_TRUE(dlg.Show());
    EXPECT_EQ(dlg.Path(), path(QStringLiteral("sub")));
    EXPECT_EQ(dlg.DisplayName(), QStringLiteral("sub"));
}

TEST_F(FolderDialog, FolderChooserCancelKeepsThePath)
{
    crvBrowseForFolderDialog chooser;
    chooser.setPath(dir.path());
    auto ran = whenShown<QFileDialog>([](QFileDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Обзор папок"));
        EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly));
        dialog->reject();
    });
    EXPECT_FALSE(chooser.Show());
    EXPECT_TRUE(*ran);
    EXPECT_EQ(chooser.Path(), dir.path());
    EXPECT_EQ(chooser.DisplayName(), QString());
}
