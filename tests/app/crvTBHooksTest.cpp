#include "app/common/crvTBHooks.h"

#include "tests/common/RaisedError.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts the presses of A that reach the box itself.
class CountingTextEdit : public QPlainTextEdit
{
public:
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        presses += event->key() == Qt::Key_A;
        QPlainTextEdit::keyPressEvent(event);
    }
};

TEST(crvTBHooks, CtrlASelectsAllAndGoesNoFurther)
{
    CountingTextEdit box;
    box.setPlainText(QStringLiteral("first line\nsecond"));
    auto hooks = std::make_unique<quillon::crvTBHooks>();
    hooks->setTextBox(&box);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box.presses, 1) << "nothing is done before InitSelectAllHook";

    hooks->InitSelectAllHook();
    box.moveCursor(QTextCursor::Start);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box.presses, 1);
    EXPECT_EQ(box.textCursor().selectedText().size(), box.toPlainText().size());
    EXPECT_EQ(box.toPlainText(), QLatin1String("first line\nsecond"));
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box.presses, 2) << "Ctrl+Shift+A is not treated";

    QPushButton button;
    EXPECT_EQ(corvid::test::raisedNumber([&] { hooks->setTextBox(&button); }), 13);
    QLineEdit line(QStringLiteral("one line"));
    hooks->setTextBox(&line);
    QTest::keyClick(&line, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(line.selectedText(), QLatin1String("one line"));
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box.presses, 3) << "a box attached before is let go";
}

} // namespace
