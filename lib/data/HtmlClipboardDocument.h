#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// The part of an "HTML Format" document that crvClipboard::GetHTML returns.
enum GetHTMLReturnValue : qint32 {
    ghrvRaw = 0, ///< the whole document, header included
    ghrvHTML = 1, ///< StartHTML to EndHTML
    ghrvContextStart = 2, ///< StartHTML to StartFragment
    ghrvContextEnd = 3, ///< EndFragment to EndHTML
    ghrvFragment = 4, ///< StartFragment to EndFragment
    ghrvSelection = 5, ///< StartSelection to EndSelection
    ghrvSourceURL = 6, ///< the value of the SourceURL header line
};

/// Writes and reads the clipboard's "HTML Format" document: a text header of
/// byte offsets, each exactly ten decimal digits, in front of UTF-8 HTML.
///
///     Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000171\r\n
///     StartFragment:0000000137\r\nEndFragment:0000000138\r\n
///     <HTML><BODY><!--StartFragment-->b<!--EndFragment--></BODY></HTML>\0
///
/// Pure functions over bytes, so that documents from other programs can be
/// tested and fuzzed without a clipboard.
class TESSERA_EXPORT HtmlClipboardDocument
{
public:
    HtmlClipboardDocument() = delete;

    static constexpr char StartMarker[] = "<!--StartFragment-->";
    static constexpr char EndMarker[] = "<!--EndFragment-->";

    /// The document for \a fragment between the two contexts, the markers
    /// added, ending with one NUL byte that EndHTML counts.
    static QByteArray build(const QString &fragment, const QString &contextStart = QStringLiteral("<HTML><BODY>"),
                            const QString &contextEnd = QStringLiteral("</BODY></HTML>"));

    /// Part \a part (a GetHTMLReturnValue) of \a document, read up to its
    /// first NUL byte, decoded from UTF-8. Each offset is read from the ten
    /// characters after the first occurrence of its key ("StartHTML:", ...),
    /// or fewer when a line break comes first; a missing key gives 0. Empty
    /// text for a part outside 0 to 6, when either offset of the pair is below
    /// 1 (ghrvHTML then gives the whole document) and when the end is not past
    /// the start; an end past the document's end stops at it. SourceURL
    /// counts only in the header, before StartHTML, and only up to a
    /// following CR LF.
    /// Raises 13 (type mismatch) when an offset is no number and 6 (overflow)
    /// when it exceeds 32 bits, as the platform's conversion does.
    static QString extract(const QByteArray &document, qint32 part);

    /// A document for HTML that another program put on the clipboard as
    /// text/html, so that hosts read it as if it were "HTML Format":
    /// - HTML that already holds both markers keeps them: the fragment is what
    ///   they enclose, the contexts what lies before and after;
    /// - otherwise a document with a body: the fragment is the body's content,
    ///   the contexts run up to and including <body ...> and from </body> on;
    /// - otherwise the whole text is the fragment between the default
    ///   contexts, except for leading <meta> tags (browsers put the charset in
    ///   front of a copied selection), which go into a head in the start context.
    static QByteArray fromHtml(const QString &html);
};

} // namespace tessera
