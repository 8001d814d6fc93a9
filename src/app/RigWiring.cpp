#include "app/RigWiring.h"

#include "ui/rig/RigControlWindow.h"

namespace cubwave {

RigWiring::RigWiring(SerialLine& line, RigPollTimer& timer, Services services)
    : services_(std::move(services)), control_(line, timer, services_.clock, services_.rigctld)
{
    control_.setStartupTest([this] { window().Command1_Click(); });
}

RigWiring::~RigWiring() { delete window_.data(); }

RigControlWindow& RigWiring::window()
{
    if (window_)
        return *window_;
    window_ = new RigControlWindow({control_.driver(), services_.dialogs, services_.beeper, services_.store,
                                    services_.environment},
                                   services_.workDir, parent_.data());
    RigControlWindow* w = window_.data();
    QObject::connect(w, &RigControlWindow::bandFrequencyDecoded, w,
                     [this](float mhz) { control_.reportFrequency(mhz); });
    QObject::connect(w, &RigControlWindow::modeDecoded, w, [this](const QString& mode) { control_.reportMode(mode); });
    QObject::connect(w, &RigControlWindow::statusMessage, w,
                     [this](const QString& text) { control_.reportStatus(text); });
    QObject::connect(w, &RigControlWindow::savePreferencesRequested, w,
                     [this, w] { control_.reportSavePreferences(w->rigName()); });
    QObject::connect(w, &RigControlWindow::frequencyTestRequested, w, [this] {
        if (openFrequencyTest_)
            openFrequencyTest_();
    });
    w->reportFileProblems();
    return *w;
}

void RigWiring::show(bool modal)
{
    RigControlWindow& w = window();
    if (modal && !w.isVisible())
        w.setWindowModality(Qt::ApplicationModal);
    w.show();
    w.raise();
    w.activateWindow();
}

}  // namespace cubwave
