#include "app/common/frmEditEMail.h"

#include "app/common/crvTBHooks.h"
#include "app/common/modCommon.h"
#include "app/common/modSkylark.h"
#include "platform/ShellOpen.h"
#include "support/csWindows.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

namespace quillon {

frmEditEMail::frmEditEMail(QWidget *parent)
    : HidingDialog(parent)
    , m_txtMails(new QPlainTextEdit(this))
    , m_cmdWhat(new QPushButton(QStringLiteral("What?"), this))
    , m_selectAll(new crvTBHooks(this))
{
    setObjectName(QStringLiteral("frmEditEMail"));
    setWindowTitle(QStringLiteral("E-Mails list"));

    m_txtMails->setObjectName(QStringLiteral("txtMails"));
    m_txtMails->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtMails->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtMails->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_cmdWhat->setObjectName(QStringLiteral("cmdWhat"));
    m_cmdWhat->setToolTip(QStringLiteral(" Look for \"Mobile + Email Posting\" block! "));
    m_cmdWhat->setAutoDefault(false);
    layOut(m_txtMails, m_cmdWhat);
    resize(420, 300);

    connect(m_cmdWhat, &QPushButton::clicked, this, [] { tessera::ShellOpen(whatAddress()); });

    cs::csCenterFormEx(this);
    modSkylark::MarkToolbarForm(this);
    m_selectAll->setTextBox(m_txtMails);
    m_selectAll->InitSelectAllHook();
}

frmEditEMail::~frmEditEMail()
{
    modSkylark::UnmarkToolbarForm(this);
}

QString frmEditEMail::MailsText() const
{
    return m_txtMails->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void frmEditEMail::setMailsText(const QString &text)
{
    m_txtMails->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

bool frmEditEMail::EditMailList(QComboBox *List, bool SenderList)
{
    auto editor = std::make_unique<frmEditEMail>(List->window());
    editor->setMailsText(modCommon::ComboToText(List));
    if (SenderList)
        editor->cmdWhat()->hide();
    editor->exec();
    if (editor->Ok)
        modCommon::TextToCombo(editor->MailsText(), List);
    return editor->Ok;
}

QString frmEditEMail::whatAddress()
{
    return QStringLiteral("https://www.tumblr.com/goodies");
}

} // namespace quillon
