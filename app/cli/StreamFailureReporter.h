#pragma once

#include "app/mail/MailFailureReporter.h"

#include <cstdio>

namespace quillon {

/// A MailFailureReporter for programs without windows: each failure goes
/// to \a stream (standard error) as the composer's text, followed for a
/// raised error by crvErr's message for it, with LF line ends.
class StreamFailureReporter : public MailFailureReporter
{
public:
    explicit StreamFailureReporter(std::FILE *stream = stderr);

    void showMessage(const QString &text) override;
    void showError(const tessera::RuntimeError &error, const QString &descriptionText) override;

private:
    std::FILE *m_stream;
};

} // namespace quillon
