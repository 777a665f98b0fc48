// The about box driven as a user drives it: its pages, keys, links and
// hidden drops on the real controls, with the facts of its information pages
// given by the test (and, once, read from this very process).
#include "lib/dialogs/frmAbout.h"

#include "lib/dialogs/CTextBoxInsertHook.h"
#include "lib/dialogs/ucIconControl.h"
#include "lib/system/crvRegistry.h"
#include "platform/RuntimeError.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/common/DefaultLocale.h"
#include "tests/common/RaisedError.h"
#include "tests/common/ScopedEnvironment.h"
#include "tests/lib/dialogs/ShownDialog.h"
#include "tests/lib/net/LoopbackServers.h"
#include "tests/platform/UrlRecorder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <map>

using namespace tessera;

namespace {

using Page = frmAbout::Page;

// 2024-03-01 17:20:30 UTC as a FILETIME.
constexpr qint64 Started = 133537872300000000LL;
const QDateTime StartedLocal = QDateTime(QDate(2024, 3, 1), QTime(17, 20, 30), Qt::UTC).toLocalTime();
constexpr qint64 Second = 10000000;

const QList<AboutModuleEntry> TwoModules = {
    {QStringLiteral("quillon"), 0x10000000, 0x10000000, 1245184, QStringLiteral("/usr/bin/quillon")},
    {QStringLiteral("libtessera0301.so.1"), 0x20000000, 0x10000000, 65536,
     QStringLiteral("/usr/lib/libtessera0301.so.1")},
};

cs::MEMORYSTATUS sampleMemory()
{
    cs::MEMORYSTATUS status;
    status.dwTotalPhys = 8ULL << 30;
    status.dwAvailPhys = 3ULL << 30;
    status.dwMemoryLoad = 63;
    status.dwTotalPageFile = 2ULL << 30;
    status.dwAvailPageFile = 1536ULL << 20;
    status.dwTotalVirtual = 1ULL << 47;
    status.dwAvailVirtual = (1ULL << 47) - (2ULL << 30);
    return status;
}

ProcessTimes sampleTimes()
{
    ProcessTimes times;
    times.CreationTime = Started;
    times.KernelTime = 12345678; // 1.2345678 s
    times.UserTime = 3661 * Second + 50000; // 1 h 1 min 1.005 s
    return times;
}

AboutBoxFacts factsWith(const QList<AboutModuleEntry> &modules, std::optional<ProcessTimes> times)
{
    return {[modules] { return modules; },
            [times] { return times; },
            [] { return Started + 90061 * Second; },
            [] { return QStringLiteral("Test OS 1"); },
            sampleMemory,
            [] { return QStringLiteral("Quillon"); }};
}

AboutBoxInfo quillon(const QString &description = {})
{
    AboutBoxInfo info;
    info.Title = QStringLiteral("Corvid - Quillon");
    info.VerRevision = 39;
    info.Author = AboutBoxInfo::DefaultAuthor();
    info.AuthorEMail = AboutBoxInfo::DefaultAuthorEMail();
    info.Devote = AboutBoxInfo::DefaultDevote();
    info.Description = description;
    return info;
}

template <typename T> T *control(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList texts(const QList<QLabel *> &labels)
{
    QStringList result;
    for (const QLabel *label : labels)
        result << label->text();
    return result;
}

QList<QLabel *> group(const QWidget *window, const char *name)
{
    return window->findChildren<QLabel *>(QLatin1String(name));
}

QGroupBox *frame(const QWidget *window, Page page)
{
    for (QGroupBox *box : window->findChildren<QGroupBox *>(QStringLiteral("fraTab")))
        if (box->property("Index").toInt() == page)
            return box;
    return nullptr;
}

// Drops what a drag carries of \a format on \a target; true when taken.
bool drop(QWidget *target, const QString &format)
{
    QMimeData data;
    data.setData(format, QByteArray());
    const QPoint middle = target->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropEvent(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropEvent);
    return dropEvent.isAccepted();
}

const QString IconDrag = QStringLiteral("application/x-tessera-about-icon");

bool sameImage(const QPixmap &a, const QPixmap &b)
{
    return a.toImage().convertToFormat(QImage::Format_ARGB32) == b.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(frmAbout, OffersOnlyThePagesWithContent)
{
    struct Case {
        const char *what;
        QString description;
        QList<AboutModuleEntry> modules;
        std::optional<ProcessTimes> times;
        QList<Page> offered;
    };
    const ProcessTimes times = sampleTimes();
    const QString text = QStringLiteral("A tool that writes post mails.");
    // This test program has no version record: its internal name is
    // "Dummy", and the update page asks for Version.Dummy.DAT.
    const QList<Case> cases = {
        {"everything",
         text,
         TwoModules,
         times,
         {frmAbout::MainTab, frmAbout::DescriptionTab, frmAbout::ModulesTab, frmAbout::ProcessTimesTab,
          frmAbout::SystemInfoTab, frmAbout::UpdateCheckTab}},
        {"no description",
         {},
         TwoModules,
         times,
         {frmAbout::MainTab, frmAbout::ModulesTab, frmAbout::ProcessTimesTab, frmAbout::SystemInfoTab,
          frmAbout::UpdateCheckTab}},
        {"no modules",
         text,
         {},
         times,
         {frmAbout::MainTab, frmAbout::DescriptionTab, frmAbout::ProcessTimesTab, frmAbout::SystemInfoTab,
          frmAbout::UpdateCheckTab}},
        {"no process times",
         text,
         TwoModules,
         std::nullopt,
         {frmAbout::MainTab, frmAbout::DescriptionTab, frmAbout::ModulesTab, frmAbout::SystemInfoTab,
          frmAbout::UpdateCheckTab}},
        {"nothing but the main, system and update pages",
         {},
         {},
         std::nullopt,
         {frmAbout::MainTab, frmAbout::SystemInfoTab, frmAbout::UpdateCheckTab}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        frmAbout about(quillon(c.description), factsWith(c.modules, c.times));
        about.BuildPages();
        EXPECT_EQ(about.OfferedPages(), c.offered);
        EXPECT_EQ(about.CurrentPage(), frmAbout::MainTab);
        for (int page = 0; page < frmAbout::PageCount; ++page)
            EXPECT_EQ(frame(&about, Page(page))->isHidden(), page != frmAbout::MainTab) << "page " << page;
    }

    // A program without a version record (as this test program) has no
    // version file of its own: no update page, by default too.
    AboutBoxFacts unnamed = factsWith(TwoModules, times);
    unnamed.ExeInternalName = AboutBoxFacts().ExeInternalName;
    EXPECT_EQ(unnamed.ExeInternalName(), QString());
    frmAbout noUpdate(quillon(text), unnamed);
    noUpdate.BuildPages();
    EXPECT_FALSE(noUpdate.OfferedPages().contains(frmAbout::UpdateCheckTab));

    // A source that fails leaves its page out; the window still opens.
    AboutBoxFacts failing = factsWith(TwoModules, times);
    failing.Modules = []() -> QList<AboutModuleEntry> { throw RuntimeError(RuntimeError::FileNotFound); };
    failing.Times = []() -> std::optional<ProcessTimes> { throw RuntimeError(RuntimeError::FileNotFound); };
    frmAbout about(quillon(text), failing);
    about.BuildPages();
    EXPECT_EQ(
        about.OfferedPages(),
        (QList<Page> {frmAbout::MainTab, frmAbout::DescriptionTab, frmAbout::SystemInfoTab, frmAbout::UpdateCheckTab}));
}

TEST(frmAbout, PageKeysGoRoundAndEachPageFocusesItsControl)
{
    frmAbout about(quillon(QStringLiteral("Description")), factsWith(TwoModules, sampleTimes()));
    about.BuildPages();
    about.show();
    QWidget *ok = control<QWidget>(&about, "cmdOk");
    auto *description = control<QPlainTextEdit>(&about, "txtDescription");
    QWidget *modules = control<QWidget>(&about, "lstModules");
    QWidget *update = control<QWidget>(&about, "cmdUpdateCheck");
    EXPECT_EQ(about.focusWidget(), ok);

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Page shown;
        QWidget *focus;
    };
    const QList<Step> steps = {
        {Qt::Key_PageDown, Qt::NoModifier, frmAbout::DescriptionTab, description},
        {Qt::Key_PageDown, Qt::NoModifier, frmAbout::ModulesTab, modules},
        // The list would scroll by a page; the window takes the key first.
        {Qt::Key_PageDown, Qt::NoModifier, frmAbout::ProcessTimesTab, ok},
        {Qt::Key_PageDown, Qt::NoModifier, frmAbout::SystemInfoTab, ok},
        {Qt::Key_PageDown, Qt::NoModifier, frmAbout::UpdateCheckTab, update},
        {Qt::Key_PageDown, Qt::NoModifier, frmAbout::MainTab, ok},
        {Qt::Key_PageUp, Qt::NoModifier, frmAbout::UpdateCheckTab, update},
        {Qt::Key_PageUp, Qt::NoModifier, frmAbout::SystemInfoTab, ok},
        {Qt::Key_PageDown, Qt::ControlModifier, frmAbout::SystemInfoTab, ok},
        {Qt::Key_PageUp, Qt::ShiftModifier, frmAbout::SystemInfoTab, ok},
        {Qt::Key_PageUp, Qt::NoModifier, frmAbout::ProcessTimesTab, ok},
        {Qt::Key_PageUp, Qt::NoModifier, frmAbout::ModulesTab, modules},
    };
    QDir().mkpath(QStringLiteral(CORVID_SCREENSHOT_DIR));
    for (const Step &step : steps) {
        QWidget *target = about.focusWidget() ? about.focusWidget() : &about;
        QTest::keyClick(target, step.key, step.modifiers);
        SCOPED_TRACE(step.shown);
        about.grab().save(QStringLiteral(CORVID_SCREENSHOT_DIR "/frmAbout-%1.png").arg(step.shown));
        EXPECT_EQ(about.CurrentPage(), step.shown);
        EXPECT_FALSE(frame(&about, step.shown)->isHidden());
        EXPECT_EQ(about.focusWidget(), step.focus);
    }
    EXPECT_EQ(description->document()->documentMargin(), 2);

    // The cursor keys stay the list's own.
    auto *list = static_cast<QListWidget *>(modules);
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);

    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Rejected);
    EXPECT_EQ(about.findChild<CTextBoxInsertHook *>(), nullptr) << "closing lets the paste guard go";
}

TEST(frmAbout, MainPageShowsTheInputsAndTheLibrarysOwnPictures)
{
    frmAbout about(quillon(QStringLiteral("About")), factsWith(TwoModules, std::nullopt));
    about.BuildPages();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(control<QLabel>(&about, "lblTitle")->text(), QLatin1String("Corvid - Quillon"));
    EXPECT_EQ(control<QLabel>(&about, "lblVersion")->text(), QLatin1String("1.00.0039"));
    EXPECT_EQ(control<QLabel>(&about, "lblAuthor")->text(), QLatin1String("Sablewing"));
    EXPECT_EQ(control<QLabel>(&about, "lblDevote")->text(), AboutBoxInfo::DefaultDevote());
    auto *email = control<QLabel>(&about, "lblEMail");
    EXPECT_EQ(email->text(), AboutBoxInfo::DefaultAuthorEMail());
    EXPECT_TRUE(email->font().underline());
    EXPECT_EQ(email->cursor().shape(), Qt::BitmapCursor) << "the library's hand cursor";
    EXPECT_FALSE(email->isHidden());
    auto *picture = control<QLabel>(&about, "imgSorrel");
    EXPECT_EQ(picture->toolTip(), QStringLiteral("Соррель"));
    EXPECT_TRUE(sameImage(picture->pixmap(), QPixmap(QStringLiteral(":/tessera0301/SORREL.png"))));
    EXPECT_TRUE(sameImage(control<ucIconControl>(&about, "imgIcon")->Picture(),
                          QPixmap(QStringLiteral(":/tessera0301/SORREL_0000.png"))));
    EXPECT_TRUE(sameImage(about.windowIcon().pixmap(16, 16), QPixmap(QStringLiteral(":/tessera0301/A_MAIN-16.png"))));
    auto *description = control<QPlainTextEdit>(&about, "txtDescription");
    EXPECT_TRUE(description->isReadOnly());
    const auto *guard = about.findChild<CTextBoxInsertHook *>();
    ASSERT_NE(guard, nullptr);
    EXPECT_EQ(guard->CurrentHook(), description);

    // Given pictures replace the library's; an empty address hides the link
    // and its caption; a version that cannot be written leaves its label.
    AboutBoxInfo own = quillon();
    own.Icon = QPixmap(24, 24);
    own.Icon.fill(Qt::red);
    own.SmallIcon = QPixmap(16, 16);
    own.SmallIcon.fill(Qt::blue);
    own.Picture = QPixmap(400, 200);
    own.Picture.fill(Qt::green);
    own.AuthorEMail.clear();
    own.VerMajor = -1;
    frmAbout mine(own, factsWith({}, std::nullopt));
    EXPECT_TRUE(sameImage(control<ucIconControl>(&mine, "imgIcon")->Picture(), own.Icon));
    EXPECT_TRUE(sameImage(mine.windowIcon().pixmap(16, 16), own.SmallIcon));
    EXPECT_EQ(control<QLabel>(&mine, "imgSorrel")->pixmap().size(), QSize(160, 80)) << "fitted to the page";
    EXPECT_TRUE(control<QLabel>(&mine, "lblEMail")->isHidden());
    EXPECT_TRUE(control<QLabel>(&mine, "lblEMailCaption")->isHidden());
    EXPECT_TRUE(control<QLabel>(&mine, "lblVersion")->text().isEmpty());
}

TEST(frmAbout, InformationPagesShowTheirFacts)
{
    const corvid::test::DefaultLocale locale(QLocale(QLocale::English, QLocale::UnitedStates));
    frmAbout about(quillon(), factsWith(TwoModules, sampleTimes()));
    about.BuildPages();

    const QString blanks(14, QLatin1Char(' '));
    const QStringList lines = {
        QStringLiteral("quillon              0x10000000  ") + blanks
            + QStringLiteral("1,245,184       /usr/bin/quillon"),
        QStringLiteral("libtessera0301.so.1  0x20000000  (0x10000000)  65,536          /usr/lib/libtessera0301.so.1"),
    };
    auto *list = control<QListWidget>(&about, "lstModules");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), lines[0]);
    EXPECT_EQ(list->item(1)->text(), lines[1]);
    EXPECT_TRUE(list->font().fixedPitch());

    const QString local = StartedLocal.toString(QStringLiteral("M/d/yy, h:mm:ss AP"));
    EXPECT_EQ(texts(group(&about, "lblProcessTimes")),
              (QStringList {local, QStringLiteral("25:01:01.0"), QStringLiteral("0:00:01.234"),
                            QStringLiteral("1:01:01.5"), QStringLiteral("1:01:02.239")}));
    EXPECT_EQ(texts(group(&about, "lblSystemInfo")),
              (QStringList {QStringLiteral("Test OS 1"), QStringLiteral("3.00 GB (37%)"), QStringLiteral("512 MB"),
                            QStringLiteral("2.00 GB")}));

    // Zero times read N/A; times that do not convert, *Error*; a process
    // that has ended ran until its exit.
    struct Case {
        ProcessTimes times;
        QStringList expected;
    };
    const QString na = QStringLiteral("N/A"), error = QStringLiteral("*Error*");
    ProcessTimes ended = sampleTimes();
    ended.ExitTime = Started + 61 * Second;
    ProcessTimes broken;
    broken.CreationTime = -1;
    broken.KernelTime = 5;
    broken.UserTime = std::numeric_limits<qint64>::max();
    ProcessTimes negative;
    negative.KernelTime = -5;
    negative.UserTime = 7;
    const QList<Case> cases = {
        {ProcessTimes(), {na, na, na, na, na}},
        {ended,
         {local, QStringLiteral("0:01:01.0"), QStringLiteral("0:00:01.234"), QStringLiteral("1:01:01.5"),
          QStringLiteral("1:01:02.239")}},
        {broken, {error, error, QStringLiteral("0:00:00.0"), QStringLiteral("256204778:48:05.477"), error}},
        {negative, {na, na, error, QStringLiteral("0:00:00.0"), QStringLiteral("0:00:00.0")}},
    };
    for (const Case &c : cases) {
        frmAbout times(quillon(), factsWith({}, c.times));
        times.BuildPages();
        EXPECT_EQ(texts(group(&times, "lblProcessTimes")), c.expected);
        EXPECT_TRUE(times.OfferedPages().contains(frmAbout::ProcessTimesTab));
    }

    // Memory figures that cannot be read leave their labels as they were.
    AboutBoxFacts noMemory = factsWith({}, std::nullopt);
    noMemory.MemoryStatus = []() -> cs::MEMORYSTATUS { throw RuntimeError(75); };
    frmAbout partial(quillon(), noMemory);
    partial.BuildPages();
    EXPECT_EQ(texts(group(&partial, "lblSystemInfo")), (QStringList {QStringLiteral("Test OS 1"), {}, {}, {}}));
}

TEST(frmAbout, ReadsTheModulesOfThisProcess)
{
    frmAbout about(quillon());
    about.BuildPages();
    const auto *list = control<QListWidget>(&about, "lstModules");
    ASSERT_GT(list->count(), 3);
    const QString test = list->item(0)->text();
    EXPECT_TRUE(test.startsWith(QLatin1String("test_lib_dialogs "))) << test.toStdString();
    EXPECT_FALSE(list->findItems(QStringLiteral("libtessera0301.so"), Qt::MatchStartsWith).isEmpty());
    EXPECT_TRUE(about.OfferedPages().contains(frmAbout::ProcessTimesTab));
    EXPECT_FALSE(group(&about, "lblSystemInfo").value(1)->text().isEmpty());
}

TEST(frmAbout, LinksOpenTheMailProgramAndTheModulesFolder)
{
    frmAbout about(quillon(), factsWith(TwoModules, std::nullopt));
    about.BuildPages();
    about.show();
    corvid::test::UrlRecorder mail(QStringLiteral("mailto"));
    QTest::mouseClick(control<QLabel>(&about, "lblEMail"), Qt::LeftButton);
    EXPECT_EQ(mail.urls, QList<QUrl> {QUrl(QStringLiteral("mailto:corvid@sablewing.example"))});

    corvid::test::UrlRecorder files(QStringLiteral("file"));
    QTest::keyClick(&about, Qt::Key_PageDown);
    auto *list = control<QListWidget>(&about, "lstModules");
    const QPoint line = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    EXPECT_EQ(files.urls, QList<QUrl> {QUrl::fromLocalFile(QStringLiteral("/usr/bin"))});
}

TEST(frmAbout, SystemInfoButtonStartsTheRegisteredToolOrAMonitor)
{
    QTemporaryDir tools;
    const QString marker = tools.filePath(QStringLiteral("started"));
    const auto writeTool = [&](const QString &path) {
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        // Written aside and moved, so that the marker appears whole.
        script.write("#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + ".new' && /bin/mv '" + marker.toUtf8() + ".new' '"
                     + marker.toUtf8() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    // Waits for the tool started in the background to say who it is.
    const auto started = [&] {
        const QDeadlineTimer deadline(20000);
        while (!QFile::exists(marker) && !deadline.hasExpired())
            QTest::qWait(20);
        QFile file(marker);
        QString who = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
        QFile::remove(marker);
        return who;
    };
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tools.path().toUtf8());
    QDir(tools.path()).mkdir(QStringLiteral("shared"));
    const QString msinfo = tools.filePath(QStringLiteral("msinfo"));
    const QString located = tools.filePath(QStringLiteral("shared/MSINFO32.EXE"));
    const QString monitor = tools.filePath(QStringLiteral("gnome-system-monitor"));
    writeTool(msinfo);
    writeTool(located);
    const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
    crvRegistry registry;

    frmAbout about(quillon(), factsWith({}, std::nullopt));
    about.BuildPages();
    QPushButton *button = control<QPushButton>(&about, "cmdSysInfo");
    EXPECT_EQ(button->text(), QLatin1String("&System Info..."));
    {
        ScopedMessageBoxAnswerer answerer;
        button->click();
        ASSERT_EQ(answerer.requests().size(), 1) << "no tool anywhere";
        EXPECT_EQ(answerer.requests()[0].text, QStringLiteral("Информация о системе почему-то не доступна..."));
        EXPECT_EQ(answerer.requests()[0].style, MessageBox::Exclamation);

        writeTool(monitor);
        button->click();
        EXPECT_EQ(started().toStdString(), monitor.toStdString());
        ASSERT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, locationKey, QStringLiteral("MSINFO"), rtString,
                                      tools.filePath(QStringLiteral("shared"))));
        button->click();
        EXPECT_EQ(started().toStdString(), located.toStdString());
        ASSERT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, msinfoKey, QStringLiteral("PATH"), rtString, msinfo));
        button->click();
        EXPECT_EQ(started().toStdString(), msinfo.toStdString()) << "the tool's own path comes first";
        EXPECT_EQ(answerer.requests().size(), 1);
    }
    ASSERT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, msinfoKey, QStringLiteral("PATH"), rtString,
                                  tools.filePath(QStringLiteral("gone"))));
    ASSERT_TRUE(registry.DeleteValue(HKEY_LOCAL_MACHINE, locationKey, QStringLiteral("MSINFO")));
    QFile::remove(monitor);
    {
        ScopedMessageBoxAnswerer answerer;
        button->click();
        EXPECT_EQ(answerer.requests().size(), 1) << "a registered tool whose file is gone";
    }
    registry.DeleteKey(HKEY_LOCAL_MACHINE, msinfoKey);
    registry.DeleteKey(HKEY_LOCAL_MACHINE, locationKey);
    qputenv("PATH", path);
}

TEST(frmAbout, HiddenDropsOfTheIcon)
{
    frmAbout about(quillon(), factsWith({}, std::nullopt));
    about.BuildPages();
    about.show();
    auto *title = control<QLabel>(&about, "lblTitle");
    auto *picture = control<QLabel>(&about, "imgSorrel");
    EXPECT_FALSE(drop(title, QStringLiteral("text/plain"))) << "only the box's own icon";
    EXPECT_FALSE(drop(control<QWidget>(&about, "lblVersion"), IconDrag));

    ASSERT_TRUE(drop(title, IconDrag));
    about.grab().save(QStringLiteral(CORVID_SCREENSHOT_DIR "/frmAbout-hidden.png"));
    const QPixmap hidden(QStringLiteral(":/tessera0301/CORVID_MOON.png"));
    EXPECT_TRUE(sameImage(picture->pixmap(), hidden));
    EXPECT_EQ(picture->toolTip(), QStringLiteral("Кар! ^_^"));

    ASSERT_TRUE(drop(picture, IconDrag));
    EXPECT_TRUE(sameImage(picture->pixmap(), QPixmap::fromImage(hidden.toImage().mirrored(true, false))));
    EXPECT_TRUE(about.isVisible());
    ASSERT_TRUE(drop(control<QWidget>(&about, "cmdOk"), IconDrag));
    EXPECT_FALSE(about.isVisible());
}

// The update page asks the maker's site, here a server on 127.0.0.1, for
// Version.<internal name>.DAT and shows the verdict.
TEST(frmAbout, UpdatePageAsksTheSiteAndShowsTheVerdict)
{
    corvid::test::clearProxyEnvironment();
    corvid::test::HttpServer site([](httplib::Server &s) {
        s.Get(R"(/versions/Version\.(\w+)\.DAT)", [](const httplib::Request &q, httplib::Response &r) {
            static const std::map<std::string, std::string> files = {
                {"Equal", "1.0.39"}, {"Newer", "1.2.3"},  {"Older", "1.0.7"},
                {"Short", "1.2"},    {"Long", "1.2.3.4"}, {"Letters", "1.x.3"},
            };
            const auto file = files.find(q.matches[1]);
            if (file == files.end()) {
                r.status = 404;
                r.set_content("no such file", "text/plain");
                return;
            }
            r.set_content(file->second, "text/plain");
        });
    });
    corvid::test::SilentListener silent;
    const QString malformed = QStringLiteral("Сведения о версии программы на сайте получены, но они содержат ошибку.");
    struct Case {
        const char *name;
        bool quietSite;
        bool compared;
        QString text;
        QString siteVersion;
    };
    const QList<Case> cases = {
        {"Equal", false, true, QStringLiteral("У Вас свежая версия - обновление не требуется ^_^"),
         QStringLiteral("1.00.0039")},
        {"Newer", false, true, QStringLiteral("На сайте свежая версия - можно обновляться ^_^"),
         QStringLiteral("1.02.0003")},
        {"Older", false, true, QStringLiteral("Привет, Врен-чан ^_~"), QStringLiteral("1.00.0007")},
        {"Short", false, false, malformed, {}},
        {"Long", false, false, malformed, {}},
        {"Letters", false, false, malformed + QStringLiteral(" Номера указаны неверно."), {}},
        {"Dummy",
         false,
         false,
         QStringLiteral("Не удалось получить сведения о версии программы на сайте. Сервер сказал: 404, Not Found"),
         {}},
        {"Quiet",
         true,
         false,
         QStringLiteral("Произошла ошибка 12002 при соединении с сервером. The operation timed out"),
         {}},
    };
    QDir().mkpath(QStringLiteral(CORVID_SCREENSHOT_DIR));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray folder = QByteArray("http://127.0.0.1:")
            + QByteArray::number(c.quietSite ? silent.port() : site.port()) + "/versions/";
        const corvid::test::ScopedEnvironment mirror("TESSERA_VERSIONS_URL", folder);
        AboutBoxFacts facts = factsWith({}, std::nullopt);
        const QString name = QString::fromLatin1(c.name);
        facts.ExeInternalName = [name] { return name; };
        facts.UpdateCheckTimeout = 1000;
        frmAbout about(quillon(), facts);
        about.BuildPages();
        about.show();
        QTest::keyClick(&about, Qt::Key_PageUp);
        ASSERT_EQ(about.CurrentPage(), frmAbout::UpdateCheckTab);

        auto *button = control<QPushButton>(&about, "cmdUpdateCheck");
        auto *info = control<QLabel>(&about, "lblUpdateInfo");
        auto *result = control<QLabel>(&about, "lblUpdateResult");
        auto *link = control<QLabel>(&about, "lblUpdateURL");
        QList<QLabel *> versions = group(&about, "lblUpdateVersion");
        std::sort(versions.begin(), versions.end(),
                  [](QLabel *a, QLabel *b) { return a->property("Index").toInt() < b->property("Index").toInt(); });
        ASSERT_EQ(versions.size(), 4);
        const QString url = QString::fromLatin1(folder) + QStringLiteral("Version.") + name + QStringLiteral(".DAT");
        EXPECT_EQ(info->text(),
                  QStringLiteral("Нажмите кнопку для проверки версии программы на сайте.\r\n\r\nРесурс: "
                                 "Version.")
                      + name + QStringLiteral(".DAT"));
        EXPECT_EQ(button->text(), QStringLiteral("Проверить обновление"));
        EXPECT_EQ(button->toolTip(), url);
        EXPECT_EQ(about.focusWidget(), button);
        EXPECT_EQ(texts(versions),
                  (QStringList {QStringLiteral("Локальная версия:"), QStringLiteral("Версия на сайте:"),
                                QStringLiteral("0.00.0000"), QStringLiteral("0.00.0000")}));
        for (const QLabel *hidden : {result, link, versions[0], versions[3]})
            EXPECT_TRUE(hidden->isHidden());
        if (c.name == std::string("Equal"))
            about.grab().save(QStringLiteral(CORVID_SCREENSHOT_DIR "/frmAbout-update-before.png"));

        QTest::mouseClick(button, Qt::LeftButton);
        about.grab().save(QStringLiteral(CORVID_SCREENSHOT_DIR "/frmAbout-update-%1.png").arg(name));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
        EXPECT_EQ(button->isHidden(), c.compared);
        EXPECT_EQ(info->isHidden(), c.compared);
        EXPECT_EQ(result->isHidden(), !c.compared);
        EXPECT_EQ(link->isHidden(), !c.compared);
        for (QLabel *label : std::as_const(versions))
            EXPECT_EQ(label->isHidden(), !c.compared);
        if (!c.compared) {
            EXPECT_EQ(info->text(), c.text);
            continue;
        }
        EXPECT_EQ(result->text(), c.text);
        EXPECT_EQ(versions[2]->text(), QStringLiteral("1.00.0039"));
        EXPECT_EQ(versions[3]->text(), c.siteVersion);
        EXPECT_EQ(link->text(), QStringLiteral("http://www.sablewing.net/"));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor) << "the library's hand";
        EXPECT_EQ(about.focusWidget(), control<QWidget>(&about, "cmdOk"));
        corvid::test::UrlRecorder home(QStringLiteral("http"));
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_EQ(home.urls, QList<QUrl> {QUrl(QStringLiteral("http://www.sablewing.net/"))});
    }
}

TEST(frmAbout, AShowingThatFailsWith450IsTriedOnceMore)
{
    class FailingShow : public frmAbout
    {
    public:
        FailingShow(qint32 number)
            : frmAbout(quillon(), factsWith({}, std::nullopt))
            , m_number(number)
        { }
        int shows = 0;

    protected:
        void ShowModal() override
        {
            if (++shows == 1)
                throw RuntimeError(m_number);
            frmAbout::ShowModal();
        }

    private:
        qint32 m_number;
    };

    static QStringList output;
    output.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("corvid.support.debugoutput=true"));
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
              if (qstrcmp(context.category, "corvid.support.debugoutput") == 0)
                  output << message;
          });
    FailingShow box(RuntimeError::WrongNumberOfArguments);
    const auto closed = corvid::test::whenShown<frmAbout>([](frmAbout *shown) { shown->accept(); });
    box.RealShowAboutBox();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("corvid.support.debugoutput=false"));
    EXPECT_TRUE(*closed);
    EXPECT_EQ(box.shows, 2);
    EXPECT_EQ(output,
              QStringList {QStringLiteral("RealShowAboutBox() ==> 450 ") + RuntimeError::standardDescription(450)});

    FailingShow other(RuntimeError::InvalidProcedureCall);
    EXPECT_EQ(corvid::test::raisedNumber([&] { other.RealShowAboutBox(); }), 5);
    EXPECT_EQ(other.shows, 1) << "other errors reach the caller";
}
