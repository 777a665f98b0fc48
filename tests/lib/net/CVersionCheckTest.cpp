// The program version check: the verdict on version files, the version
// file's address, the internal name from the executable's version record,
// and the check itself against servers on 127.0.0.1 that answer, refuse,
// fail or say nothing.
#include "lib/net/CVersionCheck.h"

#include "lib/net/UserAgent_p.h"
#include "tests/common/ScopedEnvironment.h"
#include "tests/lib/net/LoopbackServers.h"

#include <QCoreApplication>
#include <QMutex>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

const QString Equal = QStringLiteral("У Вас свежая версия - обновление не требуется ^_^");
const QString SiteNewer = QStringLiteral("На сайте свежая версия - можно обновляться ^_^");
const QString LocalNewer = QStringLiteral("Привет, Врен-чан ^_~");
const QString Malformed = QStringLiteral("Сведения о версии программы на сайте получены, но они содержат ошибку.");
const QString BadNumbers
    = QStringLiteral("Сведения о версии программы на сайте получены, но они содержат ошибку. Номера указаны неверно.");

TEST(CVersionCheck, JudgesTheVersionFile)
{
    struct Case {
        QByteArray file;
        qint32 major, minor, revision;
        QString result; // when the numbers were read
        QString info; // when not
    };
    const QList<Case> cases = {
        {"1.2.3", 1, 2, 3, Equal, {}},
        {"1.2.3", 1, 1, 9, SiteNewer, {}},
        {"1.2.3", 1, 3, 0, LocalNewer, {}},
        {"1.2.3", 0, 99, 99, SiteNewer, {}},
        {"1.2.3", 2, 0, 0, LocalNewer, {}},
        {"1.2.345", 1, 2, 344, SiteNewer, {}},
        {"1.2.3\r\n", 1, 2, 3, Equal, {}},
        {" 1 . 2 . 3 ", 1, 2, 3, Equal, {}},
        {"1.2", 1, 2, 0, {}, Malformed},
        {"1.2.3.4", 1, 2, 3, {}, Malformed},
        {"", 1, 2, 3, {}, Malformed},
        {"1.x.3", 1, 2, 3, {}, BadNumbers},
        {"1..3", 1, 2, 3, {}, BadNumbers},
        {"1.2.99999999999", 1, 2, 3, {}, BadNumbers},
        // No version is negative; the number could not be shown either.
        {"1.-2.3", 1, 2, 3, {}, BadNumbers},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.constData());
        const VersionCheckOutcome outcome = CVersionCheck::Evaluate(c.file, c.major, c.minor, c.revision);
        EXPECT_EQ(outcome.Compared, c.info.isEmpty());
        EXPECT_EQ(outcome.ResultText, c.result);
        EXPECT_EQ(outcome.InfoText, c.info);
        if (outcome.Compared) {
            EXPECT_EQ(outcome.SiteMajor, 1);
            EXPECT_EQ(outcome.SiteMinor, 2);
        }
    }
}

TEST(CVersionCheck, TheAddressAndTheInternalName)
{
    {
        const corvid::test::ScopedEnvironment unset("TESSERA_VERSIONS_URL", QByteArray());
        EXPECT_EQ(CVersionCheck::VersionFolderURL(), QStringLiteral("http://www.sablewing.net/versions/"));
        EXPECT_EQ(CVersionCheck::VersionFileURL(QStringLiteral("Quillon")),
                  QStringLiteral("http://www.sablewing.net/versions/Version.Quillon.DAT"));
    }
    {
        const corvid::test::ScopedEnvironment mirror("TESSERA_VERSIONS_URL", "http://mirror.lan:8080/v");
        EXPECT_EQ(CVersionCheck::VersionFileURL(QStringLiteral("Dummy")),
                  QStringLiteral("http://mirror.lan:8080/v/Version.Dummy.DAT"));
    }
    EXPECT_EQ(CVersionCheck::HomePageURL(), QStringLiteral("http://www.sablewing.net/"));

    EXPECT_EQ(CVersionCheck::GetExeInternalName(QStringLiteral(CORVID_VERSION_RECORD_PROBE)), QStringLiteral("Probe"));
    EXPECT_EQ(CVersionCheck::GetExeInternalName(), QStringLiteral("Dummy")) << "the tests carry no version record";
    EXPECT_EQ(CVersionCheck::GetExeInternalName(QStringLiteral("/nonexistent")), QStringLiteral("Dummy"));
    EXPECT_TRUE(CVersionCheck::HasVersionRecord(QStringLiteral(CORVID_VERSION_RECORD_PROBE)));
    EXPECT_FALSE(CVersionCheck::HasVersionRecord(QCoreApplication::applicationFilePath()));
}

TEST(CVersionCheck, AsksTheSiteAndSaysWhatCameOfIt)
{
    corvid::test::clearProxyEnvironment();
    QMutex lock;
    httplib::Headers seen;
    corvid::test::HttpServer server([&](httplib::Server &s) {
        s.Get("/versions/Version.Quillon.DAT", [&](const httplib::Request &q, httplib::Response &r) {
            QMutexLocker l(&lock);
            seen = q.headers;
            r.set_content("1.0.40", "text/plain");
        });
        s.Get("/versions/Version.Large.DAT", [](const httplib::Request &, httplib::Response &r) {
            r.set_content(std::string(1024 * 1024, '1'), "application/octet-stream");
        });
        s.Get("/versions/Version.Created.DAT", [](const httplib::Request &, httplib::Response &r) {
            r.status = 201;
            r.set_content("1.0.40", "text/plain");
        });
    });
    corvid::test::SilentListener silent;
    const QString base = QStringLiteral("http://127.0.0.1:%1/versions/").arg(server.port());
    struct Case {
        const char *what;
        QString url;
        bool compared;
        QString text;
    };
    const QList<Case> cases = {
        {"a newer version", base + QStringLiteral("Version.Quillon.DAT"), true, SiteNewer},
        {"a missing file", base + QStringLiteral("Version.Dummy.DAT"), false,
         QStringLiteral("Не удалось получить сведения о версии программы на сайте. Сервер сказал: 404, Not Found")},
        {"201 is not 200", base + QStringLiteral("Version.Created.DAT"), false,
         QStringLiteral("Не удалось получить сведения о версии программы на сайте. Сервер сказал: 201, Created")},
        {"a file larger than any version text is not read to its end", base + QStringLiteral("Version.Large.DAT"),
         false, QStringLiteral("Не удалось получить сведения о версии программы на сайте. Сервер сказал: 200, OK")},
        {"nothing listens", QStringLiteral("http://127.0.0.1:%1/v/Version.Dummy.DAT").arg(corvid::test::unusedPort()),
         false,
         QStringLiteral("Произошла ошибка 12029 при соединении с сервером. A connection with the server could not be "
                        "established")},
        {"a server that does not answer", QStringLiteral("http://127.0.0.1:%1/v/Version.Dummy.DAT").arg(silent.port()),
         false, QStringLiteral("Произошла ошибка 12002 при соединении с сервером. The operation timed out")},
        {"a port no address can carry", QStringLiteral("http://127.0.0.1:70000/v/Version.Dummy.DAT"), false,
         QStringLiteral("Произошла ошибка 6 при соединении с сервером. Overflow")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const VersionCheckOutcome outcome = CVersionCheck::Check(c.url, 1, 0, 39, 1500);
        EXPECT_EQ(outcome.Compared, c.compared);
        EXPECT_EQ(c.compared ? outcome.ResultText : outcome.InfoText, c.text);
    }
    QMutexLocker l(&lock);
    const auto header = [&](const char *name) {
        const auto it = seen.find(name);
        return it == seen.end() ? QString() : QString::fromStdString(it->second);
    };
    EXPECT_EQ(header("User-Agent"), detail::makeUserAgent(QStringLiteral("Tessera0301"), 1, 0, 0));
    EXPECT_EQ(header("X-Devote-To"), QStringLiteral("Sorrel ^_^!"));
    EXPECT_EQ(header("Cookie"), QString());
}

} // namespace
