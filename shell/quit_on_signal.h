#pragma once

#include <QObject>

class QSocketNotifier;

namespace shell {

// Lets the program end as a close of its main window ends it when it is asked to stop by a
// signal: SIGTERM (a session logging out, a service manager, `kill`) or SIGINT (Ctrl+C in the
// terminal that started it). The windows are closed, asking about unsaved changes as they
// do, and the settings are written at the normal exit that follows.
//
// The handler only writes a byte to a pipe; the quit happens in the event loop, so a signal
// that arrives before the loop runs takes effect as soon as it starts.
//
// REQUIRES: one instance at a time, made after the application object. Destroying it puts
// the default handlers back.
class QuitOnSignal final : public QObject
{
public:
    QuitOnSignal();
    ~QuitOnSignal() override;
    QuitOnSignal(const QuitOnSignal&) = delete;
    QuitOnSignal& operator=(const QuitOnSignal&) = delete;

private:
    QSocketNotifier* m_notifier = nullptr; // a child of this object
};

} // namespace shell
