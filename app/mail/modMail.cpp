#include "app/mail/modMail.h"

#include "app/common/ProgramInfo.h"
#include "app/common/TextHolder.h"
#include "app/mail/NewFileWriter.h"
#include "app/mail/RegularFileReader.h"
#include "app/mail/modRFCEncoding.h"
#include "app/mail/modWinInet.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"
#include "support/csText.h"

#include <new>
#include <optional>

namespace quillon::modMail {

namespace {

using tessera::RuntimeError;

const QLatin1String CRLF("\r\n");
const QLatin1String Paragraph("\r\n\r\n");

qint32 g_mailCounter = 0;

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// Lines 1 to 12 of the message: the header and the empty line that ends it.
QByteArray messageHeader(const QString &from, const QString &to, const QString &caption, const QString &picture)
{
    const QString name = cs::csGetFileName(picture);
    const QString version = cs::csFormatVersion(ProgramInfo::Major, ProgramInfo::Minor, ProgramInfo::Revision);
    const QStringList lines = {
        QLatin1String("From: ") + from,
        QLatin1String("To: ") + to,
        QLatin1String("Subject: ") + modRFCEncoding::EncodeSubject(caption),
        QLatin1String("Date: ") + modWinInet::FormatMailDate(QDateTime::currentDateTime()),
        QStringLiteral("MIME-Version: 1.0"),
        QLatin1String("X-Mailer: ") + ProgramInfo::Title() + QLatin1Char(' ') + version,
        QLatin1String("Content-Type: ") + GetMimeType(name) + QLatin1Char(';'),
        QLatin1Char(' ') + modRFCEncoding::NameParameter(name),
        QStringLiteral("Content-Disposition: attachment;"),
        QLatin1Char(' ') + modRFCEncoding::FileNameParameter(name),
        QStringLiteral("Content-Transfer-Encoding: base64"),
    };
    // Addresses are the only part that may be other than ASCII.
    return (lines.join(CRLF) + Paragraph).toUtf8();
}

} // namespace

bool MakePostMail(TextHolder &FolderBox, const QString &FromAddress, const QString &ToAddress, const QString &Caption,
                  const QString &PictureFile, MailFailureReporter &Reporter, QString *WrittenPath)
{
    const QString folder
        = cs::csTrimEx2(FolderBox.text(), true, true, true, true, true, false, false, false, false, false);
    FolderBox.setText(folder);
    if (!cs::csIsDirectoryExist(folder)) {
        Reporter.showMessage(folder + Paragraph + QLatin1String("Output directory was not found."));
        return false;
    }
    if (hasControlCharacter(FromAddress) || hasControlCharacter(ToAddress)) {
        const QLatin1String which(hasControlCharacter(FromAddress) ? "From" : "To");
        Reporter.showMessage(QLatin1String("The \"") + which
                             + QLatin1String("\" address contains a line break or another control character."));
        return false;
    }

    // The picture is read, encoded and written block by block, so memory
    // stays small whatever its size. A block is a whole number of base64
    // lines (57 bytes each), so the blocks' texts joined with CR LF are the
    // text of the whole picture.
    constexpr qsizetype BlockBytes = 57 * 8192;

    std::optional<RegularFileReader> reader;
    try {
        reader.emplace(PictureFile);
    } catch (const RuntimeError &e) {
        Reporter.showError(e, PictureFile + Paragraph + QLatin1String("Can't read file."));
        return false;
    }

    const auto glitch = [&] {
        Reporter.showMessage(QStringLiteral("WARNING! csBase64Encode() is glitchy again! Please report it to author!"));
        return false;
    };
    QByteArray header;
    std::optional<RuntimeError> pending;
    try {
        header = messageHeader(FromAddress, ToAddress, Caption, PictureFile);
    } catch (const RuntimeError &e) {
        pending = e;
    }
    if (!pending && header.contains('\0'))
        return glitch();

    // From here a failing step stops the write and is reported with the
    // name the message would have had, once that name is taken (a failed
    // write still uses up its counter value).
    const auto nextPath
        = [&] { return cs::csBuildFileName(folder, MailFileName(QDateTime::currentDateTime(), g_mailCounter++)); };
    QString path = nextPath();
    if (pending) {
        Reporter.showError(*pending, path + Paragraph + QLatin1String("Can't write file."));
        return false;
    }
    std::optional<NewFileWriter> message;
    try {
        message.emplace(path);
        message->write(header);
        for (bool first = true;; first = false) {
            QByteArray block;
            try {
                block = reader->read(BlockBytes);
            } catch (const RuntimeError &e) {
                Reporter.showError(e, PictureFile + Paragraph + QLatin1String("Can't read file."));
                return false;
            }
            if (block.isEmpty() && !first)
                break;
            const QByteArray text = cs::csBase64Encode(block, 15);
            if (text.contains('\0'))
                return glitch();
            if (!first)
                message->write(QByteArray::fromRawData("\r\n", 2));
            message->write(text);
            if (block.size() < BlockBytes)
                break;
        }
        message->write(QByteArray::fromRawData("\r\n", 2));
        path = message->commitNew(nextPath);
    } catch (const RuntimeError &e) {
        pending = e;
    } catch (const std::bad_alloc &) {
        pending = RuntimeError(RuntimeError::OutOfMemory);
    }
    if (pending) {
        if (message)
            path = message->path();
        message.reset(); // nothing of the message is left behind
        Reporter.showError(*pending, path + Paragraph + QLatin1String("Can't write file."));
        return false;
    }
    if (WrittenPath)
        *WrittenPath = path;
    return true;
}

QString GetMimeType(const QString &FileName)
{
    const QString extension = cs::csGetFileExtension(FileName).toUpper();
    if (extension == QLatin1String("BMP"))
        return QStringLiteral("image/bmp");
    if (extension == QLatin1String("JPG") || extension == QLatin1String("JPE") || extension == QLatin1String("JFIF")
        || extension == QLatin1String("JPEG"))
        return QStringLiteral("image/jpeg");
    if (extension == QLatin1String("GIF"))
        return QStringLiteral("image/gif");
    if (extension == QLatin1String("PNG"))
        return QStringLiteral("image/png");
    return QStringLiteral("application/octet-stream");
}

qint32 MailCounter()
{
    return g_mailCounter;
}

QString MailFileName(const QDateTime &When, qint32 Counter)
{
    return QLatin1String("Mail ") + When.toString(QStringLiteral("yyyy-MM-dd hh-mm-ss")) + QLatin1Char(' ')
        + QStringLiteral("%1").arg(Counter, 4, 10, QLatin1Char('0')) + QLatin1String(".EML");
}

} // namespace quillon::modMail
