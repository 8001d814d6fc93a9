#include "spots/TelnetNegotiation.h"

namespace cubwave {

TelnetNegotiation::Decoded TelnetNegotiation::decode(QByteArrayView chunk)
{
    Decoded out;
    out.text.reserve(chunk.size());
    for (const char c : chunk) {
        const auto byte = static_cast<unsigned char>(c);
        switch (state_) {
        case State::Data:
            if (byte == kIac) {
                state_ = State::Iac;
            } else if (byte == 0 && afterCr_) {
                afterCr_ = false;  // CR NUL is a bare carriage return
            } else {
                out.text.append(QChar(byte));
                afterCr_ = byte == '\r';
            }
            break;
        case State::Iac:
            if (byte == kIac) {
                out.text.append(QChar(kIac));
                afterCr_ = false;
                state_ = State::Data;
            } else if (byte >= kWill && byte <= kDont) {
                command_ = byte;
                state_ = State::Option;
            } else if (byte == kSb) {
                subLength_ = 0;
                state_ = State::Sub;
            } else {
                state_ = State::Data;  // NOP, GA, a stray SE and the like carry nothing for us
            }
            break;
        case State::Option:
            // Refusals (WONT, DONT) need no answer: we already do without every option.
            if (command_ == kDo && !answeredDo_[byte]) {
                answeredDo_.set(byte);
                out.answer.append(char(kIac)).append(char(kWont)).append(char(byte));
            } else if (command_ == kWill && !answeredWill_[byte]) {
                answeredWill_.set(byte);
                out.answer.append(char(kIac)).append(char(kDont)).append(char(byte));
            }
            state_ = State::Data;
            break;
        case State::Sub:
            if (byte == kIac)
                state_ = State::SubIac;
            else if (++subLength_ > kMaxSubnegotiation)
                state_ = State::Data;
            break;
        case State::SubIac:
            // IAC SE ends it; IAC IAC is a 255 inside it.
            state_ = byte == kSe ? State::Data : State::Sub;
            if (state_ == State::Sub && ++subLength_ > kMaxSubnegotiation)
                state_ = State::Data;
            break;
        }
    }
    return out;
}

void TelnetNegotiation::reset()
{
    state_ = State::Data;
    command_ = 0;
    subLength_ = 0;
    afterCr_ = false;
    answeredDo_.reset();
    answeredWill_.reset();
}

QByteArray TelnetNegotiation::encodeOutgoing(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u > 0xFF) {
            bytes.append('?');
        } else {
            bytes.append(char(u));
            if (u == kIac)
                bytes.append(char(kIac));
        }
    }
    return bytes;
}

}  // namespace cubwave
