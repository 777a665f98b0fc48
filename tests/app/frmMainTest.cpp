// The main window driven as a user drives it: keys, clicks and drops on the
// real controls, found by their names; message boxes answered by the seam.
#include "app/main/frmMain.h"

#include "app/main/modSettings.h"
#include "lib/data/crvClipboard.h"
#include "platform/MessageBox.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "support/csFiles.h"
#include "tests/app/AboutBoxCheck.h"
#include "tests/app/ModalDriver.h"
#include "tests/app/PipeWatchdog.h"
#include "tests/app/QuillonState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>
#include <sys/stat.h>

using corvid::test::control;
using corvid::test::mailsIn;
using quillon::frmMain;
using tessera::MessageBox;
using tessera::ScopedMessageBoxAnswerer;

namespace {

const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);

QColor lightOf(const frmMain &window)
{
    return control<QLabel>(&window, "lblResult")->palette().color(QPalette::Window);
}

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        corvid::test::forgetQuillon();
        picture = corvid::test::makePicture(pictures.path(), QStringLiteral("sea view.jpg"));
    }

    // A window whose output folder is `out`, with a sender and an address.
    std::unique_ptr<frmMain> readyWindow(const QString &commandLine = {})
    {
        auto window = std::make_unique<frmMain>(commandLine);
        control<QLineEdit>(window.get(), "txtPath")->setText(out.path());
        control<QComboBox>(window.get(), "cboFromEMail")->setEditText(QStringLiteral("me@example.org"));
        control<QComboBox>(window.get(), "cboEMail")->setEditText(QStringLiteral("blog@tumblr.com"));
        return window;
    }

    QTemporaryDir pictures;
    QTemporaryDir out;
    QString picture;
};

TEST_F(MainWindow, FirstRunShowsTheDefaults)
{
    frmMain window;
    for (const char *name : {"txtFileName", "cmdBrowsePictureFile", "txtCaption", "cmdHistory", "cboFromEMail",
                             "cmdEditFromEMail", "cboEMail", "cmdEditEMail", "txtPath", "cmdBrowse", "cmdPathHistory",
                             "chkQuickMode", "cmdCreatePhoto", "cmdBatch", "lblResult", "lblTag", "shpBack"})
        EXPECT_NE(window.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(window.windowTitle(), QLatin1String("Quillon :: Creator mode"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(control<QPlainTextEdit>(&window, "txtCaption")->toPlainText().isEmpty());
    EXPECT_FALSE(control<QCheckBox>(&window, "chkQuickMode")->isChecked());
    EXPECT_EQ(control<QLineEdit>(&window, "txtPath")->text(), cs::csGetSpecialFolder(5));
    for (const char *name : {"cboFromEMail", "cboEMail"}) {
        EXPECT_EQ(control<QComboBox>(&window, name)->count(), 0) << name;
        EXPECT_EQ(control<QComboBox>(&window, name)->currentIndex(), -1) << name;
    }
    EXPECT_EQ(window.focusWidget(), control<QWidget>(&window, "txtCaption"));
}

TEST_F(MainWindow, StoredSettingsComeBackAndAMissingFolderFallsBack)
{
    QString gone;
    {
        QTemporaryDir folder;
        gone = folder.path();
    }
    using quillon::modSettings::Load;
    using quillon::modSettings::Save;
    Save(QStringLiteral("Last caption"), tessera::rtString, QStringLiteral("sea\r\nsky"));
    Save(QStringLiteral("Quick mode"), tessera::rtBoolean, true);
    Save(QStringLiteral("EML folder"), tessera::rtString, gone);
    Save(QStringLiteral("From E-Mails"), tessera::rtString, QStringLiteral("me@a.org\r\nyou@b.org"));
    Save(QStringLiteral("From E-Mail Index"), tessera::rtLong, 1);
    Save(QStringLiteral("To E-Mails"), tessera::rtString, QStringLiteral("blog@tumblr.com\r\nart@tumblr.com"));
    // An index edited by hand past the list keeps the first address.
    Save(QStringLiteral("To E-Mail Index"), tessera::rtLong, 7);

    frmMain window;
    EXPECT_EQ(control<QPlainTextEdit>(&window, "txtCaption")->toPlainText(), QLatin1String("sea\nsky"));
    EXPECT_EQ(window.CaptionText(), QLatin1String("sea\r\nsky"));
    EXPECT_TRUE(control<QCheckBox>(&window, "chkQuickMode")->isChecked());
    EXPECT_EQ(control<QLineEdit>(&window, "txtPath")->text(), cs::csGetSpecialFolder(5));
    EXPECT_EQ(window.FromEMailText(), QLatin1String("you@b.org"));
    EXPECT_EQ(window.EMailText(), QLatin1String("blog@tumblr.com"));
    EXPECT_EQ(Load(QStringLiteral("EML folder"), tessera::rtString, {}).toString(), gone);

    // Esc closes the window, which stores what it shows; an address typed
    // over the selected one leaves no selection.
    window.show();
    control<QComboBox>(&window, "cboEMail")->setEditText(QStringLiteral("new@tumblr.com"));
    QWidget *caption = control<QWidget>(&window, "txtCaption");
    caption->setFocus();
    QTest::keyClick(caption, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Load(QStringLiteral("EML folder"), tessera::rtString, {}).toString(), cs::csGetSpecialFolder(5));
    EXPECT_EQ(Load(QStringLiteral("Last caption"), tessera::rtString, {}).toString(), QLatin1String("sea\r\nsky"));
    EXPECT_EQ(Load(QStringLiteral("From E-Mails"), tessera::rtString, {}).toString(),
              QLatin1String("me@a.org\r\nyou@b.org"));
    EXPECT_EQ(Load(QStringLiteral("From E-Mail Index"), tessera::rtLong, {}).toInt(), 1);
    EXPECT_EQ(Load(QStringLiteral("To E-Mail Index"), tessera::rtLong, {}).toInt(), -1);
    EXPECT_TRUE(Load(QStringLiteral("Quick mode"), tessera::rtBoolean, false).toBool());
}

TEST_F(MainWindow, CreateNeedsAPicturePathFromTheCommandLineOrTheBox)
{
    frmMain plain;
    auto *create = control<QPushButton>(&plain, "cmdCreatePhoto");
    EXPECT_FALSE(create->isEnabled());
    QTest::keyClicks(control<QWidget>(&plain, "txtCaption"), QStringLiteral("a caption"));
    EXPECT_FALSE(create->isEnabled());
    QTest::keyClicks(control<QWidget>(&plain, "txtFileName"), QStringLiteral("x"));
    EXPECT_TRUE(create->isEnabled());
    QTest::keyClick(control<QWidget>(&plain, "txtFileName"), Qt::Key_Backspace);
    EXPECT_FALSE(create->isEnabled());

    frmMain started(QStringLiteral("  ") + picture + QStringLiteral(" \t"));
    EXPECT_EQ(control<QLineEdit>(&started, "txtFileName")->text(), picture);
    EXPECT_TRUE(control<QPushButton>(&started, "cmdCreatePhoto")->isEnabled());

    frmMain missing(pictures.filePath(QStringLiteral("nothing.jpg")));
    EXPECT_TRUE(control<QLineEdit>(&missing, "txtFileName")->text().isEmpty());
    EXPECT_FALSE(control<QPushButton>(&missing, "cmdCreatePhoto")->isEnabled());
}

TEST_F(MainWindow, ShiftInsertOfAPicturePathCreatesTheMailInQuickMode)
{
    const ScopedMessageBoxAnswerer answerer;
    auto window = readyWindow();
    control<QCheckBox>(window.get(), "chkQuickMode")->setChecked(true);
    auto *caption = control<QPlainTextEdit>(window.get(), "txtCaption");
    caption->setPlainText(QStringLiteral("Evening"));
    caption->setFocus();

    ASSERT_TRUE(tessera::crvClipboard::global().SetText(QStringLiteral(" ") + picture + QStringLiteral("\r\n")));
    QTest::keyClick(caption, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(control<QLineEdit>(window.get(), "txtFileName")->text(), picture);
    EXPECT_EQ(caption->toPlainText(), QLatin1String("Evening")) << "the key went on to the caption";
    EXPECT_EQ(mailsIn(out.path()).size(), 1);
    EXPECT_EQ(lightOf(*window), Green);
    EXPECT_TRUE(answerer.requests().isEmpty());

    // A text that names no file is pasted as usual.
    ASSERT_TRUE(tessera::crvClipboard::global().SetText(QStringLiteral(" at dusk")));
    QTest::keyClick(caption, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(caption, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(caption->toPlainText(), QLatin1String("Evening at dusk"));
    EXPECT_EQ(mailsIn(out.path()).size(), 1);
}

// A named pipe for a picture used to freeze the window: from the command
// line, from Shift+Insert in Quick mode and typed into the box it is
// refused at once, saying what it is.
TEST_F(MainWindow, APipeForAPictureIsRefusedAtOnce)
{
    const QString fifo = pictures.filePath(QStringLiteral("some.fifo.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString said = QLatin1String("This is a named pipe, not a");
    corvid::test::PipeWatchdog watchdog(fifo);
    {
        SCOPED_TRACE("command line");
        const ScopedMessageBoxAnswerer answerer;
        frmMain started(fifo);
        EXPECT_TRUE(control<QLineEdit>(&started, "txtFileName")->text().isEmpty());
        ASSERT_EQ(answerer.requests().size(), 1);
        EXPECT_TRUE(answerer.requests()[0].text.startsWith(fifo + QLatin1String("\r\n\r\n") + said));
        EXPECT_EQ(answerer.requests()[0].style & MessageBox::IconMask, MessageBox::Critical);
    }
    auto window = readyWindow();
    control<QCheckBox>(window.get(), "chkQuickMode")->setChecked(true);
    {
        SCOPED_TRACE("Shift+Insert in Quick mode");
        const ScopedMessageBoxAnswerer answerer;
        auto *caption = control<QPlainTextEdit>(window.get(), "txtCaption");
        caption->setFocus();
        ASSERT_TRUE(tessera::crvClipboard::global().SetText(fifo));
        QTest::keyClick(caption, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_TRUE(control<QLineEdit>(window.get(), "txtFileName")->text().isEmpty());
        ASSERT_GE(answerer.requests().size(), 1);
        EXPECT_TRUE(answerer.requests()[0].text.contains(said));
    }
    {
        SCOPED_TRACE("typed into the box, then Create");
        const ScopedMessageBoxAnswerer answerer;
        control<QLineEdit>(window.get(), "txtFileName")->setText(fifo);
        QTest::mouseClick(control<QPushButton>(window.get(), "cmdCreatePhoto"), Qt::LeftButton);
        EXPECT_EQ(lightOf(*window), Red);
        ASSERT_EQ(answerer.requests().size(), 1);
        EXPECT_TRUE(answerer.requests()[0].text.contains(QLatin1String("Can't read file.")));
        EXPECT_TRUE(answerer.requests()[0].text.contains(said));
    }
    EXPECT_TRUE(mailsIn(out.path()).isEmpty());
    EXPECT_FALSE(watchdog.freedReader()) << "the window waited for a writer";
}

TEST_F(MainWindow, APictureDroppedOnTheWindowIsTakenAsChosen)
{
    const ScopedMessageBoxAnswerer answerer;
    auto window = readyWindow();
    control<QCheckBox>(window.get(), "chkQuickMode")->setChecked(true);
    auto *caption = control<QPlainTextEdit>(window.get(), "txtCaption");

    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.org/a.jpg")), QUrl::fromLocalFile(pictures.path()),
                  QUrl::fromLocalFile(picture)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(caption, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(caption, &drop);
    EXPECT_TRUE(caption->toPlainText().isEmpty()) << "the address was typed into the caption";
    EXPECT_EQ(control<QLineEdit>(window.get(), "txtFileName")->text(), picture);
    EXPECT_EQ(mailsIn(out.path()).size(), 1);

    QMimeData folderOnly;
    folderOnly.setUrls({QUrl::fromLocalFile(pictures.path())});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &folderOnly, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(MainWindow, TheThirdClickOnTheLightTellsTheSecret)
{
    const ScopedMessageBoxAnswerer answerer;
    frmMain window;
    window.show();
    for (int click = 0; click < 4; ++click)
        QTest::mouseClick(control<QLabel>(&window, "lblResult"), Qt::LeftButton);
    const QString usual
        = QStringLiteral("Don't click here! It's just indicate if any errors occured while saving mail.");
    const QString secret
        = QStringLiteral("Ok. There is a secret in this prog. Open about box and drag icon to program title.");
    QStringList texts;
    for (const auto &request : answerer.requests()) {
        texts << request.text;
        EXPECT_EQ(request.style, MessageBox::Information);
    }
    EXPECT_EQ(texts, (QStringList {usual, usual, secret, usual}));
    EXPECT_EQ(window.ResultClickCount(), 4);
}

TEST_F(MainWindow, AFailedCompositionStillRemembersCaptionAndFolder)
{
    const ScopedMessageBoxAnswerer answerer;
    auto window = readyWindow(picture);
    window->show();
    EXPECT_TRUE(corvid::test::saveScreenshot(window.get(), QStringLiteral("frmMain")));

    QString gone;
    {
        QTemporaryDir folder;
        gone = folder.path();
    }
    control<QLineEdit>(window.get(), "txtPath")->setText(gone);
    control<QPlainTextEdit>(window.get(), "txtCaption")->setPlainText(QStringLiteral("Lost at sea"));
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdCreatePhoto"), Qt::LeftButton);

    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests()[0].text, gone + QLatin1String("\r\n\r\nOutput directory was not found."));
    EXPECT_EQ(lightOf(*window), Red);
    ASSERT_EQ(window->History.Count(), 1);
    EXPECT_EQ(window->History.Item(0), QLatin1String("Lost at sea"));
    ASSERT_EQ(window->PathHistory.Count(), 1);
    EXPECT_EQ(window->PathHistory.Item(0), gone);
    EXPECT_TRUE(corvid::test::saveScreenshot(window.get(), QStringLiteral("frmMain-failed")));

    // The histories reach their files when the window closes.
    window->close();
    quillon::CHistory stored;
    stored.InitFileName({}, QStringLiteral("Path History.DAT"));
    stored.LoadHistory();
    ASSERT_EQ(stored.Count(), 1);
    EXPECT_EQ(stored.Item(0), gone);
}

TEST_F(MainWindow, BatchModeStandsInForTheWindowWhileItIsOpen)
{
    const ScopedMessageBoxAnswerer answerer;
    quillon::modSettings::Save(QStringLiteral("Last batch folder"), tessera::rtString, pictures.path());
    auto window = readyWindow();
    window->show();
    bool shown = false;
    corvid::test::whenModalShown([&](QWidget *batch) {
        shown = true;
        EXPECT_EQ(batch->objectName(), QLatin1String("frmBatch"));
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(control<QLineEdit>(batch, "txtPath")->text(), pictures.path());
        QTest::keyClick(control<QWidget>(batch, "lstFiles"), Qt::Key_Escape);
    });
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdBatch"), Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(answerer.requests().isEmpty());
}

TEST_F(MainWindow, ShiftF1OpensTheAboutBox)
{
    frmMain window;
    window.show();
    corvid::test::expectQuillonAboutBox(&window, control<QWidget>(&window, "txtCaption"),
                                        QStringLiteral("frmMain-about"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.focusWidget(), control<QWidget>(&window, "txtCaption"));
}

} // namespace
