#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace tessera {

/// A raised run-time error: the five public fields of the original platform's
/// error object. Operations that "raise" throw it; hosts catch it by reference
/// and present it (crvErr::ErrorDisplay).
///
/// An empty description is replaced by the platform's standard text for the
/// number, so `throw RuntimeError(RuntimeError::SubscriptOutOfRange);`
/// carries "Subscript out of range".
class TESSERA_PLATFORM_EXPORT RuntimeError : public std::exception
{
public:
    /// Standard run-time error numbers used across the suite.
    enum StandardNumber : qint32 {
        InvalidProcedureCall = 5,
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        InternalError = 51,
        FileNotFound = 53,
        PathFileAccessError = 75,
        PathNotFound = 76,
        ObjectVariableNotSet = 91,
        InvalidPropertyValue = 380,
        CantCreateObject = 429,
        ObjectDoesntSupport = 438,
        WrongNumberOfArguments = 450,
        DuplicateKey = 457,
        InvalidPicture = 481,
    };

    /// The base of the library's own errors ("object errors", 0x80040000).
    static constexpr qint32 ObjectErrorBase = -2147221504;

    explicit RuntimeError(qint32 number, const QString &description = {}, const QString &source = {},
                          const QString &helpFile = {}, qint32 helpContext = 0);

    qint32 Number() const noexcept { return m_number; }
    QString Description() const { return m_description; }
    QString Source() const { return m_source; }
    QString HelpFile() const { return m_helpFile; }
    qint32 HelpContext() const noexcept { return m_helpContext; }

    /// "Number: description", for logs and test failure messages.
    const char *what() const noexcept override;

    /// The platform's text for a standard error number; empty for 0 (no
    /// error); for any other number "Application-defined or object-defined
    /// error", as the platform says.
    static QString standardDescription(qint32 number);

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    QString m_helpFile;
    qint32 m_helpContext;
    QByteArray m_what;
};

} // namespace tessera
