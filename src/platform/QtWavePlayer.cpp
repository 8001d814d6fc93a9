#include "platform/QtWavePlayer.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace cubwave {

struct QtWavePlayer::Pipeline {
    QString path;
    QDateTime modified;  // the file as it was loaded; a changed file is loaded again
    qint64 size = -1;
    std::unique_ptr<QAudioOutput> output;
    std::unique_ptr<QMediaPlayer> player;
    QString error;       // GStreamer's report since the last load or play
    bool ended = false;  // the media reached its end since play()
    quint64 lastUse = 0;
};

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

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

QtWavePlayer::~QtWavePlayer()
{
    current_ = nullptr;
    for (auto& p : pipelines_)
        p->player->stop();
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

void QtWavePlayer::load(Pipeline& p)
{
    const QFileInfo info(p.path);
    p.modified = info.lastModified();
    p.size = info.size();
    p.error.clear();
    p.ended = false;
    // The same source again is ignored, so a changed file needs the source cleared first.
    p.player->setSource(QUrl());
    p.player->setSource(QUrl::fromLocalFile(p.path));
}

QtWavePlayer::Pipeline* QtWavePlayer::pipelineFor(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    auto found = std::find_if(pipelines_.begin(), pipelines_.end(),
                              [&](const auto& p) { return p->path == absolute; });
    if (found != pipelines_.end()) {
        Pipeline& p = **found;
        p.lastUse = ++useCounter_;
        const QFileInfo info(absolute);
        if (info.lastModified() != p.modified || info.size() != p.size)
            load(p);
        return &p;
    }

    auto p = std::make_unique<Pipeline>();
    p->path = absolute;
    p->lastUse = ++useCounter_;
    p->output = std::make_unique<QAudioOutput>();
    p->player = std::make_unique<QMediaPlayer>();
    p->player->setAudioOutput(p->output.get());
    Pipeline* raw = p.get();
    connect(p->player.get(), &QMediaPlayer::errorOccurred, this,
            [raw](QMediaPlayer::Error error, const QString& text) {
                if (error != QMediaPlayer::NoError && raw->error.isEmpty())
                    raw->error = text.isEmpty() ? QStringLiteral("The file cannot be played") : text;
            });
    connect(p->player.get(), &QMediaPlayer::mediaStatusChanged, this, [raw](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            raw->ended = true;
        else if (status == QMediaPlayer::InvalidMedia && raw->error.isEmpty())
            raw->error = QStringLiteral("The file is not a sound file that can be played");
    });
    load(*p);
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
        (*oldest)->player->stop();
        pipelines_.erase(oldest);
    }
}

void QtWavePlayer::prepare(const QString& path)
{
    if (!unplayableReason(path).isEmpty())
        return;
    pipelineFor(path);
}

bool QtWavePlayer::open(const QString& path)
{
    close();
    error_ = unplayableReason(path);
    if (!error_.isEmpty())
        return false;
    Pipeline* p = pipelineFor(path);
    if (!p->error.isEmpty()) {
        // An earlier failure may have passed (a device that was busy): one more load decides.
        load(*p);
        if (!p->error.isEmpty()) {
            error_ = p->error;
            return false;
        }
    }
    current_ = p;
    return true;
}

void QtWavePlayer::silence(Pipeline& p)
{
    QMediaPlayer* player = p.player.get();
    if (player->playbackState() != QMediaPlayer::PlayingState)
        return;
    // Pausing ends the sound at once. The rewind that stop() adds waits for GStreamer to flush
    // the pipeline, which takes the window thread a millisecond or more, so it comes on the next
    // turn of the event loop, unless the file has been started again by then.
    player->pause();
    QTimer::singleShot(0, player, [player] {
        if (player->playbackState() == QMediaPlayer::PausedState)
            player->stop();
    });
}

bool QtWavePlayer::play()
{
    if (!current_) {
        error_ = QStringLiteral("No file is open");
        return false;
    }
    if (current_->player->playbackState() == QMediaPlayer::PausedState)
        current_->player->stop();  // from the beginning, not where it was cut off
    error_.clear();
    current_->error.clear();
    current_->ended = false;
    current_->player->play();
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

}  // namespace cubwave
