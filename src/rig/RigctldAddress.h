#pragma once

#include <QString>

namespace cubwave {

class SettingsStore;

// Where rigctld listens, as the rig window's "Host:" and "Port:" give it. Kept in the settings
// store rather than "RigCntrl.txt", whose fourteen lines other versions read.
struct RigctldAddress {
    static inline const QString kHostKey = QStringLiteral("Rig/RigctldHost");
    static inline const QString kPortKey = QStringLiteral("Rig/RigctldPort");
    static inline const QString kDefaultHost = QStringLiteral("localhost");
    static inline const QString kDefaultPort = QStringLiteral("4532");  // rigctld's own default

    QString host = kDefaultHost;
    QString portText = kDefaultPort;

    // The port as a number; 0 (which no connection takes) unless the text is 1 to 65535.
    int port() const;

    static RigctldAddress read(const SettingsStore& store);
    void write(SettingsStore& store) const;
};

}  // namespace cubwave
