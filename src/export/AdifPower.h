#pragma once

#include <QString>

namespace cubwave {

// The transmitter power typed at the export's prompt. ADIF's TX_PWR is a number of watts, so a
// trailing "W", "Watt" or "Watts" (in any case) and blanks are dropped ("100 W" and "5 watts"
// give 100 and 5); anything else that is not a plain non-negative number is refused and no power
// is written.
struct AdifPower {
    QString value;         // what <Tx_Pwr: holds; empty when nothing is written
    bool refused = false;  // the operator typed something that is not a number

    static AdifPower fromTyped(const QString& typed);
};

}  // namespace cubwave
