#pragma once

namespace cubwave {

// Key codes as the window handlers see them: virtual-key codes for key-down, character codes
// for key-press.
namespace key {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Esc = 27;
constexpr int Space = 32;
constexpr int Quote = 34;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int F1 = 112;
constexpr int F9 = 120;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;
constexpr int F13 = 124;
}  // namespace key

// Upper-cases a key code of "a".."z"; every other code is left alone.
inline void capital(int& keyAscii)
{
    if (keyAscii >= 'a' && keyAscii <= 'z')
        keyAscii -= 'a' - 'A';
}

// Keeps "0".."9" and Backspace; any other key becomes 0 (dropped).
inline void numberOnly(int& keyAscii)
{
    if (!((keyAscii >= '0' && keyAscii <= '9') || keyAscii == key::Backspace))
        keyAscii = 0;
}

}  // namespace cubwave
