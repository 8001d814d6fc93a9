#pragma once

#include <QStringList>

namespace cubwave {

// The serial devices the system reports now, each as "path (description)", to help the
// operator fill in "serialports.txt"; enumeration takes a few milliseconds.
QStringList availableSerialPorts();

}  // namespace cubwave
