#include "lib/system/crvMultiMonitor.h"

#include "tests/common/LineProcess.h"
#include "tests/common/RaisedError.h"
#include "tests/common/TestSandbox.h"
#include "tests/common/XServer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>
#include <limits>

using namespace tessera;
using corvid::test::LineProcess;
using corvid::test::raisedNumber;
using corvid::test::XServer;

// In this process, on the offscreen platform's one screen.
TEST(crvMultiMonitor, OneScreenAnswersEveryLookup)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect geometry = screen->geometry();
    crvMultiMonitor monitors;

    const Collection all = monitors.GetAllMonitors();
    ASSERT_EQ(all.Count(), 1);
    const Monitor m = all.Item(1).value<Monitor>();
    EXPECT_TRUE(m.Primary());
    EXPECT_EQ(m.Flags(), 1);
    EXPECT_EQ(m.DeviceName(), screen->name());
    EXPECT_EQ(QRect(m.MonitorLeft(), m.MonitorTop(), m.MonitorWidth(), m.MonitorHeight()), geometry);
    EXPECT_EQ(QRect(m.WorkAreaLeft(), m.WorkAreaTop(), m.WorkAreaWidth(), m.WorkAreaHeight()),
              screen->availableGeometry());

    QWidget window;
    window.setGeometry(geometry.x() + 10, geometry.y() + 10, 100, 80);
    EXPECT_TRUE(monitors.MonitorFromWindow(&window, mffDefaultToNull).has_value());
    window.move(geometry.right() + 500, geometry.y());
    EXPECT_FALSE(monitors.MonitorFromWindow(&window, mffDefaultToNull).has_value()) << "off every screen";
    EXPECT_TRUE(monitors.MonitorFromWindow(&window, mffDefaultToNearest).has_value());

    const qint32 farX = geometry.right() + 1000;
    EXPECT_FALSE(monitors.MonitorFromPoint(farX, 0, mffDefaultToNull).has_value());
    EXPECT_TRUE(monitors.MonitorFromPoint(farX, 0, mffDefaultToPrimary).has_value());
    EXPECT_FALSE(monitors.MonitorFromPoint(farX, 0, MonitorFromFlags(7)).has_value()) << "unknown flags give none";

    constexpr qint32 max = std::numeric_limits<qint32>::max();
    constexpr qint32 min = std::numeric_limits<qint32>::min();
    EXPECT_EQ(raisedNumber([&] { monitors.MonitorFromNewRect(max, 0, 1, 1, mffDefaultToNull); }), 6);
    EXPECT_EQ(raisedNumber([&] { monitors.MonitorFromNewRect(0, min, 1, -1, mffDefaultToNull); }), 6);
    EXPECT_EQ(raisedNumber([&] { monitors.MonitorFromNewRect(max - 1, 0, 1, 1, mffDefaultToNearest); }), 0);
}

namespace {

// Two monitors side by side, as every platform below shows them:
//   L, primary: 0,0 - 800,600
//   R:          800,0 - 1440,480   (below R, 800..1440 x 480..600, is no monitor)
struct Platform {
    const char *name;
    const char *all; // the answer to "all"
};

void PrintTo(const Platform &platform, std::ostream *out)
{
    *out << platform.name;
}

// Lookups with the monitor they must find; "none" for none. Flags: 0 none,
// 1 primary, 2 nearest.
const struct Lookup {
    const char *command;
    const char *found;
} lookups[] = {
    {"point 0 0 0", "L"},
    {"point 799 599 0", "L"},
    {"point 800 0 0", "R"}, // the left edge belongs to the rectangle
    {"point 1439 479 0", "R"},
    {"point 1440 0 0", "none"}, // the right edge does not
    {"point 1000 480 0", "none"},
    {"point 1000 500 1", "L"},
    {"point 1000 500 2", "R"},
    {"point 810 590 2", "L"}, // 11 pixels from L, 111 from R
    {"point -50 300 2", "L"},
    {"point 5000 100 2", "R"},
    {"point 5000 100 1", "L"},
    {"point 5000 100 7", "none"},
    {"point -100 -100 0", "none"},
    {"rect 700 0 900 100 0", "L"}, // equal overlap: the first monitor
    {"rect 700 0 950 100 0", "R"},
    {"rect 1400 400 1500 700 0", "R"},
    {"rect 1000 500 1100 550 0", "none"},
    {"rect 1000 500 1100 550 1", "L"},
    {"rect 1000 500 1100 550 2", "R"},
    {"rect 900 10 900 10 0", "R"}, // no area: its left-top pixel
    {"rect 900 10 800 20 0", "R"},
    {"rect -500 -500 5000 5000 0", "L"},
    {"newrect 0 0 10 10 0", "L"},
    {"newrect 790 0 20 10 0", "L"},
    {"newrect 795 0 20 10 0", "R"},
    {"newrect 2147483647 0 1 1 0", "error"},
    {"window 100 100 200 100 0", "L"},
    {"window 1200 100 200 100 0", "R"},
    {"window 700 100 300 100 0", "R"},
    {"window 1000 520 100 50 0", "none"},
    {"window 1000 520 100 50 2", "R"},
    {"window none 0", "none"},
    {"window none 1", "L"},
    {"window none 2", "L"},
};

// The probe on a platform with those two monitors; an empty environment when
// the platform cannot be had here.
class crvMultiMonitorOnTwoMonitors : public ::testing::TestWithParam<Platform>
{
protected:
    void SetUp() override
    {
        const QString platform = QLatin1String(GetParam().name);
        if (platform == QLatin1String("xcb")) {
            if (!XServer::available({QStringLiteral("xrandr"), QStringLiteral("xprop")}))
                GTEST_SKIP() << "needs Xvfb, xrandr and xprop (.ci/install-deps installs them)";
            ASSERT_TRUE(m_x.start(QStringLiteral("1440x600x24")));
            // Qt takes its screens from the server's RandR monitors: the one
            // output of Xvfb becomes L, and R is a monitor of its own.
            ASSERT_TRUE(m_x.run(QStringLiteral("xrandr"),
                                {QStringLiteral("--setmonitor"), QStringLiteral("*L"),
                                 QStringLiteral("800/211x600/158+0+0"), QStringLiteral("screen")}));
            ASSERT_TRUE(m_x.run(QStringLiteral("xrandr"),
                                {QStringLiteral("--setmonitor"), QStringLiteral("R"),
                                 QStringLiteral("640/169x480/127+800+0"), QStringLiteral("none")}));
            // A panel along the bottom, as a window manager announces it.
            ASSERT_TRUE(m_x.run(QStringLiteral("xprop"),
                                {QStringLiteral("-root"), QStringLiteral("-f"), QStringLiteral("_NET_WORKAREA"),
                                 QStringLiteral("32c"), QStringLiteral("-set"), QStringLiteral("_NET_WORKAREA"),
                                 QStringLiteral("0, 0, 1440, 570")}));
            m_env = m_x.environment();
            // Qt reads the work area of several monitors only when told to.
            m_env.insert(QStringLiteral("QT_RELY_ON_NET_WORKAREA_ATOM"), QStringLiteral("1"));
        } else {
            const QString config = QDir(corvid::test::sandboxDir()).filePath(QStringLiteral("two-screens.json"));
            QFile file(config);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(R"({"screens": [
                {"name": "L", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                {"name": "R", "x": 800, "y": 0, "width": 640, "height": 480, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
            ]})");
            file.close();
            m_env = QProcessEnvironment::systemEnvironment();
            m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
        }
    }

    bool startProbe(LineProcess &probe, bool withoutMultiMonitorFunctions)
    {
        QProcessEnvironment env = m_env;
        if (withoutMultiMonitorFunctions)
            env.insert(QStringLiteral("TESSERA_NO_MULTIMON"), QStringLiteral("1"));
        return probe.start(corvid::test::builtProgram(QStringLiteral("tessera_monitor_probe")), {}, env)
            && probe.readLine() == "ready";
    }

    XServer m_x;
    QProcessEnvironment m_env;
};

} // namespace

TEST_P(crvMultiMonitorOnTwoMonitors, EachLookupAndEachDefaultRule)
{
    LineProcess probe;
    ASSERT_TRUE(startProbe(probe, false));
    EXPECT_EQ(probe.ask("all"), GetParam().all);
    for (const Lookup &lookup : lookups) {
        SCOPED_TRACE(lookup.command);
        const QByteArray reply = probe.ask(lookup.command);
        EXPECT_EQ(reply.split(' ').first(), lookup.found) << reply.constData();
    }
    EXPECT_EQ(probe.ask("newrect 0 0 10 10 2"), probe.ask("rect 0 0 10 10 2"));
    EXPECT_EQ(probe.ask("newrect 0 -2147483648 1 -1 0"), "error 6");
}

TEST_P(crvMultiMonitorOnTwoMonitors, WithoutTheMultiMonitorFunctionsThereIsOnePseudoMonitor)
{
    LineProcess probe;
    ASSERT_TRUE(startProbe(probe, true));
    // The primary monitor's rectangle and work area, named "DISPLAY".
    const QByteArray primary = QByteArray(GetParam().all).split(';').first().trimmed();
    const QByteArray pseudo = "DISPLAY" + primary.mid(primary.indexOf(' '));
    EXPECT_EQ(probe.ask("all"), pseudo);
    for (const Lookup &lookup : lookups) {
        SCOPED_TRACE(lookup.command);
        EXPECT_EQ(probe.ask(lookup.command), pseudo) << "whatever the arguments";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Platforms, crvMultiMonitorOnTwoMonitors,
    ::testing::Values(Platform {"xcb", "L 1 0,0,800,600 0,0,800,570 ; R 0 800,0,1440,480 800,0,1440,480"},
                      Platform {"offscreen", "L 1 0,0,800,600 0,0,800,600 ; R 0 800,0,1440,480 800,0,1440,480"}),
    [](const ::testing::TestParamInfo<Platform> &info) { return std::string(info.param.name); });
