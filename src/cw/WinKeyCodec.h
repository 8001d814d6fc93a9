#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace cubwave {

// The bytes a WinKey keyer takes for each operation. Admin commands start with 0x00; host
// commands are one byte below 0x20 with their arguments; anything from 0x20 up is text to send.
class WinKeyCodec {
public:
    static constexpr quint8 kAdmin = 0x00;
    static constexpr quint8 kAdminHostOpen = 0x02;
    static constexpr quint8 kAdminHostClose = 0x03;
    static constexpr quint8 kAdminEcho = 0x04;
    static constexpr quint8 kSpeed = 0x02;
    static constexpr quint8 kWeight = 0x03;
    static constexpr quint8 kLeadTail = 0x04;
    static constexpr quint8 kBackspace = 0x08;
    static constexpr quint8 kPinConfig = 0x09;
    static constexpr quint8 kClearBuffer = 0x0A;
    static constexpr quint8 kMode = 0x0E;
    static constexpr quint8 kNull = 0x13;
    static constexpr quint8 kRequestStatus = 0x15;
    static constexpr quint8 kRatio = 0x17;
    // Mode bit: the keyer echoes each character back as it starts to send it.
    static constexpr quint8 kModeEchoBack = 0x04;

    // Speed in words per minute.
    static QByteArray speed(quint8 wpm);
    // Weight, 50 being standard.
    static QByteArray weight(quint8 weight);
    // PTT lead-in and tail, in 10 ms units.
    static QByteArray leadTail(quint8 leadIn, quint8 tail);
    // Removes the last character the keyer has not started to send.
    static QByteArray backspace();
    // Which outputs key, and the sidetone.
    static QByteArray pinConfig(quint8 pins);
    // Drops everything the keyer holds and stops sending.
    static QByteArray clearBuffer();
    // The operator's keyer mode; echo-back is always added, the host counts the echoes.
    static QByteArray mode(quint8 operatorMode);
    // Dit/dah ratio, 50 being 1:3.
    static QByteArray ratio(quint8 ratio);
    // A character to send: printable ASCII 0x20..0x7E only; anything else gives no bytes, so a
    // control code can never reach the keyer as a command.
    static QByteArray character(uchar code);
    static bool isSendable(uchar code) { return code >= 0x20 && code <= 0x7E; }
    // Asks for one status byte in reply.
    static QByteArray requestStatus();

    // Null commands: a keyer left mid-command by an earlier program takes them as the missing
    // arguments and is back in step afterwards.
    static QByteArray nulls(int count);
    // The keyer answers with the byte itself.
    static QByteArray echoTest(quint8 probe);
    // The keyer leaves standalone mode and answers with its revision.
    static QByteArray hostOpen();
    // Back to standalone mode.
    static QByteArray hostClose();
    // What a closing host sends in one write: clears enough to complete a command cut short by
    // up to two missing argument bytes, then the clear itself, then host close.
    static QByteArray farewell();
};

}  // namespace cubwave
