#include "app/history/CHistory.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/app/ModalDriver.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quillon;
using corvid::test::whenModalShown;

namespace {

class HistoryChooser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *entry : {"oldest", "middle", "newest"})
            history.Add(QLatin1String(entry));
        box->setText(QStringLiteral("middle"));
        window.show();
    }

    static QListWidget *listOf(QWidget *chooser)
    {
        return chooser->findChild<QListWidget *>(QStringLiteral("lstHistory"));
    }
    static void click(QWidget *chooser, const char *button)
    {
        QTest::mouseClick(chooser->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    static QPoint row(QWidget *chooser, int index)
    {
        return listOf(chooser)->visualItemRect(listOf(chooser)->item(index)).center();
    }

    CHistory history;
    QWidget window;
    QLineEdit *box = new QLineEdit(&window);
};

TEST_F(HistoryChooser, OkTakesTheSelectedEntryAndAlwaysSignalsTheChange)
{
    whenModalShown([](QWidget *chooser) {
        EXPECT_EQ(chooser->windowTitle(), QLatin1String("Post pictures to Tumblr :: History"));
        EXPECT_EQ(listOf(chooser)->count(), 3);
        EXPECT_EQ(listOf(chooser)->currentItem()->text(), QLatin1String("oldest")) << "the oldest comes first";
        EXPECT_TRUE(corvid::test::saveScreenshot(chooser, QStringLiteral("frmHistory")));
        QTest::mouseClick(listOf(chooser)->viewport(), Qt::LeftButton, {}, row(chooser, 1));
        click(chooser, "cmdOk");
    });
    QSignalSpy changes(box, &QLineEdit::textChanged);
    EXPECT_TRUE(history.ShowHistoryDialog(box));
    EXPECT_EQ(box->text(), QLatin1String("middle"));
    EXPECT_EQ(changes.count(), 2) << "choosing the same text still signals a change";
    EXPECT_EQ(window.focusWidget(), box);
}

TEST_F(HistoryChooser, DoubleClickChoosesIntoAMultiLineBox)
{
    auto *caption = new QPlainTextEdit(&window);
    whenModalShown([](QWidget *chooser) {
        QTest::mouseClick(listOf(chooser)->viewport(), Qt::LeftButton, {}, row(chooser, 2));
        QTest::mouseDClick(listOf(chooser)->viewport(), Qt::LeftButton, {}, row(chooser, 2));
    });
    EXPECT_TRUE(history.ShowHistoryDialog(caption));
    EXPECT_EQ(caption->toPlainText(), QLatin1String("newest"));
}

TEST_F(HistoryChooser, CancelEscapeAndCloseChooseNothing)
{
    const std::function<void(QWidget *)> dismissals[] = {
        [](QWidget *chooser) { click(chooser, "cmdCancel"); },
        [](QWidget *chooser) { QTest::keyClick(chooser, Qt::Key_Escape); },
        [](QWidget *chooser) { EXPECT_FALSE(chooser->close()) << "closing only hides it"; },
    };
    for (const auto &dismiss : dismissals) {
        whenModalShown(dismiss);
        EXPECT_FALSE(history.ShowHistoryDialog(box));
        EXPECT_EQ(box->text(), QLatin1String("middle"));
    }

    tessera::ScopedMessageBoxAnswerer answerer;
    EXPECT_FALSE(CHistory().ShowHistoryDialog(box));
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests()[0].text, QLatin1String("History empty."));
    EXPECT_EQ(answerer.requests()[0].style & tessera::MessageBox::IconMask, tessera::MessageBox::Information);
}

} // namespace
