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
    bool portGiven = false; ///< the URL names a port (else the scheme's own applies)
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
    /// The port of a URL that names none.
    virtual qint32 defaultPort() const = 0;
    /// The first option given that this scheme has no use for ("--list"),
    /// or an empty text.
    virtual QString foreignOption(const FetchOptions &options) const = 0;
    /// Whether the body to send (--data, --upload) is read for the scheme
    /// into FetchRequest::body; else the scheme reads the upload file itself.
    virtual bool takesBody() const = 0;
    /// Whether \a request writes through the FetchOutput, which the tool
    /// then opens first; else the scheme writes its file itself.
    virtual bool writesOutput(const FetchRequest &request) const = 0;
    /// Performs \a request, writes the body to \a output and reports status
    /// and failures on standard error. Returns a FetchExit value.
    virtual int fetch(const FetchRequest &request, FetchOutput &output) = 0;
};

} // namespace tessera::fetchtool
