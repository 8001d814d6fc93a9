#include "ui/main/WindowKeys.h"

#include "core/ContestSession.h"
#include "core/KeyCodes.h"
#include "cw/CwKeyerPort.h"
#include "ui/common/VbColor.h"
#include "ui/main/MainScreen.h"
#include "ui/main/WindowLauncher.h"
#include "voice/VoiceKeyerPort.h"

#include <QLabel>

#include <optional>
#include <utility>

namespace cubwave {

bool WindowKeys::phone() const
{
    return c_.session.prefs().mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0;
}

void WindowKeys::setStatus(const QString& text) { c_.screen.statusLabel->setText(text); }

void WindowKeys::keyDown(int& keyCode, int shift)
{
    if (shift == 2) {
        shortcutSwallow_ = true;
        using W = WindowLauncher::Window;
        std::optional<std::pair<W, bool>> open;  // the window, and whether it is modal
        switch (keyCode) {
        case 'B': open = {W::SpectrumMap, true}; break;
        case 'C':
        case 'S': open = {W::CwSetup, false}; break;
        case 'D': open = {W::DxSpotting, false}; break;
        case 'F': open = {W::BandPlan, true}; break;
        case 'G': open = {W::RigTune, true}; break;
        case 'P': open = {W::VoiceSetup, false}; break;
        case 'R': open = {W::RigInterface, false}; break;
        case 'W': open = {W::CwStrings, false}; break;
        default: break;
        }
        if (open) {
            keyCode = 0;
            if (c_.windows.available(open->first))
                c_.windows.show(open->first, open->second);
            else
                setStatus(notAvailableText(windowEntryName(open->first)));
            return;
        }
    }

    c_.cw.cancelRepeat();
    c_.voice.cancelRepeat();

    if (phone()) {
        if (keyCode == key::F10)
            keyCode = 0;
        else if (keyCode >= key::F1 && keyCode <= key::F9)
            c_.voice.functionKey(keyCode);
        return;
    }
    if (c_.cw.configured() && (keyCode == key::Down || keyCode == key::Up)) {
        if (keyCode == key::Down)
            c_.cw.speedDown();
        else
            c_.cw.speedUp();
        setStatus(c_.cw.speedText() + QStringLiteral(" WPM"));
        keyCode = 0;
    }
    if (keyCode >= key::F1 && keyCode <= key::F12 && c_.cw.configured()) {
        if (keyCode == key::F10)
            keyCode = key::F13;  // never let the platform take F10 as the menu key
        if (keyCode == key::F12) {
            if (c_.cw.toggleKeyboardMode()) {
                setStatus(QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
                setBackColour(c_.screen.statusLabel, kLightYellow);
            } else {
                setStatus(QString());
                setBackColour(c_.screen.statusLabel, kTeal);
            }
        } else {
            c_.cw.functionKey(keyCode);
        }
    }
}

void WindowKeys::keyPress(int& keyAscii)
{
    if (shortcutSwallow_) {
        shortcutSwallow_ = false;
        keyAscii = 0;
        return;
    }
    if (phone() && keyAscii == key::Esc && c_.voice.playing()) {
        c_.voice.stop();
        keyAscii = 0;
        return;
    }
    if (keyAscii == key::Esc) {
        // Esc stops what is being sent; with nothing on its way out it clears the entry line.
        if (c_.cw.busy())
            c_.cw.clear();
        else
            c_.clearEntryLine();
        keyAscii = 0;
        return;
    }
    const bool keyboardCw = c_.cw.keyboardMode();
    if (keyboardCw && keyAscii == key::Backspace && c_.cw.backspace()) {
        keyAscii = 0;
    } else if (!phone() && keyboardCw) {
        capital(keyAscii);
        c_.cw.typeCharacter(QChar(keyAscii));
        keyAscii = 0;
    }
}

}  // namespace cubwave
