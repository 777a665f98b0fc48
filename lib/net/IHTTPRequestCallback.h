#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>

namespace tessera {

/// Progress of crvHTTPRequest::Execute, block by block, on the caller's
/// thread between two blocks. Derive from it and override what you need; the
/// library's own implementation does nothing.
///
/// Within one Execute, \a Cancel is one flag shared by both operations and
/// \a RemoveBlock one flag; both start false and keep whatever value they are
/// left with. Setting Cancel ends the request with htprCanceled. An
/// exception thrown here leaves Execute and reaches its caller.
class TESSERA_EXPORT IHTTPRequestCallback
{
public:
    virtual ~IHTTPRequestCallback();

    /// A block of the response body (at most BufferSize bytes), with the
    /// bytes received so far and the announced length (0 when unknown).
    /// Setting \a RemoveBlock drops the block from ReceivedData; the body is
    /// then not inflated either.
    virtual void BlockReceived(const QByteArray &Block, bool &RemoveBlock, qint64 ReceivedBytes, qint64 TotalBytes,
                               bool &Cancel);

    /// A block of the request body (at most BufferSize bytes) has been
    /// written, with the bytes sent so far and the body's length.
    virtual void BlockSent(const QByteArray &Block, qint64 SentBytes, qint64 TotalBytes, bool &Cancel);
};

} // namespace tessera
