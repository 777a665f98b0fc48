#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QtGlobal>

namespace tessera {

/// The CRC-32 of gzip and zlib (reflected polynomial EDB88320, starting at
/// and finished with FFFFFFFF): "123456789" gives CBF43926, returned as the
/// signed value -873187034; no bytes give 0.
///
/// Internal to the library; exported for its tests and benchmarks.
class TESSERA_EXPORT cCRC32
{
public:
    /// The CRC-32 of all of \a Buffer, as a signed 32-bit value.
    qint32 GetByteArrayCrc32(const QByteArray &Buffer) const;

    /// Continues \a crc (a finished value, 0 to start) over \a length more
    /// bytes, so data can be checked in pieces.
    static quint32 update(quint32 crc, const char *data, qsizetype length);
};

} // namespace tessera
