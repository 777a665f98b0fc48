#include "platform/SpecialFolder.h"

#include <QStandardPaths>

namespace tessera {

QString SpecialFolder::path(int id)
{
    switch (id) {
    case Documents:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case ApplicationData:
        // The generic location, not the per-program one: callers add their
        // own maker and program folders below it.
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    case Pictures:
        return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    default:
        return {};
    }
}

} // namespace tessera
