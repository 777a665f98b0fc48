#include "app/mail/MailFailureReporter.h"

#include "app/common/ProgramInfo.h"
#include "lib/errors/crvErr.h"
#include "platform/MessageBox.h"

namespace quillon {

void MailFailureReporter::showMessage(const QString &text)
{
    tessera::MessageBox::show(text, tessera::MessageBox::Critical, ProgramInfo::Title());
}

void MailFailureReporter::showError(const tessera::RuntimeError &error, const QString &descriptionText)
{
    tessera::crvErr::global().ErrorDisplay(error, 16, ProgramInfo::Title(), descriptionText);
}

MailFailureReporter &MailFailureReporter::messageBoxes()
{
    static MailFailureReporter reporter;
    return reporter;
}

} // namespace quillon
