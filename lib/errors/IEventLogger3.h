#pragma once

#include "lib/errors/IEventLogger2.h"

namespace tessera {

/// The third event-logger interface ({FF0258A5-0E4F-11DA-B5F8-00E07DBA2B87}):
/// IEventLogger2 plus the name of the user the events are reported for.
class TESSERA_EXPORT IEventLogger3 : public IEventLogger2
{
public:
    ~IEventLogger3() override;

    virtual QString UserName() = 0;
    virtual void setUserName(const QString &UserName) = 0;
};

} // namespace tessera
