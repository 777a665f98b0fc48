#pragma once

#include "lib/dialogs/crvChooseFontDialog.h"
#include "support/csSystem.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

namespace tessera::dialogs {

// The longest face name a logical font holds.
constexpr qsizetype FaceNameLimit = 31;

// The screen's vertical resolution, as the desktop's device context reports
// it; 96 without a screen.
inline double screenDpiY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

// The logical height of a font of \a points at \a dpi: the rounded product
// divided by -72, truncated towards zero (9 points at 96 dpi give -12).
inline qint32 logicalHeight(double points, double dpi)
{
    return qint32(cs::csDoubleToLargeInteger(points * dpi) / -72);
}

// The chooser reports a weight as bold above 550, halfway between medium
// and semi-bold.
inline bool isBoldWeight(int weight)
{
    return weight > 550;
}

// Size limits apply only when both are set and ordered.
inline bool hasSizeLimits(qint32 sizeMin, qint32 sizeMax)
{
    return sizeMin != 0 && sizeMax != 0 && sizeMin < sizeMax;
}

// The font the chooser starts with, as the properties of \a dlg describe it
// at \a dpi. The height is in pixels; a positive (cell) height is taken as
// the character height, the closest Qt has.
inline QFont initialFont(const crvChooseFontDialog &dlg, double dpi)
{
    QFont font(dlg.FaceName().left(FaceNameLimit));
    const qint32 height = dlg.Height() != 0 ? dlg.Height() : logicalHeight(dlg.Size(), dpi);
    if (height != 0)
        font.setPixelSize(qAbs(height));
    font.setWeight(dlg.Bold() ? QFont::Bold : QFont::Normal);
    font.setItalic(dlg.Italic());
    font.setUnderline(dlg.Underline());
    font.setStrikeOut(dlg.Strikethrough());
    return font;
}

} // namespace tessera::dialogs
