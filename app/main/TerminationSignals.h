#pragma once

#include <QObject>

class QSocketNotifier;
class QTimer;

namespace quillon {

/// Ends the program as the user would when the process is asked to stop
/// (SIGTERM when the desktop session ends, SIGINT from Ctrl+C in a
/// terminal, SIGHUP when the terminal goes): the windows are closed, so the
/// main window saves its settings and histories. Open message boxes are
/// answered first (MessageBox::dismissAll: Cancel, or Abort where there is
/// none, so a batch stops), other modal windows (batch mode, dialogs) are
/// closed, and the main window once their loops have returned. Until the
/// program ends this is tried again every tenth of a second, so a window
/// that opens meanwhile (a box shown during start-up) is closed too.
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
    QTimer *m_retry = nullptr;
};

} // namespace quillon
