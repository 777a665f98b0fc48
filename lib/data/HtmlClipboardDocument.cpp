#include "lib/data/HtmlClipboardDocument.h"

#include "platform/CodePage.h"
#include "platform/VariantConvert.h"

#include <QByteArrayView>
#include <QRegularExpression>

namespace tessera {

namespace {

QByteArray tenDigits(qint64 n)
{
    return QByteArray::number(n).rightJustified(10, '0');
}

// The offset written after the first occurrence of key: at most ten
// characters, converted as the platform converts text to a 32-bit number.
qint32 offsetAfter(const QByteArray &document, QByteArrayView key)
{
    const qsizetype at = document.indexOf(key);
    if (at < 0)
        return 0;
    QByteArray digits = document.mid(at + key.size(), 10);
    if (const qsizetype lineEnd = digits.indexOf('\r'); lineEnd >= 0)
        digits.truncate(lineEnd);
    if (const qsizetype lineEnd = digits.indexOf('\n'); lineEnd >= 0)
        digits.truncate(lineEnd);
    return variantToLong(CodePage::fromAnsi(digits));
}

QString slice(const QByteArray &document, QByteArrayView startKey, QByteArrayView endKey, bool wholeWhenUnset)
{
    const qint32 start = offsetAfter(document, startKey);
    const qint32 end = offsetAfter(document, endKey);
    if (start < 1 || end < 1)
        return wholeWhenUnset ? QString::fromUtf8(document) : QString();
    if (end <= start || start >= document.size())
        return {};
    return QString::fromUtf8(document.mid(start, end - start));
}

QString sourceUrl(const QByteArray &document)
{
    static constexpr QByteArrayView key("SourceURL:");
    const qint32 startHtml = offsetAfter(document, "StartHTML:");
    const qsizetype at = document.indexOf(key);
    if (at < 0 || (startHtml > 0 && startHtml <= at))
        return {};
    const qsizetype from = at + key.size();
    const qsizetype lineEnd = document.indexOf("\r\n", from);
    if (lineEnd < 0)
        return {};
    return QString::fromUtf8(document.mid(from, lineEnd - from));
}

} // namespace

QByteArray HtmlClipboardDocument::build(const QString &fragment, const QString &contextStart, const QString &contextEnd)
{
    const QByteArray start = contextStart.toUtf8() + StartMarker;
    const QByteArray end = EndMarker + contextEnd.toUtf8();
    const QByteArray body = fragment.toUtf8();

    constexpr qint64 headerSize = 105;
    const qint64 startFragment = headerSize + start.size();
    const qint64 endFragment = startFragment + body.size();
    const qint64 endHtml = endFragment + end.size() + 1;

    QByteArray document;
    document.reserve(endHtml);
    document += "Version:1.0\r\nStartHTML:" + tenDigits(headerSize) + "\r\nEndHTML:" + tenDigits(endHtml)
        + "\r\nStartFragment:" + tenDigits(startFragment) + "\r\nEndFragment:" + tenDigits(endFragment) + "\r\n";
    Q_ASSERT(document.size() == headerSize);
    document += start + body + end;
    document += '\0';
    return document;
}

QString HtmlClipboardDocument::extract(const QByteArray &block, qint32 part)
{
    const qsizetype nul = block.indexOf('\0');
    const QByteArray document = nul < 0 ? block : block.left(nul);
    switch (part) {
    case ghrvRaw:
        return QString::fromUtf8(document);
    case ghrvHTML:
        return slice(document, "StartHTML:", "EndHTML:", true);
    case ghrvContextStart:
        return slice(document, "StartHTML:", "StartFragment:", false);
    case ghrvContextEnd:
        return slice(document, "EndFragment:", "EndHTML:", false);
    case ghrvFragment:
        return slice(document, "StartFragment:", "EndFragment:", false);
    case ghrvSelection:
        return slice(document, "StartSelection:", "EndSelection:", false);
    case ghrvSourceURL:
        return sourceUrl(document);
    default:
        return {};
    }
}

QByteArray HtmlClipboardDocument::fromHtml(const QString &html)
{
    const QLatin1StringView startMarker(StartMarker);
    const QLatin1StringView endMarker(EndMarker);
    if (const qsizetype s = html.indexOf(startMarker); s >= 0) {
        const qsizetype from = s + startMarker.size();
        if (const qsizetype e = html.indexOf(endMarker, from); e >= 0)
            return build(html.mid(from, e - from), html.left(s), html.mid(e + endMarker.size()));
    }

    static const QRegularExpression bodyOpen(QStringLiteral("<body\\b[^>]*>"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch open = bodyOpen.match(html); open.hasMatch()) {
        const qsizetype from = open.capturedEnd();
        if (const qsizetype close = html.lastIndexOf(QLatin1StringView("</body"), -1, Qt::CaseInsensitive);
            close >= from)
            return build(html.mid(from, close - from), html.left(from), html.mid(close));
    }

    static const QRegularExpression leadingMeta(QStringLiteral("^\\s*(?:<meta\\b[^>]*>\\s*)+"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch meta = leadingMeta.match(html); meta.hasMatch()) {
        return build(html.mid(meta.capturedEnd()),
                     QStringLiteral("<HTML><HEAD>") + meta.captured().trimmed() + QStringLiteral("</HEAD><BODY>"));
    }
    return build(html);
}

} // namespace tessera
