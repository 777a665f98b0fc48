#pragma once

#include "lib/TesseraExport.h"
#include "platform/Collection.h"

#include <QFont>
#include <QString>

namespace tessera {

/// Shows lines of text in a small modal window (frmList) whose caption can
/// carry their number. Clicking a line shows the part after its first tab
/// under the list, so "caption<Tab>value" lines show their value there.
///
///     crvSimpleListDialog list;
///     list.Elements().Add(QStringLiteral("Size\t1,024 bytes"));
///     list.setCaption(QStringLiteral("Facts"));
///     list.Show(); // "Facts [1]"
class TESSERA_EXPORT crvSimpleListDialog
{
public:
    crvSimpleListDialog();
    ~crvSimpleListDialog();
    crvSimpleListDialog(const crvSimpleListDialog &) = delete;
    crvSimpleListDialog &operator=(const crvSimpleListDialog &) = delete;

    /// The lines, each shown as its text (tessera::variantToText); a new
    /// empty collection at first.
    Collection &Elements();
    void setElements(const Collection &Elements);
    /// The font of the list and of the line under it; "Tahoma" 9 points,
    /// regular, at first.
    QFont Font() const;
    void setFont(const QFont &Font);
    /// Whether the caption ends in " [" + the number of lines + "]"; set at
    /// first.
    bool ShowCountInCaption() const;
    void setShowCountInCaption(bool ShowCountInCaption);
    /// The window's caption; empty at first.
    QString Caption() const;
    void setCaption(const QString &Caption);

    /// Shows the window modally over the active window and returns when it
    /// is closed (Escape, Enter or the close button). Nothing is reported:
    /// a line that does not convert to text is left out and the window
    /// shows what could be filled in.
    void Show();

private:
    Collection m_elements;
    QFont m_font;
    bool m_showCountInCaption = true;
    QString m_caption;
};

} // namespace tessera
