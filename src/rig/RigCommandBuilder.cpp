#include "rig/RigCommandBuilder.h"

#include "rig/FrequencyHz.h"
#include "rig/HexText.h"

#include <algorithm>
#include <array>

namespace cubwave {

namespace {

struct ModeEntry {
    const char16_t* mode;
    const char* code;
};

// Kenwood and Elecraft "MDn;".
constexpr std::array<ModeEntry, 7> kKenwoodModes{{
    {u"CW", "MD3;"}, {u"LSB", "MD1;"}, {u"USB", "MD2;"}, {u"AM", "MD5;"},
    {u"FM", "MD4;"}, {u"RTTY", "MD6;"}, {u"FSK", "MD6;"},
}};
// FTdx9000: the digit after the mode query's "MD0".
constexpr std::array<ModeEntry, 7> kYaesuTextModes{{
    {u"LSB", "1"}, {u"USB", "2"}, {u"CW", "3"}, {u"FM", "4"}, {u"AM", "5"}, {u"RTTY", "6"}, {u"CW-R", "7"},
}};
// FT-817 family: the mode byte leads the five bytes, opcode 07 ends them.
constexpr std::array<ModeEntry, 8> kYaesuFiveByteModes{{
    {u"LSB", "0000000007"}, {u"USB", "0100000007"}, {u"CW", "0200000007"}, {u"AM", "0400000007"},
    {u"FM", "0800000007"}, {u"DIG", "0A00000007"}, {u"RTTY", "0A00000007"}, {u"PKT", "0C00000007"},
}};
// Older HF Yaesus: three zero bytes, the mode byte, opcode 0C.
constexpr std::array<ModeEntry, 8> kYaesuStatusModes{{
    {u"LSB", "000000000C"}, {u"USB", "000000010C"}, {u"CW", "000000020C"}, {u"CW-R", "000000030C"},
    {u"AM", "000000040C"}, {u"FM", "000000060C"}, {u"RTTY", "000000080C"}, {u"PKT", "0000000A0C"},
}};
// CI-V command 06 with its mode byte, after FE FE and the address.
constexpr std::array<ModeEntry, 8> kCivModes{{
    {u"LSB", "E00600FD"}, {u"USB", "E00601FD"}, {u"AM", "E00602FD"}, {u"CW", "E00603FD"},
    {u"RTTY", "E00604FD"}, {u"FM", "E00605FD"}, {u"CW-R", "E00607FD"}, {u"RTTY-R", "E00608FD"},
}};

template <size_t N>
const char* codeFor(const std::array<ModeEntry, N>& table, QStringView mode)
{
    for (const ModeEntry& entry : table) {
        if (mode == QStringView(entry.mode))
            return entry.code;
    }
    return nullptr;
}

RigCommand failure(const QString& error)
{
    RigCommand command;
    command.error = error;
    return command;
}

RigCommand fromHex(const QString& hexText)
{
    const std::optional<QByteArray> bytes = HexText::packedToBytes(hexText);
    if (!bytes)
        return failure(QStringLiteral("The command %1 is not whole bytes of hex text.").arg(hexText));
    RigCommand command;
    command.bytes = *bytes;
    return command;
}

RigCommand fromText(const QString& text)
{
    RigCommand command;
    command.bytes = text.toLatin1();
    return command;
}

bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// "64" from "FE FE 64 E0 03 FD": the CI-V address the Icom rows keep in their query.
std::optional<QString> civAddress(const QString& frequencyQuery)
{
    const QString address = frequencyQuery.mid(6, 2);
    if (address.size() != 2 || HexText::digitValue(address[0].unicode()) < 0
        || HexText::digitValue(address[1].unicode()) < 0)
        return std::nullopt;
    return address.toUpper();
}

QString civAddressError()
{
    return QStringLiteral("The radio's address, characters 7 and 8 of the frequency query, is not two hexadecimal "
                          "digits.");
}

// Two decimal digits a pair, the least significant pair first.
QString reversedPairs(const QString& digits)
{
    QString out;
    out.reserve(digits.size());
    for (qsizetype pos = digits.size() - 2; pos >= 0; pos -= 2)
        out += digits.mid(pos, 2);
    return out;
}

QString padded(qint64 value, int digits) { return QString::number(value).rightJustified(digits, u'0'); }

QString tooLong(qint64 hz, int digits)
{
    return QStringLiteral("%1 MHz does not fit the radio's %2-digit frequency field.")
        .arg(FrequencyHz::toMHzText(hz))
        .arg(digits);
}

qint64 powerOfTen(int digits)
{
    qint64 p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p;
}

}  // namespace

RigCommand RigCommandBuilder::frequency(const RigCommandContext& context, qint64 hz)
{
    const RigModel& model = *context.model;
    if (model.frequencyCommand == FrequencyCommand::None)
        return {};
    if (hz <= 0)
        return failure(QStringLiteral("The frequency %1 MHz is not above 0.").arg(FrequencyHz::toMHzText(hz)));
    if (hz > FrequencyHz::kLimitHz)
        return failure(QStringLiteral("The frequency is beyond every radio."));
    const int digits = model.frequencyDigits;

    switch (model.frequencyCommand) {
    case FrequencyCommand::None:
        break;
    case FrequencyCommand::TextQueryPrefix: {
        const QString prefix = context.frequencyQuery.left(2);
        if (prefix.size() != 2 || !isAsciiLetter(prefix[0]) || !isAsciiLetter(prefix[1]))
            return failure(QStringLiteral("The frequency query does not begin with the two letters of the radio's "
                                          "frequency command."));
        return fromText(prefix + padded(hz, digits) + u';');
    }
    case FrequencyCommand::TextFixedFA:
        return fromText(QStringLiteral("FA") + padded(hz, digits) + u';');
    case FrequencyCommand::TextKenwoodVfo:
        return fromText((context.kenwoodVfoDigit == 1 ? QStringLiteral("FB") : QStringLiteral("FA"))
                        + padded(hz, digits) + u';');
    case FrequencyCommand::CiV: {
        const std::optional<QString> address = civAddress(context.frequencyQuery);
        if (!address)
            return failure(civAddressError());
        if (hz >= powerOfTen(digits))
            return failure(tooLong(hz, digits));
        return fromHex(QStringLiteral("FEFE") + *address + QStringLiteral("E005") + reversedPairs(padded(hz, digits))
                       + QStringLiteral("FD"));
    }
    case FrequencyCommand::YaesuBcd:
    case FrequencyCommand::YaesuReversedBcd: {
        const qint64 steps = FrequencyHz::roundedSteps(hz, 10);
        if (steps >= powerOfTen(digits))
            return failure(tooLong(hz, digits));
        const QString bcd = padded(steps, digits);
        return fromHex(model.frequencyCommand == FrequencyCommand::YaesuBcd ? bcd + QStringLiteral("01")
                                                                            : reversedPairs(bcd) + QStringLiteral("0A"));
    }
    case FrequencyCommand::TenTecBinary:
        if (hz > 0xFFFFFFFFLL)
            return failure(QStringLiteral("%1 MHz does not fit the radio's four-byte frequency field.")
                               .arg(FrequencyHz::toMHzText(hz)));
        return fromHex(QStringLiteral("2A41") + QString::number(hz, 16).toUpper().rightJustified(digits, u'0')
                       + QStringLiteral("0D"));
    case FrequencyCommand::TenTecText:
        // The Orion's set command takes hertz, as its "@AF" reply gives them.
        return fromText(QStringLiteral("*AF") + QString::number(hz) + u'\r');
    case FrequencyCommand::PegasusFile: {
        RigCommand command;
        command.pegasusFile = (FrequencyHz::toMHzText(hz) + QStringLiteral("\r\n") + context.rigMode.trimmed()
                               + QStringLiteral("\r\n"))
                                  .toLatin1();
        return command;
    }
    }
    return {};
}

RigCommand RigCommandBuilder::mode(const RigCommandContext& context, QStringView mode)
{
    const RigModel& model = *context.model;
    switch (model.modeCommands) {
    case ModeCommands::None:
        return {};
    case ModeCommands::Kenwood:
        if (const char* code = codeFor(kKenwoodModes, mode))
            return fromText(QString::fromLatin1(code));
        return {};
    case ModeCommands::YaesuText: {
        const char* digit = codeFor(kYaesuTextModes, mode);
        if (!digit)
            return {};
        const QString prefix = context.modeQuery.left(3);
        const bool printable = prefix.size() == 3 && std::all_of(prefix.begin(), prefix.end(), [](QChar c) {
            return c > u' ' && c < QChar(0x7F) && c != u';';
        });
        if (!printable)
            return failure(QStringLiteral("The mode query does not begin with the three characters of the radio's "
                                          "mode command."));
        return fromText(prefix + QLatin1String(digit) + u';');
    }
    case ModeCommands::YaesuFiveByte:
        if (const char* code = codeFor(kYaesuFiveByteModes, mode))
            return fromHex(QString::fromLatin1(code));
        return {};
    case ModeCommands::YaesuStatus:
        if (const char* code = codeFor(kYaesuStatusModes, mode))
            return fromHex(QString::fromLatin1(code));
        return {};
    case ModeCommands::CiV: {
        const char* tail = codeFor(kCivModes, mode);
        if (!tail)
            return {};
        const std::optional<QString> address = civAddress(context.frequencyQuery);
        if (!address)
            return failure(civAddressError());
        return fromHex(QStringLiteral("FEFE") + *address + QLatin1String(tail));
    }
    }
    return {};
}

}  // namespace cubwave
