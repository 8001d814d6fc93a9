#pragma once

#include "platform/WavePlayer.h"

#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <functional>

namespace cubwave::test {

// A wave player on virtual time: each file plays for its script's length of the clock the test
// advances. A script can fail the open or the play, fail part-way, never end, or report no
// length. A file with no script plays for defaultScript's length; a path that is not an
// existing file fails to open, as the real player's does.
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
        return true;
    }
    bool play() override
    {
        if (current_.isEmpty()) {
            error_ = QStringLiteral("No file is open");
            return false;
        }
        const Script s = scriptFor(current_);
        if (!s.playError.isEmpty()) {
            error_ = s.playError;
            return false;
        }
        played << current_;
        error_.clear();
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

private:
    std::function<qint64()> now_;
    QString current_;
    qint64 startedMs_ = 0;
    bool playing_ = false;
    mutable QString error_;
};

}  // namespace cubwave::test
