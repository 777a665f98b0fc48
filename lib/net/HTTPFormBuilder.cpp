#include "lib/net/HTTPFormBuilder.h"

#include "support/csText.h"

namespace tessera {

namespace {

const QByteArray CRLF = QByteArrayLiteral("\r\n");

} // namespace

HTTPFormBuilder::HTTPFormBuilder() = default;

HTTPFormBuilder::~HTTPFormBuilder() = default;

QByteArray HTTPFormBuilder::Boundary()
{
    return QByteArrayLiteral("EEDBA9E2-7BCD-44F8-8E15-F0314AF5AB43");
}

QString HTTPFormBuilder::Header()
{
    return QLatin1String("Content-Type: multipart/form-data; boundary=") + QLatin1String(Boundary())
        + QLatin1String("\r\n");
}

QByteArray HTTPFormBuilder::FormData() const
{
    return m_parts + "--" + Boundary() + "--";
}

void HTTPFormBuilder::Clear()
{
    m_parts.clear();
}

void HTTPFormBuilder::AddTextElement(const QString &Name, const QString &Text)
{
    AddElement(Name, cs::csStrConvB(Text), htfbText);
}

void HTTPFormBuilder::AddBinaryElement(const QString &Name, const QString &FileName, const QString &MIMEType,
                                       const QByteArray &Data)
{
    AddElement(Name, Data, htfbBinary, MIMEType, {}, FileName);
}

void HTTPFormBuilder::AddElement(const QString &Name, const QByteArray &Data, htfbTransferEncoding TransferEncoding,
                                 const QString &MIMEType, const QString &Charset, const QString &FileName)
{
    QByteArray part = "--" + Boundary() + CRLF;
    part += "Content-Disposition: form-data; name=\"" + cs::csStrConvB(Name) + '"';
    if (!FileName.isEmpty())
        part += "; filename=\"" + cs::csStrConvB(FileName) + '"';
    part += CRLF;
    if (!MIMEType.isEmpty()) {
        part += "Content-Type: " + cs::csStrConvB(MIMEType);
        if (!Charset.isEmpty())
            part += "; charset=" + cs::csStrConvB(Charset);
        part += CRLF;
    }
    if (TransferEncoding == htfbBinary)
        part += "Content-Transfer-Encoding: binary" + CRLF;
    else if (TransferEncoding == htfbBase64)
        part += "Content-Transfer-Encoding: base64" + CRLF;
    m_parts += part + CRLF + Data + CRLF;
}

} // namespace tessera
