#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <bitset>

namespace cubwave {

// The Telnet protocol's in-band commands (RFC 854) taken out of a cluster's byte stream, with
// the state kept across chunks. The program wants no option: DO is answered WONT and WILL is
// answered DONT, once per option, which RFC 1143 shows cannot loop. Bytes are Latin-1, one byte
// one character.
class TelnetNegotiation {
public:
    static constexpr unsigned char kIac = 255;
    static constexpr unsigned char kDont = 254;
    static constexpr unsigned char kDo = 253;
    static constexpr unsigned char kWont = 252;
    static constexpr unsigned char kWill = 251;
    static constexpr unsigned char kSb = 250;
    static constexpr unsigned char kSe = 240;
    // A subnegotiation longer than this is no real option: the bytes after it count as text again.
    static constexpr int kMaxSubnegotiation = 1024;

    struct Decoded {
        QString text;       // the received text, commands removed, IAC IAC as one 255, CR NUL as CR
        QByteArray answer;  // to send back to the peer, empty when nothing is due
    };
    Decoded decode(QByteArrayView chunk);
    // Forgets the state and the options answered, as a new connection does.
    void reset();

    // Text the operator sends as bytes: Latin-1, a character beyond it as "?", 255 doubled.
    static QByteArray encodeOutgoing(QStringView text);

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    State state_ = State::Data;
    unsigned char command_ = 0;
    int subLength_ = 0;
    bool afterCr_ = false;
    std::bitset<256> answeredDo_;
    std::bitset<256> answeredWill_;
};

}  // namespace cubwave
