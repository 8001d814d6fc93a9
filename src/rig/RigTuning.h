#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace cubwave {

// What the tune, test, band-map and spectrum windows ask of the rig: tune it, set its mode, or
// put raw bytes on its line. Commands run one at a time, in the background of the window thread.
class RigTuning {
public:
    virtual ~RigTuning() = default;

    // The rig chosen in the rig window ("None" when there is none).
    virtual QString rigName() const = 0;
    // The rig is being polled ("Test" has run and "End Test" has not).
    virtual bool polling() const = 0;
    // ChangeFrequency: nothing unless polling. The mode is set first: the given one, or when
    // empty the one the band plan gives for the frequency. A request made while another command
    // runs replaces any frequency still waiting: the latest wins.
    virtual void changeFrequency(qint64 hz, const QString& mode = QString()) = 0;
    // ChangeMode: sent whether or not the rig is polled. An empty mode is the band plan's for hz.
    virtual void changeMode(qint64 hz, const QString& mode) = 0;
    // Bytes as typed, on the rig line at once; the reason when they could not be written.
    virtual std::optional<QString> sendRaw(const QByteArray& bytes) = 0;
};

}  // namespace cubwave
