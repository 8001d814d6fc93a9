#pragma once

#include "cw/CwSettings.h"

#include <QString>

namespace cubwave {

// Which stored message a function key sends, and its macros.
class CwMessages {
public:
    static constexpr int kF1 = 112;
    static constexpr int kF9 = 120;
    static constexpr int kF11 = 122;
    static constexpr int kF12 = 123;
    static constexpr int kF10 = 124;  // the main window passes F10 (121) on as 124

    // F1..F9 (112..120), F10 as 124 and F11 (122); an empty text for any other code.
    static QString messageForKey(const CwSettings& settings, int keyCode);

    // Three passes over the whole text, in this order: "$" becomes the call field without the
    // blanks around it, "#" goes (no contact number is kept), "*" becomes the report "5NN".
    static QString expand(const QString& message, const QString& callField);
};

}  // namespace cubwave
