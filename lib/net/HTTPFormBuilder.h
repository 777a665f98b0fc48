#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// The Content-Transfer-Encoding line a form part is labelled with. The
/// builder never encodes: data declared htfbBase64 must already be Base64.
enum htfbTransferEncoding : qint32 {
    htfbText = 0, ///< no line
    htfbBinary = 1, ///< "Content-Transfer-Encoding: binary"
    htfbBase64 = 2, ///< "Content-Transfer-Encoding: base64"
};

/// Builds a multipart/form-data body part by part, for crvHTTPRequest:
///
///     HTTPFormBuilder form;
///     form.AddTextElement("caption", "Sunset");
///     form.AddBinaryElement("picture", "sunset.jpg", "image/jpeg", jpegBytes);
///     http.Execute(host, 80, "POST", "/upload", "HTTP/1.1", {}, form.Header(), form.FormData());
///
/// Every body uses the one fixed boundary HTTPFormBuilder::Boundary(); the
/// data is not searched for it, so a value holding it breaks the body. Names
/// and file names go in as given, without escaping; texts are sent in the
/// system's ANSI code page (Windows-1251).
class TESSERA_EXPORT HTTPFormBuilder
{
public:
    HTTPFormBuilder();
    ~HTTPFormBuilder();
    HTTPFormBuilder(const HTTPFormBuilder &) = delete;
    HTTPFormBuilder &operator=(const HTTPFormBuilder &) = delete;

    /// "EEDBA9E2-7BCD-44F8-8E15-F0314AF5AB43".
    static QByteArray Boundary();

    /// "Content-Type: multipart/form-data; boundary=" + the boundary + CR LF.
    static QString Header();
    /// The parts added so far, then "--" + the boundary + "--" (no line end).
    QByteArray FormData() const;
    /// Removes every part.
    void Clear();

    /// A plain text part.
    void AddTextElement(const QString &Name, const QString &Text);
    /// A file part labelled binary.
    void AddBinaryElement(const QString &Name, const QString &FileName, const QString &MIMEType,
                          const QByteArray &Data);
    /// A part with its optional headers: a file name, a Content-Type line
    /// when \a MIMEType is given (with "; charset=" when \a Charset is given
    /// too; a charset alone is ignored) and the transfer-encoding line.
    void AddElement(const QString &Name, const QByteArray &Data, htfbTransferEncoding TransferEncoding = htfbText,
                    const QString &MIMEType = {}, const QString &Charset = {}, const QString &FileName = {});

private:
    QByteArray m_parts;
};

} // namespace tessera
