#include "lib/dialogs/CTextBoxInsertHook.h"

#include "lib/system/crvMain.h"
#include "tests/common/RaisedError.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

// A text box that records the keys that reach it (QTest also presses the
// modifier keys themselves; those are left out).
template <typename Box> class Recording : public Box
{
public:
    QList<QKeyCombination> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_Shift && event->key() != Qt::Key_Control)
            keys.append(event->keyCombination());
        Box::keyPressEvent(event);
    }
};

const QKeyCombination ShiftInsert(Qt::ShiftModifier, Qt::Key_Insert);
const QKeyCombination CtrlV(Qt::ControlModifier, Qt::Key_V);
const QKeyCombination CtrlShiftInsert(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Insert);

template <typename Box> void pressAll(Box &box)
{
    for (const QKeyCombination key : {ShiftInsert, CtrlV, CtrlShiftInsert})
        QTest::keyClick(&box, key.key(), key.keyboardModifiers());
}

} // namespace

TEST(CTextBoxInsertHook, KeepsShiftInsertFromALockedBoxOnly)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    crvMain m;
    Recording<QLineEdit> line;
    line.setReadOnly(true);
    ASSERT_TRUE(m.AddTextBoxInsertHook(&line));
    pressAll(line);
    EXPECT_EQ(line.keys, (QList<QKeyCombination> {CtrlV, CtrlShiftInsert}));

    line.keys.clear();
    line.setReadOnly(false);
    QTest::keyClick(&line, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(line.keys, QList<QKeyCombination> {ShiftInsert});
    EXPECT_EQ(line.text(), QStringLiteral("pasted")) << "an unlocked box pastes as usual";

    Recording<QPlainTextEdit> text;
    text.setReadOnly(true);
    ASSERT_TRUE(m.AddTextBoxInsertHook(&text));
    pressAll(text);
    EXPECT_EQ(text.keys, (QList<QKeyCombination> {CtrlV, CtrlShiftInsert}));

    ASSERT_TRUE(m.RemoveTextBoxInsertHook(&text));
    text.keys.clear();
    QTest::keyClick(&text, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text.keys, QList<QKeyCombination> {ShiftInsert}) << "a removed guard lets the key through";
}

TEST(CTextBoxInsertHook, BindsOneTextBoxAtATime)
{
    CTextBoxInsertHook hook;
    Recording<QLineEdit> a, b;
    a.setReadOnly(true);
    b.setReadOnly(true);
    hook.setCurrentHook(&a);
    hook.setCurrentHook(&b);
    EXPECT_EQ(hook.CurrentHook(), &b);
    QTest::keyClick(&a, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&b, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(a.keys.size(), 1) << "the first box was let go";
    EXPECT_TRUE(b.keys.isEmpty());

    QWidget other;
    EXPECT_EQ(corvid::test::raisedNumber([&] { hook.setCurrentHook(&other); }), 13);
    EXPECT_EQ(hook.CurrentHook(), &b);
}
