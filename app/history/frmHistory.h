#pragma once

#include "app/common/HidingDialog.h"

class QListWidget;

namespace quillon {

/// The history chooser "Post pictures to Tumblr :: History": the entries in
/// lstHistory, cmdOk ("Ok") and cmdCancel ("Cancel"). cmdOk, and a double
/// click on an entry, set Ok and hide the window; cmdCancel, Escape and the
/// window's close command only hide it, so the caller always reads Ok and
/// deletes the window itself (CHistory::ShowHistoryDialog).
class frmHistory : public HidingDialog
{
    Q_OBJECT

public:
    explicit frmHistory(QWidget *parent = nullptr);

    QListWidget *lstHistory() const { return m_lstHistory; }

private:
    QListWidget *m_lstHistory;
};

} // namespace quillon
