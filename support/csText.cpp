#include "support/csText.h"

#include "platform/CodePage.h"
#include "platform/RuntimeError.h"

#include <QtEndian>

#include <cmath>

using tessera::CodePage;
using tessera::RuntimeError;

namespace cs {

namespace {

[[noreturn]] void raiseBadArgument()
{
    throw RuntimeError(RuntimeError::InvalidProcedureCall);
}

// Inserts "," between groups of three digits of an unsigned decimal text.
QString groupDigits(const QString &digits)
{
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped.append(QLatin1Char(','));
        grouped.append(digits.at(i));
    }
    return grouped;
}

QString formatInteger(qint64 value)
{
    // Through the unsigned magnitude, so that the lowest value has one too.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    const QString grouped = groupDigits(QString::number(magnitude));
    return value < 0 ? QLatin1Char('-') + grouped : grouped;
}

QString hex(quint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

template <typename Text> Text cutLeft(const Text &text, qsizetype count)
{
    if (count < 0)
        raiseBadArgument();
    return count >= text.size() ? Text() : text.mid(count);
}

template <typename Text> Text cutRight(const Text &text, qsizetype count)
{
    if (count < 0)
        raiseBadArgument();
    return count >= text.size() ? Text() : text.left(text.size() - count);
}

bool isUnicodeSpaceSeparator(char16_t c)
{
    return c == 0x0085 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F
        || c == 0x205F || c == 0x3000;
}

} // namespace

QString csTrimEx(const QString &text)
{
    return csTrimEx2(text, true, true, true, true, true, false, false, false, false, false);
}

QString csTrimEx2(const QString &text, bool spaces, bool tabs, bool carriageReturns, bool lineFeeds, bool nuls,
                  bool verticalTabs, bool formFeeds, bool noBreakSpaces, bool unicodeSpaces, bool zeroWidth)
{
    const auto trimmed = [&](QChar ch) {
        switch (const char16_t c = ch.unicode()) {
        case 0x0020:
            return spaces;
        case 0x0009:
            return tabs;
        case 0x000D:
            return carriageReturns;
        case 0x000A:
            return lineFeeds;
        case 0x0000:
            return nuls;
        case 0x000B:
            return verticalTabs;
        case 0x000C:
            return formFeeds;
        case 0x00A0:
            return noBreakSpaces;
        case 0x200B:
        case 0xFEFF:
            return zeroWidth;
        default:
            return unicodeSpaces && isUnicodeSpaceSeparator(c);
        }
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && trimmed(text.at(begin)))
        ++begin;
    while (end > begin && trimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString csTrimCRLF(const QString &text)
{
    return csTrimEx2(text, false, false, true, true, false, false, false, false, false, false);
}

QString csCutLeft(const QString &text, qsizetype count)
{
    return cutLeft(text, count);
}

QByteArray csCutLeft(const QByteArray &data, qsizetype count)
{
    return cutLeft(data, count);
}

QString csCutRight(const QString &text, qsizetype count)
{
    return cutRight(text, count);
}

QByteArray csCutRight(const QByteArray &data, qsizetype count)
{
    return cutRight(data, count);
}

QString csGetLineOnly(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n'))
            return text.left(i);
    }
    return text;
}

QString csHex1(quint8 value)
{
    return hex(value, 2);
}

QString csHex2(quint16 value)
{
    return hex(value, 4);
}

QString csHex4(quint32 value)
{
    return hex(value, 8);
}

QString csHexEx4(quint64 value)
{
    return QStringLiteral("0x") + hex(value, 8);
}

QString csFormatLong(qint32 value)
{
    return formatInteger(value);
}

QString csFormatInt64(qint64 value)
{
    return formatInteger(value);
}

QString csFormatDouble(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    QString text = QString::number(std::fabs(value), 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    QString grouped = groupDigits(point < 0 ? text : text.left(point));
    if (point >= 0)
        grouped += text.mid(point);
    // A value that shows as zero shows without a sign.
    return value < 0 && grouped != QLatin1String("0") ? QLatin1Char('-') + grouped : grouped;
}

QString csFormatByteSizeEx(qint64 bytes)
{
    if (bytes < 0)
        raiseBadArgument();
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    static const char *const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    int unit = 0;
    quint64 scale = 1024;
    while (unit < 5 && quint64(bytes) / scale >= 1024) {
        scale *= 1024;
        ++unit;
    }
    // Two decimals by long division in integers: a double would round sizes
    // just below a unit boundary up to it, and the remainder times 100 could
    // overflow for the largest units; times 10 cannot (scale <= 2^60).
    const quint64 whole = quint64(bytes) / scale;
    const quint64 remainder = quint64(bytes) % scale;
    const quint64 tenths = remainder * 10 / scale;
    const quint64 hundredths = tenths * 10 + remainder * 10 % scale * 10 / scale;
    QString number;
    if (whole < 10)
        number = QStringLiteral("%1.%2").arg(whole).arg(hundredths, 2, 10, QLatin1Char('0'));
    else if (whole < 100)
        number = QStringLiteral("%1.%2").arg(whole).arg(hundredths / 10);
    else
        number = QString::number(whole);
    return number + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString csFormatVersion(qint32 major, qint32 minor, qint32 revision)
{
    if (revision < 0)
        raiseBadArgument();
    return csFormatVersionShort(major, minor) + QStringLiteral(".%1").arg(revision, 4, 10, QLatin1Char('0'));
}

QString csFormatVersionShort(qint32 major, qint32 minor)
{
    if (major < 0 || minor < 0)
        raiseBadArgument();
    return QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}

QString csGetErrorNumber(qint32 number)
{
    if (number >= 0 && number <= 0xFFFF)
        return QString::number(number);
    return QStringLiteral("%1 (0x%2)").arg(number).arg(hex(quint32(number), 8));
}

QByteArray csStrConvB(const QString &text)
{
    return CodePage::toAnsi(text);
}

QString csStrConvW(const QByteArray &bytes)
{
    return CodePage::fromAnsi(bytes);
}

QByteArray csUNICODEToUTF8(const QString &text)
{
    return text.toUtf8();
}

QString csUTF8ToUNICODE(const QByteArray &utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray csAnsiToOem(const QString &text)
{
    return CodePage::toOem(text);
}

QString csGetStringFromPointerA(const QByteArray &buffer)
{
    const qsizetype nul = buffer.indexOf('\0');
    return CodePage::fromAnsi(nul < 0 ? QByteArrayView(buffer) : QByteArrayView(buffer).first(nul));
}

QString csGetStringFromPointerW(const QByteArray &buffer)
{
    QString text;
    text.reserve(buffer.size() / 2);
    for (qsizetype i = 0; i + 1 < buffer.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<char16_t>(buffer.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

QStringList csGetStringFrom2NullBufferA(const QByteArray &buffer)
{
    QStringList texts;
    qsizetype start = 0;
    while (start < buffer.size() && buffer.at(start) != '\0') {
        qsizetype nul = buffer.indexOf('\0', start);
        if (nul < 0)
            nul = buffer.size();
        texts.append(CodePage::fromAnsi(QByteArrayView(buffer).sliced(start, nul - start)));
        start = nul + 1;
    }
    return texts;
}

} // namespace cs
