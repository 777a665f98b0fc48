#pragma once

#include "platform/PlatformExport.h"

#include <QString>

namespace tessera {

/// Registration of component modules (Qt plugins with a
/// tessera::ComponentFactory root), as the original platform's
/// self-registering servers wrote themselves into its classes root. The
/// registration tool tessera-regsvr is built on these functions.
class TESSERA_PLATFORM_EXPORT ComponentRegistration
{
public:
    ComponentRegistration() = delete;

    /// Where the keys go: Software\Classes of the current user's or of the
    /// machine's hive.
    enum class Scope { CurrentUser, Machine };

    /// Reads the classes that the module at \a modulePath declares in its
    /// plugin metadata ("Classes": [{"ProgID": ..., "CLSID": "{...}"}]) and
    /// writes, for each, <ProgID>\CLSID = "{GUID}", CLSID\{GUID}\ProgID =
    /// ProgID and CLSID\{GUID}\InprocServer32 = the module's absolute path.
    ///
    /// Returns 0, or a Win32 code with the reason in \a errorText: 2 when
    /// the file does not exist, 13 when it is not a component module (no
    /// plugin metadata with the factory interface, no classes, a class
    /// without a ProgID or a valid CLSID), or the registry's code when a key
    /// cannot be written. Nothing is written for a module that is not valid.
    static qint32 registerModule(const QString &modulePath, Scope scope, QString *errorText = nullptr);

    /// Removes what registerModule wrote for the module: each class's
    /// CLSID\{GUID} key, and its <ProgID> key while that still names this
    /// class (a newer registration of the identifier by another module is
    /// kept). Keys already missing are no failure. Returns 0 or a Win32 code
    /// as registerModule does.
    static qint32 unregisterModule(const QString &modulePath, Scope scope, QString *errorText = nullptr);
};

} // namespace tessera
