#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QDialog;

namespace cubwave {

class Beeper;
class Dialogs;
class SettingsStore;

// What the CW windows are given besides the sender.
struct CwWindowServices {
    Dialogs& dialogs;
    SettingsStore& settings;
    Beeper& beeper;
    QString workDir;  // holds "cw.txt"
    // The serial devices found now, for the port field's tooltip. Empty: the system's list.
    std::function<QStringList()> listPorts = {};
    // Runs a modal window; tests drive the window instead. Empty: QDialog::exec.
    std::function<int(QDialog&)> runModal = {};
    // Draws reals in [0, 1) for code practice groups. Empty: the system's generator.
    std::function<double()> uniform = {};
};

}  // namespace cubwave
