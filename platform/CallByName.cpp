#include "platform/CallByName.h"

#include "platform/Integer16.h"
#include "platform/RuntimeError.h"
#include "platform/VariantConvert.h"

#include <QMetaMethod>
#include <QMetaProperty>

#include <new>
#include <vector>

namespace tessera {

namespace {

// The platform's "Automation error" for a failure without error information (E_FAIL).
constexpr qint32 AutomationError = -2147467259;

bool sameName(const QByteArray &memberName, const QString &name)
{
    return QString::compare(QLatin1String(memberName), name, Qt::CaseInsensitive) == 0;
}

// Public methods and slots of \a object's own classes named \a name, in
// declaration order (a base class's before its subclass's).
std::vector<QMetaMethod> methodsNamed(const QMetaObject *meta, const QString &name)
{
    std::vector<QMetaMethod> found;
    for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const bool callable = method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot;
        if (callable && method.access() == QMetaMethod::Public && sameName(method.name(), name))
            found.push_back(method);
    }
    return found;
}

QMetaProperty propertyNamed(const QMetaObject *meta, const QString &name)
{
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (sameName(property.name(), name))
            return property;
    }
    return {};
}

QVariant convertedTo(const QVariant &value, QMetaType type)
{
    if (type == QMetaType::fromType<QVariant>())
        return value;
    switch (type.id()) {
    case QMetaType::QString:
        return variantToText(value);
    case QMetaType::Int:
        return variantToLong(value);
    case QMetaType::Short:
        return QVariant::fromValue(toInteger16(variantToLong(value)));
    default:
        break;
    }
    if (!value.isValid())
        return QVariant(type);
    QVariant converted = value;
    if (!converted.convert(type))
        throw RuntimeError(RuntimeError::TypeMismatch);
    return converted;
}

// Where a meta-call reads or writes a value of \a type: the value itself for
// a QVariant, else its payload.
void *slotFor(QVariant &value, QMetaType type)
{
    return type == QMetaType::fromType<QVariant>() ? static_cast<void *>(&value) : value.data();
}

// The member runs inside the object's own qt_metacall (moc-generated, built
// with exceptions), so what it throws comes straight back here.
void metacall(QObject *object, QMetaObject::Call call, int index, void **argv)
{
    try {
        object->qt_metacall(call, index, argv);
    } catch (const RuntimeError &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw RuntimeError(RuntimeError::OutOfMemory);
    } catch (const std::exception &e) {
        throw RuntimeError(AutomationError, QString::fromLocal8Bit(e.what()),
                           QLatin1String(object->metaObject()->className()));
    } catch (...) {
        throw RuntimeError(AutomationError, QStringLiteral("Unspecified error"),
                           QLatin1String(object->metaObject()->className()));
    }
}

QVariant invoke(QObject *object, const QMetaMethod &method, const QVariantList &args)
{
    QVariantList values;
    values.reserve(args.size());
    for (int i = 0; i < args.size(); ++i)
        values.append(convertedTo(args.at(i), method.parameterMetaType(i)));

    const QMetaType returnType = method.returnMetaType();
    const bool hasResult = returnType.isValid() && returnType.id() != QMetaType::Void;
    QVariant result = hasResult && returnType != QMetaType::fromType<QVariant>() ? QVariant(returnType) : QVariant();
    std::vector<void *> argv;
    argv.reserve(values.size() + 1);
    argv.push_back(hasResult ? slotFor(result, returnType) : nullptr);
    for (int i = 0; i < values.size(); ++i)
        argv.push_back(slotFor(values[i], method.parameterMetaType(i)));
    metacall(object, QMetaObject::InvokeMetaMethod, method.methodIndex(), argv.data());
    return result;
}

QVariant read(QObject *object, const QMetaProperty &property)
{
    const QMetaType type = property.metaType();
    QVariant value = type == QMetaType::fromType<QVariant>() ? QVariant() : QVariant(type);
    int status = -1;
    void *argv[] = {slotFor(value, type), &value, &status};
    metacall(object, QMetaObject::ReadProperty, property.propertyIndex(), argv);
    return value;
}

void write(QObject *object, const QMetaProperty &property, const QVariant &newValue)
{
    const QMetaType type = property.metaType();
    QVariant value = convertedTo(newValue, type);
    int status = -1;
    int flags = 0;
    void *argv[] = {slotFor(value, type), &value, &status, &flags};
    metacall(object, QMetaObject::WriteProperty, property.propertyIndex(), argv);
}

} // namespace

QVariant CallByName(QObject *object, const QString &procName, CallType callType, const QVariantList &args)
{
    if (!object)
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    const QMetaObject *meta = object->metaObject();
    const QMetaProperty property = propertyNamed(meta, procName);

    if (callType == CallType::Let || callType == CallType::Set) {
        if (!property.isValid() || !property.isWritable())
            throw RuntimeError(RuntimeError::ObjectDoesntSupport);
        if (args.size() != 1)
            throw RuntimeError(RuntimeError::WrongNumberOfArguments);
        write(object, property, args.first());
        return {};
    }

    const std::vector<QMetaMethod> methods = methodsNamed(meta, procName);
    if (!methods.empty()) {
        for (const QMetaMethod &method : methods) {
            if (method.parameterCount() == args.size())
                return invoke(object, method, args);
        }
        throw RuntimeError(RuntimeError::WrongNumberOfArguments);
    }
    if (!property.isValid() || !property.isReadable())
        throw RuntimeError(RuntimeError::ObjectDoesntSupport);
    if (!args.isEmpty())
        throw RuntimeError(RuntimeError::WrongNumberOfArguments);
    return read(object, property);
}

} // namespace tessera
