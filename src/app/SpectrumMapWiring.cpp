#include "app/SpectrumMapWiring.h"

#include "app/ProgramWindows.h"
#include "ui/main/MainWindow.h"
#include "ui/spots/SpectrumMapWindow.h"

namespace cubwave {

void addSpectrumMapWindow(ProgramWindows& windows, MainWindow& form, RigControlPort& rig, Clock& clock,
                          std::function<int(QDialog&)> runModal)
{
    windows.add(WindowLauncher::Window::SpectrumMap, [&form, &rig, &clock, runModal](bool) {
        SpectrumMapWindow map({form.spotStore(), rig, clock, nullptr, form.prefs().utcOffsetHours,
                               [&form](const QString& call) { return form.takeSpottedCall(call, false); }},
                              &form);
        const int result = runModal ? runModal(map) : map.exec();
        if (result != QDialog::Accepted)
            return;
        // A spot was taken: the operator goes on in the entry line, where its call now is.
        form.activateWindow();
        if (auto* callField = form.findChild<QWidget*>(QStringLiteral("txtCall")))
            callField->setFocus(Qt::OtherFocusReason);
    });
}

}  // namespace cubwave
