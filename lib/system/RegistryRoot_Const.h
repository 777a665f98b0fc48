#pragma once

#include <QtGlobal>

namespace tessera {

/// The registry roots, as the platform's predefined key handles (32-bit).
/// HKEY_USERS, HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG and HKEY_DYN_DATA
/// are not kept here: every operation on them fails with 6 (invalid handle),
/// as the platform answers a program for a root it does not provide.
enum RegistryRoot_Const : qint32 {
    HKEY_CLASSES_ROOT = -2147483647 - 1, // 0x80000000
    HKEY_CURRENT_USER = -2147483647, // 0x80000001
    HKEY_LOCAL_MACHINE = -2147483646, // 0x80000002
    HKEY_USERS = -2147483645, // 0x80000003
    HKEY_PERFORMANCE_DATA = -2147483644, // 0x80000004
    HKEY_CURRENT_CONFIG = -2147483643, // 0x80000005
    HKEY_DYN_DATA = -2147483642, // 0x80000006
};

} // namespace tessera
