#pragma once

#include "platform/StdPicture.h"

#include <QString>

#include <optional>

namespace tessera {

class PictureInfo;

/// One reader of the picture chain (modBitmapWorks.h).
class IFileFormat
{
public:
    virtual ~IFileFormat() = default;

    /// True when the reader wants to try the file; false on any failure to
    /// read it.
    virtual bool Verify(const QString &FileName) = 0;
    /// Loads the file; no picture when the reader cannot. Resets \a Info
    /// (when given) first and fills it on success. Bad files raise nothing.
    virtual std::optional<StdPicture> LoadPicture(const QString &FileName, PictureInfo *Info) = 0;
};

} // namespace tessera
