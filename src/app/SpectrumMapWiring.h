#pragma once

#include <QDialog>

#include <functional>

namespace cubwave {

class Clock;
class MainWindow;
class ProgramWindows;
class RigControlPort;

// The HF spectrum map (Ctrl+B, "&View Spectrum Map", a double click on the band map or the spot
// list): opened modally over the main window on its spot store, deleted when it closes. A spot
// taken with the right button tunes the rig and lands in the main window's call field.
void addSpectrumMapWindow(ProgramWindows& windows, MainWindow& form, RigControlPort& rig, Clock& clock,
                          std::function<int(QDialog&)> runModal);

}  // namespace cubwave
