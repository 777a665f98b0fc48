#include "app/history/frmHistory.h"

#include "support/csWindows.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>

namespace quillon {

frmHistory::frmHistory(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_lstHistory(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Post pictures to Tumblr :: History"));

    m_lstHistory->setObjectName(QStringLiteral("lstHistory"));
    m_lstHistory->setUniformItemSizes(true);
    auto *cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    auto *cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(m_lstHistory);
    layout->addLayout(buttons);
    resize(440, 320);

    connect(cmdOk, &QPushButton::clicked, this, [this] {
        Ok = true;
        hide();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_lstHistory, &QListWidget::itemDoubleClicked, cmdOk, &QPushButton::click);

    cs::csCenterFormEx(this);
}

void frmHistory::reject()
{
    hide();
}

void frmHistory::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void frmHistory::paintEvent(QPaintEvent *)
{
    cs::csPaintDesktop2(this);
}

} // namespace quillon
