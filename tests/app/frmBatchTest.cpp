// Batch mode driven on its real window, with a real main window behind it.
#include "app/batch/frmBatch.h"

#include "app/batch/modPictureFiles.h"
#include "app/main/frmMain.h"
#include "app/main/modSettings.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/app/AboutBoxCheck.h"
#include "tests/app/ModalDriver.h"
#include "tests/app/PipeWatchdog.h"
#include "tests/app/QuillonState.h"
#include "tests/common/RaisedError.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>
#include <sys/stat.h>

using corvid::test::control;
using corvid::test::mailsIn;
using quillon::frmBatch;
using quillon::frmMain;
using tessera::MessageBox;
using tessera::ScopedMessageBoxAnswerer;

namespace {

QStringList listed(const frmBatch &batch)
{
    QStringList names;
    const auto *list = control<QListWidget>(&batch, "lstFiles");
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    return names;
}

QList<bool> selection(const frmBatch &batch)
{
    QList<bool> selected;
    const auto *list = control<QListWidget>(&batch, "lstFiles");
    for (int row = 0; row < list->count(); ++row)
        selected << list->item(row)->isSelected();
    return selected;
}

QStringList texts(const ScopedMessageBoxAnswerer &answerer)
{
    QStringList result;
    for (const auto &request : answerer.requests())
        result << request.text;
    return result;
}

// Answers Abort/Retry/Ignore boxes in turn with \a answers, every other box
// with OK.
ScopedMessageBoxAnswerer::Answer answering(QList<qint32> answers)
{
    return [answers](const ScopedMessageBoxAnswerer::Request &request) mutable {
        if ((request.style & MessageBox::ButtonsMask) != MessageBox::AbortRetryIgnore)
            return qint32(MessageBox::Ok);
        return answers.isEmpty() ? qint32(MessageBox::Ignore) : answers.takeFirst();
    };
}

class BatchMode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        corvid::test::forgetQuillon();
        main = std::make_unique<frmMain>();
        control<QLineEdit>(main.get(), "txtPath")->setText(out.path());
        control<QComboBox>(main.get(), "cboFromEMail")->setEditText(QStringLiteral("me@example.org"));
        control<QComboBox>(main.get(), "cboEMail")->setEditText(QStringLiteral("blog@tumblr.com"));
        control<QPlainTextEdit>(main.get(), "txtCaption")->setPlainText(QStringLiteral("Holiday"));
        for (const char *name : {"one.jpg", "three.png", "two.bmp"})
            made << corvid::test::makePicture(pictures.path(), QLatin1String(name));
        quillon::modSettings::Save(QStringLiteral("Last batch folder"), tessera::rtString, pictures.path());
    }

    std::unique_ptr<frmMain> main;
    QTemporaryDir pictures;
    QTemporaryDir out;
    QStringList made;
};

TEST_F(BatchMode, ListsThePicturesOfTheFolderAllSelected)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    for (const char *name : {"a.JPG", "b.png", "c.txt", "d.pe", ".hidden.gif", "locked.bmp", "noextension"})
        QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    QFile::setPermissions(dir.filePath(QStringLiteral("locked.bmp")), QFileDevice::ReadOwner);
    ASSERT_TRUE(dir.mkdir(QStringLiteral("e.gif")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.png"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.jpg")), dir.filePath(QStringLiteral("broken.jpg"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("b.png")), dir.filePath(QStringLiteral("Z-link.png"))));

    const QStringList expected = {QStringLiteral(".hidden.gif"), QStringLiteral("Z-link.png"), QStringLiteral("a.JPG"),
                                  QStringLiteral("b.png"), QStringLiteral("locked.bmp")};
    EXPECT_EQ(quillon::modPictureFiles::ListPictureFiles(folder.path()), expected);

    frmBatch batch(*main);
    batch.SetCurrentPath(QStringLiteral(" ") + folder.path() + QStringLiteral("\t"));
    EXPECT_EQ(batch.CurrentPath(), folder.path());
    EXPECT_EQ(control<QLineEdit>(&batch, "txtPath")->text(), folder.path());
    EXPECT_EQ(listed(batch), expected);
    EXPECT_EQ(selection(batch), QList<bool>(5, true));
    EXPECT_EQ(batch.windowTitle(), QLatin1String("Quillon :: Batch mode :: 5"));

    // The caption counts the listed files; Create needs a selected one.
    auto *list = control<QListWidget>(&batch, "lstFiles");
    list->clearSelection();
    EXPECT_EQ(batch.windowTitle(), QLatin1String("Quillon :: Batch mode :: 5"));
    EXPECT_FALSE(control<QPushButton>(&batch, "cmdCreatePhoto")->isEnabled());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selection(batch), QList<bool>(5, true));
    EXPECT_TRUE(control<QPushButton>(&batch, "cmdCreatePhoto")->isEnabled());

    batch.show();
    EXPECT_TRUE(corvid::test::saveScreenshot(&batch, QStringLiteral("frmBatch")));
}

TEST_F(BatchMode, AMissingFolderIsReportedAndAnEmptyPathChangesNothing)
{
    const ScopedMessageBoxAnswerer answerer;
    frmBatch batch(*main);
    ASSERT_EQ(listed(batch).size(), 3);
    const QString missing = pictures.filePath(QStringLiteral("nowhere"));
    EXPECT_EQ(corvid::test::raisedNumber([&] { quillon::modPictureFiles::ListPictureFiles(missing); }),
              tessera::RuntimeError::PathNotFound);

    auto *path = control<QLineEdit>(&batch, "txtPath");
    path->setFocus();
    path->setText(QStringLiteral("  "));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(batch.CurrentPath(), pictures.path());
    EXPECT_EQ(listed(batch).size(), 3);
    EXPECT_TRUE(answerer.requests().isEmpty());

    batch.SetCurrentPath(missing);
    EXPECT_EQ(texts(answerer), QStringList {missing + QLatin1String("\r\n\r\nDirectory was not found.")});
    EXPECT_EQ(answerer.requests()[0].style, MessageBox::Critical);
    EXPECT_TRUE(listed(batch).isEmpty());
    EXPECT_FALSE(control<QPushButton>(&batch, "cmdCreatePhoto")->isEnabled());
    EXPECT_EQ(batch.windowTitle(), QLatin1String("Quillon :: Batch mode :: 0"));

    // The folder shown last is stored, even a missing one.
    batch.show();
    batch.close();
    EXPECT_EQ(quillon::modSettings::Load(QStringLiteral("Last batch folder"), tessera::rtString, {}).toString(),
              missing);
}

TEST_F(BatchMode, AbortAtTheSecondPictureStopsWithoutRemembering)
{
    ScopedMessageBoxAnswerer answerer(answering({MessageBox::Abort}));
    frmBatch batch(*main);
    ASSERT_EQ(listed(batch),
              (QStringList {QStringLiteral("one.jpg"), QStringLiteral("three.png"), QStringLiteral("two.bmp")}));
    // The second picture became a named pipe after it was listed: refused
    // at once, not waited on.
    QFile::remove(made[1]);
    ASSERT_EQ(::mkfifo(QFile::encodeName(made[1]).constData(), 0600), 0);
    corvid::test::PipeWatchdog watchdog(made[1]);
    QTest::mouseClick(control<QPushButton>(&batch, "cmdCreatePhoto"), Qt::LeftButton);
    EXPECT_FALSE(watchdog.freedReader()) << "batch mode waited for a writer";

    EXPECT_EQ(selection(batch), (QList<bool> {false, true, true}));
    EXPECT_EQ(mailsIn(out.path()).size(), 1);
    const QStringList shown = texts(answerer);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(made[1] + QLatin1String("\r\n\r\nCan't read file."))) << qPrintable(shown[0]);
    EXPECT_TRUE(shown[0].contains(QLatin1String("This is a named pipe, not a regular file."))) << qPrintable(shown[0]);
    EXPECT_EQ(shown[1], made[1] + QLatin1String("\r\n\r\nCan't pack file to mail."));
    EXPECT_EQ(main->History.Count(), 0);
    EXPECT_EQ(main->PathHistory.Count(), 0);
    batch.show();
    EXPECT_TRUE(corvid::test::saveScreenshot(&batch, QStringLiteral("frmBatch-aborted")));
}

TEST_F(BatchMode, RetryTriesAgainAndIgnoreGoesOnToTheEnd)
{
    ScopedMessageBoxAnswerer answerer(answering({MessageBox::Retry, MessageBox::Ignore}));
    frmBatch batch(*main);
    QFile::remove(made[1]);
    QTest::mouseClick(control<QPushButton>(&batch, "cmdCreatePhoto"), Qt::LeftButton);

    EXPECT_EQ(selection(batch), (QList<bool> {false, false, false}));
    EXPECT_EQ(mailsIn(out.path()).size(), 2);
    const QStringList shown = texts(answerer);
    ASSERT_EQ(shown.size(), 5) << qPrintable(shown.join(QLatin1String(" | ")));
    EXPECT_EQ(shown.count(made[1] + QLatin1String("\r\n\r\nCan't pack file to mail.")), 2);
    EXPECT_EQ(shown.last(), QLatin1String("All done ^_^v"));
    EXPECT_EQ(answerer.requests().last().style, MessageBox::Information);
    ASSERT_EQ(main->History.Count(), 1);
    EXPECT_EQ(main->History.Item(0), QLatin1String("Holiday"));
    ASSERT_EQ(main->PathHistory.Count(), 1);
    EXPECT_EQ(main->PathHistory.Item(0), out.path());

    batch.show();
    batch.close();
    quillon::CHistory folders;
    folders.InitFileName({}, QStringLiteral("Batch Path History.DAT"));
    folders.LoadHistory();
    ASSERT_EQ(folders.Count(), 1);
    EXPECT_EQ(folders.Item(0), pictures.path());
}

TEST_F(BatchMode, EnterListsTheTypedFolderAndCtrlEnterPostsTheListedOne)
{
    const ScopedMessageBoxAnswerer answerer;
    QTemporaryDir other;
    corvid::test::makePicture(other.path(), QStringLiteral("other.png"));
    frmBatch batch(*main);
    batch.show();
    batch.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&batch));
    auto *path = control<QLineEdit>(&batch, "txtPath");
    auto *create = control<QPushButton>(&batch, "cmdCreatePhoto");
    auto *list = control<QListWidget>(&batch, "lstFiles");

    list->setFocus();
    EXPECT_TRUE(create->isDefault());
    path->setFocus();
    EXPECT_FALSE(create->isDefault());
    EXPECT_EQ(path->selectedText(), pictures.path());

    path->setText(other.path());
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(listed(batch), QStringList {QStringLiteral("other.png")});
    EXPECT_TRUE(mailsIn(out.path()).isEmpty());

    batch.SetCurrentPath(pictures.path());
    path->setText(other.path());
    QTest::keyClick(path, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(path->text(), pictures.path());
    EXPECT_EQ(mailsIn(out.path()).size(), 3);
    EXPECT_EQ(texts(answerer), QStringList {QStringLiteral("All done ^_^v")});

    list->setFocus();
    EXPECT_TRUE(create->isDefault());
}

// Typing a folder at a fast typist's pace (one key every 40 ms) while the
// folder completion opens and closes its list: every key lands, in order.
// The keys go to the window, as the window system delivers them, so the
// completion list, when shown, receives them as it would for real.
TEST_F(BatchMode, TheFolderBoxKeepsEveryKeyOfAFastTypist)
{
    QTemporaryDir root;
    for (const char *folder : {"srv/photos/pics", "srv/photos/pictures", "srv/phones", "srv/photographs"})
        ASSERT_TRUE(QDir(root.path()).mkpath(QLatin1String(folder)));
    frmBatch batch(*main);
    batch.show();
    batch.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&batch));
    auto *path = control<QLineEdit>(&batch, "txtPath");
    path->setFocus();
    path->clear();

    const QString typed = root.path() + QStringLiteral("/srv/photos/pics");
    for (const QChar c : typed) {
        QWindow *target = QGuiApplication::focusWindow() ? QGuiApplication::focusWindow() : batch.windowHandle();
        QTest::keyClick(target, c.toLatin1());
        QTest::qWait(40);
    }
    EXPECT_EQ(path->text().toStdString(), typed.toStdString());
    EXPECT_FALSE(control<QPushButton>(&batch, "cmdCreatePhoto")->isDefault()) << "Enter would create posts";
}

TEST_F(BatchMode, AFolderDroppedOnTheWindowIsListed)
{
    QTemporaryDir other;
    corvid::test::makePicture(other.path(), QStringLiteral("dropped.bmp"));
    frmBatch batch(*main);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(made[0]), QUrl::fromLocalFile(other.path())});
    // A drop goes where the drag was accepted when it entered.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control<QWidget>(&batch, "txtPath"), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control<QWidget>(&batch, "txtPath"), &drop);
    EXPECT_EQ(batch.CurrentPath(), other.path());
    EXPECT_EQ(listed(batch), QStringList {QStringLiteral("dropped.bmp")});
}

TEST_F(BatchMode, ShiftF1OpensTheAboutBox)
{
    frmBatch batch(*main);
    batch.show();
    corvid::test::expectQuillonAboutBox(&batch, control<QWidget>(&batch, "lstFiles"), QStringLiteral("frmBatch-about"));
    EXPECT_TRUE(batch.isVisible());
}

} // namespace
