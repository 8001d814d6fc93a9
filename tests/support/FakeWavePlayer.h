#pragma once

#include "platform/WavePlayer.h"

#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <functional>
#include <utility>

namespace cubwave::test {

// A wave player on virtual time: each file plays for its script's length of the clock the test
// advances. A script can take time to load or fail loading, fail the open or the play, fail
// part-way, never end, or report no length. A file with no script plays for defaultScript's
// length; a path that is not an existing file fails to open, as the real player's does.
// tick() tells the change listener what the advanced clock changed, as the real player's
// events would.
class FakeWavePlayer final : public WavePlayer {
public:
    struct Script {
        qint64 durationMs = 1000;
        bool reportsDuration = true;
        QString openError;          // open() fails with this
        QString playError;          // play() fails with this
        qint64 failAfterMs = -1;    // stops with failText this long after play()
        QString failText = QStringLiteral("Internal data stream error.");
        bool neverEnds = false;     // stays "playing", as a broken pipeline can
        qint64 loadMs = 0;          // Loading this long after open()
        QString loadError;          // then Failed with this instead of Ready
    };

    explicit FakeWavePlayer(std::function<qint64()> nowMs) : now_(std::move(nowMs)) {}

    void prepare(const QString& path) override { prepared << path; }
    bool open(const QString& path) override
    {
        close();
        opened << path;
        error_.clear();
        if (!QFileInfo(path).isFile()) {
            error_ = QStringLiteral("No such file or directory");
            return false;
        }
        const Script s = scriptFor(path);
        if (!s.openError.isEmpty()) {
            error_ = s.openError;
            return false;
        }
        current_ = path;
        openedMs_ = now_();
        return true;
    }
    Readiness readiness() const override
    {
        if (current_.isEmpty())
            return Readiness::None;
        const Script s = scriptFor(current_);
        if (now_() - openedMs_ < s.loadMs)
            return Readiness::Loading;
        if (!s.loadError.isEmpty()) {
            error_ = s.loadError;
            return Readiness::Failed;
        }
        return Readiness::Ready;
    }
    bool play() override
    {
        if (current_.isEmpty()) {
            error_ = QStringLiteral("No file is open");
            return false;
        }
        if (readiness() != Readiness::Ready) {
            ++playsBeforeReady;
            error_ = QStringLiteral("Not loaded");
            return false;
        }
        const Script s = scriptFor(current_);
        if (!s.playError.isEmpty()) {
            error_ = s.playError;
            return false;
        }
        played << current_;
        error_.clear();
        failedNow_.clear();
        startedMs_ = now_();
        playing_ = true;
        return true;
    }
    void stop() override
    {
        if (playing_)
            ++stops;
        playing_ = false;
    }
    void close() override
    {
        stop();
        current_.clear();
    }
    bool playing() const override
    {
        if (!playing_)
            return false;
        if (!failedNow_.isEmpty()) {
            error_ = failedNow_;
            return false;
        }
        const Script s = scriptFor(current_);
        const qint64 elapsed = now_() - startedMs_;
        if (s.failAfterMs >= 0 && elapsed >= s.failAfterMs) {
            error_ = s.failText;
            return false;
        }
        return s.neverEnds || elapsed < s.durationMs;
    }
    qint64 durationMs() const override
    {
        if (current_.isEmpty())
            return -1;
        const Script s = scriptFor(current_);
        return s.reportsDuration ? s.durationMs : -1;
    }
    QString errorText() const override { return error_; }
    bool hasSoundOutput() const override { return soundOutput; }
    void setChangeListener(std::function<void()> listener) override { listener_ = std::move(listener); }

    // Calls the change listener when readiness or playing() changed since the last call.
    void tick()
    {
        const auto state = std::make_pair(readiness(), playing());
        if (state == lastState_)
            return;
        lastState_ = state;
        if (listener_)
            listener_();
    }
    // The sound fails now (a sound server that went away); the listener hears of it at once.
    void failNow(const QString& text)
    {
        failedNow_ = text;
        tick();
    }

    // The file playing now (by its path), or empty.
    QString nowPlaying() const { return playing() ? current_ : QString(); }

    Script scriptFor(const QString& path) const
    {
        for (auto it = scripts.begin(); it != scripts.end(); ++it) {
            if (QFileInfo(it.key()).absoluteFilePath() == QFileInfo(path).absoluteFilePath())
                return it.value();
        }
        return defaultScript;
    }

    QMap<QString, Script> scripts;
    Script defaultScript;
    QStringList prepared;
    QStringList opened;
    QStringList played;
    int stops = 0;
    int playsBeforeReady = 0;
    bool soundOutput = true;

private:
    std::function<qint64()> now_;
    std::function<void()> listener_;
    std::pair<Readiness, bool> lastState_{Readiness::None, false};
    QString failedNow_;
    qint64 openedMs_ = 0;
    QString current_;
    qint64 startedMs_ = 0;
    bool playing_ = false;
    mutable QString error_;
};

}  // namespace cubwave::test
