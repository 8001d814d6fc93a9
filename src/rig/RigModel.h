#pragma once

#include <QByteArray>
#include <QStringView>

#include <array>
#include <span>
#include <string_view>

namespace cubwave {

// The reply formats the logger reads; each has one decoder.
enum class RigFamily {
    None,           // no radio
    KenwoodText,    // "FA…;" and "MD…;" text replies
    KenwoodInfo,    // the 38-character "IF…;" status reply
    CiV,            // Icom CI-V frames (also the Omni VI)
    YaesuFiveByte,  // 4 BCD frequency bytes and a mode byte
    YaesuStatus,    // a fixed-length binary status record
    YaesuText,      // "FA…;" and "MD0…;" text replies
    TenTecPanel,    // front-panel "A" and "M" binary replies
    TenTecOrion,    // "@AF…" and "@RMM…" text replies ended by CR
    TenTecPegasus,  // no serial reply: an exchange file written by the radio's control program
    Other,          // any radio: the raw reply is only shown
    Rigctld,        // Hamlib's rigctld over TCP: its own requests and answers, no serial line
};

// What one send tick puts on the line.
enum class QuerySendRule {
    Nothing,
    BothAsText,        // frequency query then mode query, each as text when not empty
    BothAsTextWithCr,  // the same, each followed by a carriage return
    AlternateHex,      // one query per tick, as hex text of queryHexBytes bytes
    AlternateText,     // one query per tick, as text
    FrequencyAsHex,    // the frequency query only, as hex text of queryHexBytes bytes
    OperatorChoice,    // both queries, as hex text when "Convert to Hex" is ticked, else as text
};

// How the byte stream is cut into whole replies.
enum class ReplyFraming {
    Raw,          // whatever one read returned
    Terminated,   // text ended by the terminator byte
    CiVFrame,     // FE FE to from … FD
    FixedLength,  // a record of a known length after each query
};

// Where a fixed-length Yaesu status record keeps its frequency and mode.
struct YaesuStatusLayout {
    enum class FrequencyCoding {
        BinaryHexDigits,  // hex digits firstDigit..lastDigit read as one hexadecimal number
        ReversedBcd,      // bytes lastByte down to firstByte, each two decimal digits
    };
    FrequencyCoding coding;
    int firstDigit;  // 1-based hex digit, or byte for ReversedBcd
    int lastDigit;
    double divisorToMHz;
    bool roundToFiveDecimals;
    int modeByte;               // 1-based
    bool modeFromLowNibble;     // the low hex digit alone, else both digits read as a decimal number
    std::array<const char*, 16> modeByValue;  // nullptr leaves the mode unchanged

    // Bytes the frequency and the mode are read from.
    int frequencyBytesNeeded() const
    {
        return coding == FrequencyCoding::ReversedBcd ? lastDigit : (lastDigit + 1) / 2;
    }
};

// How a model's frequency command is written.
enum class FrequencyCommand {
    None,               // the model takes no command
    TextQueryPrefix,    // the frequency query's first two characters, decimal hertz, ";"
    TextFixedFA,        // "FA", decimal hertz, ";"
    TextKenwoodVfo,     // "FB" when the radio reports VFO B, else "FA"; decimal hertz; ";"
    CiV,                // FE FE address E0 05, BCD hertz least significant pair first, FD
    YaesuBcd,           // BCD 10 Hz steps, most significant first, opcode 01
    YaesuReversedBcd,   // BCD 10 Hz steps, least significant pair first, opcode 0A
    TenTecBinary,       // "*A", four bytes of hertz, CR
    TenTecText,         // "*AF", decimal hertz, CR
    PegasusFile,        // no serial command: the control program's "PEGASUS.IN"
    Rigctld,            // rigctld's "F hz" and "M mode passband", each answered by an RPRT
};

// Which table gives a model's mode commands.
enum class ModeCommands { None, Kenwood, YaesuText, YaesuFiveByte, YaesuStatus, CiV };

// The serial line settings a rig's row of defaults sets; zero or null leaves an option as it is.
struct RigLineDefaults {
    const char* baud = nullptr;  // as the option's text, e.g. "4800"
    char dataBits = 0;
    char stopBits = 0;
    char parity = 0;
    const char* frequencyQuery = "";
    const char* modeQuery = "";
    bool convertToHex = false;
};

// One entry of the rig list: everything that differs between models, as data.
struct RigModel {
    const char* name;
    RigFamily family;
    RigLineDefaults defaults;

    QuerySendRule sendRule;
    int queryHexBytes;   // hex send rules: how many bytes one query sends
    int minQueryChars;   // a query shorter than this is not sent (hex and alternating rules)

    ReplyFraming framing;
    char terminator;            // Terminated framing
    int frequencyReplyBytes;    // FixedLength framing: the reply to the frequency query
    int modeReplyBytes;         // FixedLength framing: the reply to the mode query
    const YaesuStatusLayout* statusLayout;  // YaesuStatus only
    int civFrequencyBytes;      // CiV: 5, or 4 on the IC-735 whose value reads 100 times too large

    std::string_view openingBytes;  // sent when the port opens
    std::string_view closingBytes;  // sent once when the program ends while polling
    bool rtsCtsFlowControl;
    bool showsIcomAddressNote;
    bool operatorSetsHex;           // "Convert to Hex" is the operator's to tick

    int commandDelayMs;             // pause before a frequency command
    int secondCommandDelayMs;       // a further pause, after letting window events run

    FrequencyCommand frequencyCommand;
    int frequencyDigits;            // the frequency field's width in digits (text: at least)
    ModeCommands modeCommands;

    // The longest whole reply this model sends, so buffers can be bounded by it.
    int longestReplyBytes() const;
    QByteArray opening() const { return QByteArray(openingBytes.data(), qsizetype(openingBytes.size())); }
    QByteArray closing() const { return QByteArray(closingBytes.data(), qsizetype(closingBytes.size())); }
};

// The rig list, in the order the operator sees it. Names compare exactly, case included.
class RigModels {
public:
    static std::span<const RigModel> all();
    static const RigModel* find(QStringView name);
    static const RigModel& none();
};

}  // namespace cubwave
