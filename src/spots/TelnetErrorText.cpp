#include "spots/TelnetErrorText.h"

#include <algorithm>
#include <iterator>

namespace cubwave {

namespace {

struct Row {
    int number;
    const char* message;
};

// The socket control's error numbers and their messages, in ascending order.
constexpr Row kRows[] = {
    {7, "ERROR: Out of memory."},
    {380, "ERROR: The property value is invalid."},
    {383, "ERROR: The property is read-only."},
    {394, "ERROR: The property can't be read."},
    {1004, "ERROR: The operation was canceled."},
    {10014, "ERROR: The requested address is a broadcast address, but flag is not set."},
    {10035, "ERROR: Socket is non-blocking and the specified operation will block."},
    {10036, "ERROR: A blocking Winsock operation in progress."},
    {10037, "ERROR: The operation is completed. No blocking operation in progress"},
    {10038, "ERROR: The descriptor is not a socket."},
    {10040, "ERROR: The datagram is too large to fit into the buffer and is truncated."},
    {10043, "ERROR: The specified port is not supported."},
    {10048, "ERROR: Address in use."},
    {10049, "ERROR: Address not available from the local machine."},
    {10050, "ERROR: Network subsystem failed."},
    {10051, "ERROR: The network cannot be reached from this host at this time."},
    {10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set."},
    {10053, "ERROR: Connection is aborted due to timeout or other failure."},
    {10054, "ERROR: The connection is reset by remote side.!"},
    {10055, "ERROR: No buffer space is available."},
    {10056, "ERROR: Socket is already connected."},
    {10057, "ERROR: Socket is not connected."},
    {10058, "ERROR: Socket has been shut down."},
    {10060, "ERROR: Socket has been shut down."},
    {10061, "ERROR: Connection is forcefully rejected."},
    {10093, "ERROR: WinsockInit should be called first."},
    {11001, "ERROR: Authoritative answer: Host not found."},
    {11002, "ERROR: Non-Authoritative answer: Host not found."},
    {11003, "ERROR: Non-recoverable errors."},
    {11004, "ERROR: Valid name, no data record of requested type."},
};

}  // namespace

QString TelnetErrorText::forNumber(int number)
{
    const auto row = std::lower_bound(std::begin(kRows), std::end(kRows), number,
                                      [](const Row& r, int n) { return r.number < n; });
    if (row != std::end(kRows) && row->number == number)
        return QString::fromLatin1(row->message);
    return QStringLiteral("Error number ") + QString::number(number);
}

QString TelnetErrorText::forError(const TcpError& error)
{
    if (error.number != 0)
        return forNumber(error.number);
    return QStringLiteral("Error number ") + QString::number(error.socketError);
}

}  // namespace cubwave
