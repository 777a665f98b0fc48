#pragma once

#include "app/common/HidingDialog.h"

#include <QString>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class crvTBHooks;

/// The address list editor "E-Mails list": one address per line in
/// txtMails, with cmdOk ("Ok"), cmdCancel ("Cancel") and cmdWhat ("What?",
/// which opens the Tumblr page that explains e-mail posting). Ok becomes
/// true only through cmdOk; Cancel, Escape and the window's close command
/// only hide the window, so the caller always reads Ok and deletes it.
///
/// While it exists the window is announced to the Skylark toolbar
/// (modSkylark) and Ctrl+A selects all of txtMails (crvTBHooks).
class frmEditEMail : public HidingDialog
{
    Q_OBJECT

public:
    explicit frmEditEMail(QWidget *parent = nullptr);
    ~frmEditEMail() override;

    /// The editor's text with CR LF between lines, as modCommon's list
    /// texts are.
    QString MailsText() const;
    void setMailsText(const QString &text);

    /// The "What?" button, hidden for the sender list.
    QPushButton *cmdWhat() const { return m_cmdWhat; }

    /// Edits the address list \a List in a modal editor over \a List's
    /// window: the editor starts with ComboToText of the list; after Ok the
    /// list becomes TextToCombo of the edited text (its first item
    /// selected). \a SenderList hides cmdWhat, which is about posting
    /// addresses. Returns Ok; the list is unchanged when it is false.
    static bool EditMailList(QComboBox *List, bool SenderList);

    /// Where cmdWhat leads.
    static QString whatAddress();

private:
    QPlainTextEdit *m_txtMails;
    QPushButton *m_cmdWhat;
    crvTBHooks *m_selectAll;
};

} // namespace quillon
