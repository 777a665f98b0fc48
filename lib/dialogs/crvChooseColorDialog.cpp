#include "lib/dialogs/crvChooseColorDialog.h"

#include "lib/dialogs/CustomColors.h"
#include "lib/dialogs/DialogHost_p.h"
#include "lib/dialogs/DialogProperty_p.h"
#include "lib/dialogs/ModalDialog_p.h"

#include <QColorDialog>
#include <QPointer>

namespace tessera {

namespace {

QColor fromBGR(qint32 color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

qint32 toBGR(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return qint32(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

} // namespace

class crvChooseColorDialog::Private
{
public:
    QPointer<QWidget> hWnd;
    qint32 color = 0;
    bool fullOpen = true;
    bool preventFullOpen = false;
    bool anyColor = false;
    bool solidColor = false;
    std::shared_ptr<tessera::CustomColors> customColors = std::make_shared<tessera::CustomColors>();
    CommonDialogErrorCodes lastDlgError = CommonDialogErrorCodes(0);
};

crvChooseColorDialog::crvChooseColorDialog()
    : d(std::make_unique<Private>())
{ }

crvChooseColorDialog::~crvChooseColorDialog() = default;

void crvChooseColorDialog::SetDefaults()
{
    *d = Private();
}

bool crvChooseColorDialog::Show()
{
    if (!canShowDialogs()) {
        d->lastDlgError = cderrInitialization;
        return false;
    }
    tessera::CustomColors &custom = *d->customColors;
    // Qt keeps one set of custom colours for all its colour dialogs.
    for (qint32 i = 0; i < custom.Count(); ++i)
        QColorDialog::setCustomColor(i, fromBGR(custom.Item(i)));

    ModalDialog<QColorDialog> dialog(fromBGR(d->color), d->hWnd.data());
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    const bool chosen = dialog.exec();

    for (qint32 i = 0; i < custom.Count(); ++i)
        custom.setItem(i, toBGR(QColorDialog::customColor(i)));
    d->lastDlgError = CommonDialogErrorCodes(0);
    if (chosen)
        d->color = toBGR(dialog->selectedColor());
    return chosen;
}

CommonDialogErrorCodes crvChooseColorDialog::LastDlgError() const
{
    return d->lastDlgError;
}

std::shared_ptr<tessera::CustomColors> crvChooseColorDialog::CustomColors() const
{
    return d->customColors;
}

void crvChooseColorDialog::setCustomColors(std::shared_ptr<tessera::CustomColors> Colors)
{
    d->customColors = Colors ? std::move(Colors) : std::make_shared<tessera::CustomColors>();
}

TESSERA_DIALOG_PROPERTY(crvChooseColorDialog, QWidget *, hWnd, hWnd)
TESSERA_DIALOG_PROPERTY(crvChooseColorDialog, qint32, Color, color)
TESSERA_DIALOG_PROPERTY(crvChooseColorDialog, bool, FullOpen, fullOpen)
TESSERA_DIALOG_PROPERTY(crvChooseColorDialog, bool, PreventFullOpen, preventFullOpen)
TESSERA_DIALOG_PROPERTY(crvChooseColorDialog, bool, AnyColor, anyColor)
TESSERA_DIALOG_PROPERTY(crvChooseColorDialog, bool, SolidColor, solidColor)

} // namespace tessera
