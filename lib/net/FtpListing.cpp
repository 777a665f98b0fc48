#include "lib/net/FtpListing_p.h"
#include "support/csText.h"

#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace tessera::detail {

namespace {

constexpr qint64 UnixEpochInFileTimeMs = 11644473600000LL; // 1601-01-01 to 1970-01-01
constexpr int MaxSizeDigits = 19; // below 2^63

struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

using Tokens = QVarLengthArray<Span, 32>;

Tokens tokenize(QByteArrayView line)
{
    Tokens tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype begin = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > begin)
            tokens.append({begin, i});
    }
    return tokens;
}

QByteArrayView text(QByteArrayView line, Span span)
{
    return line.sliced(span.begin, span.end - span.begin);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

// A decimal number of at most \a maxDigits digits.
std::optional<quint64> number(QByteArrayView digits, int maxDigits = MaxSizeDigits)
{
    if (!allDigits(digits) || digits.size() > maxDigits)
        return std::nullopt;
    quint64 value = 0;
    for (const char c : digits)
        value = value * 10 + quint64(c - '0');
    return value;
}

qint64 fileTime(const QDateTime &when)
{
    return (when.toMSecsSinceEpoch() + UnixEpochInFileTimeMs) * 10000;
}

std::optional<qint64> localFileTime(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid() || date.year() < 1601)
        return std::nullopt;
    const QDateTime when(date, time, Qt::LocalTime);
    if (!when.isValid())
        return std::nullopt;
    return fileTime(when);
}

QString entryName(QByteArrayView bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = utf8.decode(bytes);
    if (utf8.hasError())
        name = cs::csStrConvW(bytes.toByteArray());
    return name;
}

void setSize(FtpFindData &entry, quint64 size)
{
    entry.FileSizeHigh = quint32(size >> 32);
    entry.FileSizeLow = quint32(size & 0xFFFFFFFFu);
}

void setTimes(FtpFindData &entry, qint64 written)
{
    entry.CreationTime = entry.LastAccessTime = entry.LastWriteTime = written;
}

int monthNumber(QByteArrayView token)
{
    static constexpr std::array<const char *, 12> Months
        = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (token.size() != 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        if (token.compare(QByteArrayView(Months[size_t(m)]), Qt::CaseInsensitive) == 0)
            return m + 1;
    }
    return 0;
}

// "H:MM" or "HH:MM".
std::optional<QTime> clockTime(QByteArrayView token)
{
    const qsizetype colon = token.indexOf(':');
    if (colon < 1 || colon > 2 || token.size() != colon + 3)
        return std::nullopt;
    const auto hour = number(token.first(colon), 2);
    const auto minute = number(token.sliced(colon + 1), 2);
    if (!hour || !minute)
        return std::nullopt;
    const QTime time {int(*hour), int(*minute)};
    return time.isValid() ? std::optional(time) : std::nullopt;
}

bool isPermissionText(QByteArrayView token)
{
    if (token.size() < 10 || token.size() > 11 || !QByteArrayView("-dlbcpsDn").contains(token[0]))
        return false;
    for (qsizetype i = 1; i < 10; ++i) {
        if (!QByteArrayView("rwxsStTlL-").contains(token[i]))
            return false;
    }
    return token.size() == 10 || QByteArrayView("+@.").contains(token[10]);
}

// drwxr-xr-x  2 owner group  4096 Jan  1 12:34 name
// -rw-r--r--  1 owner group 12345 Mar 15  2019 name with blanks
// lrwxrwxrwx  1 owner group    11 Feb  3 09:00 link -> target
std::optional<FtpFindData> parseUnixLine(QByteArrayView line, const Tokens &tokens, const QDateTime &now)
{
    const QByteArrayView permissions = text(line, tokens[0]);
    for (qsizetype i = 2; i + 2 < tokens.size(); ++i) {
        const int month = monthNumber(text(line, tokens[i]));
        const auto day = number(text(line, tokens[i + 1]), 2);
        const QByteArrayView yearOrTime = text(line, tokens[i + 2]);
        const auto size = number(text(line, tokens[i - 1]));
        if (month == 0 || !day || !size)
            continue;
        QDate date;
        QTime time(0, 0);
        if (const std::optional<QTime> clock = clockTime(yearOrTime)) {
            // No year: the date lies within the past year (a day of slack
            // for clocks and zones that differ).
            const QDate thisYear(now.date().year(), month, int(*day));
            time = *clock;
            date = thisYear.isValid() && QDateTime(thisYear, time) <= now.addDays(1) ? thisYear : thisYear.addYears(-1);
            if (!date.isValid())
                date = QDate(now.date().year() - 1, month, int(*day));
        } else if (const auto year = number(yearOrTime, 4); year && yearOrTime.size() == 4) {
            date = QDate(int(*year), month, int(*day));
        } else {
            continue;
        }
        const std::optional<qint64> written = localFileTime(date, time);
        const qsizetype nameStart = tokens[i + 2].end + 1;
        if (!written || nameStart >= line.size())
            return std::nullopt;
        QByteArrayView name = line.sliced(nameStart);
        FtpFindData entry;
        if (permissions[0] == 'd') {
            entry.FileAttributes = FileAttribute::Directory;
        } else if (permissions[0] == 'l') {
            entry.FileAttributes = FileAttribute::ReparsePoint;
            const qsizetype arrow = name.indexOf(" -> ");
            if (arrow >= 0)
                name.truncate(arrow);
        }
        if (permissions[2] != 'w')
            entry.FileAttributes |= FileAttribute::ReadOnly;
        if (entry.FileAttributes == 0)
            entry.FileAttributes = FileAttribute::Normal;
        entry.FileName = entryName(name);
        if (entry.FileName.isEmpty())
            return std::nullopt;
        setSize(entry, *size);
        setTimes(entry, *written);
        return entry;
    }
    return std::nullopt;
}

// "MM-DD-YY" or "MM-DD-YYYY" ("/" also separates).
QDate dosDate(QByteArrayView token)
{
    if (token.size() != 8 && token.size() != 10)
        return {};
    const char separator = token[2];
    if ((separator != '-' && separator != '/') || token[5] != separator)
        return {};
    const auto month = number(token.first(2), 2);
    const auto day = number(token.sliced(3, 2), 2);
    const auto year = number(token.sliced(6), 4);
    if (!month || !day || !year)
        return {};
    int fullYear = int(*year);
    if (token.size() == 8)
        fullYear += fullYear < 70 ? 2000 : 1900;
    return QDate(fullYear, int(*month), int(*day));
}

// "11:14AM", "03:19PM" (12-hour) or "14:22".
std::optional<QTime> dosTime(QByteArrayView token)
{
    QByteArrayView clock = token;
    int shift = -1;
    if (token.endsWith("AM") || token.endsWith("am") || token.endsWith("PM") || token.endsWith("pm")) {
        shift = (token.endsWith("PM") || token.endsWith("pm")) ? 12 : 0;
        clock.chop(2);
    }
    const std::optional<QTime> time = clockTime(clock);
    if (!time || shift < 0)
        return time;
    if (time->hour() < 1 || time->hour() > 12)
        return std::nullopt;
    return QTime(time->hour() % 12 + shift, time->minute());
}

// 01-16-02  11:14AM       <DIR>          epsgroup
// 06-05-2003  03:19PM           1973 readme.txt
std::optional<FtpFindData> parseDosLine(QByteArrayView line, const Tokens &tokens)
{
    if (tokens.size() < 4)
        return std::nullopt;
    const QDate date = dosDate(text(line, tokens[0]));
    const std::optional<QTime> time = dosTime(text(line, tokens[1]));
    if (!date.isValid() || !time)
        return std::nullopt;
    const std::optional<qint64> written = localFileTime(date, *time);
    if (!written)
        return std::nullopt;
    FtpFindData entry;
    const QByteArrayView kind = text(line, tokens[2]);
    if (kind.compare("<DIR>", Qt::CaseInsensitive) == 0) {
        entry.FileAttributes = FileAttribute::Directory;
    } else {
        QByteArray digits = kind.toByteArray();
        digits.replace(',', "");
        const auto size = number(digits);
        if (!size || kind.startsWith(','))
            return std::nullopt;
        entry.FileAttributes = FileAttribute::Normal;
        setSize(entry, *size);
    }
    entry.FileName = entryName(line.sliced(tokens[3].begin));
    if (entry.FileName.isEmpty())
        return std::nullopt;
    setTimes(entry, *written);
    return entry;
}

// "YYYYMMDDHHMMSS" with optional fractions, in UTC.
qint64 mlsdTime(QByteArrayView value)
{
    if (value.size() < 14 || !allDigits(value.first(14)))
        return 0;
    const auto field = [&](qsizetype at, qsizetype length) { return int(*number(value.sliced(at, length), 4)); };
    const QDateTime when(QDate(field(0, 4), field(4, 2), field(6, 2)), QTime(field(8, 2), field(10, 2), field(12, 2)),
                         Qt::UTC);
    if (!when.isValid() || when.date().year() < 1601)
        return 0;
    return fileTime(when);
}

// type=file;size=1973;modify=20030605151900; readme.txt
std::optional<FtpFindData> parseMlsdLine(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0)
        return std::nullopt;
    FtpFindData entry;
    entry.FileAttributes = FileAttribute::Normal;
    bool writable = true;
    qint64 created = 0;
    qint64 modified = 0;
    QByteArrayView facts = line.first(blank);
    while (!facts.isEmpty()) {
        qsizetype end = facts.indexOf(';');
        if (end < 0)
            end = facts.size();
        const QByteArrayView fact = facts.first(end);
        facts = facts.sliced(std::min(end + 1, facts.size()));
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArrayView name = fact.first(equals);
        const QByteArrayView value = fact.sliced(equals + 1);
        if (name.compare("type", Qt::CaseInsensitive) == 0) {
            if (value.compare("cdir", Qt::CaseInsensitive) == 0 || value.compare("pdir", Qt::CaseInsensitive) == 0)
                return std::nullopt; // the listed folder itself and its parent
            if (value.compare("dir", Qt::CaseInsensitive) == 0)
                entry.FileAttributes = FileAttribute::Directory;
            else if (value.startsWith("OS.unix=slink") || value.startsWith("OS.unix=symlink")
                     || value.startsWith("os.unix=slink") || value.startsWith("os.unix=symlink"))
                entry.FileAttributes = FileAttribute::ReparsePoint;
        } else if (name.compare("size", Qt::CaseInsensitive) == 0 || name.compare("sizd", Qt::CaseInsensitive) == 0) {
            const auto size = number(value);
            if (!size)
                return std::nullopt;
            setSize(entry, *size);
        } else if (name.compare("modify", Qt::CaseInsensitive) == 0) {
            modified = mlsdTime(value);
        } else if (name.compare("create", Qt::CaseInsensitive) == 0) {
            created = mlsdTime(value);
        } else if (name.compare("perm", Qt::CaseInsensitive) == 0) {
            writable = value.contains('w') || value.contains('W');
        }
    }
    if (!writable && entry.FileAttributes == FileAttribute::Normal)
        entry.FileAttributes = FileAttribute::ReadOnly;
    entry.FileName = entryName(line.sliced(blank + 1));
    if (entry.FileName.isEmpty())
        return std::nullopt;
    setTimes(entry, modified);
    if (created != 0)
        entry.CreationTime = created;
    return entry;
}

} // namespace

std::optional<FtpFindData> parseListingLine(QByteArrayView line, FtpListingFormat format, const QDateTime &now)
{
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty() || line.size() > MaxListingLine)
        return std::nullopt;
    if (format == FtpListingFormat::Mlsd)
        return parseMlsdLine(line);
    const Tokens tokens = tokenize(line);
    if (tokens.isEmpty())
        return std::nullopt;
    if (isPermissionText(text(line, tokens[0])))
        return parseUnixLine(line, tokens, now);
    return parseDosLine(line, tokens);
}

FtpListingParser::FtpListingParser(FtpListingFormat format, const QDateTime &now)
    : m_format(format)
    , m_now(now)
{ }

void FtpListingParser::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        if (!m_overlong) {
            if (m_line.size() + piece.size() > MaxListingLine + 1) {
                m_overlong = true;
                m_line.clear();
            } else {
                m_line.append(piece);
            }
        }
        if (end < 0)
            return;
        endLine();
        bytes = bytes.sliced(end + 1);
    }
}

void FtpListingParser::finish()
{
    if (!m_line.isEmpty() || m_overlong)
        endLine();
}

void FtpListingParser::endLine()
{
    if (!m_overlong) {
        if (std::optional<FtpFindData> entry = parseListingLine(m_line, m_format, m_now))
            m_entries.append(std::move(*entry));
    }
    m_overlong = false;
    m_line.clear();
}

QList<FtpFindData> FtpListingParser::takeEntries()
{
    return std::exchange(m_entries, {});
}

namespace {

enum class PatternStep { Literal, Star, DosStar, DosQm, DosDot };

struct PatternItem {
    PatternStep step;
    QChar literal;
};

std::vector<PatternItem> translatePattern(QStringView pattern)
{
    std::vector<PatternItem> items;
    items.reserve(size_t(pattern.size()));
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const QChar next = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
        if (c == u'?')
            items.push_back({PatternStep::DosQm, c});
        else if (c == u'*')
            items.push_back({next == u'.' ? PatternStep::DosStar : PatternStep::Star, c});
        else if (c == u'.' && (next.isNull() || next == u'?' || next == u'*'))
            items.push_back({PatternStep::DosDot, c});
        else
            items.push_back({PatternStep::Literal, c.toCaseFolded()});
    }
    return items;
}

} // namespace

bool matchesFindPattern(QStringView name, QStringView pattern)
{
    const qsizetype n = name.size();
    const qsizetype lastDot = name.lastIndexOf(u'.');
    // reach[j]: the pattern so far can match the first j characters.
    std::vector<char> reach(size_t(n + 1), 0);
    std::vector<char> next(size_t(n + 1), 0);
    reach[0] = 1;
    const qsizetype starLimit = lastDot < 0 ? n : lastDot; // a "*" before a "." stops at the last "."
    for (const PatternItem &item : translatePattern(pattern)) {
        std::fill(next.begin(), next.end(), 0);
        const auto first = std::find(reach.begin(), reach.end(), 1);
        if (first == reach.end())
            return false;
        const qsizetype from = first - reach.begin();
        switch (item.step) {
        case PatternStep::Star:
            std::fill(next.begin() + from, next.end(), 1);
            break;
        case PatternStep::DosStar:
            next = reach;
            if (from < starLimit)
                std::fill(next.begin() + from, next.begin() + starLimit + 1, 1);
            break;
        default:
            for (qsizetype j = from; j <= n; ++j) {
                if (!reach[size_t(j)])
                    continue;
                const bool atEnd = j == n;
                if (item.step == PatternStep::Literal) {
                    if (!atEnd && name[j].toCaseFolded() == item.literal)
                        next[size_t(j + 1)] = 1;
                } else if (item.step == PatternStep::DosQm) {
                    // One character, or none at a "." or the end.
                    next[size_t(!atEnd && name[j] != u'.' ? j + 1 : j)] = 1;
                } else if (!atEnd && name[j] == u'.') { // DosDot
                    next[size_t(j + 1)] = 1;
                } else if (atEnd) {
                    next[size_t(j)] = 1;
                }
            }
            break;
        }
        std::swap(reach, next);
    }
    return reach[size_t(n)] != 0;
}

} // namespace tessera::detail
