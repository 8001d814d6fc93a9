#pragma once

#include "platform/KeyingLine.h"
#include "platform/SerialLine.h"
#include "platform/SerialPortMap.h"
#include "voice/PlayWatch.h"
#include "voice/PlayerPreparation.h"
#include "voice/VoiceSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

namespace cubwave {

class Clock;
class OneShotTimer;
class ParallelPorts;
class SerialLineSharing;
class WavePlayer;

// Plays the recorded message of F1..F9 with the transmitter keyed: RTS or DTR of the PTT
// serial line and/or the parallel port's control register. A message is PTT up, the file
// playing and a 40 ms poll watching for its end; the poll drops PTT. F1 can repeat itself a
// set time after each end.
//
// It drops exactly the lines it raised, whatever the settings say by then, and never leaves
// them up: a message that cannot start drops PTT at once, and one whose player never reports
// an end is stopped when its length and two seconds have passed.
//
// PTT goes up only for a sound that will really go out: there must be a sound output, the file
// must not have a damaged wave header, and its player must have loaded it without error (a
// message waits for that with PTT down). A player error while PTT is up drops it at once.
class VoiceKeyer : public QObject {
    Q_OBJECT

public:
    static constexpr int kF1 = 112;
    static constexpr int kF9 = 120;
    static constexpr int kPollMs = 40;
    // A file the player has not loaded by then is given up.
    static constexpr int kLoadLimitMs = 5000;
    // A repeat starts loading this much earlier than the last load took.
    static constexpr int kRepeatLeadMarginMs = 40;
    static inline const QString kInvalidPortTitle = QStringLiteral("Invalid port.");
    static inline const QString kInvalidPortText = QStringLiteral(
        "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.");
    static inline const QString kNoSoundOutputTitle = QStringLiteral("No sound output");
    static inline const QString kNoSoundOutputText = QStringLiteral(
        "No sound output: PTT not keyed. Start PulseAudio or PipeWire for this user, then restart Cubwave Log.");

    struct Services {
        WavePlayer& player;
        SerialLine& pttLine;
        ParallelPorts& parallelPorts;
        // Read at each open, so an edited "serialports.txt" counts without a restart.
        std::function<SerialPortMap()> portMap;
        Clock& clock;
        // Where the PTT line takes its port from the CW keying line or the WinKey keyer, and
        // gives it up to them. May be null.
        SerialLineSharing* sharing = nullptr;
        // The F1 repeat's timer; null: a precise timer of the keyer's own.
        OneShotTimer* repeatTimer = nullptr;
    };

    explicit VoiceKeyer(Services services, QObject* parent = nullptr);
    ~VoiceKeyer() override;

    const VoiceSettings& settings() const { return settings_; }
    // The live settings; a changed message file is built ahead for its first play.
    void setSettings(const VoiceSettings& settings);

    // F1..F9 (112..120) play their message with PTT; other codes do nothing. An empty message
    // ends the one playing.
    void fKeyPhone(int keyCode);
    // Esc: ends the playing message; PTT drops.
    void stop();
    // A message is playing (Esc stops it rather than clearing the fields).
    bool playing() const;
    // A message is on: from its key until the poll that finds its end.
    bool messageOn() const { return active_; }
    // A message waits, PTT down, for its player to load the file.
    bool loading() const { return loading_; }
    bool pttUp() const { return raised_.serial || raised_.parallel != nullptr; }

    // The F1 repeat (PhoneRepeat): on from F1 with an interval until a key in the main window or
    // "Stop" ends it.
    bool repeating() const { return repeating_; }
    void cancelRepeat();
    bool repeatTimerActive() const;

    // Opens the PTT serial line from the port field (leaving the field does this), taking the
    // port from the CW line or the keyer that holds it. Port "0" opens nothing. False when the
    // port cannot be opened; pttPortInvalid and problem have then been emitted. When the CW
    // line must first finish its character, the line opens once it has.
    bool openPttLine();
    // A message waits for the CW keying line to finish its character and give the port up.
    bool waitingForPort() const { return waitingKey_ != 0; }
    // Closes the PTT serial line; its raised line drops with it.
    void closePttLine();

    // At unload and exit: PTT down, repeat ended, player closed, lines released.
    void releaseAll();

    // The end-of-message poll; its timer calls it every kPollMs while a message is on.
    void poll();
    bool pollActive() const { return pollTimer_.isActive(); }
    // The repeat timer's work: F1 again, once the whole interval has passed since the end of
    // the last message (a timer that fires early is armed again for the rest).
    void repeatDue();

    // Builds the waiting message pipelines now instead of one per turn of the event loop.
    void prepareWaitingNow();

signals:
    void pttChanged(bool up);
    void playingChanged(bool playing);
    void repeatingChanged(bool repeating);
    // A message is about to key the transmitter: a voice cue must stop first.
    void aboutToTransmit();
    // A message or PTT is on, or both are off again: no cue may sound while on.
    void transmittingChanged(bool transmitting);
    // Why a message did not start or stopped early, for the status line.
    void problem(const QString& text);
    // The PTT port cannot be opened: the message box, after a beep.
    void pttPortInvalid(const QString& title, const QString& text);
    // A message found no sound output and keyed nothing: a beep each time, and the message box
    // when firstInRun (the status line has the text through problem()).
    void soundOutputMissing(const QString& title, const QString& text, bool firstInRun);

private:
    struct Raised {
        bool serial = false;
        ModemLine serialLine = ModemLine::Rts;
        QString serialDevice;
        std::shared_ptr<KeyingLine> parallel;
    };
    struct Wanted {
        bool serial = false;
        ModemLine serialLine = ModemLine::Rts;
        std::shared_ptr<KeyingLine> parallel;
    };

    enum class PortState { Open, Waiting, Failed };
    PortState openPttLine(bool messageStarting, std::function<void()> whenFree);
    PortState ensurePttLineOpen(int keyCode);
    // True when the port's holder must first finish; the key then runs again once it is free.
    bool waitForPort(int keyCode);
    void cancelPortWait();
    // The CW keying line or the keyer takes the port: the message stops, PTT drops, the repeat
    // ends and the line closes.
    void givePortUp();
    // PTT up and the loaded file playing.
    void keyAndPlay();
    // keyAndPlay() now, or for a repeat loaded ahead, when its gap has passed.
    void startWhenDue();
    qint64 repeatLeadMs() const;
    void refuseWithoutSoundOutput();
    void armRepeat(int ms);
    // The parallel port's line for the address field, or null with why set.
    std::shared_ptr<KeyingLine> parallelLine(QString& why);
    bool raise(const Wanted& wanted, QString& why);
    void dropUnwanted(const Wanted& wanted);
    void dropPtt();
    // The message under way ends unsent: player closed, no poll, PTT down. The repeat is the
    // caller's to end or keep.
    void halt();
    // Why the player cannot play the current file, never empty.
    QString playerProblem() const;
    // A message that could not start: PTT down at once, the repeat ended, the reason shown.
    void abandon(const QString& file, const QString& reason);
    void finishMessage(const QString& problemText);
    void setRepeating(bool on);
    void setActive(bool on);
    void notifyPtt();
    void notifyTransmitting();

    Services services_;
    VoiceSettings settings_;
    PlayerPreparation preparation_;
    QTimer pollTimer_;
    std::unique_ptr<OneShotTimer> ownRepeatTimer_;
    OneShotTimer* repeatTimer_ = nullptr;
    Raised raised_;
    std::shared_ptr<KeyingLine> parallel_;
    quint16 parallelAddress_ = 0;
    bool active_ = false;
    bool repeating_ = false;
    bool transmitting_ = false;
    bool pttWasUp_ = false;
    int messageKey_ = 0;  // the key of the message under way
    int waitingKey_ = 0;  // the key whose message waits for the port, 0 for none
    bool loading_ = false;
    bool waitingForDue_ = false;     // loaded ahead, PTT down, until notBeforeMs_
    bool repeatStarting_ = false;    // the next fKeyPhone is the repeat's
    qint64 notBeforeMs_ = 0;         // a repeat's PTT rises no sooner; 0 for a key's message
    qint64 loadMs_ = 0;              // how long the last file took to load
    qint64 loadStartedMs_ = 0;
    qint64 lastEndMs_ = 0;           // when the last message ended: the repeat's gap runs from here
    bool noOutputReported_ = false;  // the message box comes once per run
    QString file_;             // the playing message's file, as its key names it
    QString resolvedFile_;     // and as found on disk
    PlayWatch watch_;
};

}  // namespace cubwave
