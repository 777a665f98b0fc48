#include "app/common/HidingDialog.h"

#include "support/csWindows.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QPushButton>

namespace quillon {

HidingDialog::HidingDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{ }

QPushButton *HidingDialog::layOut(QWidget *content, QPushButton *leftButton)
{
    auto *cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    auto *cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    if (leftButton)
        buttons->addWidget(leftButton);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(content);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, [this] {
        Ok = true;
        hide();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::hide);
    return cmdOk;
}

void HidingDialog::reject()
{
    hide();
}

void HidingDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void HidingDialog::paintEvent(QPaintEvent *)
{
    cs::csPaintDesktop2(this);
}

} // namespace quillon
