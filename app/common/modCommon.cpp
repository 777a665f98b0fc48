#include "app/common/modCommon.h"

#include "app/common/ProgramInfo.h"
#include "support/csText.h"

#include <QComboBox>

namespace quillon::modCommon {

namespace {
const QLatin1String CRLF("\r\n");
}

QString ComboToText(const QComboBox *Combo)
{
    QString text;
    for (int i = 0; i < Combo->count(); ++i)
        text += cs::csTrimEx(Combo->itemText(i)) + CRLF;
    return cs::csTrimCRLF(text);
}

void TextToCombo(const QString &Text, QComboBox *Combo)
{
    Combo->clear();
    for (const QString &line : Text.split(CRLF)) {
        const QString item = cs::csTrimEx(line);
        if (!item.isEmpty())
            Combo->addItem(item);
    }
    if (Combo->count() > 0)
        Combo->setCurrentIndex(0);
}

QString MakeCaption(const QString &Text)
{
    const QString title = ProgramInfo::Title().replace(QLatin1String("Corvid - "), QString());
    return Text.isEmpty() ? title : title + QLatin1String(" :: ") + Text;
}

} // namespace quillon::modCommon
