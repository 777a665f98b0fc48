// The component module of the recording toolbar proxy (a test double).
#include "RecordingToolbarProxy.h"
#include "platform/ComponentFactory.h"

namespace toolbar {

class RecordingToolbarProxyModule : public QObject, public tessera::ComponentFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "RecordingToolbarProxy.json")
    Q_INTERFACES(tessera::ComponentFactory)

public:
    QObject *create(const QUuid &classId) override
    {
        static const QUuid recordingToolbarProxy(QStringLiteral("{B8926F2D-1474-49AD-8E85-7309FD73F11A}"));
        return classId == recordingToolbarProxy ? new RecordingToolbarProxy : nullptr;
    }
};

} // namespace toolbar

#include "RecordingToolbarProxyModule.moc"
