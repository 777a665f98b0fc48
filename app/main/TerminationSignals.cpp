#include "app/main/TerminationSignals.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quillon {

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};
// The signal handler only writes a byte here; the event loop reads it.
int g_pipe[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    m_retry = new QTimer(this);
    m_retry->setInterval(100);
    connect(m_retry, &QTimer::timeout, this, &TerminationSignals::closeWindows);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) { }
        m_retry->start();
        closeWindows();
    });
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Signals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (int signal : Signals)
        std::signal(signal, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TerminationSignals::closeWindows()
{
    tessera::MessageBox::dismissAll();
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        return;
    }
    // A modal window runs its own loop inside the main one; the window that
    // opened it may be waiting for it on the stack.
    if (QThread::currentThread()->loopLevel() > 1)
        return;
    QApplication::closeAllWindows();
}

} // namespace quillon
