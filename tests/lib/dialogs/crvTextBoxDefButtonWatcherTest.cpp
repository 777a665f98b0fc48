#include "lib/dialogs/crvTextBoxDefButtonWatcher.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

struct Window {
    QDialog dialog;
    QLineEdit *first = new QLineEdit(&dialog);
    QLineEdit *second = new QLineEdit(&dialog);
    QLineEdit *plain = new QLineEdit(&dialog);
    QPushButton *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    QPushButton *findFirst = new QPushButton(QStringLiteral("Find"), &dialog);
    QPushButton *findSecond = new QPushButton(QStringLiteral("Go"), &dialog);

    Window()
    {
        auto *layout = new QVBoxLayout(&dialog);
        for (QWidget *w : std::initializer_list<QWidget *> {first, second, plain, ok, findFirst, findSecond})
            layout->addWidget(w);
        ok->setDefault(true);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        plain->setFocus();
    }
    // Which of OK, Find and Go is the default button now.
    QList<bool> defaults() const { return {ok->isDefault(), findFirst->isDefault(), findSecond->isDefault()}; }
};

} // namespace

TEST(crvTextBoxDefButtonWatcher, EachBoxHasItsOwnDefaultButton)
{
    Window w;
    crvTextBoxDefButtonWatcher a, b;
    a.Init(w.ok, w.findFirst, w.first);
    b.Init(w.ok, w.findSecond, w.second);
    struct Step {
        QWidget *focus;
        QList<bool> defaults;
    };
    for (const Step &step : {Step {w.first, {false, true, false}}, Step {w.second, {false, false, true}},
                             Step {w.plain, {true, false, false}}, Step {w.second, {false, false, true}}}) {
        step.focus->setFocus();
        EXPECT_EQ(w.defaults(), step.defaults);
    }

    // Enter presses the box's own button.
    QSignalSpy go(w.findSecond, &QPushButton::clicked);
    QSignalSpy ok(w.ok, &QPushButton::clicked);
    QTest::keyClick(w.second, Qt::Key_Return);
    EXPECT_EQ(go.size(), 1);
    EXPECT_EQ(ok.size(), 0);
}

TEST(crvTextBoxDefButtonWatcher, WithOnlyAGlobalButtonAndAfterDestruction)
{
    Window w;
    w.ok->setDefault(false);
    {
        crvTextBoxDefButtonWatcher watcher;
        watcher.Init(w.ok, nullptr, w.first);
        w.first->setFocus();
        EXPECT_EQ(w.defaults(), QList<bool>({false, false, false})) << "entering changes nothing";
        w.plain->setFocus();
        EXPECT_EQ(w.defaults(), QList<bool>({true, false, false})) << "leaving makes it the default again";
    }
    // A watcher that is gone receives nothing more.
    w.findFirst->setDefault(true);
    w.first->setFocus();
    w.plain->setFocus();
    EXPECT_EQ(w.defaults(), QList<bool>({false, true, false}));

    // Buttons destroyed before the watcher are let go.
    crvTextBoxDefButtonWatcher watcher;
    auto *local = new QPushButton(&w.dialog);
    watcher.Init(nullptr, local, w.first);
    delete local;
    w.first->setFocus();
    w.plain->setFocus();
    EXPECT_EQ(w.defaults(), QList<bool>({false, true, false}));
}
