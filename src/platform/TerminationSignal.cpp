#include "platform/TerminationSignal.h"

#include "platform/KeyingRelease.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <sys/socket.h>
#include <unistd.h>

namespace cubwave {

namespace {

int g_pipe[2] = {-1, -1};
// Monotonic time of the last SIGINT or SIGTERM, 0 before the first.
std::atomic<long long> g_lastStopNs{0};
static_assert(std::atomic<long long>::is_always_lock_free, "written inside a signal handler");

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

long long monotonicNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

// Only async-signal-safe work here.
void onSignal(int sig)
{
    const int savedErrno = errno;
    KeyingRelease::halt();
    bool endNow = sig == SIGQUIT;
    if (sig == SIGINT || sig == SIGTERM) {
        const long long now = monotonicNs();
        const long long last = g_lastStopNs.exchange(now);
        if (last != 0 && now - last <= TerminationSignal::kSecondRequestMs * 1'000'000LL)
            endNow = true;
    }
    if (endNow) {
        // Blocked while this handler runs: delivered with its default action as it returns.
        ::signal(sig, SIG_DFL);
        ::raise(sig);
    } else {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
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
    // No other of these runs inside one: the second-request rule sees them in order.
    for (int sig : kSignals)
        sigaddset(&action.sa_mask, sig);
    action.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
}

TerminationSignal::~TerminationSignal()
{
    for (int sig : kSignals)
        ::signal(sig, SIG_DFL);
    g_lastStopNs.store(0);
}

}  // namespace cubwave
