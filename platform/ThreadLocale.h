#pragma once

#include "platform/PlatformExport.h"

#include <QtGlobal>

namespace tessera {

/// The locale identifier (LCID) of the calling thread's locale, as the
/// platform's GetThreadLocale answers it: here the default locale
/// (QLocale(), which QLocale::setDefault changes), identified by ICU.
/// ru_RU gives 0x0419, en_GB 0x0809; a language alone gives its neutral
/// identifier (ru: 0x0019). The C locale gives LOCALE_INVARIANT (0x007F) and
/// a locale the platform has no identifier for LOCALE_CUSTOM_UNSPECIFIED
/// (0x1000), as the platform reports such locales.
TESSERA_PLATFORM_EXPORT quint32 GetThreadLocale();

} // namespace tessera
