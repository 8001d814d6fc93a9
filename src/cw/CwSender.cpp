#include "cw/CwSender.h"

#include "cw/CwFieldRules.h"
#include "cw/CwMessages.h"
#include "cw/CwNumber.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace cubwave {

CwSender::CwSender(CharacterKeyer& keyer, CwLineSource& lines, QObject* parent)
    : QObject(parent), keyer_(keyer), lines_(lines)
{
    repeatTimer_.setSingleShot(true);
    // A coarse timer fires up to 5 % early; the repeat gap is a minimum.
    repeatTimer_.setTimerType(Qt::PreciseTimer);
    connect(&repeatTimer_, &QTimer::timeout, this, &CwSender::onRepeatTimer);
    connect(&keyer_, &CharacterKeyer::characterStarted, this, &CwSender::onCharacterStarted);
    connect(&keyer_, &CharacterKeyer::characterEnded, this, &CwSender::onCharacterEnded);
    connect(&keyer_, &CharacterKeyer::loopCalibrated, this, [this](qint64, double offset) {
        settings_.loopOffset = offset;
        keyer_.setLoopOffset(offset);
        emit loopOffsetChanged(offset);
    });
    connect(&keyer_, &CharacterKeyer::loopTimingMissed, this, [this](qint64 measuredUs, qint64 expectedUs) {
        emit problem(kLoopMissedText.arg(static_cast<double>(measuredUs) / 1000, 0, 'f', 1)
                         .arg(static_cast<double>(expectedUs) / 1000, 0, 'f', 1));
    });
    pushTiming();
}

void CwSender::setSettings(const CwSettings& settings)
{
    settings_ = settings;
    pushTiming();
    // A character handed for the port the settings named before is taken back, so that it keys
    // the port they name now.
    if (lines_.holdsAnotherPort(settings_)) {
        reclaimWaiting();
        feed();
    }
}

void CwSender::pushTiming()
{
    keyer_.setSpeedWpm(CwNumber::parse(settings_.speedWpm).value_or(std::numeric_limits<double>::quiet_NaN()));
    keyer_.setMethod(settings_.method);
    keyer_.setLoopOffset(settings_.loopOffset);
}

QString CwSender::buffer() const
{
    const auto waiting = keyer_.waitingCharacter();
    return waiting ? QString(*waiting) + buffer_ : buffer_;
}

void CwSender::reclaimWaiting()
{
    if (auto job = keyer_.withdraw()) {
        buffer_.prepend(job->character);
        --inFlight_;
    }
}

void CwSender::fKeyCW(int keyCode)
{
    reclaimWaiting();
    buffer_.clear();
    if (settings_.cwInterface == kCwNone)
        return;
    const bool functionKey = keyCode >= CwMessages::kF1 && keyCode <= CwMessages::kF10;
    if (!functionKey && !keyboardMode_)
        return;
    QString message = CwMessages::messageForKey(settings_, keyCode);
    if (keyCode == CwMessages::kF1 && CwNumber::parse(settings_.repeatSeconds).value_or(0) > 0)
        repeat_ = true;
    if (keyCode < CwMessages::kF1 && keyboardMode_ && keyCode > 0 && keyCode <= 0xffff)
        message = QString(QChar(keyCode)).toUpper();
    if (message.isEmpty())
        return;
    buffer_ += CwMessages::expand(message, callField_);
    loopThroughCwBuffer();
}

void CwSender::loopThroughCwBuffer()
{
    if (settings_.cwInterface == kCwWinKey && (!sending_ || winKeyHandOver_)) {
        // The contact goes into the log before the keyer gets the text that confirms it.
        if (!callField_.isEmpty() && buffer_.contains(QLatin1Char('!')))
            emit commitRequested();
        startWinKeyHandOver();
        return;
    }
    if (!sending_) {
        sending_ = true;
        abandoned_ = false;
        sendingStartNs_ = keyer_.nowNs();
        keyer_.resetLoopCheck();
        emit sendingChanged(true);
    }
    feed();
}

void CwSender::scheduleFeed()
{
    if (feedScheduled_)
        return;
    feedScheduled_ = true;
    // Window events run before the next character, as between any two characters.
    QTimer::singleShot(0, this, [this] {
        feedScheduled_ = false;
        feed();
    });
}

void CwSender::startWinKeyHandOver()
{
    if (!sending_) {
        sending_ = true;
        winKeyHandOver_ = true;
        abandoned_ = false;
        emit sendingChanged(true);
    }
    if (buffer_.isEmpty() || !winKeyTransmit_)
        endWinKeyHandOver();
    else
        winKeyTransmit_();
}

void CwSender::appendForWinKey(const QString& text)
{
    buffer_ += text;
    if (!text.isEmpty() && (!sending_ || winKeyHandOver_))
        startWinKeyHandOver();
}

void CwSender::dropFirstWaiting()
{
    if (buffer_.isEmpty())
        return;
    buffer_.remove(0, 1);
}

void CwSender::endWinKeyHandOver()
{
    if (!winKeyHandOver_)
        return;
    buffer_.clear();
    finish();
}

void CwSender::winKeySendingEnded() { startRepeatTimer(); }

void CwSender::feed()
{
    if (winKeyHandOver_) {
        // Esc, Backspace or a new message changed the text: the keyer's hand-over takes it.
        if (buffer_.isEmpty())
            endWinKeyHandOver();
        else if (winKeyTransmit_)
            winKeyTransmit_();
        return;
    }
    if (!sending_ || !deferred_.empty() || feedScheduled_)
        return;
    if (keyer_.waitingCharacter())
        return;  // one waits already; the next is handed when it starts
    if (buffer_.isEmpty()) {
        if (inFlight_ == 0)
            finish();
        return;
    }
    const QChar c = buffer_[0];
    const bool keyed = settings_.cwInterface != kCwNone;
    std::vector<KeyingRun> runs;
    if (keyed)
        runs = MorseTable::runs(c, settings_.wordSpaceUnits());
    if (runs.empty()) {
        // Takes no time; waits for the character on the air so "!" commits in its place.
        if (inFlight_ > 0)
            return;
        buffer_.remove(0, 1);
        if (keyed && MorseTable::isCommitMarker(c) && !callField_.isEmpty())
            emit commitRequested();
        if (settings_.displayText)
            emit dialogTextChanged(buffer());
        scheduleFeed();
        return;
    }
    if (!MorseTiming::unitMs(settings_.speedWpm)) {
        abandon(kSpeedInvalidText);
        return;
    }
    // The line of the character on the air is let go only after it.
    if (inFlight_ > 0 && lines_.holdsAnotherPort(settings_))
        return;
    const CwLineSource::Line line = lines_.lineFor(settings_);
    if (!line.line) {
        if (!line.failureText.isEmpty())
            emit keyingPortInvalid(line.failureTitle, line.failureText);
        abandon(line.reason);
        return;
    }
    buffer_.remove(0, 1);
    if (keyer_.hand({c, std::move(runs), line.line}))
        ++inFlight_;
}

void CwSender::onCharacterStarted(QChar c)
{
    if (settings_.displayText)
        emit dialogTextChanged(buffer());
    emit characterStarted(c);
    feed();
}

void CwSender::onCharacterEnded(QChar, CharacterKeyer::Outcome outcome, const QString& reason)
{
    if (inFlight_ > 0)
        --inFlight_;
    if (outcome == CharacterKeyer::Outcome::SpeedInvalid)
        abandon(kSpeedInvalidText);
    else if (outcome == CharacterKeyer::Outcome::LineFailed)
        abandon(QStringLiteral("CW keying line failed: %1").arg(reason));
    runDeferred();
    feed();
}

void CwSender::runDeferred()
{
    if (deferred_.empty() || inFlight_ > 0 || keyer_.isBusy())
        return;
    const auto fns = std::move(deferred_);
    deferred_.clear();
    for (const auto& fn : fns)
        fn();
}

void CwSender::abandon(const QString& why)
{
    reclaimWaiting();
    buffer_.clear();
    keyer_.cutSpaceShort();
    if (!why.isEmpty() && !abandoned_)
        emit problem(why);
    abandoned_ = true;
    if (inFlight_ == 0)
        finish();
}

void CwSender::finish()
{
    if (!sending_)
        return;
    // The keyer still sends what it was handed: its end starts the repeat's gap. Nor does the
    // main window show the text the keyer sends.
    const bool toKeyer = std::exchange(winKeyHandOver_, false);
    if (!toKeyer)
        startRepeatTimer();
    sending_ = false;
    emit sendingChanged(false);
    if (settings_.displayText && !toKeyer)
        emit dialogTextChanged(keyboardMode_ ? kKeyboardModeOnText : QString());
    emit sendingEnded();
}

void CwSender::startRepeatTimer()
{
    // An interval that rounds to 0 ms never fires, rather than repeating without a pause.
    const int intervalMs = settings_.repeatIntervalMs();
    if (!repeat_ || intervalMs <= 0)
        return;
    // The gap runs from the end of the last unit on the air, which the window thread learns of a
    // little later; from now when this sending keyed nothing.
    const qint64 now = keyer_.nowNs();
    const qint64 lastEnd = keyer_.lastEndNs();
    const qint64 endNs = sending_ && lastEnd >= sendingStartNs_ ? lastEnd : now;
    repeatDueNs_ = endNs + static_cast<qint64>(intervalMs) * 1'000'000;
    armRepeatTimer();
}

void CwSender::armRepeatTimer()
{
    // Whole milliseconds rounded up, so the timer's own rounding cannot make the gap short.
    const qint64 leftNs = std::max<qint64>(0, repeatDueNs_ - keyer_.nowNs());
    repeatTimer_.start(static_cast<int>(std::min<qint64>((leftNs + 999'999) / 1'000'000, 60'000)));
}

void CwSender::onRepeatTimer()
{
    // Any timer may fire before its time; the clock decides.
    if (keyer_.nowNs() < repeatDueNs_) {
        armRepeatTimer();
        return;
    }
    fKeyCW(CwMessages::kF1);
}

void CwSender::typeCharacter(QChar c)
{
    reclaimWaiting();
    buffer_ += c.toUpper();
    loopThroughCwBuffer();
}

bool CwSender::removeLastWaiting()
{
    reclaimWaiting();
    if (buffer_.isEmpty())
        return false;
    buffer_.chop(1);
    feed();
    return true;
}

void CwSender::stopSending()
{
    reclaimWaiting();
    buffer_.clear();
    keyer_.cutSpaceShort();
    feed();
}

void CwSender::cancelRepeat()
{
    if (!repeat_)
        return;
    reclaimWaiting();
    buffer_.clear();
    repeat_ = false;
    repeatTimer_.stop();
    feed();
}

bool CwSender::toggleKeyboardMode()
{
    keyboardMode_ = !keyboardMode_;
    return keyboardMode_;
}

void CwSender::speedUp()
{
    settings_.speedWpm = CwFieldRules::steppedSpeed(settings_.speedWpm, 1);
    pushTiming();
    emit speedChanged(settings_.speedWpm);
}

void CwSender::speedDown()
{
    settings_.speedWpm = CwFieldRules::steppedSpeed(settings_.speedWpm, -1);
    pushTiming();
    emit speedChanged(settings_.speedWpm);
}

void CwSender::setBuffer(const QString& text)
{
    reclaimWaiting();
    buffer_ = text;
    feed();
}

void CwSender::runBetweenCharacters(std::function<void()> fn)
{
    reclaimWaiting();
    deferred_.push_back(std::move(fn));
    runDeferred();
    feed();
}

void CwSender::calibrateLoop() { keyer_.calibrateLoop(); }

}  // namespace cubwave
