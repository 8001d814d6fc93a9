#pragma once

#include "platform/TcpClient.h"

#include <QString>

namespace cubwave {

// The message the spot window shows for a failed or ended cluster connection: the socket
// control's table for the numbers it knows, "Error number " and the number for the rest.
class TelnetErrorText {
public:
    static QString forNumber(int number);
    // An error the platform could not map (number 0) shows the socket's own error value after
    // "Error number ", never that value's row of the table.
    static QString forError(const TcpError& error);
};

}  // namespace cubwave
