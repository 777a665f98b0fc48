// frmProxyConfig offscreen: which controls the options enable, what "Ok"
// and "Отмена" do, and "Определить" reading each kind of system settings.
#include "lib/net/frmProxyConfig.h"

#include "lib/net/ProxySettings.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "tests/lib/dialogs/ShownDialog.h"
#include "tests/lib/net/LoopbackServers.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace tessera;

class frmProxyConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        corvid::test::clearProxyEnvironment();
        m_path = qgetenv("PATH");
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        qputenv("PATH", m_path);
        qunsetenv("XDG_CONFIG_HOME");
        corvid::test::clearProxyEnvironment();
    }

    // A gsettings on PATH that prints \a listing (or fails with \a exitCode).
    void fakeGSettings(const QByteArray &listing, int exitCode = 0)
    {
        QFile listingFile(m_dir.filePath(QStringLiteral("listing")));
        ASSERT_TRUE(listingFile.open(QIODevice::WriteOnly));
        listingFile.write(listing);
        listingFile.close();
        QFile script(m_dir.filePath(QStringLiteral("gsettings")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n[ \"$1 $2\" = \"list-recursively org.gnome.system.proxy\" ] || exit 9\ncat '"
                     + listingFile.fileName().toUtf8() + "'\nexit " + QByteArray::number(exitCode) + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", m_dir.path().toUtf8() + ':' + m_path);
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    }

    // Settings with every field set; the password is "pw", BypassLocal on.
    static void fill(ProxySettings &settings, psAccessType type, const QString &address, const QString &user,
                     const QString &bypass)
    {
        settings.setHTTP_AccessType(type);
        settings.setHTTP_Address(address);
        settings.setHTTP_UserName(user);
        settings.setHTTP_Password(QStringLiteral("pw"));
        settings.setHTTP_BypassList(bypass);
        settings.setHTTP_BypassLocal(true);
    }

    static void expectProxyControlsEnabled(frmProxyConfig &form, bool enabled)
    {
        for (QWidget *w : std::initializer_list<QWidget *> {
                 form.fraServer(), form.fraBypass(), form.txtAddress(), form.txtUserName(), form.txtPassword(),
                 form.txtBypassList(), form.chkBypassLocal(), form.imgIcon(0), form.imgIcon(1)})
            EXPECT_EQ(w->isEnabled(), enabled) << qPrintable(w->objectName());
        for (QLabel *label : form.findChildren<QLabel *>(QRegularExpression(QStringLiteral("^lbl"))))
            EXPECT_EQ(label->isEnabled(), enabled) << qPrintable(label->objectName());
        const QColor base = form.txtAddress()->palette().color(QPalette::Disabled, QPalette::Base);
        EXPECT_EQ(base, form.palette().color(enabled ? QPalette::Base : QPalette::Button));
    }

    QTemporaryDir m_dir;
    QByteArray m_path;
};

TEST_F(frmProxyConfigTest, OptionsEnableTheProxyPartOnlyForAProxy)
{
    ProxySettings settings;
    fill(settings, psatProxy, QStringLiteral("p:8080"), QStringLiteral("u"), QStringLiteral("*.lan"));
    frmProxyConfig form;
    form.Init(&settings);
    EXPECT_TRUE(form.optAccessType(3)->isChecked());
    EXPECT_EQ(form.txtAddress()->text(), QStringLiteral("p:8080"));
    EXPECT_EQ(form.txtUserName()->text(), QStringLiteral("u"));
    EXPECT_EQ(form.txtPassword()->text(), QStringLiteral("pw"));
    EXPECT_EQ(form.txtPassword()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.txtBypassList()->text(), QStringLiteral("*.lan"));
    EXPECT_TRUE(form.chkBypassLocal()->isChecked());
    expectProxyControlsEnabled(form, true);
    form.optAccessType(1)->click();
    expectProxyControlsEnabled(form, false);
    form.optAccessType(0)->click();
    expectProxyControlsEnabled(form, false);
    form.optAccessType(3)->click();
    expectProxyControlsEnabled(form, true);
    EXPECT_EQ(form.optAccessType(0)->text(), QStringLiteral("Использовать настройки Internet Explorer"));
    EXPECT_EQ(form.optAccessType(1)->text(), QStringLiteral("Не использовать прокси-сервер"));
    EXPECT_EQ(form.optAccessType(3)->text(), QStringLiteral("Использовать прокси-сервер"));
    EXPECT_EQ(form.optAccessType(2), nullptr);

    // Entering a server box selects its text.
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(form.txtAddress(), &focus);
    EXPECT_EQ(form.txtAddress()->selectedText(), QStringLiteral("p:8080"));

    form.show();
    QDir().mkpath(QStringLiteral(CORVID_BINARY_DIR "/test-output"));
    const QImage image = form.grab().toImage();
    EXPECT_TRUE(image.save(QStringLiteral(CORVID_BINARY_DIR "/test-output/frmProxyConfig.png")));
    const QImage icon = form.imgIcon(0)->grab().toImage();
    int ink = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            ink += icon.pixel(x, y) != icon.pixel(0, 0);
    EXPECT_GT(ink, 100) << "the PROXY picture is drawn";
}

TEST_F(frmProxyConfigTest, OkWritesBackAndCancelLeavesAlone)
{
    ProxySettings settings;
    {
        frmProxyConfig form;
        form.Init(&settings);
        EXPECT_TRUE(form.optAccessType(0)->isChecked());
        form.optAccessType(3)->click();
        form.txtAddress()->setText(QStringLiteral("q:3128"));
        form.txtUserName()->setText(QStringLiteral("user"));
        form.txtPassword()->setText(QStringLiteral("secret"));
        form.txtBypassList()->setText(QStringLiteral("*.corp"));
        form.chkBypassLocal()->setChecked(true);
        form.cmdOk()->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(settings.HTTP_AccessType(), psatProxy);
    EXPECT_EQ(settings.HTTP_Address(), QStringLiteral("q:3128"));
    EXPECT_EQ(settings.HTTP_UserName(), QStringLiteral("user"));
    EXPECT_EQ(settings.HTTP_Password(), QStringLiteral("secret"));
    EXPECT_EQ(settings.HTTP_BypassList(), QStringLiteral("*.corp"));
    EXPECT_TRUE(settings.HTTP_BypassLocal());

    // Through HTTP_ShowConfigDialog: its caption, and "Отмена" changes nothing.
    QString caption;
    const auto shown = corvid::test::whenShown<frmProxyConfig>([&](frmProxyConfig *form) {
        caption = form->windowTitle();
        form->optAccessType(1)->click();
        form->txtAddress()->setText(QStringLiteral("other:1"));
        form->cmdCancel()->click();
    });
    settings.HTTP_ShowConfigDialog();
    EXPECT_TRUE(*shown);
    EXPECT_EQ(caption, QStringLiteral("Параметры прокси-сервера для HTTP"));
    EXPECT_EQ(settings.HTTP_AccessType(), psatProxy);
    EXPECT_EQ(settings.HTTP_Address(), QStringLiteral("q:3128"));
}

TEST_F(frmProxyConfigTest, DetectCopiesTheSystemsSettings)
{
    struct Case {
        const char *name;
        std::function<void()> arrange;
        const char *address;
        const char *bypass;
        bool local;
        int option;
    };
    const auto kde = [this](const QByteArray &text) {
        QDir().mkpath(m_dir.filePath(QStringLiteral("config")));
        QFile file(m_dir.filePath(QStringLiteral("config/kioslaverc")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
    };
    const std::vector<Case> cases = {
        {"environment",
         [] {
             qputenv("http_proxy", "http://who:pw@env.proxy:3128/");
             qputenv("NO_PROXY", "localhost, .corp");
         },
         "env.proxy:3128", "localhost *.corp", false, 3},
        {"upper-case environment", [] { qputenv("HTTP_PROXY", "up.proxy:8000"); }, "up.proxy:8000", "old.list", true,
         3},
        {"nothing set: direct", [] {}, "old:1", "old.list", true, 1},
        {"GNOME, manual",
         [this] {
             fakeGSettings("org.gnome.system.proxy mode 'manual'\n"
                           "org.gnome.system.proxy ignore-hosts ['*.corp', '<local>']\n"
                           "org.gnome.system.proxy.ftp host 'f'\norg.gnome.system.proxy.ftp port 21\n"
                           "org.gnome.system.proxy.http host 'p'\norg.gnome.system.proxy.http port 8080\n"
                           "org.gnome.system.proxy.https host ''\norg.gnome.system.proxy.https port 0\n");
         },
         "p:8080", "*.corp", true, 3},
        {"GNOME, none", [this] { fakeGSettings("org.gnome.system.proxy mode 'none'\n"); }, "old:1", "old.list", true,
         1},
        {"GNOME, automatic: the environment decides",
         [this] {
             fakeGSettings("org.gnome.system.proxy mode 'auto'\n");
             qputenv("http_proxy", "e:1");
         },
         "e:1", "old.list", true, 3},
        {"KDE, manual",
         [&] {
             kde("[Proxy Settings]\nProxyType=1\nhttpProxy=http://k.example 8080\nftpProxy=ftp://f 21\n"
                 "NoProxyFor=<local>,.lan\n");
         },
         "k.example:8080", ".lan", true, 3},
        {"KDE, reversed exceptions",
         [&] { kde("[Proxy Settings]\nProxyType=1\nhttpProxy=k:1\nNoProxyFor=a\nReversedException=true\n"); }, "k:1",
         "old.list", true, 3},
        {"a proxy list without protocols", [] { qputenv("http_proxy", "plain:3128"); }, "plain:3128", "old.list", true,
         3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        corvid::test::clearProxyEnvironment();
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("PATH", m_path);
        c.arrange();
        ProxySettings settings;
        fill(settings, psatDirect, QStringLiteral("old:1"), QStringLiteral("user"), QStringLiteral("old.list"));
        frmProxyConfig form;
        form.Init(&settings);
        form.cmdDetect()->click();
        EXPECT_EQ(form.txtAddress()->text(), QLatin1String(c.address));
        EXPECT_EQ(form.txtBypassList()->text(), QLatin1String(c.bypass));
        EXPECT_EQ(form.chkBypassLocal()->isChecked(), c.local);
        EXPECT_TRUE(form.optAccessType(c.option)->isChecked());
        if (c.option == 3) {
            EXPECT_TRUE(form.txtUserName()->text().isEmpty());
            EXPECT_TRUE(form.txtPassword()->text().isEmpty());
        }
        EXPECT_EQ(settings.HTTP_Address(), QStringLiteral("old:1")) << "only Ok writes";
    }
}

TEST_F(frmProxyConfigTest, UnreadableDesktopSettingsShowTheMessageAndChangeNothing)
{
    fakeGSettings("", 1);
    ProxySettings settings;
    settings.setHTTP_AccessType(psatDirect);
    settings.setHTTP_Address(QStringLiteral("old:1"));
    frmProxyConfig form;
    form.Init(&settings);
    ScopedMessageBoxAnswerer answerer;
    form.cmdDetect()->click();
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests().front().text, QStringLiteral("Не удалось определить настройки прокси-сервера."));
    EXPECT_EQ(answerer.requests().front().style, 16);
    EXPECT_TRUE(form.optAccessType(1)->isChecked());
    EXPECT_EQ(form.txtAddress()->text(), QStringLiteral("old:1"));
}

} // namespace
