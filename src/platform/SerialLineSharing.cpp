#include "platform/SerialLineSharing.h"

#include <QTimer>

#include <sys/stat.h>

namespace cubwave {

namespace {

std::optional<SerialLineSharing::DeviceId> characterDevice(const struct stat& st)
{
    if (!S_ISCHR(st.st_mode))
        return std::nullopt;
    return static_cast<SerialLineSharing::DeviceId>(st.st_rdev);
}

}  // namespace

SerialLineSharing::SerialLineSharing(QObject* parent) : QObject(parent) {}

QString SerialLineSharing::lineName(User user)
{
    switch (user) {
    case User::CwKeying: return QStringLiteral("CW keying");
    case User::VoicePtt: return QStringLiteral("PTT");
    case User::WinKey: return QStringLiteral("WinKey");
    case User::Rig: return QStringLiteral("rig");
    case User::Tnc: return QStringLiteral("TNC");
    }
    return {};
}

QString SerialLineSharing::usedByText(const QString& device, User holder)
{
    return QStringLiteral("%1 is used by the %2 line").arg(device, lineName(holder));
}

bool SerialLineSharing::mayTake(User newcomer, User holder)
{
    switch (newcomer) {
    case User::CwKeying: return holder == User::VoicePtt;
    case User::VoicePtt: return holder == User::WinKey || holder == User::CwKeying;
    case User::WinKey: return holder == User::CwKeying || holder == User::VoicePtt;
    case User::Rig:
    case User::Tnc: return false;
    }
    return false;
}

std::optional<SerialLineSharing::DeviceId> SerialLineSharing::deviceIdOf(const QString& path)
{
    struct stat st{};
    if (path.isEmpty() || ::stat(path.toLocal8Bit().constData(), &st) != 0)
        return std::nullopt;
    return characterDevice(st);
}

std::optional<SerialLineSharing::DeviceId> SerialLineSharing::deviceIdOf(int fd)
{
    struct stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return std::nullopt;
    return characterDevice(st);
}

void SerialLineSharing::setCloser(User user, std::function<void()> close) { closers_[index(user)] = std::move(close); }

bool SerialLineSharing::claim(DeviceId device, User user, std::optional<User>* holder)
{
    const auto it = holders_.find(device);
    if (it != holders_.end() && it->second != user) {
        if (holder)
            *holder = it->second;
        return false;
    }
    holders_[device] = user;
    return true;
}

void SerialLineSharing::release(DeviceId device, User user)
{
    const auto it = holders_.find(device);
    if (it == holders_.end() || it->second != user)
        return;
    holders_.erase(it);
    for (std::size_t i = 0; i < kUsers; ++i) {
        const std::optional<Waiter>& w = waiters_[i];
        if (!w || w->device != device)
            continue;
        // From the event loop: the holder is still inside its own close.
        QTimer::singleShot(0, this, [this, i, ticket = w->ticket] {
            std::optional<Waiter>& now = waiters_[i];
            if (!now || now->ticket != ticket)
                return;
            const std::function<void()> whenFree = std::move(now->whenFree);
            now.reset();
            if (whenFree)
                whenFree();
        });
    }
}

std::optional<SerialLineSharing::User> SerialLineSharing::holderOf(DeviceId device) const
{
    const auto it = holders_.find(device);
    if (it == holders_.end())
        return std::nullopt;
    return it->second;
}

SerialLineSharing::Taking SerialLineSharing::take(User newcomer, const QString& devicePath,
                                                  std::function<void()> whenFree)
{
    cancelWaiting(newcomer);
    const std::optional<DeviceId> device = deviceIdOf(devicePath);
    if (!device)
        return {};
    const std::optional<User> holder = holderOf(*device);
    if (!holder || *holder == newcomer)
        return {};
    if (!mayTake(newcomer, *holder) || !closers_[index(*holder)])
        return {Outcome::Refused, holder};
    waiters_[index(newcomer)] = Waiter{*device, nextTicket_++, std::move(whenFree)};
    // A copy: the closer may set another closer meanwhile.
    const std::function<void()> close = closers_[index(*holder)];
    close();
    if (!holderOf(*device)) {
        waiters_[index(newcomer)].reset();
        return {Outcome::Free, holder};
    }
    return {Outcome::Waiting, holder};
}

void SerialLineSharing::cancelWaiting(User newcomer) { waiters_[index(newcomer)].reset(); }

}  // namespace cubwave
