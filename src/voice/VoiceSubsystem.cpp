#include "voice/VoiceSubsystem.h"

#include "voice/VoiceKeyer.h"
#include "voice/VoiceNavigation.h"

namespace cubwave {

VoiceSubsystem::VoiceSubsystem(VoiceKeyer& keyer, VoiceNavigation& navigation, QString workDir, QObject* parent)
    : QObject(parent), keyer_(keyer), navigation_(navigation), workDir_(std::move(workDir))
{
    // A cue must never sound over a message: the sound card may feed the transmitter.
    navigation_.follow(keyer_);
    connect(&keyer_, &VoiceKeyer::pttChanged, this, &VoiceSubsystem::pttChanged);
    connect(&keyer_, &VoiceKeyer::problem, this, &VoiceSubsystem::problem);
}

void VoiceSubsystem::setLevelSource(LevelSource level)
{
    level_ = std::move(level);
    followLevel();
}

void VoiceSubsystem::setMessageListReader(MessageListReader reader) { reader_ = std::move(reader); }

void VoiceSubsystem::followLevel()
{
    const int level = level_ ? level_() : VoiceNavigation::kOff;
    if (level != navigation_.level())
        navigation_.setLevel(level);
}

void VoiceSubsystem::functionKey(int keyCode) { keyer_.fKeyPhone(keyCode); }

bool VoiceSubsystem::playing() const { return keyer_.playing(); }

void VoiceSubsystem::stop() { keyer_.stop(); }

void VoiceSubsystem::cancelRepeat() { keyer_.cancelRepeat(); }

void VoiceSubsystem::playCue(const QString& cue)
{
    followLevel();
    using Field = VoiceNavigation::Field;
    const auto is = [&cue](const QString& name) { return cue.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(VoiceNavigation::kDupe))
        navigation_.duplicateFound();
    else if (is(VoiceNavigation::kCall))
        navigation_.fieldFocused(Field::Call);
    else if (is(VoiceNavigation::kName))
        navigation_.fieldFocused(Field::Name);
    else if (is(VoiceNavigation::kAge))
        navigation_.fieldFocused(Field::Age);
    else if (is(VoiceNavigation::kSpc))
        navigation_.fieldFocused(Field::Spc);
    else if (is(VoiceNavigation::kOther))
        navigation_.fieldFocused(Field::Other);
    else
        navigation_.blindKeyPhone(cue);
}

bool VoiceSubsystem::cuePlaying() const { return navigation_.cuePlaying(); }

bool VoiceSubsystem::readMessageList(QString& why)
{
    // The level is read from the preferences just before this step of the start-up: the cues
    // it can play are built ahead from now on.
    followLevel();
    VoiceMessageFile::Loaded loaded;
    if (reader_) {
        loaded = reader_();
    } else {
        loaded = VoiceMessageFile::load(workDir_);
        if (loaded.ok)
            keyer_.setSettings(loaded.settings);
    }
    if (!loaded.ok)
        why = loaded.error;
    return loaded.ok;
}

void VoiceSubsystem::onProblem(std::function<void(const QString& text)> listener)
{
    connect(this, &VoiceSubsystem::problem, this, std::move(listener));
}

void VoiceSubsystem::onTransmitChanged(std::function<void(bool onAir)> listener)
{
    connect(this, &VoiceSubsystem::pttChanged, this, std::move(listener));
}

void VoiceSubsystem::releaseAll() { keyer_.releaseAll(); }

// The keyer's unload closes its player; PTT goes down with it, whatever was playing.
void VoiceSubsystem::unload() { keyer_.releaseAll(); }

void VoiceSubsystem::unloadCues() { navigation_.close(); }

}  // namespace cubwave
