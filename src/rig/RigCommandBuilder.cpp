#include "rig/RigCommandBuilder.h"

#include "rig/FrequencyHz.h"
#include "rig/HexText.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// The mode tables keep the commands as the radios' references print them, in hex.
RigCommand fromHex(const char* hexText)
{
    RigCommand command;
    command.bytes = QByteArray::fromHex(QByteArray::fromRawData(hexText, qsizetype(std::strlen(hexText))));
    return command;
}

RigCommand fromBytes(QByteArray bytes)
{
    RigCommand command;
    command.bytes = std::move(bytes);
    return command;
}

bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// 0x64 from "FE FE 64 E0 03 FD": the CI-V address the Icom rows keep in their query, as
// characters 7 and 8.
std::optional<char> civAddress(const QString& frequencyQuery)
{
    if (frequencyQuery.size() < 8)
        return std::nullopt;
    const int high = HexText::digitValue(frequencyQuery[6].unicode());
    const int low = HexText::digitValue(frequencyQuery[7].unicode());
    if (high < 0 || low < 0)
        return std::nullopt;
    return char(high * 16 + low);
}

QString civAddressError()
{
    return QStringLiteral("The radio's address, characters 7 and 8 of the frequency query, is not two hexadecimal "
                          "digits.");
}

// value as BCD, two decimal digits a byte, in digits / 2 bytes: the least significant pair
// first when reversed, as CI-V and the status-record Yaesus take it. The caller has checked that
// the value fits.
QByteArray bcd(qint64 value, int digits, bool leastSignificantFirst)
{
    QByteArray out(digits / 2, '\0');
    for (int i = 0; i < digits / 2; ++i, value /= 100) {
        const int pair = int(value % 100);
        out[leastSignificantFirst ? i : digits / 2 - 1 - i] = char((pair / 10) << 4 | pair % 10);
    }
    return out;
}

QByteArray decimal(qint64 value, int digits)
{
    return QByteArray::number(value).rightJustified(digits, '0');
}

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
        return fromBytes(prefix.toLatin1() + decimal(hz, digits) + ';');
    }
    case FrequencyCommand::TextFixedFA:
        return fromBytes("FA" + decimal(hz, digits) + ';');
    case FrequencyCommand::TextKenwoodVfo:
        return fromBytes((context.kenwoodVfoDigit == 1 ? QByteArray("FB") : QByteArray("FA")) + decimal(hz, digits)
                         + ';');
    case FrequencyCommand::CiV: {
        const std::optional<char> address = civAddress(context.frequencyQuery);
        if (!address)
            return failure(civAddressError());
        if (hz >= powerOfTen(digits))
            return failure(tooLong(hz, digits));
        return fromBytes(QByteArray("\xFE\xFE") + *address + "\xE0\x05" + bcd(hz, digits, true) + '\xFD');
    }
    case FrequencyCommand::YaesuBcd:
    case FrequencyCommand::YaesuReversedBcd: {
        // Ten-hertz steps, in the four bytes before the opcode.
        const qint64 steps = FrequencyHz::roundedSteps(hz, 10);
        if (steps >= powerOfTen(digits))
            return failure(tooLong(hz, digits));
        return model.frequencyCommand == FrequencyCommand::YaesuBcd ? fromBytes(bcd(steps, digits, false) + '\x01')
                                                                    : fromBytes(bcd(steps, digits, true) + '\x0A');
    }
    case FrequencyCommand::TenTecBinary: {
        if (hz > 0xFFFFFFFFLL)
            return failure(QStringLiteral("%1 MHz does not fit the radio's four-byte frequency field.")
                               .arg(FrequencyHz::toMHzText(hz)));
        QByteArray bytes("*A");
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += char((hz >> shift) & 0xFF);
        return fromBytes(bytes + '\r');
    }
    case FrequencyCommand::TenTecText:
        // The Orion's set command takes hertz, as its "@AF" reply gives them.
        return fromBytes("*AF" + QByteArray::number(hz) + '\r');
    case FrequencyCommand::Rigctld:
        // Whole hertz: rigctld would take a fraction and round it its own way.
        return fromBytes("F " + QByteArray::number(hz));
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
            return fromBytes(QByteArray(code));
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
        return fromBytes(prefix.toLatin1() + digit + ';');
    }
    case ModeCommands::YaesuFiveByte:
        if (const char* code = codeFor(kYaesuFiveByteModes, mode))
            return fromHex(code);
        return {};
    case ModeCommands::YaesuStatus:
        if (const char* code = codeFor(kYaesuStatusModes, mode))
            return fromHex(code);
        return {};
    case ModeCommands::CiV: {
        const char* tail = codeFor(kCivModes, mode);
        if (!tail)
            return {};
        const std::optional<char> address = civAddress(context.frequencyQuery);
        if (!address)
            return failure(civAddressError());
        RigCommand command = fromHex(tail);
        command.bytes.prepend(QByteArray("\xFE\xFE") + *address);
        return command;
    }
    }
    return {};
}

}  // namespace cubwave
