#include "lib/dialogs/crvTabControl.h"

#include "tests/common/RaisedError.h"

#include <QFrame>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tessera;
using corvid::test::raisedNumber;

namespace {

// A page that is no widget: it offers Visible and ZOrder by name.
class NamedPage : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
public:
    NamedPage(QStringList *calls, const QString &name)
        : m_calls(calls)
        , m_name(name)
    { }
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    Q_INVOKABLE void ZOrder() { m_calls->append(m_name); }

private:
    QStringList *m_calls;
    QString m_name;
    bool m_visible = false;
};

struct Pages {
    QWidget window;
    QFrame *a = new QFrame(&window);
    QFrame *b = new QFrame(&window);
    QFrame *c = new QFrame(&window);

    Pages() { window.show(); }
    BoundedArray<QObject *> array() { return BoundedArray<QObject *>::fromValues(5, {a, b, c}); }
    // The pages from the bottom of the stack to the top.
    QList<QObject *> stacking() const
    {
        QList<QObject *> order;
        for (QObject *child : window.children())
            if (child == a || child == b || child == c)
                order << child;
        return order;
    }
    QList<bool> visible() const { return {a->isVisible(), b->isVisible(), c->isVisible()}; }
};

qint32 lastShown(const QSignalSpy &spy)
{
    return spy.isEmpty() ? 0 : spy.last().at(0).toInt();
}

} // namespace

TEST(crvTabControl, ShowsOnePageAndGoesRound)
{
    Pages pages;
    crvTabControl tabs;
    QSignalSpy shown(&tabs, &crvTabControl::TabShown);
    EXPECT_EQ(raisedNumber([&] { tabs.ArrangeTabs(); }), 5) << "no page shown yet";
    EXPECT_EQ(raisedNumber([&] { tabs.FillTabs(BoundedArray<QObject *>()); }), 9);

    tabs.FillTabs(pages.array());
    EXPECT_EQ(tabs.TabCount(), 3);
    EXPECT_EQ(tabs.CurrentTab(), 3);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(lastShown(shown), 3);
    EXPECT_EQ(pages.visible(), QList<bool>({true, true, true})) << "without HideOtherTabs all stay visible";
    EXPECT_EQ(pages.stacking(), QList<QObject *>({pages.a, pages.b, pages.c}));

    struct Step {
        const char *what;
        std::function<void()> act;
        qint32 current;
        QList<bool> visible;
        QList<QObject *> stacking;
    };
    const QList<Step> steps = {
        {"next from the last",
         [&] { tabs.PopNextTab(false, true); },
         1,
         {true, false, false},
         {pages.b, pages.c, pages.a}},
        {"previous from the first",
         [&] { tabs.PopPrevTab(false, true); },
         3,
         {false, false, true},
         {pages.a, pages.b, pages.c}},
        {"previous", [&] { tabs.PopPrevTab(); }, 2, {true, true, true}, {pages.a, pages.c, pages.b}},
        {"only this one raised",
         [&] { tabs.PopTab(1, true, true); },
         1,
         {true, false, false},
         {pages.c, pages.b, pages.a}},
        {"the current one again", [&] { tabs.ArrangeTabs(); }, 1, {true, true, true}, {pages.b, pages.c, pages.a}},
        {"-1 is the current one",
         [&] { tabs.PopTab(-1, true, true); },
         1,
         {true, false, false},
         {pages.b, pages.c, pages.a}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(tabs.CurrentTab(), step.current);
        EXPECT_EQ(lastShown(shown), step.current);
        EXPECT_EQ(pages.visible(), step.visible);
        EXPECT_EQ(pages.stacking(), step.stacking);
    }
    const qsizetype reports = shown.size();
    EXPECT_EQ(raisedNumber([&] { tabs.PopTab(0); }), 5);
    EXPECT_EQ(raisedNumber([&] { tabs.PopTab(4); }), 5);
    EXPECT_EQ(shown.size(), reports) << "a refused page is not reported";

    tabs.ClearTabs();
    EXPECT_EQ(tabs.CurrentTab(), 0);
    EXPECT_EQ(raisedNumber([&] { tabs.ArrangeTabs(); }), 5);
    EXPECT_EQ(raisedNumber([&] { tabs.AddTab(nullptr); }), 380);
    tabs.AddTab(pages.b);
    EXPECT_EQ(tabs.CurrentTab(), 1);
    EXPECT_EQ(lastShown(shown), 1);
    tabs.PopNextTab();
    EXPECT_EQ(tabs.CurrentTab(), 1) << "one page goes round to itself";
}

TEST(crvTabControl, PagesAreReachedByName)
{
    QStringList calls;
    NamedPage one(&calls, QStringLiteral("one"));
    NamedPage two(&calls, QStringLiteral("two"));
    crvTabControl tabs;
    tabs.FillTabs(BoundedArray<QObject *>::fromValues(1, {&one, &two}), true);
    EXPECT_EQ(calls, QStringList({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("two")}));
    EXPECT_FALSE(one.Visible());
    EXPECT_TRUE(two.Visible());

    // A page without the members, or one that is gone, fails as the call
    // by name fails.
    QObject plain;
    tabs.AddTab(&two);
    EXPECT_EQ(raisedNumber([&] { tabs.AddTab(&plain); }), 438);
    {
        NamedPage gone(&calls, QStringLiteral("gone"));
        tabs.FillTabs(BoundedArray<QObject *>::fromValues(1, {&one, &gone}));
    }
    EXPECT_EQ(raisedNumber([&] { tabs.PopTab(1); }), 91);
}

#include "crvTabControlTest.moc"
