#pragma once

#include "lib/net/tools/FetchScheme.h"

namespace tessera::fetchtool {

/// ftp:// addresses, through crvFTPClient: download, upload and listing.
class FtpFetchScheme : public FetchScheme
{
public:
    bool serves(const QString &protocol) const override;
    qint32 defaultPort() const override { return 21; }
    QString foreignOption(const FetchOptions &options) const override;
    bool takesBody() const override { return false; }
    bool writesOutput(const FetchRequest &request) const override;
    int fetch(const FetchRequest &request, FetchOutput &output) override;
};

} // namespace tessera::fetchtool
