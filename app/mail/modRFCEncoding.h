#pragma once

#include <QString>

/// The encodings that keep a message's header 7-bit: the subject as one
/// RFC 2047 encoded-word, the picture's name as header parameters.
namespace quillon::modRFCEncoding {

/// The caption as one Q-encoded word with every byte escaped (a space is
/// "=20", never "_"), never split or folded: "abc" gives
/// "=?WINDOWS-1251?Q?=61=62=63?=", n characters 3n + 19 characters. A
/// caption that Windows-1251 cannot hold whole is encoded from its UTF-8
/// bytes as "=?UTF-8?Q?...?=" instead, so no character is lost. An empty
/// caption gives "".
QString EncodeSubject(const QString &Caption);

/// The name parameter of the Content-Type line: name="photo.jpg". A name
/// with a character outside printable ASCII, a double quote or a backslash
/// goes in as an RFC 2047 word inside the quotes: name="=?UTF-8?B?...?=".
QString NameParameter(const QString &FileName);

/// The file-name parameter of the Content-Disposition line:
/// filename="photo.jpg"; for the names NameParameter encodes, an RFC 2231
/// parameter on one line: filename*=UTF-8''%D1%84.jpg.
QString FileNameParameter(const QString &FileName);

} // namespace quillon::modRFCEncoding
