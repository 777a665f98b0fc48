#pragma once

#include "platform/PlatformExport.h"

#include <QString>
#include <QStringList>

namespace tessera {

/// Values of a desktop entry file (the freedesktop.org Desktop Entry
/// format), as the desktop's own launchers read them back.
class TESSERA_PLATFORM_EXPORT DesktopEntry
{
public:
    DesktopEntry() = delete;

    /// \a text as a string value: backslash, line feed, carriage return and
    /// tab written as the escapes \\, \n, \r and \t.
    static QString stringValue(const QString &text);

    /// The value of an Exec key that starts \a arguments (the program first)
    /// exactly as given: every argument in double quotes with '"', '`', '$'
    /// and '\' escaped by a backslash and '%' doubled (no field codes), then
    /// the whole line escaped as a string value.
    static QString execValue(const QStringList &arguments);
};

} // namespace tessera
