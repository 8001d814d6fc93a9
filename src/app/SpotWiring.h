#pragma once

#include "spots/AgwPacketEngine.h"
#include "spots/SpotFeedPort.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace cubwave {

class Beeper;
class Dialogs;
class DxSpottingWindow;
class MainWindow;
class OneShotTimer;
class SerialLine;
class SettingsStore;
class TcpClient;

// The spot feed in the program: the spot window, loaded the first time it is needed (Ctrl+D,
// "&Configure", or a stored connection type at the end of the main window's load) and kept,
// the packet engine it drives, and the listeners its spots go to.
class SpotWiring final : public SpotFeedPort {
public:
    struct Services {
        Dialogs& dialogs;
        Beeper& beeper;
        const SettingsStore& store;  // where the packet engine's address is kept
        QString workDir;             // holds "PackSpot.txt" and "serialports.txt"
    };

    // The lines and the timer must outlive this.
    SpotWiring(SerialLine& tncLine, TcpClient& telnet, TcpClient& engineSocket, OneShotTimer& engineTimer,
               Services services);
    ~SpotWiring() override;
    SpotWiring(const SpotWiring&) = delete;
    SpotWiring& operator=(const SpotWiring&) = delete;

    // The spot window's owner and what it reads of the main window: the own call, the last
    // logged call, the caption; "&Done" saves its preferences.
    void setMainWindow(MainWindow* form);
    // The spot window, loaded on the first call.
    DxSpottingWindow& window();
    bool windowLoaded() const { return !window_.isNull(); }
    // Ctrl+D and "&Configure": shows the window, modeless unless asked otherwise.
    void show(bool modal);
    AgwPacketEngine& engine() { return engine_; }

    void addSpotListener(SpotListener listener) override { spotListeners_.push_back(std::move(listener)); }
    void onDisplayChosen(DisplayListener listener) override { displayChosen_ = std::move(listener); }
    void onRepaintDue(std::function<void()> repaint) override { repaintDue_ = std::move(repaint); }
    void onStatus(std::function<void(const QString&)> status) override { status_ = std::move(status); }
    void openAtStartup() override;
    void unload() override;

private:
    SerialLine& tncLine_;
    TcpClient& telnet_;
    Services services_;
    AgwPacketEngine engine_;
    QPointer<MainWindow> form_;
    // Deleted with its parent when it has one; otherwise here.
    QPointer<DxSpottingWindow> window_;
    std::vector<SpotListener> spotListeners_;
    DisplayListener displayChosen_;
    std::function<void()> repaintDue_;
    std::function<void(const QString&)> status_;
};

}  // namespace cubwave
