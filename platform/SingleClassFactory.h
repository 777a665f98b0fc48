#pragma once

#include "platform/ComponentFactory.h"

#include <QStringView>

namespace tessera {

/// The ComponentFactory of a module that holds a single class, \a T (a
/// QObject with a default constructor). The module's root object passes the
/// class's CLSID, the one its metadata declares:
///
///     class MyModule : public QObject, public tessera::SingleClassFactory<MyClass>
///     {
///         Q_OBJECT
///         Q_PLUGIN_METADATA(IID TesseraComponentFactory_iid FILE "MyModule.json")
///         Q_INTERFACES(tessera::ComponentFactory)
///     public:
///         MyModule() : SingleClassFactory(u"{01234567-89AB-CDEF-0123-456789ABCDEF}") { }
///     };
template <typename T> class SingleClassFactory : public ComponentFactory
{
public:
    /// A new T for the class's CLSID; nullptr for any other.
    QObject *create(const QUuid &classId) override { return classId == m_classId ? new T : nullptr; }

protected:
    explicit SingleClassFactory(QStringView classId)
        : m_classId(QUuid::fromString(classId))
    { }

private:
    const QUuid m_classId;
};

} // namespace tessera
