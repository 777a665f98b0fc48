#pragma once

#include "platform/PlatformExport.h"

#include <QList>
#include <QString>

namespace tessera {

/// The clipboard's format codes as the original platform numbers them, and
/// the MIME types that carry each format on the desktop clipboard here.
///
/// - The three text formats (CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT) are all
///   served from text/plain; the clipboard code converts between them.
/// - A registered format is kept under its name: a name that is itself a MIME
///   type ("image/png") as that type, any other name ("HTML Format") under
///   the private type application/x-qt-windows-mime;value="<name>", the form
///   Qt uses for the platform's named formats.
/// - Any other code (the drop-files block 15, the locale 16, unnamed codes) is
///   kept under the private type application/x-tessera-clipboard-format;code=<n>.
///
/// Registration is process-wide and thread-safe: one name has one code for
/// the whole run, as on the platform, whose codes are valid for one session.
class TESSERA_PLATFORM_EXPORT ClipboardFormat
{
public:
    ClipboardFormat() = delete;

    enum StandardFormat : qint32 {
        CF_TEXT = 1,
        CF_OEMTEXT = 7,
        CF_UNICODETEXT = 13,
        CF_HDROP = 15,
        CF_LOCALE = 16,
    };

    /// The first and last code that registration hands out.
    static constexpr qint32 FirstRegistered = 0xC000;
    static constexpr qint32 LastRegistered = 0xFFFF;

    /// The code of the format \a name (RegisterClipboardFormat): the same name,
    /// compared without regard to case, always gives the same code. 0 for an
    /// empty name and when every code is taken.
    static qint32 registerFormat(const QString &name);

    /// The name a code was registered with (GetClipboardFormatName), spelt as
    /// it was first registered; empty for built-in and unknown codes.
    static QString formatName(qint32 code);

    /// The MIME type that holds the data of format \a code; empty for codes
    /// below 1.
    static QString mimeType(qint32 code);

    /// The format codes that a MIME type offers, in the order the platform
    /// lists them: text/plain gives CF_UNICODETEXT, CF_TEXT and CF_OEMTEXT;
    /// text/uri-list gives CF_HDROP; text/html gives the "HTML Format" code;
    /// a private type gives its code; any other MIME type is registered under
    /// its own name. Empty for texts that are no MIME type (X11 atoms such as
    /// TARGETS) and for Qt's in-process image type.
    static QList<qint32> formatsForMimeType(const QString &mimeType);

    /// Whether \a text has the form of a MIME type, "type/subtype" with
    /// optional parameters.
    static bool isMimeType(const QString &text);
};

} // namespace tessera
