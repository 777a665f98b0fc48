#include "app/history/frmHistory.h"

#include "support/csWindows.h"

#include <QListWidget>
#include <QPushButton>

namespace quillon {

frmHistory::frmHistory(QWidget *parent)
    : HidingDialog(parent)
    , m_lstHistory(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Post pictures to Tumblr :: History"));

    m_lstHistory->setObjectName(QStringLiteral("lstHistory"));
    m_lstHistory->setUniformItemSizes(true);
    QPushButton *cmdOk = layOut(m_lstHistory);
    cmdOk->setDefault(true);
    resize(440, 320);

    connect(m_lstHistory, &QListWidget::itemDoubleClicked, cmdOk, &QPushButton::click);

    cs::csCenterFormEx(this);
}

} // namespace quillon
