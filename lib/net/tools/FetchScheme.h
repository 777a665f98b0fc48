#pragma once

// One kind of address tessera-fetch can fetch. The tool cracks the URL,
// asks each scheme in turn whether it serves the protocol, and runs the
// first that does.

#include "lib/net/tools/FetchOptions.h"

#include <QByteArray>
#include <QString>

namespace tessera::fetchtool {

class FetchOutput;

/// What every scheme reports back.
enum FetchExit : int {
    ExitSuccess = 0,
    ExitStatus = 1, ///< the server answered, but not with success
    ExitUsage = 2,
    ExitExchange = 3, ///< the exchange itself failed
    ExitOutput = 4, ///< the body could not be written
    ExitInput = 5, ///< the upload file could not be read
};

/// A URL split by CrackURL, with the request body read already.
struct FetchRequest {
    FetchOptions options;
    QString protocol; ///< as CrackURL gives it, e.g. "http://"
    QString address;
    qint32 port = 0;
    QString objectName;
    QByteArray body; ///< --data or the --upload file; empty for none
    bool hasBody = false;
};

class FetchScheme
{
public:
    virtual ~FetchScheme() = default;
    /// Whether this scheme serves \a protocol ("http://", compared without
    /// regard to case).
    virtual bool serves(const QString &protocol) const = 0;
    /// Performs \a request, writes the body to \a output and reports status
    /// and failures on standard error. Returns a FetchExit value.
    virtual int fetch(const FetchRequest &request, FetchOutput &output) = 0;
};

} // namespace tessera::fetchtool
