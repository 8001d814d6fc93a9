// The frequency and mode commands on any single-precision frequency, mode text and query: the
// first byte picks the rig, the next four are the frequency, the next the VFO digit, and the rest
// the mode, frequency query and mode query, separated by NUL bytes. A command is either refused
// with a reason and empty, or well formed for its family: digits where digits go, BCD nibbles
// no higher than 9, the opcode last, and never a value spilling into the next byte. The plan
// around it is the refusal alone, or always resumes the poll and never pauses less than the
// model's delay.
#include "bandplan/SidebandTable.h"
#include "rig/FrequencyHz.h"
#include "rig/RigCommandBuilder.h"
#include "rig/RigCommandPlan.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace cubwave;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool digitsOnly(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool bcd(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >> 4) <= 9 && (b & 15) <= 9;
    });
}

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void checkFrequencyCommand(const RigModel& model, const RigCommand& command, qint64 hz)
{
    if (!command.ok()) {
        check(command.empty());
        return;
    }
    const QByteArray& b = command.bytes;
    const int digits = model.frequencyDigits;
    switch (model.frequencyCommand) {
    case FrequencyCommand::None:
        check(command.empty());
        return;
    case FrequencyCommand::TextQueryPrefix:
    case FrequencyCommand::TextFixedFA:
    case FrequencyCommand::TextKenwoodVfo:
        check(b.size() >= 3 + digits && isLetter(b[0]) && isLetter(b[1]) && b.endsWith(';'));
        check(digitsOnly(QByteArrayView(b).sliced(2, b.size() - 3)));
        check(QByteArrayView(b).sliced(2, b.size() - 3).toLongLong() == hz);
        return;
    case FrequencyCommand::CiV:
        check(b.size() == 6 + digits / 2 && b.startsWith("\xFE\xFE") && b[3] == '\xE0' && b[4] == '\x05'
              && b.endsWith('\xFD'));
        check(bcd(QByteArrayView(b).sliced(5, digits / 2)));
        return;
    case FrequencyCommand::YaesuBcd:
    case FrequencyCommand::YaesuReversedBcd:
        check(b.size() == 5 && bcd(QByteArrayView(b).first(4)));
        check(b[4] == (model.frequencyCommand == FrequencyCommand::YaesuBcd ? '\x01' : '\x0A'));
        return;
    case FrequencyCommand::TenTecBinary: {
        check(b.size() == 7 && b.startsWith("*A") && b.endsWith('\r'));
        qint64 value = 0;
        for (int i = 2; i < 6; ++i)
            value = value * 256 + static_cast<unsigned char>(b[i]);
        check(value == hz);
        return;
    }
    case FrequencyCommand::TenTecText:
        check(b.startsWith("*AF") && b.endsWith('\r') && digitsOnly(QByteArrayView(b).sliced(3, b.size() - 4)));
        return;
    case FrequencyCommand::PegasusFile:
        check(b.isEmpty() && command.pegasusFile.count("\r\n") >= 2);
        return;
    }
}

void checkModeCommand(const RigModel& model, const RigCommand& command)
{
    if (!command.ok() || command.bytes.isEmpty()) {
        check(command.bytes.isEmpty());
        return;
    }
    const QByteArray& b = command.bytes;
    switch (model.modeCommands) {
    case ModeCommands::None:
        check(false);
        return;
    case ModeCommands::Kenwood:
        check(b.size() == 4 && b.startsWith("MD") && b.endsWith(';'));
        return;
    case ModeCommands::YaesuText:
        check(b.size() == 5 && b.endsWith(';') && b[3] >= '1' && b[3] <= '7' && !b.first(3).contains(';'));
        return;
    case ModeCommands::YaesuFiveByte:
        check(b.size() == 5 && b[4] == '\x07');
        return;
    case ModeCommands::YaesuStatus:
        check(b.size() == 5 && b[4] == '\x0C');
        return;
    case ModeCommands::CiV:
        check(b.size() == 7 && b.startsWith("\xFE\xFE") && b[3] == '\xE0' && b[4] == '\x06' && b.endsWith('\xFD'));
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6)
        return 0;
    // The serial families: "Hamlib rigctld", last in the list, has requests of its own.
    const auto models = RigModels::all().first(RigModels::all().size() - 1);
    const RigModel& model = models[data[0] % models.size()];
    float mhz;
    std::memcpy(&mhz, data + 1, sizeof mhz);
    const QList<QByteArray> texts =
        QByteArray(reinterpret_cast<const char*>(data) + 6, qsizetype(size - 6)).split('\0');
    RigCommandContext context;
    context.model = &model;
    context.kenwoodVfoDigit = data[5] % 12;
    const QString mode = QString::fromLatin1(texts.value(0));
    context.frequencyQuery =
        QString::fromLatin1(texts.size() > 1 ? texts[1] : QByteArray(model.defaults.frequencyQuery));
    context.modeQuery = QString::fromLatin1(texts.size() > 2 ? texts[2] : QByteArray(model.defaults.modeQuery));
    context.rigMode = mode;

    const std::optional<qint64> hz = FrequencyHz::fromMHz(mhz);
    if (hz) {
        const RigCommand frequencyCommand = RigCommandBuilder::frequency(context, *hz);
        checkFrequencyCommand(model, frequencyCommand, *hz);
        const SidebandTable sidebands({{"40", "E", "CW", 7, 7.125f}, {"20", "E", "PH", 14.15f, 14.35f}});
        const auto steps = RigCommandPlan::changeFrequency(context, *hz, mode, sidebands);
        if (!frequencyCommand.ok()) {
            // Refused before anything goes out, the poll untouched.
            check(steps.size() == 1 && steps[0].kind == RigCommandStep::Kind::Report
                  && steps[0].part == RigCommandStep::Part::Frequency);
            checkModeCommand(model, RigCommandBuilder::mode(context, mode));
            return 0;
        }
        check(!steps.empty() && steps.front().kind == RigCommandStep::Kind::SuspendPoll
              && steps.back().kind == RigCommandStep::Kind::ResumePoll);
        int paused = 0;
        bool sent = false;
        for (const RigCommandStep& s : steps) {
            if (s.kind == RigCommandStep::Kind::Pause && s.part == RigCommandStep::Part::Frequency)
                paused += s.delayMs;
            if ((s.kind == RigCommandStep::Kind::Send || s.kind == RigCommandStep::Kind::WritePegasusFile)
                && s.part == RigCommandStep::Part::Frequency)
                sent = true;
        }
        if (sent)
            check(paused == model.commandDelayMs + model.secondCommandDelayMs);
    }
    checkModeCommand(model, RigCommandBuilder::mode(context, mode));
    return 0;
}
