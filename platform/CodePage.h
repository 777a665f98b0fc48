#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tessera {

/// The original platform's two single-byte code pages: Windows-1251 as the
/// "ANSI" page of the system's "A" entry points and of bytes carried as text,
/// and 866 as the OEM (console) page.
///
/// Bytes 0x00-0x7F are ASCII in both pages. Decoding never fails. Encoding
/// turns every character that has no byte in the page into "?" (63); a
/// surrogate pair counts as one character and gives one "?".
///
/// Windows-1251 leaves byte 0x98 unassigned. It decodes to U+0098 (the C1
/// control of the same value) and U+0098 encodes back to 0x98, as the
/// original platform does, so that every byte survives a round trip through
/// text and binary data carried as text is never corrupted.
class TESSERA_PLATFORM_EXPORT CodePage
{
public:
    CodePage() = delete;

    static QString fromAnsi(QByteArrayView bytes);
    static QByteArray toAnsi(QStringView text);

    static QString fromOem(QByteArrayView bytes);
    static QByteArray toOem(QStringView text);
};

} // namespace tessera
