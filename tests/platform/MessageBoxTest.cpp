// The real box, shown on the offscreen platform and answered with Qt's
// event simulation.
#include "platform/MessageBox.h"

#include "tests/common/TestSandbox.h"
#include "tests/platform/UrlRecorder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

using corvid::test::UrlRecorder;
using tessera::MessageBox;

namespace {

QMessageBox *visibleBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Runs show() and, once the box is up, hands it to handle(), which presses
// a button. A box still open after five seconds is closed so that a failing
// test cannot hang.
qint32 answerBox(const std::function<void(QMessageBox *)> &handle, const std::function<qint32()> &show)
{
    bool handled = false;
    QTimer actor;
    actor.setSingleShot(true);
    QObject::connect(&actor, &QTimer::timeout, [&] {
        handled = true;
        if (QMessageBox *box = visibleBox())
            handle(box);
        else
            ADD_FAILURE() << "no message box is shown";
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QMessageBox *box = visibleBox()) {
            ADD_FAILURE() << "the message box was left open";
            box->done(0);
        }
    });
    actor.start(0);
    watchdog.start(5000);
    const qint32 result = show();
    EXPECT_TRUE(handled) << "show() returned before the box was up";
    return result;
}

QSet<QMessageBox::StandardButton> standardButtons(QMessageBox *box)
{
    QSet<QMessageBox::StandardButton> set;
    for (QAbstractButton *button : box->buttons())
        set.insert(box->standardButton(button));
    return set;
}

void click(QMessageBox *box, QMessageBox::StandardButton which)
{
    QAbstractButton *button = box->button(which);
    ASSERT_NE(button, nullptr) << "no button " << which;
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

TEST(MessageBox, ButtonSetsAndTheirEscapeAnswers)
{
    using B = QMessageBox;
    const struct {
        qint32 style;
        QSet<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton first;
        qint32 firstResult;
        qint32 escapeResult; // 0: Escape and closing do nothing
        qint32 dismissResult; // the answer when the program ends under the box
    } table[] = {
        {MessageBox::OkOnly, {B::Ok}, B::Ok, MessageBox::Ok, MessageBox::Ok, MessageBox::Ok},
        {MessageBox::OkCancel, {B::Ok, B::Cancel}, B::Ok, MessageBox::Ok, MessageBox::Cancel, MessageBox::Cancel},
        {MessageBox::AbortRetryIgnore,
         {B::Abort, B::Retry, B::Ignore},
         B::Abort,
         MessageBox::Abort,
         0,
         MessageBox::Abort},
        {MessageBox::YesNoCancel,
         {B::Yes, B::No, B::Cancel},
         B::Yes,
         MessageBox::Yes,
         MessageBox::Cancel,
         MessageBox::Cancel},
        {MessageBox::YesNo, {B::Yes, B::No}, B::Yes, MessageBox::Yes, 0, MessageBox::No},
        {MessageBox::RetryCancel,
         {B::Retry, B::Cancel},
         B::Retry,
         MessageBox::Retry,
         MessageBox::Cancel,
         MessageBox::Cancel},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.style);
        const auto show = [&] { return MessageBox::show(QStringLiteral("Text"), row.style, QStringLiteral("T")); };
        const qint32 escaped = answerBox(
            [&](QMessageBox *box) {
                EXPECT_EQ(standardButtons(box), row.buttons);
                EXPECT_EQ(box->defaultButton(), box->button(row.first));
                QTest::keyClick(box, Qt::Key_Escape);
                if (row.escapeResult == 0) {
                    EXPECT_TRUE(box->isVisible()) << "Escape must not answer this box";
                    box->close();
                    EXPECT_TRUE(box->isVisible()) << "closing must not answer this box";
                    click(box, row.first);
                }
            },
            show);
        EXPECT_EQ(escaped, row.escapeResult ? row.escapeResult : row.firstResult);

        // Dismissed with a second box open over the first: both answer.
        qint32 inner = -1;
        const qint32 outer = answerBox(
            [&](QMessageBox *) {
                QTimer::singleShot(0, [] { MessageBox::dismissAll(); });
                inner = MessageBox::show(QStringLiteral("Inner"), row.style, QStringLiteral("T"));
            },
            show);
        EXPECT_EQ(inner, row.dismissResult);
        EXPECT_EQ(outer, row.dismissResult);
    }
}

TEST(MessageBox, ResultsOfEachButton)
{
    const struct {
        qint32 style;
        QMessageBox::StandardButton button;
        qint32 result;
    } table[] = {
        {MessageBox::OkOnly, QMessageBox::Ok, 1},
        {MessageBox::OkCancel, QMessageBox::Ok, 1},
        {MessageBox::OkCancel, QMessageBox::Cancel, 2},
        {MessageBox::AbortRetryIgnore, QMessageBox::Abort, 3},
        {MessageBox::AbortRetryIgnore, QMessageBox::Retry, 4},
        {MessageBox::AbortRetryIgnore, QMessageBox::Ignore, 5},
        {MessageBox::YesNoCancel, QMessageBox::Yes, 6},
        {MessageBox::YesNoCancel, QMessageBox::No, 7},
        {MessageBox::YesNoCancel, QMessageBox::Cancel, 2},
        {MessageBox::YesNo, QMessageBox::Yes, 6},
        {MessageBox::YesNo, QMessageBox::No, 7},
        {MessageBox::RetryCancel, QMessageBox::Retry, 4},
        {MessageBox::RetryCancel, QMessageBox::Cancel, 2},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.style);
        EXPECT_EQ(answerBox([&](QMessageBox *box) { click(box, row.button); },
                            [&] { return MessageBox::show(QStringLiteral("Text"), row.style); }),
                  row.result);
    }
}

TEST(MessageBox, IconsFollowTheStyle)
{
    const struct {
        qint32 style;
        QMessageBox::Icon icon;
    } table[] = {
        {0, QMessageBox::NoIcon},
        {MessageBox::Critical, QMessageBox::Critical},
        {MessageBox::Question, QMessageBox::Question},
        {MessageBox::Exclamation, QMessageBox::Warning},
        {MessageBox::Information, QMessageBox::Information},
        {80, QMessageBox::NoIcon},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.style);
        answerBox(
            [&](QMessageBox *box) {
                EXPECT_EQ(box->icon(), row.icon);
                click(box, QMessageBox::Ok);
            },
            [&] { return MessageBox::show(QStringLiteral("Text"), row.style); });
    }
}

TEST(MessageBox, DefaultButtonAnswersEnter)
{
    const struct {
        qint32 style;
        QMessageBox::StandardButton button;
        qint32 result;
    } table[] = {
        {MessageBox::YesNoCancel | MessageBox::DefaultButton2, QMessageBox::No, MessageBox::No},
        {MessageBox::YesNoCancel | MessageBox::DefaultButton3, QMessageBox::Cancel, MessageBox::Cancel},
        {MessageBox::OkCancel | MessageBox::DefaultButton4, QMessageBox::Ok,
         MessageBox::Ok}, // past the last: the first
        {MessageBox::AbortRetryIgnore | MessageBox::DefaultButton2, QMessageBox::Retry, MessageBox::Retry},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.style);
        const qint32 result = answerBox(
            [&](QMessageBox *box) {
                EXPECT_EQ(box->defaultButton(), box->button(row.button));
                QTest::keyClick(box, Qt::Key_Return);
            },
            [&] { return MessageBox::show(QStringLiteral("Text"), row.style); });
        EXPECT_EQ(result, row.result);
    }
}

TEST(MessageBox, HelpOpensTheHelpFileAndLeavesTheBoxOpen)
{
    UrlRecorder files(QStringLiteral("file"));
    const QString helpFile = QDir(corvid::test::sandboxDir()).filePath("help.html");
    QFile file(helpFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const qint32 result = answerBox(
        [&](QMessageBox *box) {
            EXPECT_EQ(standardButtons(box),
                      (QSet<QMessageBox::StandardButton> {QMessageBox::Yes, QMessageBox::No, QMessageBox::Help}));
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Help)) << "Help is the third button";
            click(box, QMessageBox::Help);
            QTest::keyClick(box, Qt::Key_Return);
            EXPECT_TRUE(box->isVisible());
            click(box, QMessageBox::No);
        },
        [&] {
            return MessageBox::show(QStringLiteral("Text"),
                                    MessageBox::YesNo | MessageBox::HelpButton | MessageBox::DefaultButton3, {},
                                    nullptr, helpFile, 5);
        });
    EXPECT_EQ(result, MessageBox::No);
    ASSERT_EQ(files.urls.size(), 2);
    EXPECT_EQ(files.urls.first().toLocalFile(), helpFile);

    // Without a help file the button does nothing, and Escape still answers OK.
    files.urls.clear();
    EXPECT_EQ(answerBox(
                  [&](QMessageBox *box) {
                      click(box, QMessageBox::Help);
                      EXPECT_TRUE(box->isVisible());
                      QTest::keyClick(box, Qt::Key_Escape);
                  },
                  [] { return MessageBox::show(QStringLiteral("Text"), MessageBox::HelpButton); }),
              MessageBox::Ok);
    EXPECT_TRUE(files.urls.isEmpty());
}

TEST(MessageBox, ShowsPlainTextWithTitleOverItsOwner)
{
    const QString previousName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Corvid - Quillon"));
    QWidget owner;
    owner.show();
    const QString text = QStringLiteral("/tmp/<b>folder</b>\r\n\r\nOutput directory was not found.");
    answerBox(
        [&](QMessageBox *box) {
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Corvid - Quillon"));
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->text(), QStringLiteral("/tmp/<b>folder</b>\n\nOutput directory was not found."));
            EXPECT_EQ(box->parentWidget(), &owner);
            EXPECT_TRUE(box->isModal());
            click(box, QMessageBox::Ok);
        },
        [&] { return MessageBox::show(text, MessageBox::Critical, {}, &owner); });
    QGuiApplication::setApplicationDisplayName(previousName);
}

TEST(MessageBox, AnOwnerClosedUnderTheBoxEndsItWithoutAnAnswer)
{
    auto *owner = new QWidget;
    owner->show();
    const qint32 result
        = answerBox([&](QMessageBox *) { delete owner; },
                    [&] { return MessageBox::show(QStringLiteral("Text"), MessageBox::YesNo, {}, owner); });
    EXPECT_EQ(result, MessageBox::Failed);
    EXPECT_EQ(visibleBox(), nullptr);
}

TEST(MessageBox, RendersALongCyrillicText)
{
    const QString text = QStringLiteral(
        "Не удаётся создать каталог.\r\n\r\nКаталог «Документы/Почта для блога» не существует, а создать его не "
        "получилось: возможно, нет прав на запись в родительский каталог или диск заполнен. Проверьте путь, "
        "выберите другой каталог в окне выбора папки и повторите попытку ещё раз. Письма, созданные до этого "
        "момента, сохранены и никуда не делись.");
    const QString png = QDir(corvid::test::sandboxDir()).filePath("message-box.png");
    answerBox(
        [&](QMessageBox *box) {
            const QImage image = box->grab().toImage();
            EXPECT_TRUE(image.save(png));
            EXPECT_GT(image.width(), 200);
            EXPECT_GT(image.height(), 100);
            EXPECT_LT(image.height(), image.width()) << "long text must wrap, not stretch the box downwards only";
            click(box, QMessageBox::Retry);
        },
        [&] {
            return MessageBox::show(text, MessageBox::RetryCancel | MessageBox::Exclamation,
                                    QStringLiteral("Corvid - Quillon"));
        });
    EXPECT_TRUE(QFile::exists(png));
}

TEST(MessageBox, RejectedStylesShowNothing)
{
    EXPECT_EQ(MessageBox::show(QStringLiteral("Text"), 7), MessageBox::Failed);
    EXPECT_EQ(visibleBox(), nullptr);
}
