#pragma once

#include <QtGlobal>

#include <cerrno>

namespace tessera {

/// Result codes of the original platform's system calls, as the stand-ins in
/// this folder return them and as callers store them in their last-error
/// properties. 0 is success.
namespace Win32Error {
constexpr qint32 Success = 0;
constexpr qint32 FileNotFound = 2;
constexpr qint32 PathNotFound = 3;
constexpr qint32 TooManyOpenFiles = 4;
constexpr qint32 AccessDenied = 5;
constexpr qint32 InvalidHandle = 6;
constexpr qint32 NotEnoughMemory = 8;
constexpr qint32 InvalidData = 13;
constexpr qint32 NoMoreFiles = 18;
constexpr qint32 WriteFault = 29;
constexpr qint32 ReadFault = 30;
constexpr qint32 FileExists = 80;
constexpr qint32 InvalidParameter = 87;
constexpr qint32 DiskFull = 112;
constexpr qint32 InsufficientBuffer = 122;
constexpr qint32 InvalidName = 123;
constexpr qint32 DirNotEmpty = 145;
constexpr qint32 BadPathname = 161;
constexpr qint32 Busy = 170;
constexpr qint32 AlreadyExists = 183;
constexpr qint32 FilenameTooLong = 206;
constexpr qint32 MoreData = 234;
constexpr qint32 NoMoreItems = 259;
constexpr qint32 BadDatabase = 1009; // ERROR_BADDB
constexpr qint32 BadKey = 1010; // ERROR_BADKEY
constexpr qint32 CantOpen = 1011; // ERROR_CANTOPEN
constexpr qint32 CantRead = 1012; // ERROR_CANTREAD
constexpr qint32 CantWrite = 1013; // ERROR_CANTWRITE
constexpr qint32 RegistryCorrupt = 1015; // ERROR_REGISTRY_CORRUPT
constexpr qint32 RegistryIoFailed = 1016; // ERROR_REGISTRY_IO_FAILED
constexpr qint32 KeyDeleted = 1018; // ERROR_KEY_DELETED
constexpr qint32 KeyHasChildren = 1020; // ERROR_KEY_HAS_CHILDREN
constexpr qint32 ChildMustBeVolatile = 1021;
constexpr qint32 TransactionNotActive = 6701; // ERROR_TRANSACTION_NOT_ACTIVE

/// The code for a failed file operation's errno value; \a otherwise for the
/// values without a closer match (an input/output error, for instance).
inline qint32 fromErrno(int error, qint32 otherwise)
{
    switch (error) {
    case 0:
        return Success;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return AccessDenied;
    case ENOENT:
    case ENOTDIR:
        return PathNotFound;
    case EEXIST:
        return FileExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return DiskFull;
    case ENAMETOOLONG:
        return FilenameTooLong;
    case ENOMEM:
        return NotEnoughMemory;
    case EMFILE:
    case ENFILE:
        return TooManyOpenFiles;
    default:
        return otherwise;
    }
}
} // namespace Win32Error

} // namespace tessera
