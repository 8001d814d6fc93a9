#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace cubwave::test {

// A keyer on the master side of a pseudo-terminal, written from the keyer's published command
// table on its own (it shares nothing with the program's codec). The program opens slavePath().
// It answers the echo test and host open, applies settings, "sends" buffered characters at its
// speed, reports status changes (BUSY, XOFF), echoes characters when the mode asks for it, honours
// clear and backspace, and records every byte it receives. Runs on its own thread.
class WinKeySimulator {
public:
    enum class Mode {
        Normal,
        Silent,     // answers nothing at all
        Slow,       // answers after slowReplyMs
        WrongEcho,  // the echo test comes back changed
        Garbage,    // floods the line with bytes, answers nothing
    };

    struct Settings {
        int wpm = 0;
        int weight = -1;
        int leadIn = -1;
        int tail = -1;
        int ratio = -1;
        int pins = -1;
        int mode = -1;
    };

    static constexpr quint8 kRevision = 23;

    explicit WinKeySimulator(Mode mode = Mode::Normal);
    ~WinKeySimulator();
    WinKeySimulator(const WinKeySimulator&) = delete;
    WinKeySimulator& operator=(const WinKeySimulator&) = delete;

    bool ok() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }

    // Reads no faster than a real 1200 baud 8N2 line delivers (9.17 ms a byte) when set.
    void setWireSpeed(bool on) { wireSpeed_ = on; }
    // Milliseconds one character takes on the air; 0 uses the set speed (PARIS timing).
    void setCharacterMs(int ms) { characterMs_ = ms; }
    // The send buffer's size; XOFF is raised above two thirds of it.
    void setBufferSize(int size) { bufferSize_ = size; }
    void setSlowReplyMs(int ms) { slowReplyMs_ = ms; }
    // Stops answering status requests (a keyer hung mid-way), or resumes.
    void setDeaf(bool deaf) { deaf_ = deaf; }
    // Ignores characters (takes them, never sends, raises nothing), as a keyer whose table lacks them.
    void setIgnoreCharacters(bool ignore) { ignoreCharacters_ = ignore; }
    // Floods the line with random bytes on top of whatever else it does, or stops.
    void setFlood(bool on) { flood_ = on; }
    // Sends these bytes to the program as they are.
    void inject(const QByteArray& bytes);
    // The keyer is pulled out: the master side closes.
    void unplug();

    QByteArray received() const;
    // Characters keyed on the air so far.
    QByteArray keyed() const;
    // Characters in its buffer, not yet started.
    QByteArray buffered() const;
    Settings settings() const;
    bool hostOpen() const;
    int clears() const;
    int statusRequests() const;
    quint64 garbageSent() const { return garbageSent_; }
    // For waitFor's predicates, which run under the lock.
    const QByteArray& receivedUnlocked() const { return received_; }
    const QByteArray& keyedUnlocked() const { return keyed_; }

    // Waits on the calling thread until pred holds or timeoutMs passes; pred runs under the
    // simulator's lock, so it reads the state directly (receivedUnlocked() and the like).
    template <class Pred>
    bool waitFor(Pred pred, int timeoutMs) const
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return pred(); });
    }

private:
    void run();
    void take(quint8 b, std::chrono::steady_clock::time_point now);
    void reply(quint8 b);
    void sendStatusIfChanged();
    quint8 statusByte() const;
    int characterMs() const;

    Mode mode_;
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> wireSpeed_{false};
    std::atomic<int> characterMs_{0};
    std::atomic<int> bufferSize_{128};
    std::atomic<int> slowReplyMs_{800};
    std::atomic<bool> deaf_{false};
    std::atomic<bool> ignoreCharacters_{false};
    std::atomic<quint64> garbageSent_{0};
    std::atomic<bool> flood_{false};

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    QByteArray received_;
    QByteArray keyed_;
    std::deque<char> buffer_;
    QByteArray outgoing_;
    Settings settings_;
    bool open_ = false;
    int clears_ = 0;
    int statusRequests_ = 0;
    // The command being read: its first byte and the arguments still to come.
    int command_ = -1;
    int argsLeft_ = 0;
    QByteArray args_;
    bool busy_ = false;
    std::chrono::steady_clock::time_point sendingUntil_{};
    quint8 reportedStatus_ = 0xC0;
    std::deque<std::pair<std::chrono::steady_clock::time_point, quint8>> delayed_;
};

}  // namespace cubwave::test
