#pragma once

// The original platform's network error numbers (WinInet's, 12001 and up)
// and their texts, as the library's network classes report them in ErrorCode
// and ErrorText. libcurl's results are mapped onto them here, in one table.
// Internal to the library.

#include "lib/TesseraExport.h"

#include <QString>

#include <curl/curl.h>

namespace tessera::detail::WinInet {

constexpr qint32 OutOfHandles = 12001;
constexpr qint32 Timeout = 12002;
constexpr qint32 ExtendedError = 12003;
constexpr qint32 InternalError = 12004;
constexpr qint32 InvalidUrl = 12005;
constexpr qint32 UnrecognizedScheme = 12006;
constexpr qint32 NameNotResolved = 12007;
constexpr qint32 LoginFailure = 12015;
constexpr qint32 OperationCancelled = 12017;
constexpr qint32 CannotConnect = 12029;
constexpr qint32 ConnectionAborted = 12030;
constexpr qint32 ConnectionReset = 12031;
constexpr qint32 SecurityChannelError = 12157;
constexpr qint32 InvalidCa = 12045;
constexpr qint32 FtpDropped = 12111;
constexpr qint32 FtpNoPassiveMode = 12112;
constexpr qint32 InvalidServerResponse = 12152;
constexpr qint32 InvalidHeader = 12153;
constexpr qint32 RedirectFailed = 12156;
constexpr qint32 InvalidHandle = 6; // the system's own ERROR_INVALID_HANDLE
constexpr qint32 NotEnoughMemory = 8; // the system's own ERROR_NOT_ENOUGH_MEMORY
constexpr qint32 InvalidParameter = 87; // ERROR_INVALID_PARAMETER

/// The network error number for a libcurl result; 0 only for CURLE_OK.
/// Results without a closer match give InternalError.
TESSERA_EXPORT qint32 fromCurl(CURLcode code);

/// The text of a network or system error number: the system's description,
/// else WinInet's; empty for 0 and unknown numbers.
TESSERA_EXPORT QString text(qint32 code);

} // namespace tessera::detail::WinInet
