#pragma once

#include <QDialog>

class QPushButton;

namespace quillon {

/// A modal window that its caller reads after it has closed: cmdOk ("Ok")
/// sets Ok, and cmdOk, cmdCancel ("Cancel"), Escape and the window's close
/// command all only hide the window, so the caller reads Ok and then deletes
/// the window itself. The desktop pattern is painted behind the controls.
class HidingDialog : public QDialog
{
    Q_OBJECT

public:
    /// Whether the user closed the window with cmdOk.
    bool Ok = false;

    void reject() override;

protected:
    explicit HidingDialog(QWidget *parent);

    /// Lays the window out: \a content above a row of \a leftButton (when
    /// given), then cmdOk and cmdCancel on the right. The two are made here,
    /// after the content, so that they follow it in the tab order. Returns
    /// cmdOk.
    QPushButton *layOut(QWidget *content, QPushButton *leftButton = nullptr);

    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quillon
