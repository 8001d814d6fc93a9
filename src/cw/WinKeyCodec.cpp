#include "cw/WinKeyCodec.h"

namespace cubwave {

namespace {

QByteArray bytes(std::initializer_list<quint8> list)
{
    QByteArray out;
    out.reserve(qsizetype(list.size()));
    for (quint8 b : list)
        out.append(char(b));
    return out;
}

}  // namespace

QByteArray WinKeyCodec::speed(quint8 wpm) { return bytes({kSpeed, wpm}); }
QByteArray WinKeyCodec::weight(quint8 weight) { return bytes({kWeight, weight}); }
QByteArray WinKeyCodec::leadTail(quint8 leadIn, quint8 tail) { return bytes({kLeadTail, leadIn, tail}); }
QByteArray WinKeyCodec::backspace() { return bytes({kBackspace}); }
QByteArray WinKeyCodec::pinConfig(quint8 pins) { return bytes({kPinConfig, pins}); }
QByteArray WinKeyCodec::clearBuffer() { return bytes({kClearBuffer}); }
QByteArray WinKeyCodec::mode(quint8 operatorMode) { return bytes({kMode, quint8(operatorMode | kModeEchoBack)}); }
QByteArray WinKeyCodec::ratio(quint8 ratio) { return bytes({kRatio, ratio}); }
QByteArray WinKeyCodec::requestStatus() { return bytes({kRequestStatus}); }

QByteArray WinKeyCodec::character(uchar code)
{
    if (!isSendable(code))
        return {};
    return QByteArray(1, char(code));
}

QByteArray WinKeyCodec::nulls(int count) { return QByteArray(qMax(0, count), char(kNull)); }
QByteArray WinKeyCodec::echoTest(quint8 probe) { return bytes({kAdmin, kAdminEcho, probe}); }
QByteArray WinKeyCodec::hostOpen() { return bytes({kAdmin, kAdminHostOpen}); }
QByteArray WinKeyCodec::hostClose() { return bytes({kAdmin, kAdminHostClose}); }

QByteArray WinKeyCodec::farewell()
{
    // A clear taken as a missing argument sets a harmless value (speed 10, a 100 ms tail); the
    // third one then clears for certain.
    return bytes({kClearBuffer, kClearBuffer, kClearBuffer, kAdmin, kAdminHostClose});
}

}  // namespace cubwave
