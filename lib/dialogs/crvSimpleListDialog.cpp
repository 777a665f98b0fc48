#include "lib/dialogs/crvSimpleListDialog.h"

#include "lib/dialogs/frmList.h"
#include "platform/RuntimeError.h"
#include "platform/VariantConvert.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>

namespace tessera {

namespace {

QFont defaultFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(9);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

crvSimpleListDialog::crvSimpleListDialog()
    : m_font(defaultFont())
{ }

crvSimpleListDialog::~crvSimpleListDialog() = default;

Collection &crvSimpleListDialog::Elements()
{
    return m_elements;
}

void crvSimpleListDialog::setElements(const Collection &Elements)
{
    m_elements = Elements;
}

QFont crvSimpleListDialog::Font() const
{
    return m_font;
}

void crvSimpleListDialog::setFont(const QFont &Font)
{
    m_font = Font;
}

bool crvSimpleListDialog::ShowCountInCaption() const
{
    return m_showCountInCaption;
}

void crvSimpleListDialog::setShowCountInCaption(bool ShowCountInCaption)
{
    m_showCountInCaption = ShowCountInCaption;
}

QString crvSimpleListDialog::Caption() const
{
    return m_caption;
}

void crvSimpleListDialog::setCaption(const QString &Caption)
{
    m_caption = Caption;
}

void crvSimpleListDialog::Show()
{
    frmList window(QApplication::activeWindow());
    for (qsizetype i = 1; i <= m_elements.Count(); ++i) {
        try {
            window.lstList()->addItem(variantToText(m_elements.Item(i)));
        } catch (const RuntimeError &) {
            // The line is left out; the others are shown.
        }
    }
    QString caption = m_caption;
    if (m_showCountInCaption)
        caption += QLatin1String(" [") + QString::number(window.lstList()->count()) + QLatin1Char(']');
    window.setWindowTitle(caption);
    window.lstList()->setFont(m_font);
    window.lblTag()->setFont(m_font);
    window.exec();
}

} // namespace tessera
