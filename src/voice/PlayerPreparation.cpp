#include "voice/PlayerPreparation.h"

#include "platform/WavePlayer.h"
#include "voice/CaseBlindFile.h"

#include <QFileInfo>

namespace cubwave {

PlayerPreparation::PlayerPreparation(WavePlayer& player, QObject* parent) : QObject(parent), player_(player)
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &PlayerPreparation::prepareNext);
}

void PlayerPreparation::request(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QString trimmed = path.trimmed();
        if (!trimmed.isEmpty() && !waiting_.contains(trimmed))
            waiting_.append(trimmed);
    }
    if (pending() && !timer_.isActive())
        timer_.start();
}

void PlayerPreparation::prepareNext()
{
    while (!waiting_.isEmpty()) {
        const QString path = CaseBlindFile::find(waiting_.takeFirst());
        if (QFileInfo(path).isFile()) {
            player_.prepare(path);
            break;
        }
    }
    if (waiting_.isEmpty())
        timer_.stop();
}

}  // namespace cubwave
