#pragma once

#include "lib/net/tools/FetchScheme.h"

namespace tessera::fetchtool {

/// http:// addresses, through crvHTTPRequest.
class HttpFetchScheme : public FetchScheme
{
public:
    bool serves(const QString &protocol) const override;
    int fetch(const FetchRequest &request, FetchOutput &output) override;
};

} // namespace tessera::fetchtool
