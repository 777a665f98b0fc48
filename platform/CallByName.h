#pragma once

#include "platform/PlatformExport.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tessera {

/// How CallByName reaches a member, with the platform's values.
enum class CallType : qint32 {
    Method = 1, ///< call a method; a readable property answers too
    Get = 2, ///< read a property; a method answers too, as the platform's dispatch allows
    Let = 4, ///< write a property
    Set = 8, ///< write a property holding an object (the same as Let here)
};

/// Calls the member \a procName of \a object by name, as the original
/// platform's late-bound dispatch does: the object's public Q_INVOKABLE
/// methods and slots are its methods, its Q_PROPERTYs its properties (the
/// members of QObject itself are not offered). Names compare without regard
/// to case. Among methods of one name the first, in declaration order, that
/// takes as many arguments as \a args holds is called.
///
/// Arguments are converted to the parameter types with the platform's rules:
/// text (QString) through variantToText, 32-bit and 16-bit integers through
/// variantToLong (6 when a value does not fit), QVariant parameters take the
/// value as it is, an Empty value gives the type's empty value, and other
/// types convert as QVariant does. Returns the method's result or the
/// property's value; an invalid QVariant for a method without result and
/// for Let and Set.
///
/// Raises RuntimeError 91 for a null \a object; 438 when the object has no
/// such member (or, for Let and Set, no writable property of that name); 450
/// when no method of that name takes that many arguments, when a property is
/// read with arguments or written with other than one; 13 (or 6) when an
/// argument does not convert. A RuntimeError raised inside the member reaches
/// the caller as it was raised; std::bad_alloc becomes 7 (out of memory) and
/// any other exception the platform's "automation error" -2147467259
/// (0x80004005) with the exception's text (for a std::exception, else
/// "Unspecified error") as Description and the object's class name as
/// Source.
///
///     CallByName(logger, QStringLiteral("UserName"), CallType::Let, {QStringLiteral("alice")});
///     const qint32 mode = CallByName(logger, QStringLiteral("LogMode"), CallType::Get).toInt();
TESSERA_PLATFORM_EXPORT QVariant CallByName(QObject *object, const QString &procName, CallType callType,
                                            const QVariantList &args = {});

} // namespace tessera
