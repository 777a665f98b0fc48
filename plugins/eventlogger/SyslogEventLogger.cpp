#include "SyslogEventLogger.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace eventlogger {

namespace {

// Facility "user" and the severities of RFC 3164.
constexpr int FacilityUser = 1 << 3;
constexpr int SeverityError = 3;
constexpr int SeverityWarning = 4;
constexpr int SeverityNotice = 5;
constexpr int SeverityInformational = 6;

// Log daemons take at least this much from the local socket.
constexpr qsizetype MaxDatagram = 8192;

int severityOf(qint32 eventType)
{
    switch (eventType) {
    case 1:
        return SeverityError;
    case 2:
    case 16:
        return SeverityWarning;
    case 4:
        return SeverityInformational;
    default:
        return SeverityNotice;
    }
}

// The tag ends at a blank, ":" or "[" for the log daemon's parser.
QByteArray tagOf(const QString &title)
{
    QByteArray tag = title.toUtf8();
    for (char &c : tag) {
        if (uchar(c) <= ' ' || c == ':' || c == '[' || c == ']' || c == 0x7F)
            c = '_';
    }
    return tag;
}

QByteArray messageText(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.remove(QChar(0));
    return lines.toUtf8();
}

// Cuts \a datagram to the limit without splitting a UTF-8 sequence.
void limit(QByteArray &datagram)
{
    if (datagram.size() <= MaxDatagram)
        return;
    qsizetype end = MaxDatagram;
    while (end > 0 && (uchar(datagram.at(end)) & 0xC0) == 0x80)
        --end;
    datagram.truncate(end);
}

} // namespace

SyslogEventLogger::SyslogEventLogger(QObject *parent)
    : QObject(parent)
{
    identify(QString(), 0, QString());
}

SyslogEventLogger::~SyslogEventLogger()
{
    closeSocket();
}

void SyslogEventLogger::InitEventLogger(const QString &, const QString &UserName, QObject *AppObject, qint32 ProcessID,
                                        qint32, const QString &EXEName)
{
    m_userName = UserName;
    identify(AppObject ? AppObject->property("Title").toString() : QString(), ProcessID, EXEName);
}

void SyslogEventLogger::InitEventLogger2(const QString &, const QString &UserName, const QString &AppTitle, qint32,
                                         qint32, qint32, qint32 ProcessID, qint32, const QString &EXEName)
{
    m_userName = UserName;
    identify(AppTitle, ProcessID, EXEName);
}

void SyslogEventLogger::identify(const QString &title, qint32 processId, const QString &exeName)
{
    QString name = title.trimmed();
    if (name.isEmpty())
        name = QFileInfo(exeName).fileName();
    if (name.isEmpty())
        name = QStringLiteral("tessera");
    m_tag = tagOf(name);
    m_processId = processId > 0 ? processId : qint32(::getpid());
}

void SyslogEventLogger::ReportEvent(const QString &Message, qint32 EventType, const QString &Source, qint32 EventID)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale c = QLocale::c();
    // RFC 3164 time stamp: "Mmm dd hh:mm:ss", the day padded with a blank.
    const QString stamp = c.toString(now, QStringLiteral("MMM ")) + QStringLiteral("%1").arg(now.date().day(), 2)
        + c.toString(now, QStringLiteral(" hh:mm:ss"));
    QByteArray datagram = '<' + QByteArray::number(FacilityUser | severityOf(EventType)) + '>' + stamp.toLatin1() + ' '
        + m_tag + '[' + QByteArray::number(m_processId) + "]: " + messageText(Source) + " ("
        + QByteArray::number(EventID) + "): " + messageText(Message);
    limit(datagram);
    m_delivered = send(datagram);
}

bool SyslogEventLogger::send(const QByteArray &datagram)
{
    // A log daemon that restarted has a new socket: connect again once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_socket < 0 && !connectSocket())
            return false;
        if (::send(m_socket, datagram.constData(), size_t(datagram.size()), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0)
            return true;
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EMSGSIZE)
            return false;
        closeSocket();
    }
    return false;
}

bool SyslogEventLogger::connectSocket()
{
    const QByteArray path = qEnvironmentVariableIsSet("TESSERA_SYSLOG_SOCKET") ? qgetenv("TESSERA_SYSLOG_SOCKET")
                                                                               : QByteArray("/dev/log");
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    m_socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0)
        return false;
    if (::connect(m_socket, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        closeSocket();
        return false;
    }
    return true;
}

void SyslogEventLogger::closeSocket()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}

} // namespace eventlogger
