#pragma once

// What crvHTTPRequest reads from the header block of a response: the status
// line and the few headers it acts on. The block comes from the network, so
// nothing in it is trusted. Internal to the library.

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QByteArrayList>

namespace tessera::detail {

struct ResponseHead {
    qint32 statusCode = 0; ///< 100..999; 0 when the status line is not "HTTP/x.y NNN ..."
    QByteArray statusText; ///< the reason phrase, after the code and one blank
    qint64 contentLength = -1; ///< -1 when absent or not a decimal number
    QByteArrayList setCookies; ///< every Set-Cookie value, in order
    bool hasLocation = false;
};

/// Parses a header block as received: the status line, then header lines,
/// each ended by CR LF or LF. Lines without a colon are passed over.
TESSERA_EXPORT ResponseHead parseResponseHead(const QByteArray &block);

} // namespace tessera::detail
