#pragma once

#include "lib/TesseraExport.h"

#include <QString>
#include <QVariant>

#include <optional>

/// The timed error box: a message box that closes itself, as if its default
/// button had been pressed, when a countdown runs out.
namespace tessera::modError500 {

/// Shows \a Text in a frmError500 box and returns the result number of the
/// button that closed it (the platform's message-box results, 1 OK ...
/// 7 No), or 0 for a style without a button set of the platform.
///
/// \a Style chooses buttons, icon and (through the default button) the
/// button that times out, as for MessageBox::show. \a Title: absent gives
/// the application's title, a value converting to empty text a single blank
/// (raises 13 for a value without a text form). \a DefaultButtonIndex and
/// \a CancelButtonIndex (0-based, -1 for the style's own) replace the
/// style's default and cancel buttons when they name one of its buttons;
/// other values are ignored. The countdown runs \a TimeoutValue seconds (at
/// least 1) and the box closes a quarter second after showing 0. Escape and
/// the window's close command press the cancel button.
///
/// While a ScopedMessageBoxAnswerer is active the box is not shown: the
/// answerer gets the request and its answer is returned. Without a widget
/// application nothing is shown and the result is 0.
TESSERA_EXPORT qint32 ShowErrorBox(const QString &Text, qint32 Style = 16,
                                   const std::optional<QVariant> &Title = std::nullopt, qint32 DefaultButtonIndex = -1,
                                   qint32 CancelButtonIndex = -1, qint32 TimeoutValue = 15);

} // namespace tessera::modError500
