// The component module of the syslog event logger.
#include "SyslogEventLogger.h"
#include "platform/SingleClassFactory.h"

namespace eventlogger {

class SyslogEventLoggerModule : public QObject, public tessera::SingleClassFactory<SyslogEventLogger>
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "SyslogEventLogger.json")
    Q_INTERFACES(tessera::ComponentFactory)

public:
    SyslogEventLoggerModule()
        : SingleClassFactory(u"{BA1BCC15-6742-4D8A-AB1D-09B9A1CEAEE1}")
    { }
};

} // namespace eventlogger

#include "SyslogEventLoggerModule.moc"
