#include "lib/errors/modError500.h"

#include "lib/errors/frmError500.h"
#include "platform/ScopedMessageBoxAnswerer.h"
#include "platform/VariantConvert.h"
#include "support/csWindows.h"

#include <QApplication>

namespace tessera::modError500 {

qint32 ShowErrorBox(const QString &Text, qint32 Style, const std::optional<QVariant> &Title, qint32 DefaultButtonIndex,
                    qint32 CancelButtonIndex, qint32 TimeoutValue)
{
    QString title = Title ? variantToText(*Title) : cs::csGetThunderMainTitle();
    if (title.isEmpty())
        title = QStringLiteral(" ");

    if (ScopedMessageBoxAnswerer *answerer = ScopedMessageBoxAnswerer::active())
        return answerer->answer({Text, Style, title, nullptr, {}, 0});
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0;

    frmError500 box;
    box.prepare(Text, Style, title, DefaultButtonIndex, CancelButtonIndex, TimeoutValue);
    box.exec();
    return box.resultNumber();
}

} // namespace tessera::modError500
