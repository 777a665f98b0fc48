#pragma once

#include "lib/TesseraExport.h"

#include <QString>

class QObject;

namespace tessera {

/// The first event-logger interface ({021E4C91-876F-11D9-B5F8-00E07DBA2B87}):
/// what the library's logger proxy (CEventLoggerStub) offers to hosts and
/// forwards to the outside event-logger component "EventLogger.crvEventLogger".
/// A failure of the outside logger is raised from the member as a
/// RuntimeError.
class TESSERA_EXPORT IEventLogger
{
public:
    virtual ~IEventLogger();

    virtual void InitEventLogger(const QString &ComputerName, const QString &UserName, QObject *AppObject,
                                 qint32 ProcessID, qint32 ThreadID, const QString &EXEName)
        = 0;
    /// The logger's mode; what its values mean is the outside logger's choice.
    virtual qint32 LogMode() = 0;
    /// Records one event: the library reports its errors with \a EventType 2.
    virtual void ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID) = 0;
};

} // namespace tessera
