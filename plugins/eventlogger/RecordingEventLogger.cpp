#include "RecordingEventLogger.h"

#include "platform/RuntimeError.h"

#include <stdexcept>

namespace eventlogger {

void RecordingEventLogger::InitEventLogger(const QString &ComputerName, const QString &UserName, QObject *AppObject,
                                           qint32 ProcessID, qint32 ThreadID, const QString &EXEName)
{
    record({QStringLiteral("InitEventLogger"), ComputerName, UserName, QVariant::fromValue(AppObject), ProcessID,
            ThreadID, EXEName});
}

void RecordingEventLogger::InitEventLogger2(const QString &ComputerName, const QString &UserName,
                                            const QString &AppTitle, qint32 AppMajor, qint32 AppMinor,
                                            qint32 AppRevision, qint32 ProcessID, qint32 ThreadID,
                                            const QString &EXEName)
{
    record({QStringLiteral("InitEventLogger2"), ComputerName, UserName, AppTitle, AppMajor, AppMinor, AppRevision,
            ProcessID, ThreadID, EXEName});
}

void RecordingEventLogger::ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID)
{
    record({QStringLiteral("ReportEvent"), Message, EventType, Source, EventID});
}

void RecordingEventLogger::setUserName(const QString &name)
{
    record({QStringLiteral("UserName"), name});
    m_userName = name;
}

namespace {

// Throws what TESSERA_RECORDING_LOGGER_FAIL asks of \a member, if anything.
void failIfTold(const QString &member)
{
    const QStringList failing = qEnvironmentVariable("TESSERA_RECORDING_LOGGER_FAIL").split(QLatin1Char(','));
    const QString text = QStringLiteral("The recording event logger was told to fail in ") + member;
    if (failing.contains(member)) {
        throw tessera::RuntimeError(tessera::RuntimeError::ObjectErrorBase + 513, text,
                                    QStringLiteral("EventLogger.crvEventLogger"));
    }
    if (failing.contains(member + QLatin1String(":std")))
        throw std::runtime_error(text.toStdString());
    if (failing.contains(member + QLatin1String(":int")))
        throw 513;
}

} // namespace

RecordingEventLogger::RecordingEventLogger()
{
    failIfTold(QStringLiteral("new"));
}

void RecordingEventLogger::record(const QVariantList &call)
{
    m_calls.append(QVariant(call));
    failIfTold(call.first().toString());
}

} // namespace eventlogger
