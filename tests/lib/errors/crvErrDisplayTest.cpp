// The display operations: what they report to the logger and what they show.
#include "lib/errors/crvErr.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "support/csWindows.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/errors/EventLoggerFixture.h"

#include <functional>

using corvid::test::raisedNumber;
using tessera::crvErr;
using tessera::MessageBox;
using tessera::RuntimeError;
using tessera::ScopedMessageBoxAnswerer;

namespace {

class crvErrDisplay : public corvid::test::EventLoggerFixture
{
protected:
    void SetUp() override
    {
        EventLoggerFixture::SetUp();
        registerRecorder();
        ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Host"), 1, 0, 0))
            << qPrintable(err.LastEventLoggerError());
        recorder = proxyOf(err)->attachedLogger();
    }

    crvErr err;
    QObject *recorder = nullptr;
};

// One display operation, called with the shared display options.
using Display
    = std::function<qint32(crvErr &, qint32 style, const QString &title, const QString &description, bool silent)>;

struct DisplayCase {
    const char *name;
    Display display;
    QString message; // what the matching text operation gives
    QString source;
    qint32 eventId;
};

TEST_F(crvErrDisplay, EveryOperationReportsAndShowsItsText)
{
    const RuntimeError error(53, QStringLiteral("File not found"));
    const DisplayCase cases[] = {
        {"ErrorDisplay",
         [&](crvErr &e, qint32 s, const QString &t, const QString &d, bool q) {
             return e.ErrorDisplay(error, s, t, d, q);
         },
         err.GetErrorMessage(error), QStringLiteral("Visual Basic Error"), 53},
        {"ErrorDisplayAPI",
         [](crvErr &e, qint32 s, const QString &t, const QString &d, bool q) {
             return e.ErrorDisplayAPI(5, s, t, d, q);
         },
         err.GetErrorMessageAPI(5), QStringLiteral("Win32 API Error"), 5},
        {"ErrorDisplayWinMM",
         [](crvErr &e, qint32 s, const QString &t, const QString &d, bool q) {
             return e.ErrorDisplayWinMM(2, s, t, d, q);
         },
         err.GetErrorMessageWinMM(2), QStringLiteral("WinMM.DLL Error"), 2},
        {"ErrorDisplayModule",
         [](crvErr &e, qint32 s, const QString &t, const QString &d, bool q) {
             return e.ErrorDisplayModule(12002, QStringLiteral("WinInet.DLL"), s, t, d, q);
         },
         err.GetErrorMessageModule(12002, QStringLiteral("WinInet.DLL")), QStringLiteral("WinInet.DLL Error"), 12002},
    };
    for (const DisplayCase &c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = calls(recorder, QStringLiteral("ReportEvent")).size();
        {
            ScopedMessageBoxAnswerer answerer(MessageBox::Retry);
            EXPECT_EQ(c.display(err, 5, QStringLiteral("Mine"), {}, false), MessageBox::Retry);
            ASSERT_EQ(answerer.requests().size(), 1);
            EXPECT_EQ(answerer.requests().first().text, c.message);
            EXPECT_EQ(answerer.requests().first().style, 5);
            EXPECT_EQ(answerer.requests().first().title, QStringLiteral("Mine"));

            // Silent: reported all the same, nothing shown, OK returned.
            EXPECT_EQ(c.display(err, 16, {}, QStringLiteral("It failed."), true), MessageBox::Ok);
            EXPECT_EQ(answerer.requests().size(), 1);
        }
        const auto reports = calls(recorder, QStringLiteral("ReportEvent"));
        ASSERT_EQ(reports.size(), before + 2);
        EXPECT_EQ(reports.at(before), (QVariantList {c.message, 2, c.source, c.eventId}));
        EXPECT_EQ(reports.at(before + 1),
                  (QVariantList {QStringLiteral("It failed.\r\n\r\n") + c.message, 2, c.source, c.eventId}));
    }
}

TEST_F(crvErrDisplay, CallersSentenceComesFirstAndTheTitleDefaultsToTheHosts)
{
    ScopedMessageBoxAnswerer answerer;
    err.ErrorDisplayAPI(5, 16, {}, QStringLiteral("The file was not saved."));
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests().first().text,
              QStringLiteral("The file was not saved.\r\n\r\n") + err.GetErrorMessageAPI(5));
    EXPECT_EQ(answerer.requests().first().title, cs::csGetThunderMainTitle());
    EXPECT_FALSE(answerer.requests().first().title.isEmpty());
}

TEST_F(crvErrDisplay, OnlyAnErrorWithAHelpFileGetsTheHelpButton)
{
    ScopedMessageBoxAnswerer answerer;
    err.ErrorDisplay(RuntimeError(5, {}, {}, QStringLiteral("/help/app.html"), 12), 48);
    err.ErrorDisplay(RuntimeError(5, {}, {}, {}, 12), 48);
    err.ErrorDisplayAPI(5, 48);
    ASSERT_EQ(answerer.requests().size(), 3);
    EXPECT_EQ(answerer.requests().at(0).style, 48 | MessageBox::HelpButton);
    EXPECT_EQ(answerer.requests().at(0).helpFile, QStringLiteral("/help/app.html"));
    EXPECT_EQ(answerer.requests().at(0).helpContext, 12);
    for (int i : {1, 2}) {
        EXPECT_EQ(answerer.requests().at(i).style, 48);
        EXPECT_TRUE(answerer.requests().at(i).helpFile.isEmpty());
    }
}

TEST_F(crvErrDisplay, AFailingReportReachesTheCallerBeforeAnythingIsShown)
{
    failIn("ReportEvent");
    ScopedMessageBoxAnswerer answerer;
    EXPECT_EQ(raisedNumber([&] { err.ErrorDisplayAPI(5); }), RuntimeError::ObjectErrorBase + 513);
    EXPECT_TRUE(answerer.requests().isEmpty());
}

TEST_F(crvErrDisplay, WithoutALoggerDisplayWorksTheSame)
{
    err.DisposeEventLogger();
    ScopedMessageBoxAnswerer answerer(MessageBox::Cancel);
    EXPECT_EQ(err.ErrorDisplayWinMM(0, 1), MessageBox::Cancel);
    ASSERT_EQ(answerer.requests().size(), 1);
    EXPECT_EQ(answerer.requests().first().text, QStringLiteral("Unknown WinMM.DLL error."));
}

} // namespace
