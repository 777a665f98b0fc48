#include "platform/ThreadLocale.h"

#include "tests/common/DefaultLocale.h"

#include <gtest/gtest.h>

using corvid::test::DefaultLocale;

TEST(ThreadLocale, TheDefaultLocaleGivesThePlatformsIdentifier)
{
    const struct {
        QLocale locale;
        quint32 lcid;
    } cases[] = {
        {QLocale::c(), 0x007F}, // LOCALE_INVARIANT
        {QLocale(QLocale::Interlingua), 0x1000}, // none: LOCALE_CUSTOM_UNSPECIFIED
        {QLocale(QLocale::Russian, QLocale::Russia), 0x0419},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), 0x0809},
        {QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia), 0x241A},
        {QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia), 0x281A},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.locale.name()));
        const DefaultLocale locale(c.locale);
        EXPECT_EQ(tessera::GetThreadLocale(), c.lcid);
    }
}
