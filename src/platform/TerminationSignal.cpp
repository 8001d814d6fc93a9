#include "platform/TerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace cubwave {

namespace {

int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here: wake the event loop.
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
}

}  // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_pipe[1], &byte, 1);
        emit requested();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

TerminationSignal::~TerminationSignal()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGHUP, SIG_DFL);
}

}  // namespace cubwave
