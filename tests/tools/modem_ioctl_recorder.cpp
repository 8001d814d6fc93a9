// A preload library for tests: records every modem-line and parallel-port request a program
// makes, with its monotonic time, to the file named by CUBWAVE_IOCTL_LOG. Pseudo-terminals
// refuse modem-control requests, so those are answered as a serial port would answer them.
// One line per request: "<ns> <name> <value>". Only async-signal-safe calls on the record path,
// since a crash handler's release goes through here too.
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);
IoctlFn g_real = nullptr;
int g_log = -1;
std::atomic<int> g_modemBits{0};

__attribute__((constructor)) void start()
{
    g_real = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
    if (const char* path = std::getenv("CUBWAVE_IOCTL_LOG"))
        g_log = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

char* putNumber(char* out, unsigned long long v)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (n)
        *out++ = digits[--n];
    return out;
}

void record(const char* name, unsigned long long value)
{
    if (g_log < 0)
        return;
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    char line[96];
    char* p = putNumber(line, static_cast<unsigned long long>(ts.tv_sec) * 1000000000ULL + ts.tv_nsec);
    *p++ = ' ';
    while (*name)
        *p++ = *name++;
    *p++ = ' ';
    p = putNumber(p, value);
    *p++ = '\n';
    [[maybe_unused]] ssize_t n = write(g_log, line, static_cast<size_t>(p - line));
}

const char* modemName(unsigned long request)
{
    switch (request) {
    case TIOCMBIS: return "TIOCMBIS";
    case TIOCMBIC: return "TIOCMBIC";
    case TIOCMSET: return "TIOCMSET";
    default: return nullptr;
    }
}

const char* parportName(unsigned long request)
{
    switch (request) {
    case PPCLAIM: return "PPCLAIM";
    case PPRELEASE: return "PPRELEASE";
    case PPWCONTROL: return "PPWCONTROL";
    default: return nullptr;
    }
}

}  // namespace

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);

    if (const char* name = modemName(request)) {
        const int bits = *static_cast<int*>(arg);
        record(name, static_cast<unsigned>(bits));
        const int saved = errno;
        if (g_real(fd, request, arg) != 0)
            errno = saved;  // a pty refuses; answer as a serial port would
        if (request == TIOCMBIS)
            g_modemBits |= bits;
        else if (request == TIOCMBIC)
            g_modemBits &= ~bits;
        else
            g_modemBits = bits;
        return 0;
    }
    if (request == TIOCMGET) {
        if (g_real(fd, request, arg) != 0)
            *static_cast<int*>(arg) = g_modemBits.load();
        return 0;
    }
    if (const char* name = parportName(request)) {
        record(name, request == PPWCONTROL ? *static_cast<unsigned char*>(arg) : 0);
        return 0;  // no parallel port here: the request is only recorded
    }
    return g_real(fd, request, arg);
}
