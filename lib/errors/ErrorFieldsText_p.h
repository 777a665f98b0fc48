#pragma once

#include "platform/RuntimeError.h"

#include <QString>

namespace tessera {

/// The labelled lines of the set fields of \a error, each ending in CR LF
/// (the description with an empty line after it), untrimmed: the common
/// body of crvErr::GetErrorMessage and modEventLoggerSupport::FormatErrorObject,
/// which trim it differently.
QString errorFieldsText(const RuntimeError &error);

/// "Unknown run-time error.", the text of an error without any field set.
QString unknownRunTimeErrorText();

} // namespace tessera
