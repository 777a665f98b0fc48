#pragma once

#include "lib/TesseraExport.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace tessera {

/// The window of crvSimpleListDialog: the list lstList and, under it, the
/// label lblTag with the clicked line's text after its first tab. Escape
/// and Enter close it. The list fills the window with a 60-twip margin and
/// lblTag sits 60 twips under it; the window keeps a height of at least
/// twice the label's height plus 120 twips.
class TESSERA_EXPORT frmList : public QDialog
{
    Q_OBJECT

public:
    explicit frmList(QWidget *parent = nullptr);
    ~frmList() override;

    QListWidget *lstList() const { return m_lstList; }
    QLabel *lblTag() const { return m_lblTag; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void arrange();

    QListWidget *m_lstList;
    QLabel *m_lblTag;
};

} // namespace tessera
