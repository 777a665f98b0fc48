#pragma once

#include "lib/net/tools/FetchScheme.h"

namespace tessera::fetchtool {

/// http:// addresses, through crvHTTPRequest.
class HttpFetchScheme : public FetchScheme
{
public:
    bool serves(const QString &protocol) const override;
    qint32 defaultPort() const override { return 80; }
    QString foreignOption(const FetchOptions &options) const override;
    bool takesBody() const override { return true; }
    bool writesOutput(const FetchRequest &) const override { return true; }
    int fetch(const FetchRequest &request, FetchOutput &output) override;
};

} // namespace tessera::fetchtool
