#include "platform/RuntimeError.h"

namespace tessera {

RuntimeError::RuntimeError(qint32 number, const QString &description, const QString &source, const QString &helpFile,
                           qint32 helpContext)
    : m_number(number)
    , m_description(description.isEmpty() ? standardDescription(number) : description)
    , m_source(source)
    , m_helpFile(helpFile)
    , m_helpContext(helpContext)
    , m_what(QString::number(number).toUtf8() + ": " + m_description.toUtf8())
{ }

const char *RuntimeError::what() const noexcept
{
    return m_what.constData();
}

QString RuntimeError::standardDescription(qint32 number)
{
    switch (number) {
    case 0:
        // Number 0 is "no error", which has no text (the platform's Error(0) is empty).
        return {};
    case InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case Overflow:
        return QStringLiteral("Overflow");
    case OutOfMemory:
        return QStringLiteral("Out of memory");
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case InternalError:
        return QStringLiteral("Internal error");
    case FileNotFound:
        return QStringLiteral("File not found");
    case PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    case ObjectVariableNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case CantCreateObject:
        return QStringLiteral("ActiveX component can't create object");
    case ObjectDoesntSupport:
        return QStringLiteral("Object doesn't support this property or method");
    case WrongNumberOfArguments:
        return QStringLiteral("Wrong number of arguments or invalid property assignment");
    case DuplicateKey:
        return QStringLiteral("This key is already associated with an element of this collection");
    case InvalidPicture:
        return QStringLiteral("Invalid picture");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace tessera
