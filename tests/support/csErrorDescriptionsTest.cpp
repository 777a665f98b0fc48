#include "support/csSystem.h"

#include <gtest/gtest.h>

using namespace cs;

TEST(csGetAPIErrorDescription, WordsCommonCodesAsThePlatformDoes)
{
    struct Case {
        qint32 code;
        const char *text;
    };
    const Case cases[] = {
        {2, "The system cannot find the file specified."},
        {3, "The system cannot find the path specified."},
        {5, "Access is denied."},
        {32, "The process cannot access the file because it is being used by another process."},
        {87, "The parameter is incorrect."},
        {112, "There is not enough space on the disk."},
        {183, "Cannot create a file when that file already exists."},
        {259, "No more data is available."},
        {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
        {1223, "The operation was canceled by the user."},
        {10061, "No connection could be made because the target machine actively refused it."},
        {qint32(0x80004005), "Unspecified error"},
        {qint32(0x8000FFFF), "Catastrophic failure"},
        {qint32(0x80070005), "Access is denied."}, // a system error wrapped as a COM result
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(csGetAPIErrorDescription(c.code), QString::fromLatin1(c.text));
    }
}

TEST(csGetAPIErrorDescription, UnknownCodesHaveNoText)
{
    for (const qint32 code : {-1, 35, 99999, 12002, qint32(0x80070000 | 0x869F), qint32(0x80040000)}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(csGetAPIErrorDescription(code).isEmpty()) << csGetAPIErrorDescription(code).toStdString();
    }
}

TEST(csGetAPIErrorDescription, SystemTextsAreSentencesWithoutLineBreaks)
{
    int known = 0;
    for (qint32 code = 0; code < 12000; ++code) {
        const QString text = csGetAPIErrorDescription(code);
        if (text.isEmpty())
            continue;
        ++known;
        SCOPED_TRACE(code);
        EXPECT_TRUE(text.endsWith(QLatin1Char('.'))) << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')));
    }
    EXPECT_GT(known, 100);
}

TEST(csGetWinMMErrorDescription, KnowsTheMultimediaCodes)
{
    EXPECT_EQ(csGetWinMMErrorDescription(2),
              QStringLiteral("A device ID has been used that is out of range for your system."));
    EXPECT_EQ(csGetWinMMErrorDescription(11), QStringLiteral("An invalid parameter was passed to a system function."));
    EXPECT_TRUE(csGetWinMMErrorDescription(32).startsWith(QStringLiteral("The specified format is not supported")));
    EXPECT_TRUE(csGetWinMMErrorDescription(64).startsWith(QStringLiteral("The MIDI header was not prepared.")));
    EXPECT_TRUE(csGetWinMMErrorDescription(275).startsWith(QStringLiteral("Cannot find the specified file.")));
    for (qint32 code = 1; code <= 20; ++code)
        EXPECT_FALSE(csGetWinMMErrorDescription(code).isEmpty()) << "MMSYSERR code " << code;
    for (const qint32 code : {0, 21, 31, 999, -5})
        EXPECT_TRUE(csGetWinMMErrorDescription(code).isEmpty()) << code;
}

TEST(csGetModuleErrorDescription, CarriesWinInetsTable)
{
    EXPECT_EQ(csGetModuleErrorDescription(QStringLiteral("WinInet.DLL"), 12002),
              QStringLiteral("The operation timed out"));
    EXPECT_EQ(csGetModuleErrorDescription(QStringLiteral("wininet"), 12007),
              QStringLiteral("The server name or address could not be resolved"));
    EXPECT_EQ(csGetModuleErrorDescription(QStringLiteral("C:\\Windows\\System32\\WININET.dll"), 12029),
              QStringLiteral("A connection with the server could not be established"));
    EXPECT_EQ(csGetModuleErrorDescription(QStringLiteral("WinInet.DLL"), 12111),
              QStringLiteral("The FTP session was terminated"));

    EXPECT_TRUE(csGetModuleErrorDescription(QStringLiteral("WinInet.DLL"), 5).isEmpty());
    EXPECT_TRUE(csGetModuleErrorDescription(QStringLiteral("WinInet.DLL"), 12035).isEmpty());
    EXPECT_TRUE(csGetModuleErrorDescription(QStringLiteral("kernel32.dll"), 12002).isEmpty());
    EXPECT_TRUE(csGetModuleErrorDescription(QStringLiteral("WinInetX.DLL"), 12002).isEmpty());
    EXPECT_TRUE(csGetModuleErrorDescription(QString(), 12002).isEmpty());
}
