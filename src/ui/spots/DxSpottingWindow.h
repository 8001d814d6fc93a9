#pragma once

#include "platform/SerialPortMap.h"
#include "spots/AgwFramePoll.h"
#include "spots/PackSpotFile.h"
#include "spots/ReceivedText.h"
#include "spots/SpotColumns.h"
#include "spots/TelnetLineAssembler.h"
#include "spots/TelnetNegotiation.h"
#include "spots/TncLineSplitter.h"
#include "ui/common/SerialLineOptions.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>

#include <array>
#include <memory>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace cubwave {

class AgwPacketEngine;
class Beeper;
class Dialogs;
class SerialLine;
struct TcpError;
class TcpClient;

// " DX Spotting Setup": one connection to a source of cluster traffic (a TNC on a serial line,
// the packet engine, a Telnet cluster), the traffic it receives and a box to type back. Spots
// it recognises go out through spotHandedOver. The lines behind it belong to the caller and
// outlive the window; the window drives them and polls them with its timer while open.
class DxSpottingWindow : public QDialog {
    Q_OBJECT

public:
    struct Services {
        SerialLine& tncLine;
        TcpClient& telnet;
        AgwPacketEngine& agw;
        Dialogs& dialogs;
        Beeper& beeper;
        QString workDir;  // holds "PackSpot.txt" and "serialports.txt"
        // What the window reads of the main window at the moment of use.
        std::function<QString()> ownCall;
        std::function<QString()> lastLoggedCall;
        std::function<QString()> programTitle;
        // "&Done" has the main window save its preferences.
        std::function<void()> savePreferences;
    };

    static constexpr int kTimerIntervalMs = 333;
    // Ticks without a spot before the band map is repainted: about two minutes.
    static constexpr float kRepaintTicks = 360;
    // Received traffic repaints the box at most this often: a flooding peer costs the window a
    // few repaints a second, whatever size its chunks come in.
    static constexpr int kTrafficRefreshMs = 50;
    // A typed AGW line is sent on its own once it grows past this and a space is typed.
    static constexpr int kAgwLineLimit = 70;

    static constexpr const char* kCaption = " DX Spotting Setup";
    static constexpr const char* kAgwCaption = "DX Spotting Setup";
    static constexpr const char* kSerialFailureTitle = "Invalid Comm Settings.";
    static constexpr const char* kSerialFailureText =
        "The comm port that you selected for DX Spotting is either in use, invalid or the settings that you have "
        "selected are invalid.  Please select another combination or choose None for your DX Spot selection.";
    static constexpr const char* kAgwFailureTitle = "Unable to connect to the AGW Packet Engine.";
    static constexpr const char* kAgwFailureOpening =
        "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with "
        "your soundcard or devices such a Baypac:";
    static constexpr const char* kAgwPublisher = "https://www.sv2agw.com/";
    static constexpr const char* kCallRequiredTitle = "Call Sign Required!";
    static constexpr const char* kCallRequiredText = "Please enter your call sign on the setup form to transmit!";
    static constexpr const char* kConnectCallTitle = "Call sign Required";
    static constexpr const char* kConnectCallText = "You must enter a call sign to connect to such as :C Brantel";
    static constexpr const char* kNotConnectedText =
        "**  Connection not yet established.  Please wait a moment and try again.";

    // Reads "serialports.txt".
    DxSpottingWindow(const Services& services, QWidget* parent = nullptr);
    // Reads "PackSpot.txt" into the controls; a stored type other than "None" opens at once.
    void load();
    ~DxSpottingWindow() override;

    // The connection type as the list spells it.
    QString connectionType() const;
    // "Band Map" or "List".
    QString displayChoice() const;
    bool listening() const { return listening_; }
    QString connectedStation() const { return agwPoll_.connectedStation(); }
    const ReceivedText& receivedText() const { return received_; }
    float tickCounter() const { return tickCounter_; }
    const PackSpotSettings& settings() const { return settings_; }

    void Command1_Click();  // "Open Port"
    void Command2_Click();  // "Close Port"
    void Command3_Click();  // "&Spot Last"
    void cmdDone_Click();   // "&Done"
    // One tick of Timer1; the timer calls it, tests call it directly.
    void Timer1_Timer();
    // The program is ending: a connected station is disconnected and the engine let go.
    void unload();
    // Once, when whoever shows the status line is listening: "PackSpot.txt" was there but
    // could not be used, and why.
    void reportFileProblems();
    // Shows at once the received text that waits for the next refresh.
    void showPendingText();

signals:
    // SpotHandOver: a recognised spot for the band map and spot list.
    void spotHandedOver(const QString& call, const QString& frequencyKHz, const QString& record);
    // "&Done": the main window lays itself out for the chosen display.
    void displayChosen(const QString& connectionType, const QString& display);
    // About every two minutes of an open connection without a spot.
    void repaintDue();
    // A line for the main window's status bar.
    void statusMessage(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    QWidget* buildSerialControls();
    void readControls();
    void showSettings();
    void List1_Click();
    void enableTypeControls();
    void setHelpText();

    // Keys: the window's own (Escape, Ctrl+C), then Enter and Escape in the send box.
    bool windowKey(int key, Qt::KeyboardModifiers modifiers);
    bool sendBoxKey(int key);
    void sendBoxChanged(const QString& text);
    void windowActivated();

    bool isType(const char* type) const;
    void setListening(bool on);
    void focusSendBox();
    void showReceived();
    // The same for received traffic, at most once every kTrafficRefreshMs.
    void showTraffic();
    void appendAndTidy(const QString& text);
    void handOver(const std::vector<SpotLine>& spots);
    void SpotHandOver(const SpotLine& spot);
    void beep();

    // TNC.
    void tncOpen();
    void tncFailed(const QString& reason);
    void closeTncLine();
    void tncSend(const QByteArray& bytes);
    void tncTick();

    // Telnet.
    void telnetConnect();
    void telnetSend(const QString& text);
    void telnetData();
    void telnetError(const TcpError& error);

    // Packet engine.
    void agwOpen();
    void agwFailed(const QString& problem);
    void agwSend(const QString& text);
    void agwTick();
    void agwLost(const QString& why);
    void agwClose(int waitMs = 0);
    void agwOutcome(const AgwFrameOutcome& outcome);

    Services services_;
    SerialPortMap portMap_;
    PackSpotSettings settings_;
    ReceivedText received_;
    TncLineSplitter tncSplitter_;
    TelnetLineAssembler telnetLines_;
    TelnetNegotiation telnetOptions_;
    AgwFramePoll agwPoll_;
    int agwDropsReported_ = 0;
    bool listening_ = false;
    bool loading_ = false;
    float tickCounter_ = 0;
    QStringList fileProblems_;

    QListWidget* list1_ = nullptr;
    std::unique_ptr<SerialLineOptions> serialOptions_;
    std::array<QRadioButton*, 4> optHandshaking_{};
    QLineEdit* txtHex_ = nullptr;
    QLabel* lblHex_ = nullptr;
    QLineEdit* txtTelnetHost_ = nullptr;
    QLineEdit* txtTelnetPort_ = nullptr;
    QLabel* lblTelnetHost_ = nullptr;
    QLabel* lblTelnetPort_ = nullptr;
    QRadioButton* optBand_ = nullptr;
    QRadioButton* optList_ = nullptr;
    QCheckBox* chkDX_ = nullptr;
    QCheckBox* chkConvToHex_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label6_ = nullptr;
    QPlainTextEdit* txtUnProcessed_ = nullptr;
    QLineEdit* txtSent_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* cmdDone_ = nullptr;
    QList<QWidget*> serialControls_;
    QList<QWidget*> telnetControls_;
    QList<QWidget*> commonControls_;
    QTimer* timer1_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    QElapsedTimer lastTrafficRefresh_;
};

}  // namespace cubwave
