#include "app/AppearanceWindows.h"

#include "app/ProgramWindows.h"
#include "ui/appearance/HelpDialog.h"
#include "ui/appearance/MultiplierColoursDialog.h"
#include "ui/export/ExportCommands.h"
#include "ui/main/MainWindow.h"

namespace cubwave {

void addAppearanceWindows(ProgramWindows& windows, MainWindow& form, const ExportServices& services)
{
    const auto runModal = [run = services.runModal](QDialog& dialog) { return run ? run(dialog) : dialog.exec(); };
    windows.add(WindowLauncher::Window::Colors, [&form, &dialogs = services.dialogs, runModal](bool) {
        Preferences& prefs = form.prefs();
        MultiplierColoursDialog dialog(prefs.workedColour, prefs.notWorkedColour, dialogs, &form);
        runModal(dialog);
        // However it was closed, a colour once chosen holds.
        prefs.workedColour = dialog.workedColour();
        prefs.notWorkedColour = dialog.remainingColour();
    });
    windows.add(WindowLauncher::Window::Help, [&form, workDir = services.workDir, runModal](bool) {
        HelpDialog dialog(workDir, &form);
        runModal(dialog);
    });
}

}  // namespace cubwave
