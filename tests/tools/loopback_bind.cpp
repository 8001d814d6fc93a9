// A preload library for tests: a server that binds to every interface (the address "any") is
// bound to the loopback address instead, so a peer started by a test is never reachable from
// the network. Every other bind passes through unchanged.
#include <cstring>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

using BindFn = int (*)(int, const sockaddr*, socklen_t);

}  // namespace

extern "C" int bind(int fd, const sockaddr* address, socklen_t length)
{
    static const BindFn real = reinterpret_cast<BindFn>(dlsym(RTLD_NEXT, "bind"));
    if (address && address->sa_family == AF_INET && length >= socklen_t(sizeof(sockaddr_in))) {
        sockaddr_in v4;
        std::memcpy(&v4, address, sizeof v4);
        if (v4.sin_addr.s_addr == htonl(INADDR_ANY)) {
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return real(fd, reinterpret_cast<const sockaddr*>(&v4), sizeof v4);
        }
    } else if (address && address->sa_family == AF_INET6 && length >= socklen_t(sizeof(sockaddr_in6))) {
        sockaddr_in6 v6;
        std::memcpy(&v6, address, sizeof v6);
        if (std::memcmp(&v6.sin6_addr, &in6addr_any, sizeof in6addr_any) == 0) {
            v6.sin6_addr = in6addr_loopback;
            return real(fd, reinterpret_cast<const sockaddr*>(&v6), sizeof v6);
        }
    }
    return real(fd, address, length);
}
