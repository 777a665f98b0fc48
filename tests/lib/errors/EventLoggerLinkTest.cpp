// Attaching, using and detaching the outside event logger.
#include "lib/errors/CAppStub.h"
#include "lib/errors/CEventLoggerStub.h"
#include "lib/errors/crvErr.h"
#include "support/csFiles.h"
#include "support/csSystem.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/errors/EventLoggerFixture.h"

#include <QCoreApplication>
#include <QPointer>

#include <thread>
#include <unistd.h>

using corvid::test::raisedNumber;
using tessera::CAppStub;
using tessera::CEventLoggerStub;
using tessera::crvErr;

namespace {

using EventLoggerLink = corvid::test::EventLoggerFixture;

TEST_F(EventLoggerLink, WithNoComponentInstalledAttachFailsQuietly)
{
    crvErr err;
    EXPECT_FALSE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 2, 3));
    EXPECT_TRUE(err.LastEventLoggerError().startsWith(QStringLiteral("Error number: 429\r\n")))
        << qPrintable(err.LastEventLoggerError());
    EXPECT_EQ(proxyOf(err)->attachedLogger(), nullptr);

    // Reports go nowhere and fail nothing.
    tessera::IEventLogger2 *logger = err.Logger();
    logger->ReportEvent(QStringLiteral("text"), 2, QStringLiteral("source"), 1);
    logger->InitEventLogger2({}, {}, {}, 1, 2, 3, 4, 5, {});
    EXPECT_EQ(logger->LogMode(), 0);
    EXPECT_EQ(proxyOf(err)->UserName(), cs::csGetUserName());
}

TEST_F(EventLoggerLink, AttachInitialisesTheLoggerWithNineArguments)
{
    registerRecorder();
    crvErr err;
    ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Quillon"), 2, 5, 39));
    EXPECT_TRUE(err.LastEventLoggerError().isEmpty());
    QObject *recorder = proxyOf(err)->attachedLogger();
    ASSERT_NE(recorder, nullptr);
    const QList<QVariantList> init = calls(recorder, QStringLiteral("InitEventLogger2"));
    ASSERT_EQ(init.size(), 1);
    EXPECT_EQ(init.first(),
              (QVariantList {cs::csGetComputerName(), cs::csGetUserName(), QStringLiteral("Quillon"), 2, 5, 39,
                             qint32(QCoreApplication::applicationPid()), qint32(::gettid()),
                             cs::csGetLongFileName(cs::csGetEXEModuleFullFileName())}));
    EXPECT_EQ(calls(recorder).first().first(), QVariant(QStringLiteral("InitEventLogger2"))) << "called first";
}

TEST_F(EventLoggerLink, ProxyForwardsEveryMember)
{
    registerRecorder();
    crvErr err;
    ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0));
    CEventLoggerStub *proxy = proxyOf(err);
    QObject *recorder = proxy->attachedLogger();
    CAppStub app;
    proxy->InitEventLogger(QStringLiteral("pc"), QStringLiteral("me"), &app, 10, 11, QStringLiteral("/bin/x"));
    proxy->InitEventLogger2(QStringLiteral("pc"), QStringLiteral("me"), QStringLiteral("T"), 1, 2, 3, 10, 11,
                            QStringLiteral("/bin/x"));
    proxy->setUserName(QStringLiteral("someone"));
    EXPECT_EQ(proxy->UserName(), QStringLiteral("someone"));
    recorder->setProperty("LogMode", 7);
    EXPECT_EQ(proxy->LogMode(), 7);

    EXPECT_EQ(calls(recorder, QStringLiteral("InitEventLogger")).last(),
              (QVariantList {QStringLiteral("pc"), QStringLiteral("me"), QVariant::fromValue<QObject *>(&app), 10, 11,
                             QStringLiteral("/bin/x")}));
    EXPECT_EQ(calls(recorder, QStringLiteral("InitEventLogger2")).last(),
              (QVariantList {QStringLiteral("pc"), QStringLiteral("me"), QStringLiteral("T"), 1, 2, 3, 10, 11,
                             QStringLiteral("/bin/x")}));
}

TEST_F(EventLoggerLink, AFailingInitialisationStillAttaches)
{
    registerRecorder();
    failIn("InitEventLogger2");
    crvErr err;
    EXPECT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0));
    EXPECT_EQ(err.LastEventLoggerError(),
              QStringLiteral("Error number: -2147220991 (0x80040201)\r\n"
                             "Description:  The recording event logger was told to fail in InitEventLogger2\r\n\r\n"
                             "Source:       EventLogger.crvEventLogger"));
    EXPECT_NE(proxyOf(err)->attachedLogger(), nullptr);
}

TEST_F(EventLoggerLink, AnObjectWithoutApplicationInformationChangesNothing)
{
    registerRecorder();
    crvErr err;
    ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0));
    QObject *attached = proxyOf(err)->attachedLogger();
    QObject notAnApp;
    EXPECT_FALSE(err.InitEventLogger(&notAnApp));
    EXPECT_TRUE(err.LastEventLoggerError().startsWith(QStringLiteral("Error number: 13\r\n")));
    EXPECT_FALSE(err.InitEventLogger(nullptr));
    EXPECT_TRUE(err.LastEventLoggerError().startsWith(QStringLiteral("Error number: 91\r\n")));
    EXPECT_EQ(proxyOf(err)->attachedLogger(), attached);

    EXPECT_EQ(raisedNumber([&] { err.InitEventLoggerNonVB(QStringLiteral("Host"), 40000, 0, 0); }), 6);
    EXPECT_EQ(raisedNumber([&] { err.InitEventLoggerNonVB(QStringLiteral("Host"), 0, 0, -32769); }), 6);
}

TEST_F(EventLoggerLink, LoggerPassesTheUserNameAndDetachesWhenThatFails)
{
    registerRecorder();
    crvErr err;
    ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0));
    QPointer<QObject> recorder = proxyOf(err)->attachedLogger();
    EXPECT_EQ(calls(recorder, QStringLiteral("UserName")).last(), QVariantList {cs::csGetUserName()});

    failIn("UserName");
    tessera::IEventLogger2 *logger = err.Logger();
    EXPECT_NE(logger, nullptr);
    EXPECT_TRUE(recorder.isNull()) << "the failing logger is released";
    EXPECT_TRUE(err.LastEventLoggerError().contains(QStringLiteral("told to fail in UserName")));
    logger->ReportEvent(QStringLiteral("dropped"), 2, QStringLiteral("source"), 1);
}

TEST_F(EventLoggerLink, DisposeDetachesAndReturnsEmpty)
{
    registerRecorder();
    crvErr err;
    ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0));
    QPointer<QObject> recorder = proxyOf(err)->attachedLogger();
    EXPECT_FALSE(err.DisposeEventLogger().isValid());
    EXPECT_TRUE(recorder.isNull());
}

TEST_F(EventLoggerLink, EachThreadHasItsProxyWhileACrvErrLivesThere)
{
    registerRecorder();
    crvErr here;
    tessera::IEventLogger2 *mainProxy = here.Logger();
    tessera::IEventLogger2 *threadProxy = nullptr;
    QPointer<QObject> threadLogger;
    bool attachedOnThread = false;
    bool survivedFirstRelease = false;
    std::thread worker([&] {
        auto first = std::make_unique<crvErr>();
        crvErr second;
        threadProxy = second.Logger();
        EXPECT_EQ(first->Logger(), threadProxy) << "instances of a thread share one proxy";
        attachedOnThread = first->InitEventLoggerNonVB(QStringLiteral("Worker"), 1, 0, 0);
        threadLogger = proxyOf(second)->attachedLogger();
        first.reset();
        survivedFirstRelease = !threadLogger.isNull();
    });
    worker.join();
    EXPECT_NE(threadProxy, mainProxy);
    EXPECT_TRUE(attachedOnThread);
    EXPECT_TRUE(survivedFirstRelease);
    EXPECT_TRUE(threadLogger.isNull()) << "released with the thread's last crvErr";
    EXPECT_EQ(proxyOf(here)->attachedLogger(), nullptr) << "the main thread's proxy got no logger";
}

TEST_F(EventLoggerLink, AttachNeverRaisesWhateverTheComponentThrows)
{
    registerRecorder();
    const struct {
        const char *failing;
        bool attached;
        const char *errorStart;
    } cases[] = {
        {"new", false, "Error number: -2147220991"},
        {"new:std", false, "Error number: 429"},
        {"new:int", false, "Error number: 429"},
        {"InitEventLogger2:std", true, "Error number: -2147467259"},
        {"InitEventLogger2:int", true, "Error number: -2147467259"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.failing);
        failIn(c.failing);
        crvErr err;
        bool attached = !c.attached;
        EXPECT_NO_THROW(attached = err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0));
        EXPECT_EQ(attached, c.attached);
        EXPECT_TRUE(err.LastEventLoggerError().startsWith(QLatin1String(c.errorStart)))
            << qPrintable(err.LastEventLoggerError());
    }
}

TEST_F(EventLoggerLink, AnInstanceKeepsItsThreadsProxyWhereverItIsUsedOrReleased)
{
    registerRecorder();
    std::unique_ptr<crvErr> err;
    QPointer<QObject> recorder;
    std::thread maker([&] {
        err = std::make_unique<crvErr>();
        ASSERT_TRUE(err->InitEventLoggerNonVB(QStringLiteral("Maker"), 1, 0, 0));
        recorder = proxyOf(*err)->attachedLogger();
    });
    maker.join(); // the instance outlives the thread that made it
    ASSERT_TRUE(err && recorder);

    std::thread user([&] {
        EXPECT_EQ(err->ErrorDisplayAPI(5, 16, {}, {}, true), 1);
        const QList<QVariantList> reports = calls(recorder, QStringLiteral("ReportEvent"));
        ASSERT_EQ(reports.size(), 1);
        EXPECT_EQ(reports.first().at(2), QStringLiteral("Win32 API Error"));
        {
            crvErr local;
            EXPECT_NE(local.Logger(), err->Logger()) << "this thread has a proxy of its own";
        }
        EXPECT_FALSE(recorder.isNull()) << "a thread's last crvErr releases only that thread's proxy";
        err.reset();
    });
    user.join();
    EXPECT_TRUE(recorder.isNull()) << "released with the last crvErr of the thread that made it";
}

} // namespace
