#pragma once

#include <QString>

namespace tessera {
class RuntimeError;
}

namespace quillon {

/// Where the composer's failures go. The composer writes each failure's
/// text itself; a reporter only presents it. This one shows message boxes,
/// as the windows want; the command-line tool puts its own reporter in its
/// place to write them to standard error.
class MailFailureReporter
{
public:
    virtual ~MailFailureReporter() = default;

    /// A failure the composer found itself: a message box with the error
    /// icon and the program's title.
    virtual void showMessage(const QString &text);

    /// A raised error, with the composer's sentence about it: crvErr's
    /// ErrorDisplay, style 16, the program's title.
    virtual void showError(const tessera::RuntimeError &error, const QString &descriptionText);

    /// The reporter that shows message boxes.
    static MailFailureReporter &messageBoxes();
};

} // namespace quillon
