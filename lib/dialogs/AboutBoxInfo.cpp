#include "lib/dialogs/AboutBoxInfo.h"

namespace tessera {

QString AboutBoxInfo::DefaultAuthor()
{
    return QStringLiteral("Sablewing");
}

QString AboutBoxInfo::DefaultAuthorEMail()
{
    return QStringLiteral("corvid@sablewing.example");
}

QString AboutBoxInfo::DefaultDevote()
{
    return QStringLiteral("Посвящается Соррель ^_^");
}

QString AboutBoxInfo::DefaultPictureToolTipText()
{
    return QStringLiteral("Соррель");
}

} // namespace tessera
