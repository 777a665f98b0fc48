#pragma once

#include "lib/TesseraExport.h"
#include "lib/dialogs/CommonDialogErrorCodes.h"

#include <QFont>
#include <QString>

#include <memory>

class QWidget;

namespace tessera {

/// The font chooser: Qt's own widget font dialog, modal to hWnd. A host
/// describes the font in the properties (or copies it from a QFont with
/// SetFont), calls Show and reads the choice back as properties or as a
/// QFont (GetFont).
///
/// The dialog starts with the first 31 characters of FaceName, the weight
/// 700 or 400 from Bold, the effects, and a height in pixels: Height when it
/// is not 0, otherwise Size in points at the screen's dots per inch
/// (Size × dpi, rounded, divided by 72). When SizeMin and SizeMax are both
/// non-zero and SizeMin < SizeMax, sizes outside them are refused with a
/// message and the dialog stays open. FixedPitchOnly lists only
/// fixed-pitch fonts and TrueTypeOnly only scalable ones; the other switches,
/// Color and Charset (Qt fonts have no character set) are kept and read
/// back unchanged.
///
///     crvChooseFontDialog dlg;
///     dlg.SetFont(editor->font());
///     if (dlg.Show())
///         editor->setFont(dlg.GetFont());
class TESSERA_EXPORT crvChooseFontDialog
{
public:
    crvChooseFontDialog();
    ~crvChooseFontDialog();
    crvChooseFontDialog(const crvChooseFontDialog &) = delete;
    crvChooseFontDialog &operator=(const crvChooseFontDialog &) = delete;

    /// Extended error of the last Show: 0 after success and after a cancel,
    /// cderrInitialization when no dialog can be shown (no QApplication).
    CommonDialogErrorCodes LastDlgError() const;

    QWidget *hWnd() const;
    void sethWnd(QWidget *hWnd);
    /// Character set, 204 (Cyrillic) by default; only its low byte is kept
    /// by Show.
    qint32 Charset() const;
    void setCharset(qint32 Charset);
    /// Logical width after Show; 0, as the dialog chooses by height.
    qint32 Width() const;
    bool TrueTypeOnly() const;
    void setTrueTypeOnly(bool TrueTypeOnly);
    qint32 SizeMin() const;
    void setSizeMin(qint32 SizeMin);
    qint32 SizeMax() const;
    void setSizeMax(qint32 SizeMax);
    bool ShowVerticalFonts() const;
    void setShowVerticalFonts(bool ShowVerticalFonts);
    bool ShowScreenFonts() const;
    void setShowScreenFonts(bool ShowScreenFonts);
    bool ShowPrinterFonts() const;
    void setShowPrinterFonts(bool ShowPrinterFonts);
    bool ShowEffects() const;
    void setShowEffects(bool ShowEffects);
    /// Logical height in pixels, negative for the character height; when not
    /// 0 it is used instead of Size. A successful Show sets it to the chosen
    /// font's height.
    qint32 Height() const;
    void setHeight(qint32 Height);
    bool FontMustExist() const;
    void setFontMustExist(bool FontMustExist);
    bool FixedPitchOnly() const;
    void setFixedPitchOnly(bool FixedPitchOnly);
    qint32 Color() const;
    void setColor(qint32 Color);
    bool Strikethrough() const;
    void setStrikethrough(bool Strikethrough);
    bool Underline() const;
    void setUnderline(bool Underline);
    bool Italic() const;
    void setItalic(bool Italic);
    /// True after Show for a chosen weight above 550.
    bool Bold() const;
    void setBold(bool Bold);
    /// Always 0: nothing sets it, so GetFont takes the weight from Bold.
    qint16 Weight() const;
    /// Size in points, kept with four decimals; a value that does not fit
    /// raises the overflow error 6. A successful Show gives tenths.
    double Size() const;
    void setSize(double Size);
    QString FaceName() const;
    void setFaceName(const QString &FaceName);

    /// Shows the chooser. True when the user chose a font: FaceName, Size,
    /// Height, Width, Bold, Italic, Underline and Strikethrough describe it.
    /// False after a cancel or a failure, every property but LastDlgError
    /// unchanged.
    bool Show();

    /// Puts every property back to its default: "Tahoma", 9 points,
    /// Charset 204, FontMustExist, ShowEffects and ShowScreenFonts set,
    /// everything else 0 or false.
    void SetDefaults();

    /// Copies family, point size, bold, italic, underline and strike-out of
    /// \a Font into FaceName, Size, Bold, Italic, Underline and
    /// Strikethrough (a font sized in pixels is converted at the screen's
    /// dots per inch). Charset stays as it is.
    void SetFont(const QFont &Font);

    /// A font made from FaceName, Size, Bold (weight 700 or 400), Italic,
    /// Underline and Strikethrough. A Size of 0 or less leaves Qt's default
    /// size.
    QFont GetFont() const;

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
