#pragma once

#include "cw/WinKeyLink.h"
#include "cw/WinKeyFile.h"
#include "platform/SerialLineSharing.h"
#include "platform/SerialPortMap.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace cubwave {

class CwSender;

// The WinKey keyer as the program uses it: opening it on the stored port (the CW and PTT lines
// give the port up first), the settings sent after each open, and the hand-over of the CW send
// buffer to the keyer as its status allows. Everything runs on the window thread and returns at
// once: the open, the waits for the keyer and the watch for its end are events and timers.
class WinKeyKeyer : public QObject {
    Q_OBJECT

public:
    static inline const QString kClosedText = QStringLiteral("Closed");
    static inline const QString kVersionText = QStringLiteral("Version #");
    static inline const QString kConnectionTitle = QStringLiteral("Unable to establish connection with Winkey.");
    // A status of 5 or more asks the sending to wait.
    static constexpr int kWaitStatus = 5;
    // How often a wait for the keyer looks again, and how often its end is watched for.
    static constexpr int kWaitPollMs = 10;
    static constexpr int kIdlePollMs = 20;
    // Characters handed over in one go before window events run again.
    static constexpr int kBurst = 8;

    // The text of lblOpenStatus for an open's result; nothing leaves the label unchanged.
    static std::optional<QString> resultText(int code);
    static QString connectionText(int port);
    // "Version # " and the number.
    static QString versionText(int version);

    WinKeyKeyer(CwSender& sender, WinKeyLink& link, std::function<SerialPortMap()> portMap,
                SerialLineSharing* sharing = nullptr, QObject* parent = nullptr);
    ~WinKeyKeyer() override;

    const WinKeySettings& settings() const { return settings_; }
    // The window's fields as they change; nothing is sent.
    void setSettings(const WinKeySettings& settings) { settings_ = settings; }
    WinKeyLink& link() { return link_; }

    // WinKeyOpen: the keyer's version while open, 0 when closed.
    int version() const { return version_; }
    bool isOpen() const { return version_ != 0 && link_.isOpen(); }
    // An open is under way (waiting for the line or for the keyer's answers).
    bool opening() const { return waitingForLine_ || link_.opening(); }
    // WinKeyStatus: the last status read from the keyer.
    int lastStatus() const { return lastStatus_; }
    // Text was handed over and the keyer has not yet reported that it has sent it.
    bool keyerBusy() const { return keyerBusy_; }

    // "Open": never twice at once; the result comes with opened().
    void open();
    // "Close": the keyer's buffer is cleared and the host mode ended.
    void close();
    // Sends the settings, each as its field's leave rule does, then pin 5 and the mode.
    void sendSettings();
    // WKTransmit: hands the CW send buffer to the keyer, opening it first when closed.
    void transmit();
    // "Test", "Buffer Test" and the type-ahead box: text for the keyer.
    void appendText(const QString& text);
    // "Stop": the keyer's buffer and the send buffer are emptied.
    void stop();
    // Esc and any end of a repeat: the keyer drops what it has not sent.
    void clearKeyer();
    // Backspace: the keyer drops its last unsent character; false when it has none.
    bool backspaceKeyer();
    // Up and Down in the main window, and the CW window's speed field.
    void setSpeed(int wpm);
    // Program end: the keyer is cleared and closed.
    void unload();

signals:
    // An open ended: the code (for lblOpenStatus) and the version (0: no keyer answered).
    void opened(int code, int version);
    // No keyer answered on the port: the window's message box.
    void connectionFailed(int port);
    void closed();
    // Why the keyer could not be opened, or was closed, for the main window's status line.
    void problem(const QString& text);
    void busyChanged(bool busy);

private:
    void startLinkOpen(const QString& devicePath);
    void finishOpen(const WinKeyLink::Opened& result);
    void pump();
    void discardWaiting();
    void markClosed();
    void setKeyerBusy(bool busy);
    void watchIdle();

    CwSender& sender_;
    WinKeyLink& link_;
    std::function<SerialPortMap()> portMap_;
    SerialLineSharing* sharing_;
    WinKeySettings settings_;
    int version_ = 0;
    int lastStatus_ = 0;
    bool keyerBusy_ = false;
    bool waitingForLine_ = false;
    bool transmitPending_ = false;  // the hand-over waits for the open to end
    bool pumping_ = false;
    QTimer waitTimer_;
    QTimer idleTimer_;
};

}  // namespace cubwave
