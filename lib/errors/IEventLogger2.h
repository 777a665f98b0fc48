#pragma once

#include "lib/errors/IEventLogger.h"

namespace tessera {

/// The second event-logger interface ({021E4C93-876F-11D9-B5F8-00E07DBA2B87}):
/// IEventLogger plus an initialisation for hosts without an application object.
/// crvErr::Logger() hands the shared proxy out as this interface.
class TESSERA_EXPORT IEventLogger2 : public IEventLogger
{
public:
    ~IEventLogger2() override;

    virtual void InitEventLogger2(const QString &ComputerName, const QString &UserName, const QString &AppTitle,
                                  qint32 AppMajor, qint32 AppMinor, qint32 AppRevision, qint32 ProcessID,
                                  qint32 ThreadID, const QString &EXEName)
        = 0;
};

} // namespace tessera
