#include "lib/system/crvMain.h"

#include "lib/data/CommandLineParser.h"
#include "lib/dialogs/frmAbout.h"
#include "lib/dialogs/ucIconControl.h"
#include "lib/errors/CAppStub.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "support/csWindows.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/dialogs/ShownDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include <cstdlib>
#include <gtest/gtest.h>

using corvid::test::raisedNumber;
using namespace tessera;

namespace {

QVariantList items(const Collection &c)
{
    return c.values();
}

} // namespace

TEST(crvMain, ArraySearchesKeepTheArraysBounds)
{
    crvMain &m = crvMain::global();
    const auto a = BoundedArray<qint32>::fromValues(5, {10, 20, 30, 40, 50});
    bool found = true;
    EXPECT_EQ(m.InArray(a, 99, {}, {}, &found), 4);
    EXPECT_FALSE(found);
    EXPECT_EQ(m.InArray(a, 30, {}, {}, &found), 7);
    EXPECT_TRUE(found);
    EXPECT_EQ(m.InArray(a, QStringLiteral("40")), 8) << "a text compares as its number";
    EXPECT_EQ(m.InArray(a, 30, 8), 4) << "the search starts at StartAt";
    EXPECT_FALSE(m.IsInArray(a, 30, 7, 6)) << "StartAt beyond EndAt searches nothing";
    EXPECT_EQ(raisedNumber([&] { m.InArray(a, QStringLiteral("x")); }), 13);
    EXPECT_EQ(raisedNumber([&] { m.InArray(a, 99, 4); }), 9);
    EXPECT_EQ(raisedNumber([&] { m.InArray(BoundedArray<qint32>(), 1); }), 9);

    const auto texts = BoundedArray<QString>::fromValues(-1, {QStringLiteral("a"), QStringLiteral("B")});
    EXPECT_EQ(m.InArrayBSTR(texts, QStringLiteral("B")), 0);
    EXPECT_FALSE(m.IsInArrayBSTR(texts, QStringLiteral("b"))) << "case-sensitive";
    EXPECT_EQ(m.InArrayBSTR(texts, QStringLiteral("b")), -2);

    Collection c;
    EXPECT_EQ(m.InCollection(&c, 1), 0);
    c.Add(QStringLiteral("x"));
    c.Add(2.0);
    c.Add(QStringLiteral("2"));
    EXPECT_EQ(m.InCollection(&c, 2), 2) << "numbers by value";
    EXPECT_EQ(m.InCollection(&c, QStringLiteral("2")), 3) << "a text never equals a number";
    EXPECT_FALSE(m.IsInCollection(&c, QStringLiteral("x"), 2));
    EXPECT_EQ(raisedNumber([&] { m.InCollection(nullptr, 1); }), 91);
}

TEST(crvMain, TypedArraysJoinAndSplit)
{
    crvMain &m = crvMain::global();
    EXPECT_FALSE(m.ArrayLong({}).isDimensioned());
    const BoundedArray<qint32> longs = m.ArrayLong({1, QStringLiteral("2"), QStringLiteral("x"), 2.5});
    EXPECT_EQ(longs.LBound(), 0);
    EXPECT_EQ(longs.elements(), (std::vector<qint32> {1, 2, 0, 2}));
    const BoundedArray<QString> texts = m.ArrayBSTR({true, 7, QVariant::fromValue(nullptr)});
    EXPECT_EQ(texts.elements(), (std::vector<QString> {QStringLiteral("True"), QStringLiteral("7"), QString()}));

    Collection c;
    EXPECT_EQ(m.JoinCollection(&c, QStringLiteral(",")), QString());
    c.Add(QStringLiteral("a"));
    EXPECT_EQ(m.JoinCollection(&c, QStringLiteral(",")), QStringLiteral("a"));
    c.Add(QVariant::fromValue(nullptr));
    c.Add(3);
    EXPECT_EQ(m.JoinCollection(&c, QStringLiteral(", ")), QStringLiteral("a, 3")) << "Null is passed over";
    EXPECT_EQ(raisedNumber([&] { m.JoinCollection(&c, QStringLiteral(","), true); }), 13);
    EXPECT_EQ(m.JoinCollection(nullptr, QStringLiteral(",")), QString());

    EXPECT_EQ(m.SplitCollection(QString()).Count(), 0);
    EXPECT_EQ(items(m.SplitCollection(QStringLiteral("a b  c"))),
              (QVariantList {QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")}));
    EXPECT_EQ(items(m.SplitCollection(QStringLiteral("1x2X3x4"), QStringLiteral("x"), 3, 1)),
              (QVariantList {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3x4")}));
    EXPECT_EQ(items(m.SplitCollection(QStringLiteral("1x2X3"), QStringLiteral("x"))),
              (QVariantList {QStringLiteral("1"), QStringLiteral("2X3")}));
    EXPECT_EQ(items(m.SplitCollection(QStringLiteral("a b"), QString())), QVariantList {QStringLiteral("a b")});
    EXPECT_EQ(m.SplitCollection(QStringLiteral("a b"), {}, -2).Count(), 0);
    EXPECT_EQ(raisedNumber([&] { m.SplitCollection(QStringLiteral("a"), {}, -1, 2, true); }), 5);
}

TEST(crvMain, OptionButtonsAndPressButton)
{
    crvMain &m = crvMain::global();
    QGroupBox group;
    QRadioButton a(&group), b(&group), c(&group);
    BoundedArray<QRadioButton *> options = BoundedArray<QRadioButton *>::fromValues(3, {&a, nullptr, &b, &c});
    EXPECT_EQ(m.GetSelectedOptionButtonIndex(options), -1);
    m.SetSelectedOptionButtonIndex(options, 5);
    EXPECT_TRUE(b.isChecked());
    EXPECT_EQ(m.GetSelectedOptionButtonIndex(options), 5);
    m.SetSelectedOptionButtonIndex(options, 4);
    EXPECT_TRUE(a.isChecked()) << "a gap selects the first button";
    m.SetSelectedOptionButtonIndex(options, 6);
    EXPECT_EQ(m.GetSelectedOptionButtonIndex(options), 6);
    m.SetSelectedOptionButtonIndex(options, 9);
    EXPECT_EQ(m.GetSelectedOptionButtonIndex(options), 3);
    EXPECT_EQ(m.GetSelectedOptionButtonIndex(BoundedArray<QRadioButton *>()), -1);

    QPushButton button;
    QSignalSpy clicked(&button, &QPushButton::clicked);
    EXPECT_TRUE(m.PressButton(&button));
    button.setEnabled(false);
    EXPECT_FALSE(m.PressButton(&button));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(m.PressButton(&a));
    EXPECT_FALSE(m.PressButton(nullptr));
}

TEST(crvMain, FontsAndCursorsOfAWindowsControls)
{
    QWidget form;
    auto *list = new QComboBox(&form);
    auto *editable = new QComboBox(&form);
    editable->setEditable(true);
    auto *nested = new QLineEdit(new QWidget(&form));
    auto *dialog = new QDialog(&form);
    auto *other = new QLineEdit(dialog);
    const QFont before = other->font();

    crvMain::global().FixFonts(&form);
    EXPECT_EQ(nested->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(nested->font().pointSizeF(), 10.5);
    EXPECT_TRUE(nested->font().italic());
    EXPECT_FALSE(form.testAttribute(Qt::WA_SetFont)) << "the window keeps its own font";
    EXPECT_EQ(other->font(), before) << "another window's controls are not this window's";

    crvMain::global().FixCBCursors(&form);
    EXPECT_EQ(list->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(editable->cursor().shape(), Qt::PointingHandCursor);
}

TEST(crvMain, ModalChildWhileTheParentStepsAside)
{
    QWidget parent;
    parent.setGeometry(120, 90, 200, 100);
    parent.show();
    const QPoint place = parent.pos();

    QWidget child;
    bool parentVisibleMeanwhile = true;
    bool childModal = false;
    QTimer::singleShot(0, &child, [&] {
        parentVisibleMeanwhile = parent.isVisible();
        childModal = child.isModal();
        child.close();
    });
    crvMain::global().ShowModalForm(&parent, &child);
    EXPECT_FALSE(parentVisibleMeanwhile);
    EXPECT_TRUE(childModal);
    EXPECT_TRUE(parent.isVisible());
    EXPECT_EQ(parent.pos(), place);
    EXPECT_FALSE(child.isModal()) << "the child's own modality is restored";

    QDialog dialog(&parent);
    QTimer::singleShot(0, &dialog, [&] {
        parentVisibleMeanwhile = parent.isVisible();
        dialog.accept();
    });
    crvMain::global().ShowModalForm(&parent, &dialog);
    EXPECT_FALSE(parentVisibleMeanwhile);
    EXPECT_TRUE(parent.isVisible());
}

namespace {

// A control with an about box of its own, which may fail.
class ControlWithAboutBox : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    bool fails = false;
    int shown = 0;
    bool windowEnabledMeanwhile = true;

    Q_INVOKABLE void AboutBox()
    {
        ++shown;
        windowEnabledMeanwhile = window()->isEnabled();
        if (fails)
            throw RuntimeError(RuntimeError::InvalidProcedureCall);
    }
};

} // namespace

TEST(crvMain, AboutBoxOfAControlPassesOverFailures)
{
    QWidget form;
    auto *control = new ControlWithAboutBox(&form);
    auto *plain = new QLineEdit(&form);
    ScopedMessageBoxAnswerer answerer;
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails);
        control->fails = fails;
        crvMain::global().ShowMSAboutBox(control);
        EXPECT_FALSE(control->windowEnabledMeanwhile);
        EXPECT_TRUE(form.isEnabled()) << "enabled again whatever happened";
    }
    EXPECT_EQ(control->shown, 2);

    // A control without an about box shows nothing; its window comes back
    // enabled even when it was not before.
    form.setEnabled(false);
    crvMain::global().ShowMSAboutBox(plain);
    EXPECT_TRUE(form.isEnabled());
    crvMain::global().ShowMSAboutBox(nullptr);
    EXPECT_TRUE(answerer.requests().isEmpty());
}

TEST(crvMain, AboutBoxEntriesResolveTheirDefaults)
{
    struct Shown {
        QString title, version, author, email, devote, tip;
        bool emailHidden = false;
        QImage icon, windowIcon;
        QList<frmAbout::Page> offered;
    };
    const auto showing = [](const std::function<void()> &open) {
        Shown seen;
        const auto ran = corvid::test::whenShown<frmAbout>([&](frmAbout *about) {
            const auto text
                = [about](const char *name) { return about->findChild<QLabel *>(QLatin1String(name))->text(); };
            seen = {text("lblTitle"),
                    text("lblVersion"),
                    text("lblAuthor"),
                    text("lblEMail"),
                    text("lblDevote"),
                    about->findChild<QLabel *>(QStringLiteral("imgSorrel"))->toolTip(),
                    about->findChild<QLabel *>(QStringLiteral("lblEMail"))->isHidden(),
                    about->findChild<ucIconControl *>(QStringLiteral("imgIcon"))->Picture().toImage(),
                    about->windowIcon().pixmap(16, 16).toImage(),
                    about->OfferedPages()};
            about->accept();
        });
        open();
        EXPECT_TRUE(*ran);
        return seen;
    };
    const auto image = [](const QPixmap &pixmap) { return pixmap.toImage(); };
    CAppStub app;
    app.Init(QStringLiteral("Corvid - Test"), 2, 3, 45);
    QPixmap large(32, 32);
    large.fill(Qt::red);
    QPixmap small(16, 16);
    small.fill(Qt::blue);

    QWidget form;
    QIcon formIcon(large);
    formIcon.addPixmap(small);
    form.setWindowIcon(formIcon);
    const Shown first = showing([&] { crvMain::global().ShowAboutBox(&form, &app); });
    EXPECT_EQ(first.title, QLatin1String("Corvid - Test"));
    EXPECT_EQ(first.version, QLatin1String("2.03.0045"));
    EXPECT_EQ(first.author, QLatin1String("Sablewing"));
    EXPECT_EQ(first.email, AboutBoxInfo::DefaultAuthorEMail());
    EXPECT_EQ(first.devote, AboutBoxInfo::DefaultDevote());
    EXPECT_EQ(first.tip, QStringLiteral("Соррель"));
    EXPECT_EQ(first.icon, image(cs::csGetWindowIcon(&form)));
    EXPECT_EQ(first.windowIcon, image(small));
    EXPECT_FALSE(first.offered.contains(frmAbout::DescriptionTab)) << "no description, no page";

    const Shown second = showing([&] {
        crvMain::global().ShowAboutBox2(large, QPixmap(), &app, QStringLiteral("What it does"), {},
                                        QStringLiteral("Tip"));
    });
    EXPECT_EQ(second.title, QLatin1String("Corvid - Test"));
    EXPECT_EQ(second.author, QLatin1String("Sablewing"));
    EXPECT_EQ(second.tip, QLatin1String("Tip"));
    EXPECT_EQ(second.icon, image(large));
    EXPECT_EQ(second.windowIcon, image(large.scaled(16, 16))) << "the large icon stands in for the small one";
    EXPECT_TRUE(second.offered.contains(frmAbout::DescriptionTab));

    const Shown third = showing([&] { crvMain::global().ShowAboutBoxEx(QStringLiteral("Only a title")); });
    EXPECT_EQ(third.title, QLatin1String("Only a title"));
    EXPECT_EQ(third.version, QLatin1String("1.00.0000"));
    EXPECT_TRUE(third.author.isEmpty());
    EXPECT_TRUE(third.devote.isEmpty());
    EXPECT_TRUE(third.emailHidden);
    EXPECT_EQ(third.tip, QStringLiteral("Соррель"));
    EXPECT_EQ(third.icon, image(QPixmap(QStringLiteral(":/tessera0301/SORREL_0000.png"))));
    EXPECT_EQ(third.windowIcon, image(QPixmap(QStringLiteral(":/tessera0301/A_MAIN-16.png"))));

    // Without an application object there is no title to show.
    EXPECT_EQ(raisedNumber([] { crvMain::global().ShowAboutBox(nullptr, nullptr); }), 91);
    QObject notAnApp;
    EXPECT_EQ(raisedNumber([&] { crvMain::global().ShowAboutBox2({}, {}, &notAnApp); }), 438);
}

TEST(crvMain, HookListCommandLineAndSeed)
{
    crvMain m;
    QLineEdit edit;
    EXPECT_TRUE(m.AddTextBoxInsertHook(&edit));
    EXPECT_FALSE(m.AddTextBoxInsertHook(&edit));
    EXPECT_TRUE(m.RemoveTextBoxInsertHook(&edit));
    EXPECT_FALSE(m.RemoveTextBoxInsertHook(&edit));
    QPushButton button;
    EXPECT_EQ(raisedNumber([&] { m.AddTextBoxInsertHook(&button); }), 5);
    EXPECT_EQ(raisedNumber([&] { m.RemoveTextBoxInsertHook(nullptr); }), 5);
    {
        // The box goes first; its hook lets go of it safely.
        QLineEdit gone;
        EXPECT_TRUE(m.AddTextBoxInsertHook(&gone));
    }
    EXPECT_TRUE(m.AddTextBoxInsertHook(&edit));
    m.ClearTextBoxInsertHooks();
    EXPECT_TRUE(m.AddTextBoxInsertHook(&edit)) << "cleared";

    CommandLineParser *parser = m.CommandLine();
    EXPECT_EQ(parser, m.CommandLine());
    EXPECT_TRUE(parser->Item(-1).contains(QStringLiteral("test_lib_system")));

    // Loading the library seeded std::rand: its sequence is not the unseeded one.
    const int seeded = std::rand();
    std::srand(1);
    const int unseeded = std::rand();
    std::srand(unsigned(seeded));
    EXPECT_NE(seeded, unseeded);
}

#include "crvMainTest.moc"
