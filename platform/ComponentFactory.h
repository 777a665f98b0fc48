#pragma once

#include <QObject>
#include <QUuid>
#include <QtPlugin>

namespace tessera {

/// The root object of a component module: a Qt plugin that holds one or more
/// classes creatable by programmatic identifier (CreateObject), as an
/// in-process server of the original platform did.
///
/// A module declares its classes in its plugin metadata, which the
/// registration tool (tessera-regsvr) writes into the registry's classes
/// root:
///
///     class MyModule : public QObject, public tessera::ComponentFactory
///     {
///         Q_OBJECT
///         Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "MyModule.json")
///         Q_INTERFACES(tessera::ComponentFactory)
///     public:
///         QObject *create(const QUuid &classId) override;
///     };
///
///     // MyModule.json
///     { "Classes": [ { "ProgID": "Vendor.MyClass", "CLSID": "{01234567-89AB-CDEF-0123-456789ABCDEF}" } ] }
///
/// A module of a single class derives from SingleClassFactory instead.
///
/// The objects a module creates are called by member name (CallByName): their
/// properties are Q_PROPERTYs, their methods Q_INVOKABLE or slots. A member
/// reports a failure by throwing tessera::RuntimeError with the number,
/// description and source the caller should see (the module then links
/// libcorvidsupport0100, which exports the type). CallByName reaches the
/// member through the object's own moc-generated qt_metacall, so no Qt
/// library frame lies between the throw and the caller; Qt itself is built
/// with exceptions as well. Other exceptions reach the caller as
/// RuntimeError (see CallByName).
class ComponentFactory
{
public:
    virtual ~ComponentFactory() = default;

    /// A new object of the class \a classId, owned by the caller, with no
    /// parent; nullptr when the module holds no such class.
    virtual QObject *create(const QUuid &classId) = 0;
};

} // namespace tessera

#define TesseraComponentFactory_iid "org.sablewing.Tessera.ComponentFactory/1.0"
Q_DECLARE_INTERFACE(tessera::ComponentFactory, TesseraComponentFactory_iid)
