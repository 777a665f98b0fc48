#pragma once

#include "lib/TesseraExport.h"

#include <QObject>
#include <QPointer>

class QPushButton;
class QWidget;

namespace tessera {

/// Gives a window two default buttons: a local one that Enter presses while
/// one text box has the focus, and the window's global one the rest of the
/// time. One watcher serves one text box; a watcher that is destroyed (or
/// whose buttons are) lets everything go.
///
///     auto *watcher = new crvTextBoxDefButtonWatcher(this);
///     watcher->Init(cmdOk, cmdFind, txtSearch);
class TESSERA_EXPORT crvTextBoxDefButtonWatcher : public QObject
{
    Q_OBJECT

public:
    explicit crvTextBoxDefButtonWatcher(QObject *parent = nullptr);
    ~crvTextBoxDefButtonWatcher() override;

    /// Watches \a This_TextBox: when it gets the focus \a Local_CommandButton
    /// becomes the default button; when it loses it the local button stops
    /// being the default and \a Global_CommandButton becomes it. Either button
    /// may be null. A second Init replaces the first.
    void Init(QPushButton *Global_CommandButton, QPushButton *Local_CommandButton, QWidget *This_TextBox);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QPushButton> m_global;
    QPointer<QPushButton> m_local;
    QPointer<QWidget> m_textBox;
};

} // namespace tessera
