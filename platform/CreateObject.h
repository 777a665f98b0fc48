#pragma once

#include "platform/PlatformExport.h"

#include <QObject>
#include <QString>

#include <memory>

namespace tessera {

/// Creates an object of the outside component registered under the
/// programmatic identifier \a progId ("EventLogger.crvEventLogger"), as the
/// original platform's CreateObject does.
///
/// The component is found through the registry's classes root (the merged
/// Software\Classes of the user's and the machine's hive): <ProgID>\CLSID
/// names the class, CLSID\{GUID}\InprocServer32 the module, a Qt plugin whose
/// root object is a tessera::ComponentFactory (platform/ComponentFactory.h).
/// The module is loaded once and stays loaded for the rest of the process, so
/// objects it made never outlive their code. Every call gives a new object;
/// call its members with CallByName.
///
/// Raises RuntimeError 429 ("ActiveX component can't create object", the
/// reason in parentheses, \a progId as Source) when the identifier is not
/// registered, its class has no module, the module file is missing, it does
/// not load or is not a component module, or the module does not create the
/// class or throws anything other than a RuntimeError while making it (a
/// RuntimeError passes as it is, std::bad_alloc becomes 7).
///
///     std::unique_ptr<QObject> logger = CreateObject(QStringLiteral("EventLogger.crvEventLogger"));
///     CallByName(logger.get(), QStringLiteral("ReportEvent"), CallType::Method, {text, 2, source, 53});
TESSERA_PLATFORM_EXPORT std::unique_ptr<QObject> CreateObject(const QString &progId);

} // namespace tessera
