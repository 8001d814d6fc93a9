#pragma once

#include "voice/PlayWatch.h"
#include "voice/PlayerPreparation.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace cubwave {

class Clock;
class VoiceKeyer;
class WavePlayer;

// Voice cues for an operator who cannot see the screen: a short recording names each entry
// field as it gets the focus, and one announces a duplicate. A cue named N is the file "N.wav"
// in the working directory (any case); a missing one is silent. Cues sound through the sound
// card only, so none plays while a voice message is on the air, and a message stops a cue.
//
// Nothing here waits: "Call" after "NavEn" and a focus cue after "Dupe" are played by a poll
// when the cue before has ended (or has played its length and two seconds).
class VoiceNavigation : public QObject {
    Q_OBJECT

public:
    enum class Field { Call, Name, Age, Spc, Other };
    // The levels as the preference file keeps them.
    static constexpr int kOff = 0;
    static constexpr int kCallOnly = 1;
    static constexpr int kAllFields = 2;
    static constexpr int kPollMs = 40;

    static inline const QString kCall = QStringLiteral("Call");
    static inline const QString kName = QStringLiteral("Name");
    static inline const QString kAge = QStringLiteral("RstRcvd");
    static inline const QString kSpc = QStringLiteral("SPC");
    static inline const QString kOther = QStringLiteral("Power");
    static inline const QString kDupe = QStringLiteral("Dupe");
    static inline const QString kNavEn = QStringLiteral("NavEn");
    static inline const QString kNavDis = QStringLiteral("NavDis");

    VoiceNavigation(WavePlayer& player, Clock& clock, QString workDir, int level = kOff, QObject* parent = nullptr);
    ~VoiceNavigation() override;

    int level() const { return level_; }
    // The level in use; the cues it can play are built ahead.
    void setLevel(int level);
    const QString& workDir() const { return workDir_; }
    // The working directory and "N.wav", joined with "/".
    static QString cuePath(const QString& workDir, const QString& cue);

    // BlindKeyPhone: plays the cue at once, cutting off the one playing.
    void blindKeyPhone(const QString& cue);
    // A field got the focus: "Call" from level 1, the others from level 2. It waits for a
    // "Dupe" or the level's announcement to end instead of cutting it off.
    void fieldFocused(Field field);
    // The duplicate check found one: "Dupe" at any level. Returns at once; nothing waits for it.
    void duplicateFound();
    // An option of the settings window chosen: "NavDis" for Off, "NavEn" for All Data Fields,
    // "NavEn" and then "Call" for Call Only. The level itself is not changed.
    void chooseOption(int level);
    // The first cue of the run is preceded by the level's own cue, as loading the settings
    // window announces it; this plays that announcement now if it has not been played.
    void announceLevel();
    bool announced() const { return announced_; }

    bool cuePlaying() const;
    // The cue that will play when the one playing ends; empty when none.
    const QString& pendingCue() const { return pending_; }
    void stopCue();
    // While a voice message is on no cue plays; one pending is dropped.
    void setTransmitting(bool transmitting);
    // Stops cues for the keyer's messages and keeps them quiet while it transmits.
    void follow(const VoiceKeyer& keyer);
    // At unload: the player closed.
    void close();

    // The cue poll; its timer calls it every kPollMs while a cue waits.
    void poll();
    bool pollActive() const { return pollTimer_.isActive(); }
    // Builds the waiting cue pipelines now instead of one per turn of the event loop.
    void prepareWaitingNow();

signals:
    void cueStarted(const QString& cue);

private:
    bool start(const QString& cue, bool holdsFocusCues);
    void announce(int level, bool holdsFocusCues);
    void ensureAnnounced();
    void dropPending();
    void setPending(const QString& cue, bool waitsForHold);
    // The cue plays and has not passed its length and margin.
    bool cueWithinItsTime();

    WavePlayer& player_;
    Clock& clock_;
    QString workDir_;
    int level_ = kOff;
    PlayerPreparation preparation_;
    QTimer pollTimer_;
    bool announced_ = false;
    bool transmitting_ = false;
    QString currentPath_;
    PlayWatch watch_;
    bool holding_ = false;           // the playing cue is one focus cues wait for
    QString pending_;
    bool pendingWaits_ = false;      // a focus cue waiting for a held cue; a "Dupe" keeps it
};

}  // namespace cubwave
