#pragma once

#include "platform/PlatformExport.h"

#include <QString>

namespace tessera {

/// The original platform's special folders by their numbers, mapped onto
/// the XDG folders of the user (QStandardPaths).
///
/// The folders are reported, never created: a caller that needs one to exist
/// creates it, as it must on the original platform too.
class TESSERA_PLATFORM_EXPORT SpecialFolder
{
public:
    enum Id : int {
        Documents = 5, ///< the user's documents (XDG_DOCUMENTS_DIR)
        ApplicationData = 26, ///< the user's application data: the XDG data home
        Pictures = 39, ///< the user's pictures (XDG_PICTURES_DIR)
    };

    SpecialFolder() = delete;

    /// The folder's full path without a trailing "/"; empty for any other
    /// number, or when the system knows no such folder.
    static QString path(int id);
};

} // namespace tessera
