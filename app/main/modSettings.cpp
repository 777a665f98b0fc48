#include "app/main/modSettings.h"

#include "app/main/modMain.h"
#include "lib/system/crvCorvidSettings.h"

namespace quillon::modSettings {

QVariant Load(const QString &ValueName, tessera::RegistryType_Const ValueType, const QVariant &Default)
{
    return tessera::crvCorvidSettings().LoadSetting2({}, ValueName, ValueType, modMain::App(), Default, true);
}

bool Save(const QString &ValueName, tessera::RegistryType_Const ValueType, const QVariant &Value)
{
    return tessera::crvCorvidSettings().SaveSetting2({}, ValueName, ValueType, Value, modMain::App(), true);
}

} // namespace quillon::modSettings
