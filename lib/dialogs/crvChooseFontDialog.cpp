#include "lib/dialogs/crvChooseFontDialog.h"

#include "lib/dialogs/DialogHost_p.h"
#include "lib/dialogs/DialogProperty_p.h"
#include "lib/dialogs/FontRules_p.h"
#include "lib/dialogs/ModalDialog_p.h"
#include "platform/MessageBox.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QPointer>

namespace tessera {

namespace {

using namespace dialogs;

// Qt's font dialog with the platform's size limits: a size outside them is
// refused with the platform's message and the dialog stays open.
class LimitedFontDialog : public QFontDialog
{
public:
    LimitedFontDialog(const QFont &initial, QWidget *parent, qint32 sizeMin, qint32 sizeMax)
        : QFontDialog(initial, parent)
        , m_sizeMin(sizeMin)
        , m_sizeMax(sizeMax)
    { }

    void done(int result) override
    {
        if (result == Accepted && hasSizeLimits(m_sizeMin, m_sizeMax)) {
            const double size = currentFont().pointSizeF();
            if (size < m_sizeMin || size > m_sizeMax) {
                MessageBox::show(QStringLiteral("Size must be between %1 and %2 points.").arg(m_sizeMin).arg(m_sizeMax),
                                 MessageBox::OkOnly | MessageBox::Exclamation, windowTitle(), this);
                return;
            }
        }
        QFontDialog::done(result);
    }

private:
    qint32 m_sizeMin;
    qint32 m_sizeMax;
};

} // namespace

class crvChooseFontDialog::Private
{
public:
    QString faceName = QStringLiteral("Tahoma");
    qint64 size = 90000; // ten-thousandths of a point
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    qint32 color = 0;
    bool fixedPitchOnly = false;
    bool fontMustExist = true;
    qint32 height = 0;
    bool showEffects = true;
    bool showPrinterFonts = false;
    bool showScreenFonts = true;
    bool showVerticalFonts = false;
    qint32 sizeMax = 0;
    qint32 sizeMin = 0;
    bool trueTypeOnly = false;
    qint32 width = 0;
    qint32 charset = 204;
    QPointer<QWidget> hWnd;
    CommonDialogErrorCodes lastDlgError = CommonDialogErrorCodes(0);
};

crvChooseFontDialog::crvChooseFontDialog()
    : d(std::make_unique<Private>())
{ }

crvChooseFontDialog::~crvChooseFontDialog() = default;

void crvChooseFontDialog::SetDefaults()
{
    *d = Private();
}

bool crvChooseFontDialog::Show()
{
    if (!canShowDialogs()) {
        d->lastDlgError = cderrInitialization;
        return false;
    }
    const double dpi = screenDpiY();
    ModalDialog<LimitedFontDialog> dialog(initialFont(*this, dpi), d->hWnd.data(), d->sizeMin, d->sizeMax);
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setOption(QFontDialog::MonospacedFonts, d->fixedPitchOnly);
    dialog->setOption(QFontDialog::ScalableFonts, d->trueTypeOnly);
    d->lastDlgError = CommonDialogErrorCodes(0);
    if (!dialog.exec())
        return false;

    const QFont chosen = dialog->selectedFont();
    const double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : QFontInfo(chosen).pointSizeF();
    d->charset &= 0xFF;
    d->faceName = chosen.family();
    d->italic = chosen.italic();
    d->underline = chosen.underline();
    d->strikethrough = chosen.strikeOut();
    d->bold = isBoldWeight(chosen.weight());
    d->width = 0;
    d->height = logicalHeight(points, dpi);
    // The platform reports the size in tenths of a point.
    setSize(qRound(points * 10) / 10.0);
    return true;
}

void crvChooseFontDialog::SetFont(const QFont &Font)
{
    d->faceName = Font.family();
    setSize(Font.pointSizeF() > 0 ? Font.pointSizeF() : Font.pixelSize() * 72.0 / screenDpiY());
    d->bold = Font.bold();
    d->italic = Font.italic();
    d->underline = Font.underline();
    d->strikethrough = Font.strikeOut();
}

QFont crvChooseFontDialog::GetFont() const
{
    QFont font(d->faceName);
    if (d->size > 0)
        font.setPointSizeF(Size());
    font.setWeight(d->bold ? QFont::Bold : QFont::Normal);
    font.setItalic(d->italic);
    font.setUnderline(d->underline);
    font.setStrikeOut(d->strikethrough);
    return font;
}

CommonDialogErrorCodes crvChooseFontDialog::LastDlgError() const
{
    return d->lastDlgError;
}

qint32 crvChooseFontDialog::Width() const
{
    return d->width;
}

qint16 crvChooseFontDialog::Weight() const
{
    return 0;
}

double crvChooseFontDialog::Size() const
{
    return d->size / 10000.0;
}

void crvChooseFontDialog::setSize(double Size)
{
    d->size = cs::csDoubleToLargeInteger(Size * 10000);
}

TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, QWidget *, hWnd, hWnd)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, qint32, Charset, charset)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, TrueTypeOnly, trueTypeOnly)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, qint32, SizeMin, sizeMin)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, qint32, SizeMax, sizeMax)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, ShowVerticalFonts, showVerticalFonts)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, ShowScreenFonts, showScreenFonts)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, ShowPrinterFonts, showPrinterFonts)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, ShowEffects, showEffects)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, qint32, Height, height)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, FontMustExist, fontMustExist)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, FixedPitchOnly, fixedPitchOnly)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, qint32, Color, color)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, Strikethrough, strikethrough)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, Underline, underline)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, Italic, italic)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, bool, Bold, bold)
TESSERA_DIALOG_PROPERTY(crvChooseFontDialog, QString, FaceName, faceName)

} // namespace tessera
