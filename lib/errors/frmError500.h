#pragma once

#include "lib/TesseraExport.h"

#include <QDialog>
#include <QString>

#include <memory>

class QPushButton;

namespace tessera {

/// The window of the timed error box (modError500::ShowErrorBox): the
/// platform's message box with a countdown in the caption of its default
/// button. The icon and the text are painted on the window; the buttons are
/// cmdButton(0) to cmdButton(2) (object name "cmdButton"), the countdown
/// timer is the child "tmrTimeout".
///
/// The layout follows the platform's box, designed in twips and converted
/// with the screen's twips per pixel: the text is wrapped to at most the
/// screen's width less 300 pixels, and cut at the screen's height less 200;
/// the window widens with the text and stays right-aligned on its buttons.
class TESSERA_EXPORT frmError500 : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(qint16 RC READ RC)
    Q_PROPERTY(qint32 TimeoutValue READ TimeoutValue)
    Q_PROPERTY(qint32 TimeoutButtonIndex READ TimeoutButtonIndex)
    Q_PROPERTY(QString TimeoutButtonCaption READ TimeoutButtonCaption)

public:
    explicit frmError500(QWidget *parent = nullptr);
    ~frmError500() override;

    /// Sets the box up for \a Text and \a Style with the window title
    /// \a Title, chooses the default (time-out) and cancel buttons, lays the
    /// window out, centres it, beeps, starts the countdown and runs its first
    /// step, so that the caption shows the full count. Indices other than -1
    /// and the style's button numbers are ignored; \a TimeoutValue below 1
    /// counts from 1. A style without a button set of the platform (button
    /// bits 6 to 15) shows one button without a caption of its own.
    void prepare(const QString &Text, qint32 Style, const QString &Title, qint32 DefaultButtonIndex,
                 qint32 CancelButtonIndex, qint32 TimeoutValue);

    /// The result number of the button in RC: 1 OK ... 7 No; 0 for a style
    /// without a button set of the platform.
    qint32 resultNumber() const;

    /// Button \a Index (0 to 2), shown or not.
    QPushButton *cmdButton(int Index) const;
    /// Where the text is painted, in pixels of the window.
    QRect messageRect() const;
    /// Where the icon is painted; empty for a style without an icon.
    QRect iconRect() const;

    /// The index of the button that closed the box.
    qint16 RC() const;
    qint32 TimeoutValue() const;
    qint32 TimeoutButtonIndex() const;
    /// The time-out button's caption without the countdown.
    QString TimeoutButtonCaption() const;

    /// Closes the box with the cancel button (Escape and the window's close
    /// command come here).
    void reject() override;

public Q_SLOTS:
    /// One step of the countdown (every second, the last one after 250 ms).
    void tmrTimeout_Timer();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
