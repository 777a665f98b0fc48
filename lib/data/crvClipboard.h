#pragma once

#include "lib/TesseraExport.h"
#include "lib/data/HtmlClipboardDocument.h"
#include "platform/Collection.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessera {

/// The desktop clipboard with the platform's format codes
/// (tessera::ClipboardFormat): text, the "HTML Format" document, shell file
/// lists and raw data under any code.
///
/// Every Set... adds its formats to what this program put on the clipboard
/// (that content is copied, the new format added, and the whole set again);
/// call Clear() first to hold only your own data. What another program put
/// there is replaced whole, never added to. Each format is also offered
/// to other programs in their terms: text as text/plain, the HTML document
/// under its own private type and its fragment as text/html, the file list
/// under its own private type and as text/uri-list. What other programs put
/// there is read back the same way: text/html as an "HTML Format" document
/// (HtmlClipboardDocument::fromHtml), local files of a text/uri-list as a
/// UTF-16 file list.
///
/// The clipboard is usable only from the thread of the QGuiApplication; from
/// any other thread, or without one, every operation fails as it did when
/// another program held the clipboard open: false, empty text, 0 or none.
///
///     tessera::crvClipboard::global().SetHTML(QStringLiteral("<b>bold</b>"));
///     tessera::crvClipboard::global().GetHTML(); // "<b>bold</b>"
class TESSERA_EXPORT crvClipboard
{
public:
    /// The application object of the calling thread.
    static crvClipboard &global();

    /// Empties the clipboard; false when it is not available.
    bool Clear();

    /// The code of the "HTML Format" format.
    qint32 CF_HTML() const;

    /// Puts \a HTMLFragment as an "HTML Format" document between the contexts
    /// (defaults "<HTML><BODY>" and "</BODY></HTML>" when not given). Given
    /// contexts are left holding what was written: the start context followed
    /// by "<!--StartFragment-->", "<!--EndFragment-->" followed by the end
    /// context. False, and nothing changed, for an empty fragment.
    bool SetHTML(const QString &HTMLFragment, QString *ContextHTMLStart = nullptr, QString *ContextHTMLEnd = nullptr);

    /// Part \a ReturnValue (GetHTMLReturnValue) of the clipboard's "HTML
    /// Format" document, see HtmlClipboardDocument::extract. Empty text when
    /// there is none. Raises 13 (or 6) when an offset in the document is no
    /// 32-bit number.
    QString GetHTML(qint32 ReturnValue = ghrvFragment);

    /// Puts \a Text on the clipboard, readable in all three text formats,
    /// with the thread's locale (GetThreadLocale) as CF_LOCALE beside it.
    bool SetText(const QString &Text);

    /// The clipboard's text up to its first NUL character; with
    /// \a ReturnANSIText its Windows-1251 form read back, so characters outside
    /// that code page come back as "?". Empty text when there is none.
    QString GetText(bool ReturnANSIText = false);

    /// Whether data of format \a ClipboardFormat can be read.
    bool IsFormatAvailable(qint32 ClipboardFormat);

    /// Puts \a Data under format \a FormatID. Text formats (1, 7, 13) are read
    /// as NUL-terminated text in their encoding and put as text; "HTML Format"
    /// and the file list (15) are kept byte for byte and also offered as
    /// text/html and text/uri-list (absolute names only) when they can be read.
    /// False for empty data and for a code below 1.
    bool SetRAWData(qint32 FormatID, const QByteArray &Data);

    /// The data of format \a FormatID into \a Data, its size into
    /// \a lpDataSize. Text formats come NUL-terminated in their encoding
    /// (two NUL bytes for UTF-16). False, leaving \a Data alone, when the
    /// format is not there.
    bool GetRAWData(qint32 FormatID, QByteArray &Data, qint32 *lpDataSize = nullptr);

    /// The name of a registered format; empty for built-in and unknown codes.
    QString GetFormatName(qint32 FormatID) const;

    /// The number of formats GetFormats() lists; 0 when the clipboard is not
    /// available.
    qint32 GetFormatsCount();

    /// The codes of every format the clipboard offers, in its order (the
    /// formats of other programs are registered under their MIME type);
    /// std::nullopt when the clipboard is not available.
    std::optional<Collection> GetFormats();

    /// Puts the file list \a FileNames (texts) as a drop-files block, in
    /// UTF-16 with \a Unicode and in Windows-1251 without. False for a null or
    /// empty collection and for an item that does not convert to text.
    bool SetShellFiles(const Collection *FileNames, bool Unicode = true);

    /// The names of the clipboard's file list; an empty collection for an
    /// empty list; std::nullopt when there is no readable list.
    std::optional<Collection> GetShellFiles();
};

} // namespace tessera
