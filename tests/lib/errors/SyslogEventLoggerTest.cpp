// The syslog event logger, created through its identifier, reporting to a
// log socket of the test's own.
#include "lib/errors/crvErr.h"
#include "platform/CallByName.h"
#include "platform/CreateObject.h"
#include "tests/lib/errors/EventLoggerFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using tessera::CallByName;
using tessera::CallType;

namespace {

class SyslogEventLogger : public corvid::test::EventLoggerFixture
{
protected:
    void SetUp() override
    {
        EventLoggerFixture::SetUp();
        registerModule(CORVID_SYSLOG_COMPONENT);
        socketPath = path(QStringLiteral("log"));
        qputenv("TESSERA_SYSLOG_SOCKET", socketPath.toUtf8());
        listener = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(listener, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray name = socketPath.toUtf8();
        ASSERT_LT(size_t(name.size()), sizeof(address.sun_path));
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        const timeval wait {5, 0};
        ::setsockopt(listener, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
    }
    void TearDown() override
    {
        if (listener >= 0)
            ::close(listener);
        qunsetenv("TESSERA_SYSLOG_SOCKET");
        EventLoggerFixture::TearDown();
    }

    QByteArray receive()
    {
        char buffer[16384];
        const ssize_t size = ::recv(listener, buffer, sizeof(buffer), 0);
        return size < 0 ? QByteArray() : QByteArray(buffer, size);
    }

    QString socketPath;
    int listener = -1;
};

TEST_F(SyslogEventLogger, ReportsReachTheLogSocket)
{
    tessera::crvErr err;
    ASSERT_TRUE(err.InitEventLoggerNonVB(QStringLiteral("Quillon Test"), 1, 0, 39))
        << qPrintable(err.LastEventLoggerError());
    EXPECT_TRUE(err.LastEventLoggerError().isEmpty());
    EXPECT_EQ(err.ErrorDisplayAPI(5, 16, {}, {}, true), 1);

    const QByteArray datagram = receive();
    // user.warning, an RFC 3164 time stamp, the title as tag, the host's pid.
    const QRegularExpression shape(QStringLiteral("^<12>[A-Z][a-z]{2} [ 1-3][0-9] \\d\\d:\\d\\d:\\d\\d "
                                                  "Quillon_Test\\[%1\\]: Win32 API Error \\(5\\): "
                                                  "Win32 API error: 5\nDescription: Access is denied\\.$")
                                       .arg(QCoreApplication::applicationPid()));
    EXPECT_TRUE(shape.match(QString::fromUtf8(datagram)).hasMatch()) << datagram.constData();
    EXPECT_EQ(err.Logger()->LogMode(), 1);
}

TEST_F(SyslogEventLogger, EventTypesMapToPriorities)
{
    const std::unique_ptr<QObject> logger = tessera::CreateObject(QStringLiteral("EventLogger.crvEventLogger"));
    const struct {
        qint32 type;
        const char *priority;
    } table[] = {{1, "<11>"}, {2, "<12>"}, {4, "<14>"}, {8, "<13>"}, {16, "<12>"}, {3, "<13>"}};
    for (const auto &row : table) {
        SCOPED_TRACE(row.type);
        CallByName(logger.get(), QStringLiteral("ReportEvent"), CallType::Method,
                   {QStringLiteral("Привет"), row.type, QStringLiteral("Test"), 1});
        const QByteArray datagram = receive();
        EXPECT_TRUE(datagram.startsWith(row.priority)) << datagram.constData();
        EXPECT_TRUE(datagram.endsWith(QStringLiteral(": Test (1): Привет").toUtf8())) << datagram.constData();
    }
}

TEST_F(SyslogEventLogger, WithoutALogSocketEventsAreDroppedQuietly)
{
    ::close(listener);
    listener = -1;
    QFile::remove(socketPath);
    const std::unique_ptr<QObject> logger = tessera::CreateObject(QStringLiteral("EventLogger.crvEventLogger"));
    CallByName(logger.get(), QStringLiteral("ReportEvent"), CallType::Method,
               {QStringLiteral("lost"), 1, QStringLiteral("Test"), 1});
    EXPECT_EQ(CallByName(logger.get(), QStringLiteral("LogMode"), CallType::Get).toInt(), 0);
}

} // namespace
