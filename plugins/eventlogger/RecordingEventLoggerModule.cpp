// The component module of the recording event logger (a test double).
#include "RecordingEventLogger.h"
#include "platform/ComponentFactory.h"

namespace eventlogger {

class RecordingEventLoggerModule : public QObject, public tessera::ComponentFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "RecordingEventLogger.json")
    Q_INTERFACES(tessera::ComponentFactory)

public:
    QObject *create(const QUuid &classId) override
    {
        static const QUuid recordingEventLogger(QStringLiteral("{24395770-2E20-4216-BEDB-C9AE25D5B86C}"));
        return classId == recordingEventLogger ? new RecordingEventLogger : nullptr;
    }
};

} // namespace eventlogger

#include "RecordingEventLoggerModule.moc"
