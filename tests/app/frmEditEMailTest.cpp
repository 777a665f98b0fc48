#include "app/common/frmEditEMail.h"

#include "tests/app/ModalDriver.h"
#include "tests/platform/UrlRecorder.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using corvid::test::whenModalShown;
using quillon::frmEditEMail;

namespace {

QPlainTextEdit *mailsOf(QWidget *editor)
{
    return editor->findChild<QPlainTextEdit *>(QStringLiteral("txtMails"));
}

QPushButton *button(QWidget *editor, const char *name)
{
    return editor->findChild<QPushButton *>(QLatin1String(name));
}

class AddressEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list->addItems({QStringLiteral("first@example.org"), QStringLiteral("second@example.org")});
        list->setCurrentIndex(1);
        window.show();
    }

    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }

    QWidget window;
    QComboBox *list = new QComboBox(&window);
};

TEST_F(AddressEditor, OkReplacesTheListWithTheEditedLines)
{
    corvid::test::UrlRecorder browser(QStringLiteral("https"));
    whenModalShown([](QWidget *editor) {
        EXPECT_EQ(editor->windowTitle(), QLatin1String("E-Mails list"));
        QPlainTextEdit *mails = mailsOf(editor);
        EXPECT_EQ(mails->toPlainText(), QLatin1String("first@example.org\nsecond@example.org"));
        EXPECT_TRUE(button(editor, "cmdWhat")->isVisible());
        EXPECT_TRUE(corvid::test::saveScreenshot(editor, QStringLiteral("frmEditEMail")));
        QTest::mouseClick(button(editor, "cmdWhat"), Qt::LeftButton);

        mails->setFocus();
        QTest::keyClick(mails, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(mails, QStringLiteral("  new@example.org "));
        QTest::keyClick(mails, Qt::Key_Return);
        QTest::keyClick(mails, Qt::Key_Return);
        QTest::keyClicks(mails, QStringLiteral("\tother@example.org"));
        QTest::mouseClick(button(editor, "cmdOk"), Qt::LeftButton);
    });
    EXPECT_TRUE(frmEditEMail::EditMailList(list, false));
    EXPECT_EQ(items(), (QStringList {QStringLiteral("new@example.org"), QStringLiteral("other@example.org")}));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(browser.urls, QList<QUrl> {QUrl(frmEditEMail::whatAddress())});
}

TEST_F(AddressEditor, CancelAndCloseLeaveTheListAlone)
{
    const std::function<void(QWidget *)> dismissals[] = {
        [](QWidget *editor) { QTest::mouseClick(button(editor, "cmdCancel"), Qt::LeftButton); },
        [](QWidget *editor) {
            EXPECT_FALSE(editor->close());
            EXPECT_FALSE(editor->isVisible());
        },
    };
    for (const auto &dismiss : dismissals) {
        whenModalShown([&dismiss](QWidget *editor) {
            EXPECT_FALSE(button(editor, "cmdWhat")->isVisible()) << "the sender list has no What?";
            mailsOf(editor)->setPlainText(QStringLiteral("changed@example.org"));
            dismiss(editor);
        });
        EXPECT_FALSE(frmEditEMail::EditMailList(list, true));
        EXPECT_EQ(items(), (QStringList {QStringLiteral("first@example.org"), QStringLiteral("second@example.org")}));
        EXPECT_EQ(list->currentIndex(), 1);
    }
}

} // namespace
