#pragma once

#include "lib/system/RegistryType_Const.h"

#include <QString>
#include <QVariant>

/// Quillon's values in the settings store: crvCorvidSettings's "2" forms
/// with the program's application object (modMain::App, "Corvid - Quillon"
/// version 1.0), no sub-key, under the current user.
namespace quillon::modSettings {

/// The stored value \a ValueName of \a ValueType; \a Default when nothing is
/// stored (or the store cannot be read).
QVariant Load(const QString &ValueName, tessera::RegistryType_Const ValueType, const QVariant &Default);

/// Stores \a Value as \a ValueName; false when it cannot be written.
bool Save(const QString &ValueName, tessera::RegistryType_Const ValueType, const QVariant &Value);

} // namespace quillon::modSettings
