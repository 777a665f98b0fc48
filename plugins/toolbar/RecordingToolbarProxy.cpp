#include "RecordingToolbarProxy.h"

#include "platform/RuntimeError.h"

namespace toolbar {

void RecordingToolbarProxy::ShowToolBar()
{
    record({QStringLiteral("ShowToolBar")});
}

void RecordingToolbarProxy::MarkForm(qint32 hWnd)
{
    record({QStringLiteral("MarkForm"), hWnd});
}

void RecordingToolbarProxy::UnMarkForm(qint32 hWnd)
{
    record({QStringLiteral("UnMarkForm"), hWnd});
}

void RecordingToolbarProxy::record(const QVariantList &call)
{
    m_calls.append(QVariant(call));
    const QString member = call.first().toString();
    if (qEnvironmentVariable("TESSERA_RECORDING_TOOLBAR_FAIL").split(QLatin1Char(',')).contains(member)) {
        throw tessera::RuntimeError(tessera::RuntimeError::ObjectErrorBase + 513,
                                    QStringLiteral("The recording toolbar was told to fail in ") + member,
                                    QStringLiteral("Skylark.crvToolbarProxy"));
    }
}

} // namespace toolbar
