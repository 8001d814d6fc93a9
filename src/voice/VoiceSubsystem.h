#pragma once

#include "voice/VoiceKeyerPort.h"
#include "voice/VoiceMessageFile.h"

#include <QObject>
#include <QString>

#include <functional>

namespace cubwave {

class VoiceKeyer;
class VoiceNavigation;

// The voice keyer and the voice navigation cues behind the main window's voice door. The keyer
// and the cues keep their own state; this passes the window's requests on, keeps the cues quiet
// while a message is on the air, and reports through signals.
class VoiceSubsystem final : public QObject, public VoiceKeyerPort {
    Q_OBJECT

public:
    // The navigation level in use, as the main window's preferences hold it.
    using LevelSource = std::function<int()>;
    // Start-up's reading of "wave2.txt", into the setup window's fields and the keyer.
    using MessageListReader = std::function<VoiceMessageFile::Loaded()>;

    VoiceSubsystem(VoiceKeyer& keyer, VoiceNavigation& navigation, QString workDir, QObject* parent = nullptr);

    void setLevelSource(LevelSource level);
    // Empty: the file is read straight into the keyer.
    void setMessageListReader(MessageListReader reader);

    void functionKey(int keyCode) override;
    bool playing() const override;
    void stop() override;
    void cancelRepeat() override;
    void playCue(const QString& cue) override;
    bool cuePlaying() const override;
    bool readMessageList(QString& why) override;
    void onProblem(std::function<void(const QString& text)> listener) override;
    void onTransmitChanged(std::function<void(bool onAir)> listener) override;
    void releaseAll() override;
    void unload() override;
    void unloadCues() override;

signals:
    // PTT went up or down.
    void pttChanged(bool up);
    // Why a message did not start or stopped early.
    void problem(const QString& text);

private:
    // The navigation follows the preferences' level, which the window may change at any time.
    void followLevel();

    VoiceKeyer& keyer_;
    VoiceNavigation& navigation_;
    QString workDir_;
    LevelSource level_;
    MessageListReader reader_;
};

}  // namespace cubwave
