#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace cubwave {

// What leaving a field of the keyer's setup window does: the text the field keeps and the value
// sent to the keyer, if any. The ranges are the ones the keyer has always been sent.
class WinKeyFieldRules {
public:
    struct Left {
        QString text;
        std::optional<int> send;
    };
    struct LeadTail {
        QString leadIn;
        QString tail;
        std::optional<std::pair<int, int>> send;
    };
    struct Port {
        QString text;
        int port = 0;  // a byte
    };

    static inline const QString kDefaultSpeed = QStringLiteral("18");
    static inline const QString kDefaultWeight = QStringLiteral("50");
    static inline const QString kDefaultRatio = QStringLiteral("50");

    // A whole number typed into a field: blanks around digits; a fraction rounds half to even.
    static std::optional<long long> number(const QString& text);

    // 0 to 99 is sent; another number stays unsent; no number becomes "18".
    static Left speed(const QString& text);
    // 0 to 99 is sent; another number stays unsent; no number becomes "50".
    static Left weight(const QString& text);
    // 32 to 67 is sent; another number stays unsent; no number becomes "50".
    static Left ratio(const QString& text);
    // Both fields numbers that fit a byte: both are sent; otherwise the field just left is "0".
    static LeadTail leadTail(const QString& leadIn, const QString& tail, bool leftLeadIn);
    // No number becomes "0"; the port is the number when it fits a byte, else 0.
    static Port comPort(const QString& text);
    // Keys a number field takes while typing: backspace and the digits.
    static bool keyAccepted(int keyAscii);
    // Only printable ASCII reaches the keyer as text: control codes are its commands, and codes
    // above 0x7E have no sign on the air.
    static bool sendable(QChar c);
};

}  // namespace cubwave
