#pragma once

#include "platform/WavePlayer.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QAudioOutput;
class QMediaPlayer;

namespace cubwave {

// Wave files through Qt Multimedia's GStreamer backend to the default output. Each file gets its
// own pipeline, built by prepare() or open() and kept for the next plays (the least recently
// used goes when there are more than the limit).
//
// What GStreamer does here, and how this copes:
// - A missing or broken file is reported as an error some milliseconds after loading or
//   playing began, while the state stays "playing": playing() also asks for no error and no end
//   of the media, and readiness() is Ready only once the file has loaded without error.
// - On a pipeline that reported an error, stop() and a new source each block the calling thread
//   about a second; pausing and deleting it do not. Such a pipeline is only paused, then deleted
//   and built anew.
// - A loaded pipeline left waiting starts its sound late by about as long as it waited, and
//   loses that much of the beginning; one played before may replay in silence. A freshly built
//   one started as soon as it has loaded sounds within about 150 ms. So open() builds the
//   pipeline anew unless it has just loaded and never played, and the caller starts it when
//   readiness() becomes Ready; prepare() still checks the file and warms GStreamer up.
// - Without any sound output the sound goes to a silent sink that still reports playing.
class QtWavePlayer final : public QObject, public WavePlayer {
    Q_OBJECT

public:
    // Nine voice messages, or eight cues, and a few to spare.
    static constexpr int kDefaultPipelines = 12;

    explicit QtWavePlayer(int maxPipelines = kDefaultPipelines, QObject* parent = nullptr);
    ~QtWavePlayer() override;

    void prepare(const QString& path) override;
    bool open(const QString& path) override;
    Readiness readiness() const override;
    bool play() override;
    void stop() override;
    void close() override;
    bool playing() const override;
    qint64 durationMs() const override;
    QString errorText() const override;
    bool hasSoundOutput() const override;
    void setChangeListener(std::function<void()> listener) override { listener_ = std::move(listener); }

    // Pipelines held now, for tests.
    int pipelineCount() const { return static_cast<int>(pipelines_.size()); }

    // Chooses the GStreamer backend unless QT_MEDIA_BACKEND names one. Qt's ffmpeg backend
    // crashes without a sound card; without GStreamer's base and good plugins the first play
    // crashes too (the build's install script adds them). Takes effect before the first
    // player of the process is made, which the constructor ensures.
    static void selectBackend();

private:
    struct Pipeline;

    // Why path cannot be played at all, or an empty text.
    static QString unplayableReason(const QString& path);
    // The pipeline of path, built anew when there is none, it failed, the file changed, or (for
    // playing now) it could not start at once.
    Pipeline* pipelineFor(const QString& path, bool toPlayNow);
    std::unique_ptr<Pipeline> build(const QString& absolutePath);
    // A player without a source, its signals connected.
    std::unique_ptr<Pipeline> makePlayer();
    void retire(std::vector<std::unique_ptr<Pipeline>>::iterator it);
    void evictBeyondLimit();
    void silence(Pipeline& p);
    // Tells the listener on a later turn of the event loop, never from inside a player's signal.
    void notifyChange(const Pipeline* p);

    int maxPipelines_;
    std::vector<std::unique_ptr<Pipeline>> pipelines_;
    std::vector<std::unique_ptr<Pipeline>> retired_;  // deleted on the next turn of the loop
    std::unique_ptr<Pipeline> spare_;
    Pipeline* current_ = nullptr;
    QString error_;
    quint64 useCounter_ = 0;
    std::function<void()> listener_;
    bool notifyPending_ = false;
};

}  // namespace cubwave
