#pragma once

#include "app/mail/MailFailureReporter.h"

#include <QDateTime>
#include <QString>

namespace quillon {

class TextHolder;

/// The post mail composer: one picture and one caption in, one .EML file
/// out that the Tumblr post-by-e-mail gateway takes as a photo post (the
/// caption as the subject, the picture as a base64 body).
namespace modMail {

/// Writes the message for \a PictureFile into the folder that
/// \a FolderBox holds and returns true when the file was written.
///
/// The folder box is trimmed (csTrimEx2 with spaces, tabs, CR, LF and NUL)
/// in place first. Every failure is reported through \a Reporter, and then
/// the result is false with nothing written:
/// - the folder does not exist: folder + CR LF CR LF + "Output directory
///   was not found." (showMessage);
/// - an address holds a line break or another control character, which
///   would let it write header lines of its own (showMessage);
/// - the picture cannot be read: PictureFile + CR LF CR LF + "Can't read
///   file." (showError);
/// - the message cannot be written: full path + CR LF CR LF + "Can't write
///   file." (showError).
///
/// The file is named "Mail yyyy-MM-dd hh-mm-ss nnnn.EML" from the present
/// time and MailCounter, which advances for every name tried; a name that
/// exists is passed over for the next counter value, so no file is ever
/// replaced. \a WrittenPath, when given, receives the written file's path.
///
///     StringTextHolder folder(QStringLiteral("/home/me/Mail"));
///     if (modMail::MakePostMail(folder, from, to, caption, picture))
///         ...
bool MakePostMail(TextHolder &FolderBox, const QString &FromAddress, const QString &ToAddress, const QString &Caption,
                  const QString &PictureFile, MailFailureReporter &Reporter = MailFailureReporter::messageBoxes(),
                  QString *WrittenPath = nullptr);

/// The MIME type for \a FileName's extension (any case): BMP image/bmp;
/// JPG, JPE, JFIF and JPEG image/jpeg; GIF image/gif; PNG image/png;
/// anything else, no extension included, application/octet-stream.
QString GetMimeType(const QString &FileName);

/// The counter of this run's message names: 0 when the program starts,
/// one up for every name the composer takes.
qint32 MailCounter();

/// A message file name: "Mail 2010-12-12 05-16-16 0000.EML" for \a When and
/// \a Counter (at least four digits).
QString MailFileName(const QDateTime &When, qint32 Counter);

} // namespace modMail

} // namespace quillon
