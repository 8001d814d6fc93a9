#pragma once

namespace cubwave {

class MainWindow;
class ProgramWindows;
struct ExportServices;

// The multiplier colours ("&Colors") and the help page ("&Help"), each opened modally over the
// main window and unloaded when it closes. The chosen colours go into the main window's
// preferences before the menu command saves them and reloads the log.
void addAppearanceWindows(ProgramWindows& windows, MainWindow& form, const ExportServices& services);

}  // namespace cubwave
