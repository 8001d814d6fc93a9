#pragma once

#include "ui/main/MainWindowPorts.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QMainWindow;

namespace cubwave {

class ContestSession;

// The main window's menu bar: its entries, what each one starts, and the Band and Mode menus'
// check marks, which follow the session's band and mode.
class MainMenus : public QObject {
    Q_OBJECT

public:
    // What the menus start that belongs to the window.
    struct Commands {
        std::function<void()> newLog;
        std::function<void()> archive;
        std::function<void()> restore;
        std::function<void()> writeSummary;
        std::function<void()> copyList;
        std::function<void()> exit;
        std::function<void()> stationSetup;
        std::function<void()> rstDefault;
        std::function<void()> formSize;
        std::function<void()> taskbar;  // the window sets the entry's check mark itself
        std::function<void(bool on)> postContestMode;
        std::function<void(const QString& text)> showStatus;  // on the status line
    };

    MainMenus(QMainWindow& window, ContestSession& session, MainWindowPorts ports, Commands commands);

    // The check marks for the band, mode and list setting the session holds now.
    void showSessionSettings();

private:
    void build();
    QAction* add(QMenu* menu, const char* name, const QString& caption, std::function<void()> slot);
    // An entry that opens a window; the keys that open it too are shown beside the caption.
    QAction* addWindow(QMenu* menu, const char* name, const QString& caption, WindowLauncher::Window window,
                       bool modal, const char* keys = nullptr);
    // True when this build has the window; otherwise the status line says it is not available.
    bool windowAvailable(WindowLauncher::Window window);
    void showNotAvailable(const QString& entry);
    QAction* bandAction(const QString& band) const;
    void showBand(const QString& band);
    void showMode(const QString& mode);

    QMainWindow& window_;
    ContestSession& session_;
    MainWindowPorts ports_;
    Commands commands_;
    QMenu* bandMenu_ = nullptr;
    QAction* listPreviousAction_ = nullptr;
    QAction* postContestAction_ = nullptr;
    QAction* cwModeAction_ = nullptr;  // the Mode menu's entries
    QAction* phModeAction_ = nullptr;
};

}  // namespace cubwave
