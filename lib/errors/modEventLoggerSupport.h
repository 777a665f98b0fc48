#pragma once

#include "lib/TesseraExport.h"
#include "platform/RuntimeError.h"

#include <QObject>
#include <QString>

#include <memory>

/// Creation of the outside event logger and the logger's text of an error.
namespace tessera::modEventLoggerSupport {

/// Creates the outside event logger "EventLogger.crvEventLogger" and
/// initialises it with InitEventLogger2: the computer's and the user's name,
/// the Title, Major, Minor and Revision of \a AppObject (read by name, the
/// version numbers as 16-bit values), the process id, the thread id and the
/// executable's full path in long form.
///
/// Never raises. \a LastError is cleared first; when the component cannot be
/// created it receives the formatted error and the result is nullptr; when
/// the initialisation fails it receives the formatted error and the
/// half-initialised logger is returned all the same.
TESSERA_EXPORT std::unique_ptr<QObject> CreateEventLogger(QObject *AppObject, QString &LastError);

/// The logger's text of an error: "Error number: ", "Description:  ",
/// "Source:       ", "Help file:    " and "Help context: " lines for the
/// fields that are set (a description's CR LF pairs become blanks, and an
/// empty line follows it), with one final CR LF removed; "Unknown run-time
/// error." when no field is set. A description-only error thus keeps one
/// CR LF at its end.
TESSERA_EXPORT QString FormatErrorObject(const RuntimeError &Error);

} // namespace tessera::modEventLoggerSupport
