#include "app/common/modSkylark.h"

#include "platform/CallByName.h"
#include "platform/CreateObject.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace quillon::modSkylark {

namespace {

QPointer<QObject> &proxy()
{
    static QPointer<QObject> object;
    return object;
}

void callIgnoringFailure(const QString &member, const QVariantList &args = {})
{
    if (!proxy())
        return;
    try {
        tessera::CallByName(proxy(), member, tessera::CallType::Method, args);
    } catch (const tessera::RuntimeError &) {
        // The toolbar is a convenience; the program never depends on it.
    }
}

void callWithHandle(const QString &member, QWidget *Form)
{
    // Asking for the handle creates the native window, so only when a
    // toolbar is there to hear of it.
    if (proxy() && Form)
        callIgnoringFailure(member, {qint32(Form->winId())});
}

} // namespace

void ShowSkylarkToolbar()
{
    delete proxy();
    try {
        std::unique_ptr<QObject> created = tessera::CreateObject(QStringLiteral("Skylark.crvToolbarProxy"));
        // Owned by the application object, so it goes before the component
        // module's code is unloaded at exit.
        created->setParent(QCoreApplication::instance());
        proxy() = created.release();
    } catch (const tessera::RuntimeError &) {
        return;
    }
    callIgnoringFailure(QStringLiteral("ShowToolBar"));
}

void MarkToolbarForm(QWidget *Form)
{
    callWithHandle(QStringLiteral("MarkForm"), Form);
}

void UnmarkToolbarForm(QWidget *Form)
{
    callWithHandle(QStringLiteral("UnMarkForm"), Form);
}

QObject *ToolbarProxy()
{
    return proxy();
}

} // namespace quillon::modSkylark
