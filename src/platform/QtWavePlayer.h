#pragma once

#include "platform/WavePlayer.h"

#include <QDateTime>
#include <QObject>

#include <memory>
#include <vector>

class QAudioOutput;
class QMediaPlayer;

namespace cubwave {

// Wave files through Qt Multimedia's GStreamer backend to the default output. Building a
// pipeline for a file takes tens of milliseconds, playing a built one well under one, so each
// file gets its own pipeline, built by prepare() or the first open() and kept for the next
// plays (the least recently used goes when there are more than the limit).
//
// GStreamer reports a missing or broken file as an error while its state stays "playing", so
// playing() also asks for no error and no end of the media since play().
class QtWavePlayer final : public QObject, public WavePlayer {
    Q_OBJECT

public:
    // Nine voice messages, or eight cues, and a few to spare.
    static constexpr int kDefaultPipelines = 12;

    explicit QtWavePlayer(int maxPipelines = kDefaultPipelines, QObject* parent = nullptr);
    ~QtWavePlayer() override;

    void prepare(const QString& path) override;
    bool open(const QString& path) override;
    bool play() override;
    void stop() override;
    void close() override;
    bool playing() const override;
    qint64 durationMs() const override;
    QString errorText() const override;

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
    Pipeline* pipelineFor(const QString& path);
    void load(Pipeline& p);
    void evictBeyondLimit();
    void silence(Pipeline& p);

    int maxPipelines_;
    std::vector<std::unique_ptr<Pipeline>> pipelines_;
    Pipeline* current_ = nullptr;
    QString error_;
    quint64 useCounter_ = 0;
};

}  // namespace cubwave
