#pragma once

#include <QString>

namespace cubwave {

// Where "PEGASUS.OUT" is looked for. The Pegasus control program runs under Wine, so by default
// its folder is drive_c/Pegasus of the Wine prefix (WINEPREFIX, else ~/.wine) when that exists,
// and otherwise "Pegasus" in the working directory.
class PegasusFolder {
public:
    static inline const QString kSettingsKey = QStringLiteral("Rig/PegasusFolder");

    static QString defaultFolder(const QString& winePrefix, const QString& home, const QString& workingDir);
};

}  // namespace cubwave
