#include "platform/QtWavePlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace cubwave {

namespace {

// A pipeline that loaded this recently still starts at once; one that waited longer is built anew.
constexpr qint64 kFreshAfterLoadMs = 50;

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

struct QtWavePlayer::Pipeline {
    QString path;
    QDateTime modified;  // the file as it was loaded; a changed file gets a new pipeline
    qint64 size = -1;
    std::unique_ptr<QAudioOutput> output;
    std::unique_ptr<QMediaPlayer> player;
    QString error;         // GStreamer's report; the pipeline is then only paused or deleted
    bool loaded = false;   // reached LoadedMedia without error
    QElapsedTimer sinceLoaded;
    bool started = false;  // played since it was built
    bool ended = false;    // the media reached its end since the last play()
    quint64 lastUse = 0;

    // A play() now would start the whole sound at once: a pipeline that has not played yet and
    // has not waited since it loaded.
    bool startsAtOnce() const
    {
        if (!error.isEmpty() || started)
            return false;
        return !loaded || sinceLoaded.elapsed() <= kFreshAfterLoadMs;
    }
};

void QtWavePlayer::selectBackend()
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

QtWavePlayer::QtWavePlayer(int maxPipelines, QObject* parent)
    : QObject(parent), maxPipelines_(std::max(1, maxPipelines))
{
    selectBackend();
}

// Deleting a pipeline never blocks, whatever its state; stopping a failed one would.
QtWavePlayer::~QtWavePlayer()
{
    current_ = nullptr;
    pipelines_.clear();
    retired_.clear();
    spare_.reset();
}

QString QtWavePlayer::unplayableReason(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return systemReason(ENOENT);
    if (info.isDir())
        return systemReason(EISDIR);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return {};
}

std::unique_ptr<QtWavePlayer::Pipeline> QtWavePlayer::build(const QString& absolutePath)
{
    // Making a player takes the window thread several milliseconds: one is made ahead.
    std::unique_ptr<Pipeline> p = spare_ ? std::move(spare_) : makePlayer();
    QTimer::singleShot(0, this, [this] {
        if (!spare_)
            spare_ = makePlayer();
    });
    p->path = absolutePath;
    const QFileInfo info(absolutePath);
    p->modified = info.lastModified();
    p->size = info.size();
    p->player->setSource(QUrl::fromLocalFile(absolutePath));
    return p;
}

std::unique_ptr<QtWavePlayer::Pipeline> QtWavePlayer::makePlayer()
{
    auto p = std::make_unique<Pipeline>();
    p->output = std::make_unique<QAudioOutput>();
    p->player = std::make_unique<QMediaPlayer>();
    p->player->setAudioOutput(p->output.get());
    Pipeline* raw = p.get();
    connect(p->player.get(), &QMediaPlayer::errorOccurred, this,
            [this, raw](QMediaPlayer::Error error, const QString& text) {
                if (error == QMediaPlayer::NoError || !raw->error.isEmpty())
                    return;
                raw->error = text.isEmpty() ? QStringLiteral("The file cannot be played") : text;
                notifyChange(raw);
            });
    connect(p->player.get(), &QMediaPlayer::mediaStatusChanged, this, [this, raw](QMediaPlayer::MediaStatus status) {
        switch (status) {
        case QMediaPlayer::LoadedMedia:
        case QMediaPlayer::BufferingMedia:
        case QMediaPlayer::BufferedMedia:
            if (!raw->loaded) {
                raw->loaded = true;
                raw->sinceLoaded.start();
            }
            break;
        case QMediaPlayer::EndOfMedia:
            raw->loaded = true;
            raw->ended = true;
            break;
        case QMediaPlayer::InvalidMedia:
            if (raw->error.isEmpty())
                raw->error = QStringLiteral("The file is not a sound file that can be played");
            break;
        default:
            return;
        }
        notifyChange(raw);
    });
    return p;
}

void QtWavePlayer::retire(std::vector<std::unique_ptr<Pipeline>>::iterator it)
{
    // Deleted on the next turn of the event loop: never inside one of its own signals, and the
    // caller does not wait for it.
    if (current_ == it->get())
        current_ = nullptr;
    retired_.push_back(std::move(*it));
    pipelines_.erase(it);
    QTimer::singleShot(0, this, [this] { retired_.clear(); });
}

void QtWavePlayer::notifyChange(const Pipeline* p)
{
    if (p != current_ || notifyPending_)
        return;
    notifyPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            notifyPending_ = false;
            if (listener_)
                listener_();
        },
        Qt::QueuedConnection);
}

QtWavePlayer::Pipeline* QtWavePlayer::pipelineFor(const QString& path, bool toPlayNow)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    auto found = std::find_if(pipelines_.begin(), pipelines_.end(),
                              [&](const auto& p) { return p->path == absolute; });
    if (found != pipelines_.end()) {
        Pipeline& p = **found;
        const QFileInfo info(absolute);
        const bool changed = info.lastModified() != p.modified || info.size() != p.size;
        // A failed pipeline is never stopped or given a new source: both block.
        if (!changed && p.error.isEmpty() && (!toPlayNow || p.startsAtOnce())) {
            p.lastUse = ++useCounter_;
            return &p;
        }
        retire(found);
    }
    auto p = build(absolute);
    p->lastUse = ++useCounter_;
    Pipeline* raw = p.get();
    pipelines_.push_back(std::move(p));
    evictBeyondLimit();
    return raw;
}

void QtWavePlayer::evictBeyondLimit()
{
    while (static_cast<int>(pipelines_.size()) > maxPipelines_) {
        auto oldest = pipelines_.end();
        for (auto it = pipelines_.begin(); it != pipelines_.end(); ++it) {
            if (it->get() == current_)
                continue;
            if (oldest == pipelines_.end() || (*it)->lastUse < (*oldest)->lastUse)
                oldest = it;
        }
        if (oldest == pipelines_.end())
            return;
        retire(oldest);
    }
}

void QtWavePlayer::prepare(const QString& path)
{
    // The first look at the outputs takes a while: done here, ahead of the first message.
    hasSoundOutput();
    if (!unplayableReason(path).isEmpty())
        return;
    pipelineFor(path, false);
}

bool QtWavePlayer::open(const QString& path)
{
    close();
    error_ = unplayableReason(path);
    if (!error_.isEmpty())
        return false;
    current_ = pipelineFor(path, true);
    return true;
}

WavePlayer::Readiness QtWavePlayer::readiness() const
{
    if (!current_)
        return Readiness::None;
    if (!current_->error.isEmpty())
        return Readiness::Failed;
    return current_->loaded ? Readiness::Ready : Readiness::Loading;
}

void QtWavePlayer::silence(Pipeline& p)
{
    QMediaPlayer* player = p.player.get();
    if (player->playbackState() != QMediaPlayer::PlayingState)
        return;
    // Pausing ends the sound at once and never blocks; the pipeline is built anew before it
    // plays again.
    player->pause();
}

bool QtWavePlayer::play()
{
    if (!current_) {
        error_ = QStringLiteral("No file is open");
        return false;
    }
    if (!current_->error.isEmpty()) {
        error_ = current_->error;
        return false;
    }
    QMediaPlayer& player = *current_->player;
    // From the beginning: a play after the end without a rewind runs its length in silence.
    if (current_->started)
        player.setPosition(0);
    error_.clear();
    current_->started = true;
    current_->ended = false;
    player.play();
    if (!current_->error.isEmpty()) {
        error_ = current_->error;
        return false;
    }
    return true;
}

void QtWavePlayer::stop()
{
    if (current_)
        silence(*current_);
}

void QtWavePlayer::close()
{
    stop();
    current_ = nullptr;
}

bool QtWavePlayer::playing() const
{
    if (!current_)
        return false;
    const QMediaPlayer& player = *current_->player;
    const QMediaPlayer::MediaStatus status = player.mediaStatus();
    return player.playbackState() == QMediaPlayer::PlayingState && current_->error.isEmpty() && !current_->ended &&
           status != QMediaPlayer::InvalidMedia && status != QMediaPlayer::NoMedia;
}

qint64 QtWavePlayer::durationMs() const
{
    if (!current_)
        return -1;
    const qint64 ms = current_->player->duration();
    return ms > 0 ? ms : -1;
}

QString QtWavePlayer::errorText() const
{
    if (current_ && !current_->error.isEmpty())
        return current_->error;
    return error_;
}

bool QtWavePlayer::hasSoundOutput() const
{
    // Read once per run from the sound server; empty exactly when GStreamer would fall back to
    // its silent sink.
    return !QMediaDevices::audioOutputs().isEmpty();
}

}  // namespace cubwave
