#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <memory>

namespace tessera {

/// Tells a program whether another instance of it is already running, in
/// three scopes, by holding a named mutex (platform/NamedMutex.h) per scope:
///
/// | Operation        | Mutex name                                         |
/// |------------------|----------------------------------------------------|
/// | IsAlone          | AppGUID                                            |
/// | IsAloneOnDesktop | AppGUID + "_Desktop_" + the session's display      |
/// | IsAloneAtUser    | AppGUID + "_User_" + cs::csGetFullUserName(true)   |
///
/// The names live in the user's own namespace, as the platform's plain names
/// live in the log-on session's, so another user's instances never count;
/// an AppGUID that begins with "Global\\" puts them in the machine-wide
/// namespace instead, as on the platform.
/// The display is $WAYLAND_DISPLAY, else $DISPLAY as given (host part and
/// all, so that a forwarded display differs from a local one), else
/// "Default". Names keep every character; nothing is lost to a code page.
///
/// Each call first gives up this object's own claim of that scope, then
/// claims the name afresh and keeps it until the next call for the scope or
/// until the object goes. The claim dies with the process however it ends
/// (a crash or kill -9 included), and a lock file left behind by a dead
/// process blocks no one. A host keeps the object for its whole run.
///
/// A call answers false only when another holder has the name (or the name
/// belongs to another user and cannot be opened); any other failure to
/// create the mutex answers true.
///
///     static tessera::crvAlone alone;
///     if (!alone.IsAloneAtUser(QStringLiteral("{5A0C...}")))
///         return 0; // the user's first instance is already running
class TESSERA_EXPORT crvAlone
{
public:
    crvAlone();
    ~crvAlone();
    crvAlone(const crvAlone &) = delete;
    crvAlone &operator=(const crvAlone &) = delete;

    bool IsAlone(const QString &AppGUID);
    bool IsAloneOnDesktop(const QString &AppGUID);
    bool IsAloneAtUser(const QString &AppGUID);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
