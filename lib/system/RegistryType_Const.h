#pragma once

#include <QtGlobal>

namespace tessera {

/// The value types of crvRegistry and crvCorvidSettings, with their storage:
/// - rtString: a string value (REG_SZ), the text in UTF-8 followed by one NUL;
/// - rtLong: a 32-bit value (REG_DWORD), 4 bytes little-endian, signed;
/// - rtBinary: a binary value (REG_BINARY), the bytes as they are;
/// - rtBoolean: a string value, "True" or "False" followed by one NUL.
/// Any other number is invalid for the value operations.
enum RegistryType_Const : qint32 {
    rtString = 0,
    rtLong = 1,
    rtBinary = 2,
    rtBoolean = 3,
};

} // namespace tessera
