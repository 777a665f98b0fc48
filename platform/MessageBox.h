#pragma once

#include "platform/PlatformExport.h"

#include <QString>

class QWidget;

namespace tessera {

/// The platform's message box, the one seam through which the suite shows
/// its modal messages. Tests answer it without a window through
/// ScopedMessageBoxAnswerer.
///
///     if (MessageBox::show(text, MessageBox::YesNo | MessageBox::Question, title) == MessageBox::Yes)
///         ...
class TESSERA_PLATFORM_EXPORT MessageBox
{
public:
    /// Style values, combined by adding one of each group.
    enum Style : qint32 {
        OkOnly = 0,
        OkCancel = 1,
        AbortRetryIgnore = 2,
        YesNoCancel = 3,
        YesNo = 4,
        RetryCancel = 5,
        ButtonsMask = 15,

        Critical = 16,
        Question = 32,
        Exclamation = 48,
        Information = 64,
        IconMask = 240,

        DefaultButton1 = 0,
        DefaultButton2 = 256,
        DefaultButton3 = 512,
        DefaultButton4 = 768,
        DefaultButtonMask = 3840,

        HelpButton = 16384,
    };

    /// The button that closed the box; Failed when none could be shown.
    enum Result : qint32 { Failed = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

    /// Shows \a text in a modal box over \a owner and returns the Result of
    /// the button pressed.
    ///
    /// Buttons, icon and default button follow \a style; the Help button
    /// comes last and counts for the default-button number, and a number
    /// past the last button selects the first. Escape answers Cancel where
    /// there is a Cancel button and OK in an OK-only box; Abort/Retry/Ignore
    /// and Yes/No boxes have no escape answer, so Escape and the window's
    /// close command do nothing there. Pressing Help opens \a helpFile with
    /// the desktop's handler (ShellOpen) and leaves the box open;
    /// \a helpContext is passed to answerers only. An empty \a title shows
    /// the program's title (QGuiApplication::applicationDisplayName()). The
    /// text is plain text; CR LF and lone CR break lines.
    ///
    /// Returns Failed without showing anything for a button set other than
    /// 0..5 (the platform rejects those styles) and when the process has no
    /// widget application (the text then goes to the warning log).
    static qint32 show(const QString &text, qint32 style = OkOnly, const QString &title = {}, QWidget *owner = nullptr,
                       const QString &helpFile = {}, qint32 helpContext = 0);

    /// Answers every box this thread shows, so that the program can end
    /// (a termination signal): each box's show() returns its escape answer
    /// (Cancel, or OK in an OK-only box), and where the box has none the
    /// answer that stops what it asked about: Abort for Abort/Retry/Ignore,
    /// No for Yes/No.
    static void dismissAll();
};

} // namespace tessera
