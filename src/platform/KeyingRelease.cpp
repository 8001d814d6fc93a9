#include "platform/KeyingRelease.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <csignal>
#include <cstdlib>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace cubwave {

namespace {

enum Kind : int { kFree = 0, kSerial = 1, kParallel = 2 };

struct Slot {
    std::atomic<int> fd{-1};
    std::atomic<int> kind{kFree};
    std::atomic<int> bits{0};
    // Filled while farewellLength is 0, then published by storing the length.
    unsigned char farewell[KeyingRelease::kMaxFarewell] = {};
    std::atomic<int> farewellLength{0};
};

Slot g_slots[KeyingRelease::kSlots];
std::atomic<bool> g_installed{false};
std::atomic<bool> g_halted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read inside signal handlers");

// The stack for the handler: a crash by stack overflow has none left of its own.
alignas(16) char g_altStack[64 * 1024];

int add(int fd, Kind kind, int bits)
{
    for (int i = 0; i < KeyingRelease::kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].kind.compare_exchange_strong(expected, -1)) {  // -1: being filled
            g_slots[i].farewellLength.store(0);
            g_slots[i].fd.store(fd);
            g_slots[i].bits.store(bits);
            g_slots[i].kind.store(kind);
            return i;
        }
    }
    return -1;
}

void onFatalSignal(int sig)
{
    KeyingRelease::halt();
    signal(sig, SIG_DFL);
    raise(sig);
}

void atExit() { KeyingRelease::releaseAll(); }

}  // namespace

int KeyingRelease::addSerial(int fd, int modemBits) { return add(fd, kSerial, modemBits); }

int KeyingRelease::addParallel(int fd) { return add(fd, kParallel, 0); }

void KeyingRelease::setFarewell(int slot, const char* bytes, int count)
{
    if (slot < 0 || slot >= kSlots)
        return;
    Slot& s = g_slots[slot];
    s.farewellLength.store(0);
    count = std::clamp(count, 0, kMaxFarewell);
    std::memcpy(s.farewell, bytes, size_t(count));
    s.farewellLength.store(count);
}

void KeyingRelease::remove(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return;
    g_slots[slot].farewellLength.store(0);
    g_slots[slot].fd.store(-1);
    g_slots[slot].kind.store(kFree);
}

void KeyingRelease::releaseAll() noexcept
{
    for (Slot& slot : g_slots) {
        const int kind = slot.kind.load();
        const int fd = slot.fd.load();
        if (fd < 0)
            continue;
        if (kind == kSerial) {
            // Once: the handler of a signal and then the exit handlers both come here.
            if (const int n = slot.farewellLength.exchange(0); n > 0)
                [[maybe_unused]] const ssize_t written = ::write(fd, slot.farewell, size_t(n));
            int bits = slot.bits.load();
            ioctl(fd, TIOCMBIC, &bits);
        } else if (kind == kParallel) {
            unsigned char keyUp = 2;
            ioctl(fd, PPWCONTROL, &keyUp);
        }
    }
}

void KeyingRelease::halt() noexcept
{
    g_halted.store(true);
    releaseAll();
}

bool KeyingRelease::halted() noexcept { return g_halted.load(); }

void KeyingRelease::resume() noexcept { g_halted.store(false); }

void KeyingRelease::installExitHandlers()
{
    if (g_installed.exchange(true))
        return;
    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action{};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGXCPU, SIGXFSZ})
        sigaction(sig, &action, nullptr);
    std::atexit(atExit);
    std::at_quick_exit(atExit);
}

}  // namespace cubwave
