#include "lib/data/crvClipboard.h"

#include "lib/data/DropFilesBlock.h"
#include "platform/ClipboardFormat.h"
#include "platform/CodePage.h"
#include "platform/RuntimeError.h"
#include "platform/ThreadLocale.h"
#include "platform/VariantConvert.h"
#include "support/csText.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <QThread>
#include <QUrl>
#include <QtEndian>

#include <memory>

namespace tessera {

namespace {

using CF = ClipboardFormat;

const QString PlainText = QStringLiteral("text/plain");
const QString UriList = QStringLiteral("text/uri-list");
const QString QtImage = QStringLiteral("application/x-qt-image");

qint32 htmlFormat()
{
    return CF::registerFormat(QStringLiteral("HTML Format"));
}

// The clipboard belongs to the GUI thread; elsewhere it is "held by someone
// else" and cannot be opened.
QClipboard *openClipboard()
{
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return nullptr;
    return QGuiApplication::clipboard();
}

QString upToNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QByteArray utf16WithNul(const QString &text)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes + QByteArray(2, '\0');
}

QStringList localFiles(const QMimeData &data)
{
    QStringList names;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            names.append(url.toLocalFile());
    }
    return names;
}

bool offers(const QMimeData &data, qint32 code)
{
    switch (code) {
    case CF::CF_TEXT:
    case CF::CF_OEMTEXT:
    case CF::CF_UNICODETEXT:
        return data.hasFormat(PlainText);
    case CF::CF_HDROP:
        return data.hasFormat(CF::mimeType(code)) || !localFiles(data).isEmpty();
    default:
        if (code == htmlFormat() && data.hasHtml())
            return true;
        return code > 0 && data.hasFormat(CF::mimeType(code));
    }
}

std::optional<QByteArray> readFormat(const QMimeData &data, qint32 code)
{
    if (!offers(data, code))
        return std::nullopt;
    switch (code) {
    case CF::CF_TEXT:
        return CodePage::toAnsi(data.text()) + '\0';
    case CF::CF_OEMTEXT:
        return CodePage::toOem(data.text()) + '\0';
    case CF::CF_UNICODETEXT:
        return utf16WithNul(data.text());
    default:
        break;
    }
    const QString own = CF::mimeType(code);
    if (data.hasFormat(own))
        return data.data(own);
    if (code == CF::CF_HDROP)
        return DropFilesBlock::build(localFiles(data), true);
    // text/html of another program; the block ends with one more zero byte,
    // as the blocks SetHTML writes.
    return HtmlClipboardDocument::fromHtml(data.html()) + '\0';
}

void copyFormats(const QMimeData &from, QMimeData &to)
{
    for (const QString &format : from.formats()) {
        if (format == QtImage)
            to.setImageData(from.imageData());
        else
            to.setData(format, from.data(format));
    }
}

// Puts data under its code and what other programs read of it beside.
void putFormat(QMimeData &mime, qint32 code, const QByteArray &data)
{
    switch (code) {
    case CF::CF_TEXT:
        mime.setText(cs::csGetStringFromPointerA(data));
        return;
    case CF::CF_OEMTEXT:
        mime.setText(upToNul(CodePage::fromOem(data)));
        return;
    case CF::CF_UNICODETEXT:
        mime.setText(cs::csGetStringFromPointerW(data));
        return;
    default:
        break;
    }
    mime.setData(CF::mimeType(code), data);
    if (code == CF::CF_HDROP) {
        mime.removeFormat(UriList);
        QList<QUrl> urls;
        for (const QString &name : DropFilesBlock::read(data).value_or(QStringList())) {
            if (QDir::isAbsolutePath(name))
                urls.append(QUrl::fromLocalFile(name));
        }
        if (!urls.isEmpty())
            mime.setUrls(urls);
    } else if (code == htmlFormat()) {
        mime.removeFormat(QStringLiteral("text/html"));
        QString fragment;
        try {
            fragment = HtmlClipboardDocument::extract(data, ghrvFragment);
        } catch (const RuntimeError &) {
            // A document with unreadable offsets has no fragment to offer.
        }
        if (!fragment.isEmpty())
            mime.setHtml(fragment);
    }
}

// The data this program last put on the clipboard; null once the clipboard
// has dropped it for other data.
QPointer<QMimeData> &ourData()
{
    static QPointer<QMimeData> data;
    return data;
}

// Each Set adds to what this program put there, as the platform's Sets
// between opening and closing the clipboard do: copy that, add, set the whole
// again. Another program's offer is replaced, never copied: its other
// formats would go on serving its old content beside ours, and copying pulls
// every one of them (large pictures too) across.
template <typename Add> bool addToClipboard(Add add)
{
    QClipboard *clipboard = openClipboard();
    if (!clipboard)
        return false;
    auto mime = std::make_unique<QMimeData>();
    const QMimeData *current = clipboard->mimeData();
    if (current && (current == ourData() || clipboard->ownsClipboard()))
        copyFormats(*current, *mime);
    add(*mime);
    ourData() = mime.get();
    clipboard->setMimeData(mime.release());
    return true;
}

// The thread's locale as the platform stores it beside text: a 32-bit LCID.
QByteArray localeBlock()
{
    QByteArray block(4, '\0');
    qToLittleEndian(GetThreadLocale(), block.data());
    return block;
}

const QMimeData *clipboardData()
{
    QClipboard *clipboard = openClipboard();
    return clipboard ? clipboard->mimeData() : nullptr;
}

} // namespace

crvClipboard &crvClipboard::global()
{
    thread_local crvClipboard instance;
    return instance;
}

bool crvClipboard::Clear()
{
    QClipboard *clipboard = openClipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    return true;
}

qint32 crvClipboard::CF_HTML() const
{
    return htmlFormat();
}

bool crvClipboard::SetHTML(const QString &HTMLFragment, QString *ContextHTMLStart, QString *ContextHTMLEnd)
{
    if (HTMLFragment.isEmpty())
        return false;
    const QString start = ContextHTMLStart ? *ContextHTMLStart : QStringLiteral("<HTML><BODY>");
    const QString end = ContextHTMLEnd ? *ContextHTMLEnd : QStringLiteral("</BODY></HTML>");
    if (ContextHTMLStart)
        *ContextHTMLStart = start + QLatin1StringView(HtmlClipboardDocument::StartMarker);
    if (ContextHTMLEnd)
        *ContextHTMLEnd = QLatin1StringView(HtmlClipboardDocument::EndMarker) + end;
    return SetRAWData(htmlFormat(), HtmlClipboardDocument::build(HTMLFragment, start, end) + '\0');
}

QString crvClipboard::GetHTML(qint32 ReturnValue)
{
    if (ReturnValue < ghrvRaw || ReturnValue > ghrvSourceURL)
        return {};
    QByteArray document;
    if (!GetRAWData(htmlFormat(), document))
        return {};
    return HtmlClipboardDocument::extract(document, ReturnValue);
}

bool crvClipboard::SetText(const QString &Text)
{
    return addToClipboard([&](QMimeData &mime) {
        mime.setText(Text);
        mime.setData(CF::mimeType(CF::CF_LOCALE), localeBlock());
    });
}

QString crvClipboard::GetText(bool ReturnANSIText)
{
    const QMimeData *mime = clipboardData();
    if (!mime || !mime->hasFormat(PlainText))
        return {};
    const QString text = upToNul(mime->text());
    return ReturnANSIText ? CodePage::fromAnsi(CodePage::toAnsi(text)) : text;
}

bool crvClipboard::IsFormatAvailable(qint32 ClipboardFormat)
{
    const QMimeData *mime = clipboardData();
    return mime && offers(*mime, ClipboardFormat);
}

bool crvClipboard::SetRAWData(qint32 FormatID, const QByteArray &Data)
{
    if (Data.isEmpty() || FormatID < 1)
        return false;
    return addToClipboard([&](QMimeData &mime) { putFormat(mime, FormatID, Data); });
}

bool crvClipboard::GetRAWData(qint32 FormatID, QByteArray &Data, qint32 *lpDataSize)
{
    const QMimeData *mime = clipboardData();
    if (!mime)
        return false;
    std::optional<QByteArray> data = readFormat(*mime, FormatID);
    if (!data)
        return false;
    Data = std::move(*data);
    if (lpDataSize)
        *lpDataSize = qint32(Data.size());
    return true;
}

QString crvClipboard::GetFormatName(qint32 FormatID) const
{
    return CF::formatName(FormatID);
}

qint32 crvClipboard::GetFormatsCount()
{
    const std::optional<Collection> formats = GetFormats();
    return formats ? qint32(formats->Count()) : 0;
}

std::optional<Collection> crvClipboard::GetFormats()
{
    QClipboard *clipboard = openClipboard();
    if (!clipboard)
        return std::nullopt;
    Collection codes;
    const QMimeData *mime = clipboard->mimeData();
    if (!mime)
        return codes;
    QList<qint32> seen;
    for (const QString &format : mime->formats()) {
        for (const qint32 code : CF::formatsForMimeType(format)) {
            if (!seen.contains(code) && offers(*mime, code)) {
                seen.append(code);
                codes.Add(code);
            }
        }
    }
    return codes;
}

bool crvClipboard::SetShellFiles(const Collection *FileNames, bool Unicode)
{
    if (!FileNames || FileNames->isEmpty())
        return false;
    QStringList names;
    try {
        for (const QVariant &item : FileNames->values())
            names.append(variantToText(item));
    } catch (const RuntimeError &) {
        return false;
    }
    return SetRAWData(CF::CF_HDROP, DropFilesBlock::build(names, Unicode));
}

std::optional<Collection> crvClipboard::GetShellFiles()
{
    QByteArray block;
    if (!GetRAWData(CF::CF_HDROP, block))
        return std::nullopt;
    const std::optional<QStringList> names = DropFilesBlock::read(block);
    if (!names)
        return std::nullopt;
    Collection files;
    for (const QString &name : *names)
        files.Add(name);
    return files;
}

} // namespace tessera
