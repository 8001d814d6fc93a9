#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

namespace cubwave {

// Port numbers as the operator types them, mapped to devices by "serialports.txt" in the
// working directory: one "N=/dev/..." per line, "#" starts a comment. An unmapped N is
// /dev/ttyS(N-1), as COMn has long mapped on Linux; never "the N-th port found", which shifts
// when an adapter is unplugged and could key the wrong radio.
class SerialPortMap {
public:
    static inline const QString kFileName = QStringLiteral("serialports.txt");
    // A map of a few dozen lines; a larger file is not one.
    static constexpr qint64 kMaxBytes = 64 * 1024;
    static constexpr int kMaxPort = 255;
    static constexpr qsizetype kMaxPathLength = 4096;

    // Lines that do not read as a mapping are skipped; a later line for the same N wins.
    static SerialPortMap parse(const QByteArray& bytes);
    // No file, or an unreadable or oversized one, maps nothing.
    static SerialPortMap load(const QString& dir);
    // As load(), with why a file that is there could not be used: a folder, no permission,
    // larger than kMaxBytes, or NUL bytes. A missing file is no problem.
    struct Loaded;
    static Loaded read(const QString& dir);

    // The device for port N (1..kMaxPort); empty for a number outside that range.
    QString devicePath(int port) const;
    const QMap<int, QString>& mapped() const { return mapped_; }

private:
    QMap<int, QString> mapped_;
};

struct SerialPortMap::Loaded {
    SerialPortMap map;
    std::optional<QString> problem;
};

}  // namespace cubwave
