#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillon {

/// Ends the program as the user would when the process is asked to stop
/// (SIGTERM when the desktop session ends, SIGINT from Ctrl+C in a
/// terminal, SIGHUP when the terminal goes): the windows are closed, so the
/// main window saves its settings and histories. A modal window open at
/// that moment (batch mode, a message box) is closed first, and the main
/// window once the modal window's loop has returned.
///
/// One instance per process, made before the windows; it restores the
/// default signal handling when it goes.
class TerminationSignals : public QObject
{
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    void closeWindows();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace quillon
