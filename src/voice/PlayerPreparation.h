#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace cubwave {

class WavePlayer;

// Builds a player's pipelines for files it will be asked to play, one file per turn of the
// event loop: a pipeline takes tens of milliseconds to build, so a whole list at once would
// hold the window, and one built at the moment of playing would delay the sound.
class PlayerPreparation : public QObject {
    Q_OBJECT

public:
    explicit PlayerPreparation(WavePlayer& player, QObject* parent = nullptr);

    // Adds files to build (found without regard to case when their turn comes); a file that
    // does not exist then is skipped.
    void request(const QStringList& paths);
    bool pending() const { return !waiting_.isEmpty(); }
    // Builds the next waiting file now.
    void prepareNext();

private:
    WavePlayer& player_;
    QStringList waiting_;
    QTimer timer_;
};

}  // namespace cubwave
