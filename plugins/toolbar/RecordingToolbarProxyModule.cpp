// The component module of the recording toolbar proxy (a test double).
#include "RecordingToolbarProxy.h"
#include "platform/SingleClassFactory.h"

namespace toolbar {

class RecordingToolbarProxyModule : public QObject, public tessera::SingleClassFactory<RecordingToolbarProxy>
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "RecordingToolbarProxy.json")
    Q_INTERFACES(tessera::ComponentFactory)

public:
    RecordingToolbarProxyModule()
        : SingleClassFactory(u"{B8926F2D-1474-49AD-8E85-7309FD73F11A}")
    { }
};

} // namespace toolbar

#include "RecordingToolbarProxyModule.moc"
