#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QWidget>

namespace cubwave {

// Colours are stored as red + 256 * green + 65536 * blue; values with the top bit set name a
// system colour (0x8000000F is the button face).
constexpr qint32 kTeal = 0xC0C000;                                // red 0, green 192, blue 192
constexpr qint32 kRed = 0x0000FF;
constexpr qint32 kLightYellow = 0xC0FFFF;                         // red 255, green 255, blue 192
constexpr qint32 kButtonFace = static_cast<qint32>(0x8000000F);

inline QColor vbColor(qint32 value, const QPalette& palette = QPalette())
{
    if (value < 0)
        return palette.color(QPalette::Button);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline void setBackColour(QWidget* widget, qint32 colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, vbColor(colour, QApplication::palette()));
    widget->setPalette(pal);
}

inline void setTextColour(QWidget* widget, qint32 colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, vbColor(colour, QApplication::palette()));
    widget->setPalette(pal);
}

}  // namespace cubwave
