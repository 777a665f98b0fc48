#include "app/mail/modRFCEncoding.h"

#include <QByteArray>

#include <gtest/gtest.h>

using namespace quillon::modRFCEncoding;

namespace {

TEST(EncodeSubject, EscapesEveryByteOfTheCaption)
{
    const std::pair<const char *, const char *> cases[] = {
        // caption (UTF-8), encoded word
        {"", ""},
        {" ", "=?WINDOWS-1251?Q?=20?="},
        {"abc", "=?WINDOWS-1251?Q?=61=62=63?="},
        {"a\r\nb", "=?WINDOWS-1251?Q?=61=0D=0A=62?="},
        {"\xD0\x90", "=?WINDOWS-1251?Q?=C0?="}, // Cyrillic A
        {"\xE2\x82\xAC?", "=?WINDOWS-1251?Q?=88=3F?="}, // the euro sign is in Windows-1251
        // Windows-1251 has no emoji and no e-acute: the caption goes as UTF-8.
        {"a \xF0\x9F\x98\x80", "=?UTF-8?Q?=61=20=F0=9F=98=80?="},
        {"\xD0\x90\xC3\xA9", "=?UTF-8?Q?=D0=90=C3=A9?="},
    };
    for (const auto &[caption, encoded] : cases)
        EXPECT_EQ(EncodeSubject(QString::fromUtf8(caption)), QLatin1String(encoded)) << caption;

    const QString long400 = EncodeSubject(QString(400, QLatin1Char('x')));
    EXPECT_EQ(QLatin1String("Subject: ").size() + long400.size(), 1228);
    EXPECT_TRUE(long400.endsWith(QLatin1String("=78=78?=")));
}

TEST(FileNameParameters, OnlyPlainAsciiNamesGoInRaw)
{
    EXPECT_EQ(NameParameter(QStringLiteral("My photo (1).JPG")), QLatin1String("name=\"My photo (1).JPG\""));
    EXPECT_EQ(FileNameParameter(QStringLiteral("My photo (1).JPG")), QLatin1String("filename=\"My photo (1).JPG\""));
    EXPECT_EQ(NameParameter(QString::fromUtf8("\xD1\x84.jpg")), QLatin1String("name=\"=?UTF-8?B?0YQuanBn?=\""));
    EXPECT_EQ(FileNameParameter(QString::fromUtf8("\xD1\x84 (1).jpg")),
              QLatin1String("filename*=UTF-8''%D1%84%20%281%29.jpg"));

    for (const QString &name :
         {QStringLiteral("a\"b.png"), QStringLiteral("a\\b.png"), QStringLiteral("c\r\nd\t.gif")}) {
        const QString nameParameter = NameParameter(name);
        ASSERT_TRUE(nameParameter.startsWith(QLatin1String("name=\"=?UTF-8?B?"))) << nameParameter.toStdString();
        EXPECT_EQ(QByteArray::fromBase64(nameParameter.mid(16).chopped(3).toLatin1()), name.toUtf8());
        const QString fileNameParameter = FileNameParameter(name);
        ASSERT_TRUE(fileNameParameter.startsWith(QLatin1String("filename*=UTF-8''")));
        EXPECT_EQ(QByteArray::fromPercentEncoding(fileNameParameter.mid(17).toLatin1()), name.toUtf8());
        EXPECT_FALSE(fileNameParameter.contains(QLatin1Char('"')) || fileNameParameter.contains(QLatin1Char('\\')));
    }
}

} // namespace
