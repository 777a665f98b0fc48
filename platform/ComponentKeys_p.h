#pragma once

#include "platform/Registry.h"

#include <QString>

#include <optional>

namespace tessera::componentkeys {

// The registry layout of components, as the original platform keeps it
// below its classes root:
//   <ProgID>\CLSID                      default value "{GUID}"
//   CLSID\{GUID}\InprocServer32         default value: the module's path
//   CLSID\{GUID}\ProgID                 default value: the ProgID
// Texts are stored as REG_SZ in UTF-8 with a terminating NUL, as the
// library's own registry access stores them.

QString progIdKey(const QString &progId);
QString classIdKey(const QString &braceGuid);
QString serverKey(const QString &braceGuid);

/// The default value of \a subKey below \a root as text; nothing when the key
/// or the value is missing or is not text.
std::optional<QString> readDefault(HKEY root, const QString &subKey);

/// Creates \a subKey below \a root and sets its default value; a Win32 code.
qint32 writeDefault(HKEY root, const QString &subKey, const QString &text);

} // namespace tessera::componentkeys
