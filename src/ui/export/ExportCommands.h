#pragma once

#include "export/ExportsPort.h"

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace cubwave {

class Beeper;
class Clock;
class Dialogs;
class LogStore;
class SettingsStore;
class SharedPrefsDocument;
struct Preferences;

// What the export commands are given by the program's wiring.
struct ExportServices {
    Dialogs& dialogs;
    Beeper& beeper;
    SettingsStore& settings;
    Clock& clock;
    SharedPrefsDocument& shared;
    QString workDir;       // the start-up working directory
    QString dataFolder;    // the program's user data folder
    QString sharedFolder;  // the shared folder
    // Runs a modal window; tests drive the window instead. Empty: QDialog::exec.
    std::function<int(QDialog&)> runModal = {};
};

// The menu commands of the exports: the ADIF file, the summary file and the rate graph.
class ExportCommands final : public ExportsPort {
public:
    static const QString kPowerTitle;
    static const QString kPowerPrompt;
    static const QString kPowerDefault;

    explicit ExportCommands(ExportServices services);

    // "Export &ADIF File": asks for the power, reads the country table, asks for the file and
    // writes the whole log. caption is the main window's caption; ownCall goes into every record
    // as the station's call and operator.
    void exportAdif(const LogStore& store, const QString& caption, const QString& ownCall) override;
    // "&Write Summary File": the summary window, modal. The own call is left trimmed in prefs
    // once a write was tried.
    void writeSummary(const LogStore& store, Preferences& prefs, const QString& caption, QWidget* parent) override;
    // "&Graph": the rate graph window, modal.
    void showGraph(const LogStore& store, QWidget* parent) override;

private:
    int runModal(QDialog& dialog);
    void fail(const QString& text);

    ExportServices services_;
};

}  // namespace cubwave
