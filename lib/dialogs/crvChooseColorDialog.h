#pragma once

#include "lib/TesseraExport.h"
#include "lib/dialogs/CommonDialogErrorCodes.h"

#include <memory>

class QWidget;

namespace tessera {

class CustomColors;

/// The colour chooser: Qt's own widget colour dialog, modal to hWnd, with the
/// sixteen custom colours of CustomColors() in its custom-colour slots.
/// Colours are 0x00BBGGRR values; the high byte of Color is ignored.
///
/// FullOpen, PreventFullOpen, AnyColor and SolidColor are kept and read
/// back; the dialog always shows its full form and every colour.
///
///     crvChooseColorDialog dlg;
///     dlg.setColor(0x0000FF); // red
///     if (dlg.Show())
///         use(dlg.Color());
class TESSERA_EXPORT crvChooseColorDialog
{
public:
    crvChooseColorDialog();
    ~crvChooseColorDialog();
    crvChooseColorDialog(const crvChooseColorDialog &) = delete;
    crvChooseColorDialog &operator=(const crvChooseColorDialog &) = delete;

    /// Extended error of the last Show: 0 after success and after a cancel,
    /// cderrInitialization when no dialog can be shown (no QApplication).
    CommonDialogErrorCodes LastDlgError() const;

    QWidget *hWnd() const;
    void sethWnd(QWidget *hWnd);
    /// The initial colour in, the chosen colour out.
    qint32 Color() const;
    void setColor(qint32 Color);
    bool FullOpen() const;
    void setFullOpen(bool FullOpen);
    bool PreventFullOpen() const;
    void setPreventFullOpen(bool PreventFullOpen);
    bool AnyColor() const;
    void setAnyColor(bool AnyColor);
    bool SolidColor() const;
    void setSolidColor(bool SolidColor);

    /// The custom colours the dialog shows and edits; shared with whoever
    /// assigned them. Never null.
    std::shared_ptr<tessera::CustomColors> CustomColors() const;
    /// Installs \a Colors; nullptr installs a new all-zero set.
    void setCustomColors(std::shared_ptr<tessera::CustomColors> Colors);

    /// Shows the chooser. True when the user chose a colour (Color takes
    /// it); false after a cancel or a failure, leaving Color as it was.
    /// Custom colours edited in the dialog are kept either way.
    bool Show();

    /// Puts every property back to its default: Color 0, FullOpen set, the
    /// other switches clear, a new all-zero CustomColors.
    void SetDefaults();

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
