#include "shell/quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace shell {
namespace {

constexpr int kSignals[] = { SIGTERM, SIGINT };

// The pipe from the handler to the event loop: [0] is read by the loop, [1] written by the
// handler. A signal handler can reach nothing but globals.
int g_pipe[2] = { -1, -1 };

void OnSignal(int)
{
    // write() is one of the few calls allowed here; errno is the interrupted code's.
    const int savedErrno = errno;
    const char byte = 1;
    (void)!::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        (void)::sigaction(signal, &action, nullptr);
}

} // namespace

QuitOnSignal::QuitOnSignal()
{
    // Without the pipe the signals keep their default effect: the program ends at once.
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) { }
        QCoreApplication::quit();
    });
    SetHandler(OnSignal);
}

QuitOnSignal::~QuitOnSignal()
{
    if (!m_notifier)
        return;
    SetHandler(SIG_DFL);
    // The notifier goes before the pipe it watches.
    delete m_notifier;
    for (int& end : g_pipe) {
        ::close(end);
        end = -1;
    }
}

} // namespace shell
