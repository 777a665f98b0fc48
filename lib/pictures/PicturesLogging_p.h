#pragma once

#include <QLoggingCategory>

namespace tessera {

// Why a picture reader passed a file on; off unless
// QT_LOGGING_RULES="tessera.pictures.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPictures)

} // namespace tessera
