#include "platform/ThreadLocale.h"

#include <QLocale>

#include <unicode/uloc.h>

namespace tessera {

namespace {

constexpr quint32 LocaleInvariant = 0x007F;
constexpr quint32 LocaleCustomUnspecified = 0x1000;

quint32 icuLcid(const QString &name)
{
    return uloc_getLCID(name.toLatin1().constData());
}

} // namespace

quint32 GetThreadLocale()
{
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return LocaleInvariant;
    // ICU knows "sr_Latn_RS" and "sr_Cyrl_RS", but takes "ru_Cyrl_RU" for
    // Russian in general; then the name without the script says more.
    const QString language = QLocale::languageToCode(locale.language());
    const QString territory = QLatin1Char('_') + QLocale::territoryToCode(locale.territory());
    const quint32 general = icuLcid(language);
    const quint32 withScript
        = icuLcid(language + QLatin1Char('_') + QLocale::scriptToCode(locale.script()) + territory);
    if (withScript != 0 && withScript != general)
        return withScript;
    if (const quint32 lcid = icuLcid(language + territory))
        return lcid;
    return general != 0 ? general : LocaleCustomUnspecified;
}

} // namespace tessera
