#pragma once

#include "rig/RigModel.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace cubwave {

// What a command is built from besides the frequency or mode: the rig window's live values.
struct RigCommandContext {
    const RigModel* model = &RigModels::none();
    QString frequencyQuery;  // an Icom's address is its characters 7 and 8; text rigs take its prefix
    QString modeQuery;       // the FTdx9000's mode command starts with its first three characters
    int kenwoodVfoDigit = 10;  // "Kenwood 2": 1 when the radio last reported VFO B
    QString rigMode;           // the last decoded mode, which the Pegasus file passes on
    float rigFrequencyMHz = 0;  // the last decoded frequency; 0 before the first
};

// A command as it goes out: bytes for the line, or the Pegasus exchange file's contents. A
// command that cannot be written correctly carries an error instead and nothing is sent.
struct RigCommand {
    QByteArray bytes;
    QByteArray pegasusFile;
    QString error;

    bool ok() const { return error.isEmpty(); }
    bool empty() const { return bytes.isEmpty() && pegasusFile.isEmpty(); }
};

// The frequency and mode commands of each rig family. Pure: no line, no pause, no dialog.
class RigCommandBuilder {
public:
    static constexpr const char* kPegasusInFileName = "PEGASUS.IN";

    // Binary fields never take more digits than they have (a longer value would spill into the
    // opcode); text commands take as many digits as the frequency needs.
    static RigCommand frequency(const RigCommandContext& context, qint64 hz);
    // The mode command, or an empty one for a mode the model's table does not have.
    static RigCommand mode(const RigCommandContext& context, QStringView mode);
};

}  // namespace cubwave
