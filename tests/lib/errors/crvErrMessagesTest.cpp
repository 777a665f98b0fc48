// The message texts of crvErr and the logger's text of an error.
#include "lib/errors/crvErr.h"
#include "lib/errors/modEventLoggerSupport.h"

#include <gtest/gtest.h>

using tessera::crvErr;
using tessera::RuntimeError;
using tessera::modEventLoggerSupport::FormatErrorObject;

namespace {

TEST(crvErrMessages, ErrorRecordText)
{
    const struct {
        RuntimeError error;
        const char *text;
    } table[] = {
        {RuntimeError(53, QStringLiteral("File not found")), "Error number: 53\r\nDescription:  File not found"},
        {RuntimeError(0), "Unknown run-time error."},
        // CR LF pairs become blanks; a lone CR or LF stays.
        {RuntimeError(0, QStringLiteral("one\r\ntwo\rthree\nfour")), "Description:  one two\rthree\nfour"},
        {RuntimeError(RuntimeError::ObjectErrorBase + 1, QStringLiteral("Bad"), QStringLiteral("Tessera0301"),
                      QStringLiteral("/help/x.html"), 70000),
         "Error number: -2147221503 (0x80040001)\r\n"
         "Description:  Bad\r\n\r\n"
         "Source:       Tessera0301\r\n"
         "Help file:    /help/x.html\r\n"
         "Help context: 70000 (0x00011170)"},
        {RuntimeError(0, QStringLiteral(" "), QStringLiteral("S")), "Description:   \r\n\r\nSource:       S"},
    };
    crvErr err;
    for (const auto &row : table) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(err.GetErrorMessage(row.error), QString::fromLatin1(row.text));
    }
}

TEST(crvErrMessages, LoggerTextKeepsOneLineBreakOfADescription)
{
    EXPECT_EQ(FormatErrorObject(RuntimeError(0, QStringLiteral("Only this"))),
              QStringLiteral("Description:  Only this\r\n"));
    EXPECT_EQ(FormatErrorObject(RuntimeError(0)), QStringLiteral("Unknown run-time error."));
    EXPECT_EQ(FormatErrorObject(RuntimeError(429, {}, QStringLiteral("EventLogger.crvEventLogger"))),
              QStringLiteral("Error number: 429\r\nDescription:  ActiveX component can't create object\r\n\r\n"
                             "Source:       EventLogger.crvEventLogger"));
}

TEST(crvErrMessages, CodeTexts)
{
    crvErr err;
    EXPECT_EQ(err.GetErrorMessageAPI(0), QStringLiteral("Unknown Win32 API error."));
    EXPECT_EQ(err.GetErrorMessageAPI(5), QStringLiteral("Win32 API error: 5\r\nDescription: Access is denied."));
    EXPECT_EQ(err.GetErrorMessageAPI(99999), QStringLiteral("Win32 API error: 99999 (0x0001869F)"));
    EXPECT_EQ(err.GetErrorMessageWinMM(0), QStringLiteral("Unknown WinMM.DLL error."));
    EXPECT_TRUE(err.GetErrorMessageWinMM(2).startsWith(QStringLiteral("WinMM.DLL error: 2\r\nDescription: ")));
    EXPECT_EQ(err.GetErrorMessageWinMM(77777), QStringLiteral("WinMM.DLL error: 77777 (0x00012FD1)"));
    EXPECT_EQ(err.GetErrorMessageModule(0, QStringLiteral("Foo.DLL")), QStringLiteral("Unknown Foo.DLL error."));
    EXPECT_EQ(err.GetErrorMessageModule(5, QStringLiteral("Foo.DLL")), QStringLiteral("Foo.DLL error: 5"));
    EXPECT_TRUE(err.GetErrorMessageModule(12002, QStringLiteral("WinInet.DLL"))
                    .startsWith(QStringLiteral("WinInet.DLL error: 12002\r\nDescription: ")));
}

} // namespace
