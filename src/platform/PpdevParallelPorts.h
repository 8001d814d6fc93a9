#pragma once

#include "platform/ParallelPorts.h"

#include <QMap>

#include <memory>

namespace cubwave {

// Linux ppdev: the /dev/parportN whose /proc/sys/dev/parport/parportN/base-addr holds the
// address, claimed once (PPCLAIM) and written with PPWCONTROL. Needs the parport_pc and ppdev
// modules and membership of group "lp".
class PpdevParallelPorts final : public ParallelPorts {
public:
    explicit PpdevParallelPorts(QString procRoot = QStringLiteral("/proc/sys/dev/parport"),
                                QString devRoot = QStringLiteral("/dev"));

    Opened open(quint16 baseAddress) override;

    // The device whose base-addr file names the address, or an empty text.
    static QString findDevice(const QString& procRoot, const QString& devRoot, quint16 baseAddress);

private:
    QString procRoot_;
    QString devRoot_;
    QMap<quint16, std::weak_ptr<KeyingLine>> open_;
};

}  // namespace cubwave
