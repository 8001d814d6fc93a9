#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <optional>

namespace cubwave {

// Which line holds each serial port in this process, and how one port passes between the lines
// that may share it. A port is known by the device number of the opened device, so a
// /dev/serial/by-id link and the node it points to are one port; the kernel's exclusive open
// does not stop a second open by root, so this registry is what keeps two lines off one port.
//
// The CW keying line, the voice PTT line and the WinKey keyer may share a port: the newcomer
// takes it, after the holder has ended what it was doing. CW takes it from PTT; PTT from the
// WinKey keyer and CW; the WinKey keyer from CW and PTT. The rig and TNC lines never take a
// port from another line, and no line takes theirs: the later open fails.
class SerialLineSharing : public QObject {
    Q_OBJECT

public:
    enum class User { CwKeying, VoicePtt, WinKey, Rig, Tnc };
    using DeviceId = quint64;

    enum class Outcome {
        Free,     // nobody else holds the port now: open it
        Waiting,  // the holder is giving it up; whenFree runs once it has
        Refused,  // the holder keeps it
    };
    struct Taking {
        Outcome outcome = Outcome::Free;
        std::optional<User> holder;  // who held the port, for Waiting and Refused
    };

    explicit SerialLineSharing(QObject* parent = nullptr);

    // "rig", "TNC", "CW keying", "PTT", "WinKey".
    static QString lineName(User user);
    // "<device> is used by the <line> line": the status line's text for a port another line holds.
    static QString usedByText(const QString& device, User holder);
    static bool mayTake(User newcomer, User holder);
    // The device number of the character device a path names, following links.
    static std::optional<DeviceId> deviceIdOf(const QString& path);
    // The same for an open descriptor.
    static std::optional<DeviceId> deviceIdOf(int fd);

    // How a user gives its port up to a newcomer: it ends what it is doing, then closes its line,
    // at once or later (a CW character on the air finishes first). Empty: it cannot give it up.
    void setCloser(User user, std::function<void()> close);

    // A line that has opened a device registers it; false, with the holder, when another user
    // holds it already.
    bool claim(DeviceId device, User user, std::optional<User>* holder = nullptr);
    // The line has closed the device: a newcomer waiting for it goes on from the event loop.
    void release(DeviceId device, User user);
    std::optional<User> holderOf(DeviceId device) const;

    // A sharing user about to open devicePath: a holder it may take the port from is asked to
    // give it up. whenFree runs from the event loop once the holder has closed, unless the
    // newcomer asks again or cancels meanwhile.
    Taking take(User newcomer, const QString& devicePath, std::function<void()> whenFree);
    void cancelWaiting(User newcomer);

private:
    struct Waiter {
        DeviceId device = 0;
        quint64 ticket = 0;
        std::function<void()> whenFree;
    };
    static constexpr std::size_t kUsers = 5;
    static std::size_t index(User user) { return static_cast<std::size_t>(user); }

    std::map<DeviceId, User> holders_;
    std::array<std::function<void()>, kUsers> closers_;
    std::array<std::optional<Waiter>, kUsers> waiters_;
    quint64 nextTicket_ = 1;
};

}  // namespace cubwave
