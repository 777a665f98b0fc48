#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace eventlogger {

/// "EventLogger.crvEventLogger" for users: every reported event goes to the
/// system log as an RFC 3164-style datagram (facility user) on the local log
/// socket: $TESSERA_SYSLOG_SOCKET when set, else /dev/log. The identity is
/// the application title given at initialisation, the process id the one the
/// host gave.
///
/// Event types map to priorities: 1 error to err, 2 warning to warning,
/// 4 information to info, 8 audit success to notice, 16 audit failure to
/// warning; any other type to notice. As syslog(3) does, an event that cannot
/// be delivered (no log socket, the log daemon's queue full) is dropped
/// rather than raised or waited for, so logging never stops or fails the
/// host; LogMode tells whether the last event reached the log.
class SyslogEventLogger : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 LogMode READ LogMode)
    Q_PROPERTY(QString UserName READ UserName WRITE setUserName)

public:
    explicit SyslogEventLogger(QObject *parent = nullptr);
    ~SyslogEventLogger() override;

    /// Initialisation from a host's application object: the title is read
    /// from its Title property.
    Q_INVOKABLE void InitEventLogger(const QString &ComputerName, const QString &UserName, QObject *AppObject,
                                     qint32 ProcessID, qint32 ThreadID, const QString &EXEName);
    Q_INVOKABLE void InitEventLogger2(const QString &ComputerName, const QString &UserName, const QString &AppTitle,
                                      qint32 AppMajor, qint32 AppMinor, qint32 AppRevision, qint32 ProcessID,
                                      qint32 ThreadID, const QString &EXEName);
    /// Sends "<Source> (<EventID>): <Message>" with the priority of
    /// \a EventType; line breaks of the message are kept as LF.
    Q_INVOKABLE void ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID);

    /// 1 when the last event reached the log socket, 0 before the first
    /// event and after one was dropped.
    qint32 LogMode() const { return m_delivered ? 1 : 0; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }

private:
    void identify(const QString &title, qint32 processId, const QString &exeName);
    bool send(const QByteArray &datagram);
    bool connectSocket();
    void closeSocket();

    QByteArray m_tag;
    qint32 m_processId = 0;
    QString m_userName;
    int m_socket = -1;
    bool m_delivered = false;
};

} // namespace eventlogger
