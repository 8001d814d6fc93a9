#include "rig/RigModel.h"

#include <QString>

#include <algorithm>

namespace cubwave {

namespace {

using namespace std::string_view_literals;

constexpr const char* PH = "PH";
constexpr const char* CW = "CW";

// Status records, from the radios' CAT documents: a band byte, the displayed frequency as a
// binary number (10 Hz steps, on the FT-1000MP 0.625 Hz steps whose digits 4 to 9 are 10 Hz
// steps, on the FT-920 hertz), and the mode byte at offset 7.
constexpr YaesuStatusLayout kYaesu890{YaesuStatusLayout::FrequencyCoding::BinaryHexDigits, 5, 10, 1e5, true, 8,
                                      true, {PH, PH, CW, PH, PH, PH, PH, PH}};
constexpr YaesuStatusLayout kYaesu1000{YaesuStatusLayout::FrequencyCoding::BinaryHexDigits, 4, 9, 1e5, true, 8,
                                       true, {PH, PH, CW, PH, PH, PH, PH, PH}};
constexpr YaesuStatusLayout kYaesu990{YaesuStatusLayout::FrequencyCoding::BinaryHexDigits, 3, 8, 1e5, true, 8,
                                      true, {PH, PH, CW, PH, PH, PH, PH, PH}};
// The FT-920's mode byte: low nibble 1 is CW on either sideband, everything else voice or data.
constexpr YaesuStatusLayout kYaesu920{YaesuStatusLayout::FrequencyCoding::BinaryHexDigits, 3, 10, 1e6, true, 8,
                                      true, {PH, CW, PH, PH, PH, PH, PH, PH, PH, PH, PH, PH, PH, PH, PH, PH}};
// The FT-757GX II's 75-byte status: the operating frequency as BCD, least significant byte
// first, in bytes 6 to 9, the mode in byte 10.
constexpr YaesuStatusLayout kYaesu757{YaesuStatusLayout::FrequencyCoding::ReversedBcd, 6, 9, 1e5, false, 10,
                                      false, {PH, PH, CW, CW, "AM", "FM"}};

// Lock on and off for the five-byte Yaesu radios; the opening command also wakes the CAT port.
constexpr std::string_view kYaesuOpen = "\x00\x00\x00\x00\x00"sv;
constexpr std::string_view kYaesuClose = "\x00\x00\x00\x00\x80"sv;

constexpr RigLineDefaults kKenwoodLine{"4800", '8', '2', 'N', "FA;", "MD;", false};
constexpr RigLineDefaults kYaesuStatusLine{"4800", '8', '2', 'N', "00 00 00 02 10", "", true};

using F = RigFamily;
using S = QuerySendRule;
using R = ReplyFraming;
using FC = FrequencyCommand;
using MC = ModeCommands;

// clang-format off
const RigModel kModels[] = {
    {"None", F::None, {}, S::Nothing, 0, 0, R::Raw, 0, 0, 0, nullptr, 0, {}, {}, false, false, false, 0, 0,
     FC::None, 0, MC::None},
    {"Elecraft", F::KenwoodText, kKenwoodLine, S::BothAsText, 0, 0, R::Terminated, ';', 0, 0, nullptr, 0,
     {}, {}, false, false, false, 205, 1000, FC::TextFixedFA, 11, MC::Kenwood},
    {"Icom", F::CiV, {"1200", '8', '1', 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true},
     S::AlternateHex, 6, 17, R::CiVFrame, 0, 0, 0, nullptr, 5, {}, {}, false, true, false, 140, 0,
     FC::CiV, 10, MC::CiV},
    {"Icom 735", F::CiV, {"1200", '8', '1', 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true},
     S::AlternateHex, 6, 17, R::CiVFrame, 0, 0, 0, nullptr, 4, {}, {}, false, true, false, 140, 0,
     FC::CiV, 8, MC::None},
    {"Kenwood", F::KenwoodText, kKenwoodLine, S::BothAsText, 0, 0, R::Terminated, ';', 0, 0, nullptr, 0,
     {}, {}, false, false, false, 205, 0, FC::TextQueryPrefix, 11, MC::Kenwood},
    {"Kenwood 2", F::KenwoodInfo, {"4800", '8', '2', 'N', "IF;", "", false}, S::BothAsText, 0, 0,
     R::Terminated, ';', 0, 0, nullptr, 0, {}, {}, false, false, false, 205, 0, FC::TextKenwoodVfo, 11, MC::Kenwood},
    {"Ten Tec Omni VI", F::CiV, {"1200", '8', '1', 'N', "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true},
     S::AlternateHex, 6, 17, R::CiVFrame, 0, 0, 0, nullptr, 5, {}, {}, false, false, false, 140, 220,
     FC::CiV, 10, MC::CiV},
    {"Ten Tec Orion", F::TenTecOrion, {"56000", '8', '1', 'N', "?AF", "?RMM", false}, S::BothAsTextWithCr, 0, 0,
     R::Terminated, '\r', 0, 0, nullptr, 0, "X\r"sv, {}, true, false, false, 205, 0, FC::TenTecText, 0, MC::None},
    // "A", four frequency bytes and CR; "M", main and sub mode and CR.
    {"Ten Tec Fnt Pnl", F::TenTecPanel, {"56000", '8', '1', 'N', "3F 41 0D", "3F 4D 0D", true}, S::AlternateHex,
     3, 7, R::FixedLength, 0, 6, 4, nullptr, 0, {}, {}, true, false, false, 205, 0, FC::TenTecBinary, 8, MC::None},
    {"Ten Tec Pegasus", F::TenTecPegasus, {}, S::Nothing, 0, 0, R::Raw, 0, 0, 0, nullptr, 0, {}, {}, false, false,
     false, 205, 0, FC::PegasusFile, 0, MC::None},
    {"Yaesu", F::YaesuFiveByte, {"4800", '8', '2', 'N', "00 00 00 00 03", "", true}, S::FrequencyAsHex, 5, 14,
     R::FixedLength, 0, 5, 5, nullptr, 0, kYaesuOpen, kYaesuClose, false, false, false, 205, 0,
     FC::YaesuBcd, 8, MC::YaesuFiveByte},
    {"Yaesu 757 GX II", F::YaesuStatus, {"4800", '8', '2', 'N', "00 00 00 00 10", "", true}, S::FrequencyAsHex, 5,
     14, R::FixedLength, 0, 75, 75, &kYaesu757, 0, kYaesuOpen, kYaesuClose, false, false, false, 205, 0,
     FC::YaesuReversedBcd, 8, MC::YaesuStatus},
    {"Yaesu 890", F::YaesuStatus, kYaesuStatusLine, S::FrequencyAsHex, 5, 14, R::FixedLength, 0, 19, 19, &kYaesu890,
     0, kYaesuOpen, kYaesuClose, false, false, false, 205, 0, FC::YaesuReversedBcd, 8, MC::YaesuStatus},
    {"Yaesu 920", F::YaesuStatus, kYaesuStatusLine, S::FrequencyAsHex, 5, 14, R::FixedLength, 0, 28, 28, &kYaesu920,
     0, kYaesuOpen, kYaesuClose, false, false, false, 205, 0, FC::YaesuReversedBcd, 8, MC::YaesuStatus},
    {"Yaesu 990", F::YaesuStatus, kYaesuStatusLine, S::FrequencyAsHex, 5, 14, R::FixedLength, 0, 32, 32, &kYaesu990,
     0, kYaesuOpen, kYaesuClose, false, false, false, 205, 0, FC::YaesuReversedBcd, 8, MC::YaesuStatus},
    {"Yaesu 1000 D", F::YaesuStatus, kYaesuStatusLine, S::FrequencyAsHex, 5, 14, R::FixedLength, 0, 16, 16,
     &kYaesu990, 0, kYaesuOpen, kYaesuClose, false, false, false, 205, 0, FC::YaesuReversedBcd, 8, MC::YaesuStatus},
    {"Yaesu 1000", F::YaesuStatus, kYaesuStatusLine, S::FrequencyAsHex, 5, 14, R::FixedLength, 0, 16, 16,
     &kYaesu1000, 0, kYaesuOpen, kYaesuClose, false, false, false, 10, 0, FC::YaesuReversedBcd, 8, MC::YaesuStatus},
    // Only the baud among the line settings: the FTdx9000 is set up on its own menu.
    {"Yaesu FTdx9000", F::YaesuText, {"4800", 0, 0, 0, "FA;", "MD0;", false}, S::AlternateText, 0, 2,
     R::Terminated, ';', 0, 0, nullptr, 0, {}, {}, false, false, false, 205, 0, FC::TextQueryPrefix, 8, MC::YaesuText},
    {"Other", F::Other, {}, S::OperatorChoice, 0, 0, R::Raw, 0, 0, 0, nullptr, 0, {}, {}, false, false, true, 0, 0,
     FC::None, 0, MC::None},
    // Polled over TCP by its own requests; the serial settings and the query strings play no part.
    {"Hamlib rigctld", F::Rigctld, {}, S::Nothing, 0, 0, R::Raw, 0, 0, 0, nullptr, 0, {}, {}, false, false, false,
     0, 0, FC::Rigctld, 0, MC::None},
};
// clang-format on

}  // namespace

int RigModel::longestReplyBytes() const
{
    switch (framing) {
    case ReplyFraming::FixedLength:
        return std::max(frequencyReplyBytes, modeReplyBytes);
    case ReplyFraming::CiVFrame:
        return 16;  // FE FE to from command, up to 10 data bytes, FD
    case ReplyFraming::Terminated:
        return 64;  // the 38-character "IF" status is the longest text reply read
    case ReplyFraming::Raw:
        break;
    }
    return 1024;
}

std::span<const RigModel> RigModels::all() { return kModels; }

const RigModel* RigModels::find(QStringView name)
{
    for (const RigModel& model : kModels) {
        if (name == QLatin1StringView(model.name))
            return &model;
    }
    return nullptr;
}

const RigModel& RigModels::none() { return kModels[0]; }

}  // namespace cubwave
