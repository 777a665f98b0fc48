#pragma once

#include "lib/TesseraExport.h"

#include <QPixmap>
#include <QString>

namespace tessera {

/// What one showing of the about box (frmAbout) describes, as the entry
/// operations of crvMain resolve it. Pictures may be null (absent).
struct TESSERA_EXPORT AboutBoxInfo {
    QString Title;
    /// The program's icon for the box, and the small one for its window.
    QPixmap Icon;
    QPixmap SmallIcon;
    qint32 VerMajor = 1;
    qint32 VerMinor = 0;
    qint32 VerRevision = 0;
    QString Author;
    QString AuthorEMail;
    QString Devote;
    QString Description;
    QPixmap Picture;
    QString PictureToolTipText = DefaultPictureToolTipText();

    /// The library's own author, contact address and dedication, which the
    /// boxes of ShowAboutBox and ShowAboutBox2 carry.
    static QString DefaultAuthor();
    static QString DefaultAuthorEMail();
    static QString DefaultDevote();
    /// "Соррель".
    static QString DefaultPictureToolTipText();
};

} // namespace tessera
