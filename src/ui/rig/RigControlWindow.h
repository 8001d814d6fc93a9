#pragma once

#include "platform/SerialPortMap.h"
#include "rig/RigPollDriver.h"
#include "rig/RigSettings.h"
#include "ui/common/SerialLineOptions.h"

#include <QDialog>

#include <QList>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace cubwave {

class Beeper;
class Dialogs;
class Environment;
class SettingsStore;

// " Rig Interface Setup": the radio model, its serial line, the two queries, the poll rate and
// how the logging mode follows the radio. "Test" polls the radio; what it decodes goes out
// through the signals below, also while the window is hidden. The poll driver, with the port and
// timer behind it, belongs to the caller and outlives the window; the window only drives it.
class RigControlWindow : public QDialog {
    Q_OBJECT

public:
    struct Services {
        RigPollDriver& driver;
        Dialogs& dialogs;
        Beeper& beeper;
        SettingsStore& store;
        const Environment& environment;
    };

    static constexpr const char* kOpenFailureTitle = "Invalid Comm Settings.";
    static constexpr const char* kOpenFailureText =
        "The comm port that you selected for rig interface is either in use, invalid or the settings that you "
        "have selected are invalid.  Please select another combination or choose None for your rig selection.";
    static constexpr const char* kNotPollingText =
        "You must be polling your rig to test this function.  Please select your rig type and click the Test "
        "command button.";
    static constexpr const char* kNotPollingTitle = "You must be polling your rig to test this function.";
    static constexpr const char* kIcomNote =
        "Icom radio users will have to replace the 64 in the string with the ID for your particular radio.  "
        "Please check your Icom user's manual for details.";
    static constexpr const char* kNoResponseStatus = "Rig: No Response";

    // Reads "RigCntrl.txt" and "serialports.txt" from workingDir.
    RigControlWindow(const Services& services, const QString& workingDir, QWidget* parent = nullptr);
    ~RigControlWindow() override;

    const RigSettings& settings() const { return settings_; }
    const QString& rigName() const { return settings_.rigName; }
    QString pegasusFolder() const;
    bool polling() const { return driver_.polling(); }
    float rigFrequencyMHz() const { return driver_.poller().frequencyMHz(); }
    const QString& rigMode() const { return driver_.poller().mode(); }
    int kenwoodVfoDigit() const { return driver_.poller().kenwoodVfoDigit(); }

    void Command1_Click();  // "Test"
    void Command2_Click();  // "End Test"
    void cmdDone_Click();   // "&Done"
    void Command3_Click();  // "Change Frequency"
    void Command4_Click();  // "Copy unprocessed data to clipboard"
    // The program is ending: a polled Yaesu gets its closing bytes once, then the port closes.
    void unload();
    // Once, when whoever shows the status line is listening: "RigCntrl.txt" or "serialports.txt"
    // was there but could not be read, and why.
    void reportFileProblems();

signals:
    // BandFreqConversion: the radio's frequency, only above 0, when "Use Frequency" is ticked.
    void bandFrequencyDecoded(float freqMHz);
    // ModeSelection: the radio's mode unless "Mode by" is "Don't Use".
    void modeDecoded(const QString& mode);
    // A line for the main window's status bar: the radio fell silent, or its port was lost.
    void statusMessage(const QString& text);
    // "&Done": the main window saves its preferences, which keep the rig name.
    void savePreferencesRequested();
    // "Change Frequency" while polling: the raw-command test window.
    void frequencyTestRequested();

private:
    void buildControls();
    void loadRigSettings();
    bool saveRigSettings();
    void showSettings();
    void List1_Click();
    void optionClicked();
    void modeByClicked();
    void convToHexChanged(bool on);
    void reportChoicesChanged();
    void applyTick(const RigTickResult& result);
    void updatePegasusRow();
    // "Hamlib rigctld" swaps the serial controls for "Host:" and "Port:".
    void updateConnectionControls();
    void storeRigctldAddress();
    void readOptions();

    Services services_;
    QString workingDir_;
    SerialPortMap portMap_;
    RigSettings settings_;
    RigPollDriver& driver_;
    bool loading_ = false;
    // Why "RigCntrl.txt" could not be read, until it is replaced.
    std::optional<QString> settingsFileProblem_;
    QStringList fileProblems_;
    bool updatingControls_ = false;

    QListWidget* list1_ = nullptr;
    std::unique_ptr<SerialLineOptions> serialOptions_;
    QRadioButton* optPollFast_ = nullptr;
    QRadioButton* optPollMed_ = nullptr;
    QRadioButton* optPollSlow_ = nullptr;
    QRadioButton* optReallySlow_ = nullptr;
    QLineEdit* txtFreq_ = nullptr;
    QLineEdit* txtMode_ = nullptr;
    QCheckBox* chkConvToHex_ = nullptr;
    QCheckBox* chkConvHex_ = nullptr;
    QCheckBox* chkFrequency_ = nullptr;
    QRadioButton* optRig_ = nullptr;
    QRadioButton* optFreq_ = nullptr;
    QRadioButton* optDont_ = nullptr;
    QLabel* lblFreq_ = nullptr;
    QLabel* lblMode_ = nullptr;
    QLabel* lblUnProcess_ = nullptr;
    QLabel* lblPolling_ = nullptr;
    QLabel* label10_ = nullptr;
    QLabel* lblPegasusFolder_ = nullptr;
    QLineEdit* txtPegasusFolder_ = nullptr;
    QWidget* fraRigctld_ = nullptr;
    QLineEdit* txtRigctldHost_ = nullptr;
    QLineEdit* txtRigctldPort_ = nullptr;
    QList<QWidget*> serialControls_;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* cmdDone_ = nullptr;
};

}  // namespace cubwave
