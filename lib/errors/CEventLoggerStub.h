#pragma once

#include "lib/TesseraExport.h"
#include "lib/errors/IEventLogger3.h"

#include <QObject>

#include <memory>

namespace tessera {

/// The library's logger proxy: implements the three event-logger interfaces,
/// forwards every call by member name (CallByName) to the attached outside
/// logger, and quietly does nothing while none is attached.
///
/// Without a logger: the Init members and ReportEvent do nothing, LogMode is
/// 0 and UserName is the current user's login name (cs::csGetUserName). With
/// one: each member is forwarded under its own name (InitEventLogger2 too),
/// LogMode is the logger's LogMode as a 32-bit integer (13 or 6 when it is
/// none), UserName the logger's UserName as text. Whatever the outside
/// logger raises (and 438 for a member it lacks) is raised from the member.
///
/// One proxy lives per thread while any crvErr does (crvErr::Logger()).
class TESSERA_EXPORT CEventLoggerStub : public IEventLogger3
{
public:
    CEventLoggerStub();
    ~CEventLoggerStub() override;
    CEventLoggerStub(const CEventLoggerStub &) = delete;
    CEventLoggerStub &operator=(const CEventLoggerStub &) = delete;

    void InitEventLogger(const QString &ComputerName, const QString &UserName, QObject *AppObject, qint32 ProcessID,
                         qint32 ThreadID, const QString &EXEName) override;
    void InitEventLogger2(const QString &ComputerName, const QString &UserName, const QString &AppTitle,
                          qint32 AppMajor, qint32 AppMinor, qint32 AppRevision, qint32 ProcessID, qint32 ThreadID,
                          const QString &EXEName) override;
    qint32 LogMode() override;
    void ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID) override;
    QString UserName() override;
    void setUserName(const QString &UserName) override;

    /// The attached outside logger; nullptr when none is attached.
    QObject *attachedLogger() const;
    /// Attaches \a logger in place of the present one, which is released;
    /// nullptr detaches.
    void setAttachedLogger(std::unique_ptr<QObject> logger);

private:
    std::unique_ptr<QObject> m_logger;
};

} // namespace tessera
