#include "lib/system/crvAlone.h"

#include "platform/NamedMutex.h"
#include "support/csSystem.h"
#include "tests/common/LineProcess.h"
#include "tests/common/ScopedEnvironment.h"
#include "tests/common/TestSandbox.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <vector>

using namespace tessera;
using corvid::test::LineProcess;
using corvid::test::ScopedEnvironment;

namespace {

// The lock files that stand for the three names of \a guid on \a desktop.
QStringList lockFiles(const QString &guid, const QString &desktop)
{
    return {NamedMutex::lockFilePath(guid), NamedMutex::lockFilePath(guid + QStringLiteral("_Desktop_") + desktop),
            NamedMutex::lockFilePath(guid + QStringLiteral("_User_") + cs::csGetFullUserName(true))};
}

QString answers(crvAlone &alone, const QString &guid)
{
    const auto bit = [](bool alone) { return alone ? QStringLiteral("1") : QStringLiteral("0"); };
    return bit(alone.IsAlone(guid)) + QLatin1Char(' ') + bit(alone.IsAloneOnDesktop(guid)) + QLatin1Char(' ')
        + bit(alone.IsAloneAtUser(guid));
}

// Another instance of the program, asking all three scopes and keeping its
// claims; its environment is ours with \a changes (a null value removes the
// variable).
class Instance
{
public:
    Instance(const QString &guid, const std::vector<std::pair<QString, QString>> &changes = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto &[variable, value] : changes) {
            if (value.isNull())
                env.remove(variable);
            else
                env.insert(variable, value);
        }
        if (m_process.start(corvid::test::builtProgram(QStringLiteral("tessera_alone_probe")),
                            {QStringLiteral("all"), guid}, env))
            m_answers = QString::fromUtf8(m_process.readLine());
    }
    QString answers() const { return m_answers; }
    bool kill() { return m_process.kill(); }

private:
    LineProcess m_process;
    QString m_answers;
};

} // namespace

// The names as designed, the claim's life with its object, and scopes that
// keep out of each other's way.
TEST(crvAlone, ClaimsLastAsLongAsTheObjectPerScope)
{
    const ScopedEnvironment noWayland("WAYLAND_DISPLAY", QByteArray());
    const ScopedEnvironment display("DISPLAY", ":4");
    const QString guid = QStringLiteral("{0D4F7C21-5B3A-4E58-9A61-3C2E7B9D0001}");
    const QStringList files = lockFiles(guid, QStringLiteral(":4"));
    {
        crvAlone first;
        EXPECT_EQ(answers(first, guid), QStringLiteral("1 1 1"));
        for (const QString &file : files)
            EXPECT_TRUE(QFileInfo::exists(file)) << qPrintable(file);
        EXPECT_EQ(answers(first, guid), QStringLiteral("1 1 1")) << "asking again does not see its own claim";
        EXPECT_TRUE(first.IsAloneOnDesktop(guid));
        EXPECT_TRUE(first.IsAlone(guid)) << "a new desktop claim leaves the machine claim alone, and the reverse";

        crvAlone second;
        EXPECT_EQ(answers(second, guid), QStringLiteral("0 0 0"));
    }
    for (const QString &file : files)
        EXPECT_FALSE(QFileInfo::exists(file)) << qPrintable(file) << " goes with the last holder";
    crvAlone after;
    EXPECT_EQ(answers(after, guid), QStringLiteral("1 1 1"));
}

TEST(crvAlone, TheDesktopIsTheSessionsDisplay)
{
    struct Case {
        const char *wayland;
        const char *display;
        const char *desktop;
    };
    const Case cases[] = {
        {"wayland-1", ":0", "wayland-1"},
        {"", "remote:10.0", "remote:10.0"},
        {nullptr, ":0.1", ":0.1"},
        {nullptr, nullptr, "Default"},
    };
    const QString guid = QStringLiteral("{0D4F7C21-5B3A-4E58-9A61-3C2E7B9D0002}");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.desktop);
        const ScopedEnvironment wayland("WAYLAND_DISPLAY", c.wayland ? QByteArray(c.wayland) : QByteArray());
        const ScopedEnvironment display("DISPLAY", c.display ? QByteArray(c.display) : QByteArray());
        const QString file = NamedMutex::lockFilePath(guid + QStringLiteral("_Desktop_") + QLatin1String(c.desktop));
        crvAlone alone;
        EXPECT_TRUE(alone.IsAloneOnDesktop(guid));
        EXPECT_TRUE(QFileInfo::exists(file));
    }
}

// Another process of the same program sees our claims in the scopes it
// shares with us: another display is another desktop, and another user (with
// a namespace of his own) sees none of them.
TEST(crvAlone, AnotherProcessSeesTheScopesItShares)
{
    const QString otherUser = QDir(corvid::test::sandboxDir()).filePath(QStringLiteral("other-user-runtime"));
    ASSERT_TRUE(QDir().mkpath(otherUser));
    struct Case {
        const char *name;
        const char *ourWayland; // our DISPLAY is ":8"
        std::vector<std::pair<QString, QString>> theirs;
        const char *theySee;
    };
    const Case cases[] = {
        {"same user, same display", nullptr, {}, "0 0 0"},
        {"same user, another display", nullptr, {{QStringLiteral("DISPLAY"), QStringLiteral(":9")}}, "0 1 0"},
        {"the same Wayland display, whatever DISPLAY says",
         "wayland-3",
         {{QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-3")},
          {QStringLiteral("DISPLAY"), QStringLiteral(":9")}},
         "0 0 0"},
        {"another user",
         nullptr,
         {{QStringLiteral("TESSERA_MUTEX_DIR"), QString()}, {QStringLiteral("XDG_RUNTIME_DIR"), otherUser}},
         "1 1 1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedEnvironment ourWayland("WAYLAND_DISPLAY", c.ourWayland ? QByteArray(c.ourWayland) : QByteArray());
        const ScopedEnvironment ourDisplay("DISPLAY", ":8");
        const QString guid = QStringLiteral("{0D4F7C21-5B3A-4E58-9A61-3C2E7B9D0003}");
        crvAlone ours;
        ASSERT_EQ(answers(ours, guid), QStringLiteral("1 1 1"));
        EXPECT_EQ(Instance(guid, c.theirs).answers(), QLatin1String(c.theySee));
    }
}

// kill -9 takes the claims with it; the lock files it leaves behind block
// no one.
TEST(crvAlone, AKilledInstanceFreesEveryScope)
{
    const ScopedEnvironment noWayland("WAYLAND_DISPLAY", QByteArray());
    const ScopedEnvironment display("DISPLAY", ":5");
    const QString guid = QStringLiteral("{0D4F7C21-5B3A-4E58-9A61-3C2E7B9D0004}");
    Instance other(guid);
    ASSERT_EQ(other.answers(), QStringLiteral("1 1 1"));
    {
        crvAlone ours;
        EXPECT_EQ(answers(ours, guid), QStringLiteral("0 0 0"));
    }
    ASSERT_TRUE(other.kill());
    for (const QString &file : lockFiles(guid, QStringLiteral(":5")))
        EXPECT_TRUE(QFileInfo::exists(file)) << qPrintable(file) << " stays behind the killed instance";
    crvAlone ours;
    EXPECT_EQ(answers(ours, guid), QStringLiteral("1 1 1"));
}
