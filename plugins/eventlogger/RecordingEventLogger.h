#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

namespace eventlogger {

/// A test double of "EventLogger.crvEventLogger" that records every call it
/// receives, in order, in Calls: one list per call, the member's name first,
/// then its arguments ({"ReportEvent", text, 2, source, 53}; a UserName write
/// is {"UserName", name}).
///
/// It fails when told to: while the environment variable
/// TESSERA_RECORDING_LOGGER_FAIL holds a member's name (several separated by
/// commas: "InitEventLogger2,ReportEvent", "UserName" for UserName writes),
/// that member records the call and then raises RuntimeError -2147220991
/// (the object-error base + 513) with Source "EventLogger.crvEventLogger".
/// The variable is read at each call, so a test can set it before the
/// object is created or while it lives. "new" makes the constructor fail.
/// A name followed by ":std" throws std::runtime_error instead, one followed
/// by ":int" a bare int, as code of other makers may.
class RecordingEventLogger : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList Calls READ Calls)
    Q_PROPERTY(qint32 LogMode READ LogMode WRITE setLogMode)
    Q_PROPERTY(QString UserName READ UserName WRITE setUserName)

public:
    RecordingEventLogger();

    Q_INVOKABLE void InitEventLogger(const QString &ComputerName, const QString &UserName, QObject *AppObject,
                                     qint32 ProcessID, qint32 ThreadID, const QString &EXEName);
    Q_INVOKABLE void InitEventLogger2(const QString &ComputerName, const QString &UserName, const QString &AppTitle,
                                      qint32 AppMajor, qint32 AppMinor, qint32 AppRevision, qint32 ProcessID,
                                      qint32 ThreadID, const QString &EXEName);
    Q_INVOKABLE void ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID);

    QVariantList Calls() const { return m_calls; }
    /// The value LogMode answers; tests set it (it is not recorded).
    qint32 LogMode() const { return m_logMode; }
    void setLogMode(qint32 mode) { m_logMode = mode; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name);

private:
    void record(const QVariantList &call);

    QVariantList m_calls;
    qint32 m_logMode = 0;
    QString m_userName;
};

} // namespace eventlogger
