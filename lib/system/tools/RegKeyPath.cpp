#include "lib/system/tools/RegKeyPath.h"

#include <array>

namespace tessera::regtool {

namespace {

struct RootName {
    HKEY root;
    QLatin1StringView longName;
    QLatin1StringView shortName;
};

constexpr std::array<RootName, 7> Roots = {{
    {Registry::HKEY_CLASSES_ROOT, QLatin1StringView("HKEY_CLASSES_ROOT"), QLatin1StringView("HKCR")},
    {Registry::HKEY_CURRENT_USER, QLatin1StringView("HKEY_CURRENT_USER"), QLatin1StringView("HKCU")},
    {Registry::HKEY_LOCAL_MACHINE, QLatin1StringView("HKEY_LOCAL_MACHINE"), QLatin1StringView("HKLM")},
    {Registry::HKEY_USERS, QLatin1StringView("HKEY_USERS"), QLatin1StringView("HKU")},
    {Registry::HKEY_PERFORMANCE_DATA, QLatin1StringView("HKEY_PERFORMANCE_DATA"), QLatin1StringView("HKPD")},
    {Registry::HKEY_CURRENT_CONFIG, QLatin1StringView("HKEY_CURRENT_CONFIG"), QLatin1StringView("HKCC")},
    {Registry::HKEY_DYN_DATA, QLatin1StringView("HKEY_DYN_DATA"), QLatin1StringView("HKDD")},
}};

} // namespace

QString RegKeyPath::fullName() const
{
    for (const RootName &name : Roots) {
        if (name.root == root)
            return subKey.isEmpty() ? QString(name.longName) : name.longName + u'\\' + subKey;
    }
    return subKey;
}

RegKeyPath RegKeyPath::child(const QString &name) const
{
    return {root, subKey.isEmpty() ? name : subKey + u'\\' + name};
}

std::optional<RegKeyPath> RegKeyPath::parse(const QString &text)
{
    const qsizetype slash = text.indexOf(u'\\');
    const QStringView rootName = QStringView(text).left(slash < 0 ? text.size() : slash);
    QString subKey = slash < 0 ? QString() : text.mid(slash + 1);
    while (subKey.endsWith(u'\\'))
        subKey.chop(1);
    if (subKey.startsWith(u'\\') || subKey.contains(QLatin1StringView("\\\\")))
        return std::nullopt;
    for (const RootName &name : Roots) {
        if (rootName.compare(name.longName, Qt::CaseInsensitive) == 0
            || rootName.compare(name.shortName, Qt::CaseInsensitive) == 0)
            return RegKeyPath {name.root, subKey};
    }
    return std::nullopt;
}

} // namespace tessera::regtool
