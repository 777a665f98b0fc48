// The FTP listing reader on lines of real servers (Unix "ls -l" with a year
// or a time of day, symbolic links and devices, DOS/IIS with 12- and 24-hour
// times, MLSD facts) and on broken ones; the listing split anywhere; and the
// find patterns of the original platform.
#include "lib/net/FtpListing_p.h"
#include "platform/ProcessTimes.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tessera::detail;

namespace {

// The reader's "now": a local time in the middle of a year.
const QDateTime Now(QDate(2024, 6, 15), QTime(10, 0));

constexpr quint32 Normal = FileAttribute::Normal;
constexpr quint32 Dir = FileAttribute::Directory;
constexpr quint32 Link = FileAttribute::ReparsePoint;
constexpr quint32 ReadOnly = FileAttribute::ReadOnly;

// A write time as the entry holds it, read back the way its listing states
// it: LIST in local time, MLSD in UTC.
QString writeTime(const FtpFindData &entry, FtpListingFormat format)
{
    if (entry.LastWriteTime == 0)
        return QStringLiteral("none");
    const QDateTime utc = tessera::FileTimeToDateTime(entry.LastWriteTime);
    return (format == FtpListingFormat::Mlsd ? utc : utc.toLocalTime()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

TEST(FtpListingLine, ReadsTheLinesOfRealServers)
{
    struct Case {
        FtpListingFormat format;
        QByteArray line;
        bool entry;
        QString name;
        quint32 attributes;
        quint64 size;
        QString written;
    };
    const auto L = FtpListingFormat::List;
    const auto M = FtpListingFormat::Mlsd;
    const QList<Case> cases = {
        // Unix, this year's files with a time of day, older ones with a year.
        {L, "drwxr-xr-x    2 ftp      ftp          4096 Jan 01 12:34 pub", true, QStringLiteral("pub"), Dir, 4096,
         QStringLiteral("2024-01-01 12:34:00")},
        {L, "-rw-r--r--    1 ftp      ftp      5000000000 Mar 15  2019 big file.iso", true,
         QStringLiteral("big file.iso"), Normal, 5000000000ULL, QStringLiteral("2019-03-15 00:00:00")},
        {L, "lrwxrwxrwx    1 root     root           11 Feb  3 09:00 latest -> pub/v1.2", true,
         QStringLiteral("latest"), Link, 11, QStringLiteral("2024-02-03 09:00:00")},
        {L, "-r--r--r--    1 user     group         123 Dec 31 23:59 readonly.txt", true,
         QStringLiteral("readonly.txt"), ReadOnly, 123, QStringLiteral("2023-12-31 23:59:00")},
        {L, "-rw-r--r--   1 1000     1000           42 Jun 16 08:00 tomorrow.txt", true, QStringLiteral("tomorrow.txt"),
         Normal, 42, QStringLiteral("2024-06-16 08:00:00")},
        {L, "-rw-r--r--   1 owner    42 Jul  1 08:00 no group.txt", true, QStringLiteral("no group.txt"), Normal, 42,
         QStringLiteral("2023-07-01 08:00:00")},
        {L, "drwxrwxrwt+  3 root root 4096 Feb 29 10:00 leap", true, QStringLiteral("leap"), Dir, 4096,
         QStringLiteral("2024-02-29 10:00:00")},
        {L, "-rw-r--r--    1 ftp ftp  7 jan 01  2020   two leading blanks", true,
         QStringLiteral("  two leading blanks"), Normal, 7, QStringLiteral("2020-01-01 00:00:00")},
        {L, "crw-rw-rw-    1 root  root    1,   3 Jan  1  2020 null", true, QStringLiteral("null"), Normal, 3,
         QStringLiteral("2020-01-01 00:00:00")},
        {L, "-rw-rw-r--@  1 me  staff  9 Apr  2  2021 имя файла.txt", true, QStringLiteral("имя файла.txt"), Normal, 9,
         QStringLiteral("2021-04-02 00:00:00")},
        {L, "-rw-r--r-- 1 ftp ftp 5 May  5  2005 \xcf\xf0\xe8\xe2\xe5\xf2.txt", true, QStringLiteral("Привет.txt"),
         Normal, 5, QStringLiteral("2005-05-05 00:00:00")},
        {L, "drwxr-xr-x 2 ftp ftp 4096 Jan 01  2020 .", true, QStringLiteral("."), Dir, 4096,
         QStringLiteral("2020-01-01 00:00:00")},
        {L, "-rw-r--r--\t1 ftp\tftp\t10 Jan 01  2020 tabs", true, QStringLiteral("tabs"), Normal, 10,
         QStringLiteral("2020-01-01 00:00:00")},
        {L, "total 123", false, {}, 0, 0, {}},
        {L, "-rw-r--r-- 1 ftp ftp 10 Foo 01  2020 not a month", false, {}, 0, 0, {}},
        {L, "-rw-r--r-- 1 ftp ftp 10 Feb 30  2020 no such day", false, {}, 0, 0, {}},
        {L, "-rw-r--r-- 1 ftp ftp 10 Jan 01 24:00 no such hour", false, {}, 0, 0, {}},
        {L, "-rw-r--r-- 1 ftp ftp 99999999999999999999 Jan 01  2020 too large", false, {}, 0, 0, {}},
        {L, "-rw-r--r-- 1 ftp ftp 10 Jan 01  2020 ", false, {}, 0, 0, {}},
        {L, "-rw-r--r-- 1 ftp ftp 10 Jan 01  20 short year", false, {}, 0, 0, {}},
        {L, "-rwxrwxrwx", false, {}, 0, 0, {}},
        {L, "?rw-r--r-- 1 ftp ftp 10 Jan 01  2020 odd type", false, {}, 0, 0, {}},
        {L, "", false, {}, 0, 0, {}},
        // DOS and IIS.
        {L, "01-16-02  11:14AM       <DIR>          epsgroup", true, QStringLiteral("epsgroup"), Dir, 0,
         QStringLiteral("2002-01-16 11:14:00")},
        {L, "06-05-03  03:19PM                 1973 readme.txt", true, QStringLiteral("readme.txt"), Normal, 1973,
         QStringLiteral("2003-06-05 15:19:00")},
        {L, "12-05-2011  12:05AM            12345 name with  blanks.txt", true, QStringLiteral("name with  blanks.txt"),
         Normal, 12345, QStringLiteral("2011-12-05 00:05:00")},
        {L, "12-05-11  12:30PM  <DIR>  noon", true, QStringLiteral("noon"), Dir, 0,
         QStringLiteral("2011-12-05 12:30:00")},
        {L, "02-29-2024  14:22           5000000000 big.iso", true, QStringLiteral("big.iso"), Normal, 5000000000ULL,
         QStringLiteral("2024-02-29 14:22:00")},
        {L, "01/16/69  11:14am  1 y2069", true, QStringLiteral("y2069"), Normal, 1,
         QStringLiteral("2069-01-16 11:14:00")},
        {L, "01-16-70  11:14AM  1 y1970", true, QStringLiteral("y1970"), Normal, 1,
         QStringLiteral("1970-01-16 11:14:00")},
        {L, "01-16-02  11:14AM  1,234 commas.txt", true, QStringLiteral("commas.txt"), Normal, 1234,
         QStringLiteral("2002-01-16 11:14:00")},
        {L, "13-05-11  01:00AM  1 no such month", false, {}, 0, 0, {}},
        {L, "01-16-02  13:14PM  1 no such hour", false, {}, 0, 0, {}},
        {L, "01-16-02  00:14AM  1 no hour zero", false, {}, 0, 0, {}},
        {L, "01-16-02  11:14AM  ,1 comma first", false, {}, 0, 0, {}},
        {L, "01-16-02  11:14AM  <DIR>", false, {}, 0, 0, {}},
        {L, QByteArray("01-16-02  11:14AM  <DIR>  \0hidden", 33), false, {}, 0, 0, {}},
        {L, QByteArray("-rw-r--r-- 1 u g 1 Jan 01  2020 \0x", 34), false, {}, 0, 0, {}},
        // MLSD (times in UTC).
        {M, "type=file;size=1973;modify=20030605151900; readme.txt", true, QStringLiteral("readme.txt"), Normal, 1973,
         QStringLiteral("2003-06-05 15:19:00")},
        {M, "type=dir;modify=20240101000000;perm=flcdmpe; pub", true, QStringLiteral("pub"), Dir, 0,
         QStringLiteral("2024-01-01 00:00:00")},
        {M, "Type=File;Size=5000000000;Modify=20190315120000.123; big file.iso", true, QStringLiteral("big file.iso"),
         Normal, 5000000000ULL, QStringLiteral("2019-03-15 12:00:00")},
        {M, "type=OS.unix=slink:/etc;modify=20200101000000; link", true, QStringLiteral("link"), Link, 0,
         QStringLiteral("2020-01-01 00:00:00")},
        {M, "type=file;perm=r;size=5; read only.txt", true, QStringLiteral("read only.txt"), ReadOnly, 5,
         QStringLiteral("none")},
        {M, "type=file;size=1; name; with; semicolons", true, QStringLiteral("name; with; semicolons"), Normal, 1,
         QStringLiteral("none")},
        {M, "type=file;modify=00000000000000; zero time", true, QStringLiteral("zero time"), Normal, 0,
         QStringLiteral("none")},
        {M, "size=3;unix.mode=0644; no type", true, QStringLiteral("no type"), Normal, 3, QStringLiteral("none")},
        {M, "type=cdir;modify=20200101000000; /pub", false, {}, 0, 0, {}},
        {M, "type=pdir;modify=20200101000000; ..", false, {}, 0, 0, {}},
        {M, "type=file;size=x; bad size", false, {}, 0, 0, {}},
        {M, "type=file;size=1;", false, {}, 0, 0, {}},
        {M, "type=file;size=1; ", false, {}, 0, 0, {}},
        {M, "nofacts", false, {}, 0, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.constData());
        const std::optional<FtpFindData> entry = parseListingLine(c.line, c.format, Now);
        ASSERT_EQ(entry.has_value(), c.entry);
        if (!entry)
            continue;
        EXPECT_EQ(entry->FileName, c.name);
        EXPECT_EQ(entry->FileAttributes, c.attributes);
        EXPECT_EQ((quint64(entry->FileSizeHigh) << 32) | entry->FileSizeLow, c.size);
        EXPECT_EQ(writeTime(*entry, c.format), c.written);
        EXPECT_EQ(entry->LastAccessTime, entry->LastWriteTime);
        EXPECT_EQ(entry->AlternateFileName, QString());
    }

    // MLSD's own creation time.
    const auto created = parseListingLine("type=file;size=1;create=20000101000000;modify=20010101000000; c",
                                          FtpListingFormat::Mlsd, Now);
    ASSERT_TRUE(created);
    EXPECT_EQ(tessera::FileTimeToDateTime(created->CreationTime), QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(tessera::FileTimeToDateTime(created->LastWriteTime), QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC));
    // 5 000 000 000 bytes are the halves 1 and 705032704.
    const auto big = parseListingLine("type=file;size=5000000000; b", FtpListingFormat::Mlsd, Now);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->FileSizeHigh, 1u);
    EXPECT_EQ(big->FileSizeLow, 705032704u);
}

TEST(FtpListingLine, AListingReadsTheSameInPiecesAndDropsOverlongLines)
{
    const QByteArray listing = "total 3\r\n"
                               "drwxr-xr-x    2 ftp ftp 4096 Jan 01 12:34 pub\r\n"
                               "-rw-r--r--    1 ftp ftp 12 Mar 15  2019 a.txt\n"
                               "-rw-r--r--    1 ftp ftp 13 Mar 15  2019 "
        + QByteArray(MaxListingLine, 'x')
        + "\r\n"
          "-rw-r--r--    1 ftp ftp 14 Mar 15  2019 last, no line end";
    const QStringList expected = {QStringLiteral("pub"), QStringLiteral("a.txt"), QStringLiteral("last, no line end")};
    const auto namesOf = [](const QList<FtpFindData> &entries) {
        QStringList names;
        for (const FtpFindData &entry : entries)
            names << entry.FileName;
        return names;
    };
    for (const qsizetype piece : {qsizetype(1), qsizetype(2), qsizetype(7), qsizetype(4096), listing.size()}) {
        SCOPED_TRACE(piece);
        FtpListingParser parser(FtpListingFormat::List, Now);
        for (qsizetype at = 0; at < listing.size(); at += piece)
            parser.feed(QByteArrayView(listing).sliced(at, std::min(piece, listing.size() - at)));
        EXPECT_EQ(namesOf(parser.takeEntries()), expected.first(2)) << "the last line waits for its end";
        parser.finish();
        EXPECT_EQ(namesOf(parser.takeEntries()), expected.last(1));
    }
}

TEST(FtpFindPattern, MatchesAsTheOriginalFindFunctions)
{
    struct Case {
        QString name;
        QString pattern;
        bool matches;
    };
    const QList<Case> cases = {
        {QStringLiteral("readme.txt"), QStringLiteral("*"), true},
        {QStringLiteral("readme.txt"), QStringLiteral("*.*"), true},
        {QStringLiteral("readme"), QStringLiteral("*.*"), true},
        {QStringLiteral(".profile"), QStringLiteral("*.*"), true},
        {QStringLiteral("readme"), QStringLiteral("*."), true},
        {QStringLiteral("readme.txt"), QStringLiteral("*."), false},
        {QStringLiteral("README.TXT"), QStringLiteral("*.txt"), true},
        {QStringLiteral("a.b.txt"), QStringLiteral("*.txt"), true},
        {QStringLiteral("file.tar.gz"), QStringLiteral("*.gz"), true},
        {QStringLiteral("file.tar.gz"), QStringLiteral("*.tar"), false},
        {QStringLiteral("a.txt"), QStringLiteral("?.txt"), true},
        {QStringLiteral("ab.txt"), QStringLiteral("?.txt"), false},
        {QStringLiteral("a"), QStringLiteral("a?"), true},
        {QStringLiteral("a.txt"), QStringLiteral("a?.txt"), true},
        {QStringLiteral("ab.txt"), QStringLiteral("a?.txt"), true},
        {QStringLiteral("abc.txt"), QStringLiteral("a?.txt"), false},
        {QStringLiteral("a.b"), QStringLiteral("a?b"), false},
        {QStringLiteral("abc"), QStringLiteral("a*c"), true},
        {QStringLiteral("ac"), QStringLiteral("a*c"), true},
        {QStringLiteral("ab"), QStringLiteral("a*c"), false},
        {QStringLiteral("a.b"), QStringLiteral("a.b"), true},
        {QStringLiteral("ab"), QStringLiteral("a.b"), false},
        {QStringLiteral("a"), QStringLiteral("a."), true},
        {QStringLiteral("Ёлка.txt"), QStringLiteral("ёлка.*"), true},
        {QStringLiteral("x"), QString(), false},
        {QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"), QStringLiteral("*a*a*a*a*a*a*a*a*a*a*c"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.name + QLatin1String(" against ") + c.pattern));
        EXPECT_EQ(matchesFindPattern(c.name, c.pattern), c.matches);
    }
}

} // namespace
