// The component module of the syslog event logger.
#include "SyslogEventLogger.h"
#include "platform/ComponentFactory.h"

namespace eventlogger {

class SyslogEventLoggerModule : public QObject, public tessera::ComponentFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "SyslogEventLogger.json")
    Q_INTERFACES(tessera::ComponentFactory)

public:
    QObject *create(const QUuid &classId) override
    {
        static const QUuid syslogEventLogger(QStringLiteral("{BA1BCC15-6742-4D8A-AB1D-09B9A1CEAEE1}"));
        return classId == syslogEventLogger ? new SyslogEventLogger : nullptr;
    }
};

} // namespace eventlogger

#include "SyslogEventLoggerModule.moc"
