#include "lib/system/crvAlone.h"

#include "platform/NamedMutex.h"
#include "platform/Win32Error.h"
#include "support/csSystem.h"

namespace tessera {

namespace {

// The session's display stands for the platform's desktop: instances on
// different displays of one user are on different desktops.
QString desktopName()
{
    for (const char *variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const QString display = qEnvironmentVariable(variable);
        if (!display.isEmpty())
            return display;
    }
    return QStringLiteral("Default");
}

bool claim(NamedMutex &slot, const QString &name)
{
    // Our own earlier claim must not count as another instance.
    slot.close();
    slot = NamedMutex(name);
    return slot.lastError() != Win32Error::AlreadyExists && slot.lastError() != Win32Error::AccessDenied;
}

} // namespace

class crvAlone::Private
{
public:
    NamedMutex machine;
    NamedMutex desktop;
    NamedMutex user;
};

crvAlone::crvAlone()
    : d(std::make_unique<Private>())
{ }

crvAlone::~crvAlone() = default;

bool crvAlone::IsAlone(const QString &AppGUID)
{
    return claim(d->machine, AppGUID);
}

bool crvAlone::IsAloneOnDesktop(const QString &AppGUID)
{
    return claim(d->desktop, AppGUID + QStringLiteral("_Desktop_") + desktopName());
}

bool crvAlone::IsAloneAtUser(const QString &AppGUID)
{
    return claim(d->user, AppGUID + QStringLiteral("_User_") + cs::csGetFullUserName(true));
}

} // namespace tessera
