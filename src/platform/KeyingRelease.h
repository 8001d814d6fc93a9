#pragma once

namespace cubwave {

// Every open keying device, so that any way out of the program leaves the transmitter unkeyed:
// the normal exit, "&Exit", and a crash. The table is fixed-size and lock-free, and the release
// is a few ioctls, so it is safe inside a signal handler.
class KeyingRelease {
public:
    static constexpr int kSlots = 32;

    // A serial port: the modem bits (TIOCM_DTR | TIOCM_RTS) to drop.
    static int addSerial(int fd, int modemBits);
    // A claimed ppdev parallel port: its control register is set to 2 (key up).
    static int addParallel(int fd);
    // Bytes written to a serial slot's device, in one write, the first time its lines are
    // released, before the modem bits drop: a keyer holding text gets the word to stop. At most
    // kMaxFarewell bytes; none clears. Slot -1 is ignored.
    static constexpr int kMaxFarewell = 8;
    static void setFarewell(int slot, const char* bytes, int count);
    // Forget a device before closing its descriptor; slot -1 is ignored.
    static void remove(int slot);

    // Key up every registered device, after writing its farewell once. Async-signal-safe.
    static void releaseAll() noexcept;

    // The program is ending: from now on no line is keyed again (each keying line refuses a
    // key-down), and every registered device is keyed up. Async-signal-safe.
    static void halt() noexcept;
    static bool halted() noexcept;
    // Lets lines key again after halt(): only for a process that goes on (a test).
    static void resume() noexcept;

    // SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGXCPU and SIGXFSZ release
    // every line first and then take their default action; a normal exit releases them too.
    // Once per process.
    static void installExitHandlers();
};

}  // namespace cubwave
