#include "platform/ClipboardFormat.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QStringList>

namespace tessera {

namespace {

const QString NamedPrefix = QStringLiteral("application/x-qt-windows-mime;value=\"");
const QString NumberedPrefix = QStringLiteral("application/x-tessera-clipboard-format;code=");
const QString HtmlFormatName = QStringLiteral("HTML Format");

struct Registry {
    QMutex mutex;
    QStringList names; // code FirstRegistered + i
    QHash<QString, qint32> codes; // folded name -> code
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

qint32 ClipboardFormat::registerFormat(const QString &name)
{
    if (name.isEmpty())
        return 0;
    Registry &r = registry();
    const QMutexLocker lock(&r.mutex);
    const QString folded = name.toCaseFolded();
    if (const auto it = r.codes.constFind(folded); it != r.codes.cend())
        return *it;
    if (r.names.size() > LastRegistered - FirstRegistered)
        return 0;
    const qint32 code = FirstRegistered + qint32(r.names.size());
    r.names.append(name);
    r.codes.insert(folded, code);
    return code;
}

QString ClipboardFormat::formatName(qint32 code)
{
    Registry &r = registry();
    const QMutexLocker lock(&r.mutex);
    const qint64 i = qint64(code) - FirstRegistered;
    return i >= 0 && i < r.names.size() ? r.names.at(i) : QString();
}

QString ClipboardFormat::mimeType(qint32 code)
{
    switch (code) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT:
        return QStringLiteral("text/plain");
    default:
        break;
    }
    if (code < 1)
        return {};
    const QString name = formatName(code);
    if (name.isEmpty())
        return NumberedPrefix + QString::number(code);
    return isMimeType(name) ? name : NamedPrefix + name + u'"';
}

QList<qint32> ClipboardFormat::formatsForMimeType(const QString &mimeType)
{
    if (mimeType == u"text/plain")
        return {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT};
    if (mimeType == u"text/uri-list")
        return {CF_HDROP};
    if (mimeType == u"text/html")
        return {registerFormat(HtmlFormatName)};
    if (mimeType.startsWith(NamedPrefix) && mimeType.endsWith(u'"') && mimeType.size() > NamedPrefix.size() + 1) {
        const qint32 code = registerFormat(mimeType.mid(NamedPrefix.size(), mimeType.size() - NamedPrefix.size() - 1));
        return code ? QList<qint32> {code} : QList<qint32> {};
    }
    if (mimeType.startsWith(NumberedPrefix)) {
        bool ok = false;
        const qint32 code = mimeType.mid(NumberedPrefix.size()).toInt(&ok);
        return ok && code > 0 ? QList<qint32> {code} : QList<qint32> {};
    }
    // Qt's own in-process image type; the image also travels as image/png.
    if (!isMimeType(mimeType) || mimeType.startsWith(u"application/x-qt-image"))
        return {};
    const qint32 code = registerFormat(mimeType);
    return code ? QList<qint32> {code} : QList<qint32> {};
}

bool ClipboardFormat::isMimeType(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^[A-Za-z0-9][A-Za-z0-9_!#$&^.+-]*/[A-Za-z0-9][A-Za-z0-9_!#$&^.+-]*(;.*)?$)"));
    return form.match(text).hasMatch();
}

} // namespace tessera
