#pragma once

#include "core/FileWrite.h"
#include "core/ContestSession.h"
#include "core/LogStore.h"
#include "core/OperatingClock.h"
#include "core/Preferences.h"
#include "spots/SpotStore.h"
#include "station/PrefixTable.h"
#include "ui/main/MainWindowPorts.h"

#include <QMainWindow>

#include <deque>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTimer;

namespace cubwave {

class Beeper;
class Clock;
class ClickableLabel;
class Desktop;
class Dialogs;
class EntryLine;
class KeyPipeline;
class LogCommands;
class MainMenus;
class MainScreen;
class RecentContactsModel;
class WindowKeys;

// What the main window is given at start-up.
struct MainWindowServices {
    Clock& clock;
    Dialogs& dialogs;
    Beeper& beeper;
    QString workDir;     // every data file without a path lives here
    QString dataFolder;  // per-user program data folder (holds "BACKUP")
    QString sharedFolder;
    // Ends the process at once (after "File Error", or "&Exit").
    std::function<void(int exitCode)> endProgram;
    // Runs a modal window; tests drive the window instead. Empty: QDialog::exec.
    std::function<int(QDialog&)> runModal = {};
    // Appends a committed contact to the log file and syncs it. Empty: LogFile::append. Tests
    // slow it down to see what the operator's keys do while a slow disk syncs.
    std::function<WriteResult(const QString& logPath, const QsoRecord& record)> appendToLog = {};
    // The monitor the window fits itself to. None: the window keeps the size it is given.
    const Desktop* desktop = nullptr;
};

// The main window: a view over the contest session. It runs the load sequence, the commit and
// the close sequence, and shows what the session holds; its parts do the rest (MainScreen the
// controls, EntryLine the fields' rules, WindowKeys the window keys, LogCommands the commands on
// the log, MainMenus the menu bar).
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(MainWindowServices services, MainWindowPorts ports, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's load sequence; false when it stopped with "Error opening file" or because
    // the program was asked to end.
    bool loadWindow();

    // A request to end the program (SIGTERM, SIGHUP). During the load sequence the open dialog
    // is closed and the sequence stops once it returns; afterwards the window closes as usual,
    // and while CW is on the air the sending stops and the window closes after its character.
    void requestEnd();
    bool endRequested() const { return endRequested_; }
    // Closes the modal dialog the operator is looking at, as its close box would.
    static void closeActiveDialog();

    // True once log.txt has been read into the store; until then nothing writes it.
    bool logLoaded() const { return session_.logLoaded(); }
    // True while a commit runs; the operator's keys wait until it is over.
    bool committing() const { return committing_; }

    // The commit: the entry line's checks, then the contact into the session.
    void commitContact();
    void cmdClear_Click();

    // Log store.
    bool mnuOpen2();
    bool SavePref();
    void RecentListRefresh();
    void ListRefresh();
    void Labeldisplay();
    void showRates();

    // Band and mode; the rig reports through the last two.
    void bandCommand(const QString& band);
    void modeCommand(const QString& mode);
    void BandFreqConversion(float frequencyMHz);
    void ModeSelection(const QString& mode);

    // Layout: the window at the form-size percentage or the whole screen (work area with the
    // taskbar option), the DX list down to Line3, and the spot display's room.
    void ApplyFormSize();
    void FitToScreen();
    void FitDXList();
    // From the DX spotting window's "&Done": a connection type other than "None" makes room for
    // the spot display while none shows; "None" gives it back.
    void packetResize(const QString& connectionType, const QString& display);
    void mnuFormSize_Click();
    void mnuTaskbar_Click();
    bool taskbarOption() const;

    // The spot feed's hand-over. It keeps the last kSpotHookRecords spots until the band map
    // takes them over; packetResize keeps the last connection type and display choice.
    struct HandedSpot {
        QString call;
        QString frequency;
        QString record;
    };
    static constexpr int kSpotHookRecords = 50;
    void bandMapSpots(const QString& call, const QString& frequency, const QString& record);
    // The band map's repaint, due about every two minutes of a quiet open connection.
    void displayBandMapLabels();
    const std::deque<HandedSpot>& handedSpots() const { return handedSpots_; }
    const QString& spotConnectionType() const { return spotConnectionType_; }
    const QString& spotDisplay() const { return spotDisplay_; }
    int bandMapRepaints() const { return bandMapRepaints_; }
    // The 50 most recent spots the band maps draw from; as long-lived as the window.
    SpotStore& spotStore() { return spotStore_; }
    // A spotted call into txtCall, focused, then a Tab when asked; false, with the reason on the
    // status line, when the field's rule would not take the call as it is.
    bool takeSpottedCall(const QString& call, bool thenTab);

    void cmdDup_Click();
    void cmdLogOn_Click();
    void cmdList_Click();
    void mnuSetup_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    // The record of the selected row of the recent-contacts list; 0 when none is selected.
    int selectedRecord() const;

    // Window-level key handlers; the key pipeline calls them before the focused field.
    void Form_KeyDown(int& keyCode, int shift);
    void Form_KeyPress(int& keyAscii);
    // The focused field's keystroke rules; false when the widget is no entry field.
    bool fieldKeyPress(QWidget* field, int& keyAscii);

    ContestSession& session() { return session_; }
    LogStore& store() { return session_.store(); }
    Preferences& prefs() { return session_.prefs(); }
    QString& frequencyText() { return session_.frequencyText(); }
    const QString& currentBand() const { return session_.prefs().band; }
    const QString& currentMode() const { return session_.prefs().mode; }
    bool postContestMode() const;
    bool listPrevious() const;
    QString logPath() const;
    const PrefixTable& prefixTable() const { return prefixTable_; }
    QString prefPath() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void connectScreen();
    void refitAfterFraming();
    void buildMenus();

    // The load sequence's steps. stopLoading leaves log.txt unloaded, says why and what to do,
    // shows "Error opening file" and returns false.
    bool stopLoading(const QString& why, const QString& fix);
    // False when the start-up must stop; problem then says which file and why.
    bool loadPrefixTable(QString& problem);
    void utcOffsetCheck();
    bool openExistingLogQuestion();
    void checkSavedBandAndMode();
    void showOwnExchange();

    // The commit.
    void commitEntryLine();
    bool storeContact();

    // What the window shows of the session, on its signals and timers.
    void showReloadedLog();
    void showAddedContact(int recNo, bool newDx, int workedIndex);
    void preferencesNotSaved(const QString& path, const QString& error);
    void fileError();
    void spcWorkedUpdate(int index);
    void recolourMultipliers();
    QString dxHeading() const;
    void label10Hover(int index);
    void showClocks();
    void timer2Tick();

    // Commands of the window's own.
    void label24Click();
    void mnuExit_Click();
    void mnuRSTDefault_Click();
    void mnuWriteSumm_Click();
    void stopOperatingClock();
    // Shutdown: every subsystem closes its windows and lines, in a fixed order.
    void unloadSubsystems();

    int runModal(QDialog& dialog);
    void doEvents();
    void beep();
    void setStatus(const QString& text);

    MainWindowServices services_;
    MainWindowPorts ports_;
    std::unique_ptr<KeyPipeline> keyPipeline_;

    ContestSession session_;
    PrefixTable prefixTable_;

    OperatingClock opClock_;
    bool committing_ = false;
    bool loading_ = false;
    bool endRequested_ = false;
    bool closeAfterSending_ = false;  // a termination request came while CW was on the air
    // What lights the transmit indicator: a CW sending on a keying line, PTT up.
    bool cwOnAir_ = false;
    bool pttUp_ = false;
    bool framed_ = false;  // fitted again once, when first shown with its frame

    // The window's parts: its controls, the entry line's rules, the window keys, the commands on
    // the log, the menu bar.
    MainScreen* screen_ = nullptr;
    std::unique_ptr<EntryLine> entryLine_;
    std::unique_ptr<WindowKeys> windowKeys_;
    std::unique_ptr<LogCommands> logCommands_;
    MainMenus* menus_ = nullptr;
    QTimer* rateTimer_ = nullptr;
    QTimer* clockTimer_ = nullptr;

    std::deque<HandedSpot> handedSpots_;
    QString spotConnectionType_;
    QString spotDisplay_;
    int bandMapRepaints_ = 0;
    SpotStore spotStore_;
};

}  // namespace cubwave
