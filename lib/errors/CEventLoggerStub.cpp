#include "lib/errors/CEventLoggerStub.h"

#include "platform/CallByName.h"
#include "platform/VariantConvert.h"
#include "support/csSystem.h"

namespace tessera {

IEventLogger::~IEventLogger() = default;
IEventLogger2::~IEventLogger2() = default;
IEventLogger3::~IEventLogger3() = default;

CEventLoggerStub::CEventLoggerStub() = default;
CEventLoggerStub::~CEventLoggerStub() = default;

void CEventLoggerStub::InitEventLogger(const QString &ComputerName, const QString &UserName, QObject *AppObject,
                                       qint32 ProcessID, qint32 ThreadID, const QString &EXEName)
{
    if (m_logger) {
        CallByName(m_logger.get(), QStringLiteral("InitEventLogger"), CallType::Method,
                   {ComputerName, UserName, QVariant::fromValue(AppObject), ProcessID, ThreadID, EXEName});
    }
}

void CEventLoggerStub::InitEventLogger2(const QString &ComputerName, const QString &UserName, const QString &AppTitle,
                                        qint32 AppMajor, qint32 AppMinor, qint32 AppRevision, qint32 ProcessID,
                                        qint32 ThreadID, const QString &EXEName)
{
    // Forwarded under its own name: a component's InitEventLogger takes six arguments.
    if (m_logger) {
        CallByName(m_logger.get(), QStringLiteral("InitEventLogger2"), CallType::Method,
                   {ComputerName, UserName, AppTitle, AppMajor, AppMinor, AppRevision, ProcessID, ThreadID, EXEName});
    }
}

qint32 CEventLoggerStub::LogMode()
{
    return m_logger ? variantToLong(CallByName(m_logger.get(), QStringLiteral("LogMode"), CallType::Get)) : 0;
}

void CEventLoggerStub::ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID)
{
    if (m_logger) {
        CallByName(m_logger.get(), QStringLiteral("ReportEvent"), CallType::Method,
                   {Message, EventType, Source, EventID});
    }
}

QString CEventLoggerStub::UserName()
{
    return m_logger ? variantToText(CallByName(m_logger.get(), QStringLiteral("UserName"), CallType::Get))
                    : cs::csGetUserName();
}

void CEventLoggerStub::setUserName(const QString &UserName)
{
    if (m_logger)
        CallByName(m_logger.get(), QStringLiteral("UserName"), CallType::Let, {UserName});
}

QObject *CEventLoggerStub::attachedLogger() const
{
    return m_logger.get();
}

void CEventLoggerStub::setAttachedLogger(std::unique_ptr<QObject> logger)
{
    m_logger = std::move(logger);
}

} // namespace tessera
