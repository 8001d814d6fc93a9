#pragma once

#include <QString>

namespace cubwave {

// A file-name stem from the own call: its leading run of "0"-"9" and "A"-"Z" (exact case, so a
// lower-case letter ends it), or "YourCall" when that run is empty.
QString nameFromCall(const QString& call);

}  // namespace cubwave
