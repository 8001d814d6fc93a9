#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace cubwave {

// One whole answer of rigctld's plain protocol: the value lines of a get command, or the
// "RPRT n" line a set command (or a failed get) ends with.
struct RigctldReply {
    QList<QByteArray> lines;  // without their line ends
    std::optional<int> rprt;

    bool failed() const { return rprt && *rprt != 0; }
};

// Cuts rigctld's answer to one request out of the byte stream, fed in whatever pieces the
// socket gives. rigctld 4.5 answers a get command with its value lines ("f": the frequency;
// "m": the mode and the passband) and a set command with "RPRT 0"; any failure with "RPRT -n"
// alone. Lines are bounded, and so is what is held: a peer that is not rigctld fills neither.
class RigctldReplyReader {
public:
    // The longest line any answer read here needs (a frequency, a mode, a passband, an RPRT),
    // with room to spare.
    static constexpr qsizetype kMaxLineBytes = 64;
    static constexpr qsizetype kMaxHeldBytes = 4 * kMaxLineBytes;

    enum class Status {
        NeedMore,   // nothing whole yet
        Done,       // reply() holds the answer
        Malformed,  // what came is not an answer to this request: reason() says why
    };

    // A request went out that answers with valueLines lines (0: a set command, "RPRT" only).
    void expect(int valueLines);
    void reset();
    Status feed(QByteArrayView bytes);
    // Something arrived while no request was out, or after the answer was whole.
    bool holdsStrayBytes() const { return !expecting_ && !held_.isEmpty(); }

    const RigctldReply& reply() const { return reply_; }
    const QString& reason() const { return reason_; }

private:
    Status malformed(const QString& reason);

    QByteArray held_;
    RigctldReply reply_;
    QString reason_;
    int valueLines_ = 0;
    bool expecting_ = false;
};

// What the poll and the commands make of rigctld's values.
class RigctldValues {
public:
    // "14025000" (hertz; a fraction is allowed and rounded) as hertz, above 0 and below 1 THz.
    static std::optional<qint64> frequencyHz(QByteArrayView line);
    // A Hamlib mode name ("USB", "CWR", "PKTUSB", ...): capital letters and digits, 1 to 16.
    static bool isModeName(QByteArrayView line);
    // A passband in hertz, as rigctld prints it after the mode.
    static bool isPassband(QByteArrayView line);
    // The logging mode of a Hamlib mode: "CW" for CW and CWR, "PH" for every other.
    static const char* loggingMode(QByteArrayView modeName);
    // The Hamlib mode name for a mode text of the tune window or the band plan; empty when
    // Hamlib has no such mode.
    static QByteArray hamlibMode(QStringView mode);
    // Hamlib's text for an RPRT code, as rigctl --help lists them.
    static QString errorText(int rprt);
};

}  // namespace cubwave
