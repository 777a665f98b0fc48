// The component module of the recording event logger (a test double).
#include "RecordingEventLogger.h"
#include "platform/SingleClassFactory.h"

namespace eventlogger {

class RecordingEventLoggerModule : public QObject, public tessera::SingleClassFactory<RecordingEventLogger>
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "RecordingEventLogger.json")
    Q_INTERFACES(tessera::ComponentFactory)

public:
    RecordingEventLoggerModule()
        : SingleClassFactory(u"{24395770-2E20-4216-BEDB-C9AE25D5B86C}")
    { }
};

} // namespace eventlogger

#include "RecordingEventLoggerModule.moc"
