#pragma once

#include "lib/dialogs/frmAbout.h"
#include "lib/dialogs/ucIconControl.h"
#include "support/csWindows.h"
#include "tests/app/ModalDriver.h"
#include "tests/app/QuillonState.h"

#include <QGroupBox>
#include <QLabel>
#include <QTest>

namespace corvid::test {

/// Presses Shift+F1 on \a target, a control of the window \a host, and
/// checks the about box that opens: Quillon's title and version, the icon of
/// \a host, no description page, the picture's tool tip "Соррель". Saves a
/// picture of every page it offers as "<prefix>-<page>.png", then closes it.
inline void expectQuillonAboutBox(QWidget *host, QWidget *target, const QString &prefix)
{
    bool shown = false;
    whenModalShown([&](QWidget *modal) {
        shown = true;
        auto *about = qobject_cast<tessera::frmAbout *>(modal);
        ASSERT_NE(about, nullptr) << "not the about box: " << qPrintable(modal->objectName());
        EXPECT_EQ(about->parentWidget(), host);
        EXPECT_EQ(control<QLabel>(about, "lblTitle")->text(), QLatin1String("Corvid - Quillon"));
        EXPECT_EQ(control<QLabel>(about, "lblVersion")->text(), QLatin1String("1.00.0039"));
        EXPECT_EQ(control<QLabel>(about, "lblAuthor")->text(), QLatin1String("Sablewing"));
        EXPECT_EQ(control<QLabel>(about, "imgSorrel")->toolTip(), QStringLiteral("Соррель"));
        EXPECT_EQ(control<tessera::ucIconControl>(about, "imgIcon")->Picture().toImage(),
                  cs::csGetWindowIcon(host).toImage());
        EXPECT_FALSE(about->OfferedPages().contains(tessera::frmAbout::DescriptionTab));
        for (qsizetype page = 0; page < about->OfferedPages().size(); ++page) {
            EXPECT_TRUE(saveScreenshot(about, prefix + QLatin1Char('-') + QString::number(about->CurrentPage())));
            QTest::keyClick(about, Qt::Key_PageDown);
        }
        EXPECT_EQ(about->CurrentPage(), tessera::frmAbout::MainTab) << "Page Down went round";
        QTest::keyClick(about, Qt::Key_Escape);
    });
    QTest::keyClick(target, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(shown);
}

} // namespace corvid::test
