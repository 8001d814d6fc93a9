#include "ui/spots/DxSpottingWindow.h"

#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "platform/SerialLine.h"
#include "platform/TcpClient.h"
#include "spots/AgwPacketEngine.h"
#include "spots/TelnetErrorText.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace cubwave {

namespace {

constexpr std::array<const char*, 6> kBaudCaptions{"1.2k", "2.4k", "4.8k", "9.6k", "14.4k", "19.2k"};
constexpr std::array<const char*, 4> kHandshakingCaptions{"None", "Xon Xoff", "RTS", "RTS OnOff"};

constexpr const char* kTncSendLabel = "Send text  (Ctrl C or Esc for TNC Command mode):";
constexpr const char* kAgwSendLabel = "Send text (use : to send cmds such as :C Brantel or :D)";
constexpr const char* kTelnetSendLabel = "Type text to send and press enter:";

const QString kCrLf = QStringLiteral("\r\n");

// The operator's guide the window shows in its received-text box whenever a type is chosen.
const char* const kHelpText =
    "DX spots from a cluster, shown here and on the main window.\r\n"
    "\r\n"
    "TNC: connect a packet TNC to a serial port. Choose the port, the speed the computer talks to "
    "the TNC at, its framing and handshaking, and the TNC's command-mode character in hex (03 is "
    "Ctrl+C). Press Esc or Ctrl+C to put the TNC in command mode, then type its commands below, "
    "for example to connect to your local cluster node.\r\n"
    "\r\n"
    "Telnet: type the cluster's host name or address and its port, then Open Port. Log in with "
    "your call when the cluster asks; type cluster commands below and press Enter.\r\n"
    "\r\n"
    "AGW Packet Engine: run the packet engine first. Open Port monitors the channel for spots; "
    ":C and a call connects to a cluster node, :D disconnects, other text goes to the connected "
    "station.\r\n"
    "\r\n"
    "List DX Only shows spot lines and hides the rest. Band Map or List chooses how the main "
    "window shows the spots. Done keeps these settings and hides this window; the connection "
    "stays open.\r\n";

// The box lays out every line it shows in full, and a line of thousands of characters (a peer
// that never ends its line) takes it tens of milliseconds: such a line is shown broken into
// pieces of this many characters. The text itself is not changed.
constexpr qsizetype kDisplayLineChars = 256;

QString brokenForDisplay(const QString& text)
{
    QString shown;
    qsizetype copied = 0;  // text before this is in shown already
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r') {
            run = 0;
        } else if (++run > kDisplayLineChars) {
            shown += QStringView(text).mid(copied, i - copied);
            shown += u'\n';
            copied = i;
            run = 1;
        }
    }
    if (copied == 0)
        return text;
    shown += QStringView(text).mid(copied);
    return shown;
}

QRadioButton* radio(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QString trimmedRight(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

}  // namespace

DxSpottingWindow::DxSpottingWindow(const Services& services, QWidget* parent)
    : QDialog(parent), services_(services)
{
    const SerialPortMap::Loaded ports = SerialPortMap::read(services_.workDir);
    portMap_ = ports.map;
    if (ports.problem)
        fileProblems_.append(QStringLiteral("%1 could not be read (%2): port N is /dev/ttyS(N-1).")
                                 .arg(SerialPortMap::kFileName, *ports.problem));
    setObjectName(QStringLiteral("PacketSpotfrm"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(false);
    buildControls();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kTimerIntervalMs);
    // Coarse is fine for a poll and a two-minute repaint, and spares wake-ups.
    timer1_->setTimerType(Qt::CoarseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { showPendingText(); });

    TcpClient::Handlers handlers;
    handlers.dataArrived = [this] { telnetData(); };
    handlers.error = [this](const TcpError& error) { telnetError(error); };
    services_.telnet.setHandlers(std::move(handlers));
    AgwPacketEngine::Handlers engineHandlers;
    engineHandlers.started = [this](bool ok, const QString& problem) {
        if (!ok) {
            agwFailed(problem);
            return;
        }
        timer1_->start();
        appendAndTidy(kCrLf + QStringLiteral("** Successfully connected to AGW Packet Engine **") + kCrLf + kCrLf);
        showReceived();
    };
    engineHandlers.lost = [this](const QString& problem) { agwLost(problem); };
    services_.agw.setHandlers(std::move(engineHandlers));
}

DxSpottingWindow::~DxSpottingWindow()
{
    // The client outlives the window: no event may reach it once it is gone.
    services_.telnet.setHandlers({});
    services_.agw.setHandlers({});
    timer1_->stop();
}

void DxSpottingWindow::buildControls()
{
    auto* top = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Select Option:"), this));
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    for (const char* type : PackSpotSettings::kConnectionTypes)
        list1_->addItem(QString::fromLatin1(type));
    list1_->setMaximumHeight(90);
    left->addWidget(list1_);
    left->addWidget(buildSerialControls());
    top->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* telnetRow = new QGridLayout;
    lblTelnetHost_ = new QLabel(QStringLiteral("Telnet Host:"), this);
    txtTelnetHost_ = new QLineEdit(this);
    txtTelnetHost_->setObjectName(QStringLiteral("txtTelnetHost"));
    lblTelnetPort_ = new QLabel(QStringLiteral("Telnet Port:"), this);
    txtTelnetPort_ = new QLineEdit(this);
    txtTelnetPort_->setObjectName(QStringLiteral("txtTelnetPort"));
    txtTelnetPort_->setMaxLength(5);
    telnetRow->addWidget(lblTelnetHost_, 0, 0);
    telnetRow->addWidget(txtTelnetHost_, 0, 1);
    telnetRow->addWidget(lblTelnetPort_, 1, 0);
    telnetRow->addWidget(txtTelnetPort_, 1, 1);
    right->addLayout(telnetRow);
    telnetControls_ = {lblTelnetHost_, txtTelnetHost_, lblTelnetPort_, txtTelnetPort_};

    auto* displayRow = new QHBoxLayout;
    auto* displayBox = new QGroupBox(QStringLiteral("Main Form Display"), this);
    auto* displayLayout = new QHBoxLayout(displayBox);
    displayLayout->addWidget(optBand_ = radio(displayBox, QStringLiteral("OptBand"), QStringLiteral("Band Map")));
    displayLayout->addWidget(optList_ = radio(displayBox, QStringLiteral("OptList"), QStringLiteral("List")));
    optBand_->setChecked(true);
    displayRow->addWidget(displayBox);
    auto* checks = new QVBoxLayout;
    chkDX_ = new QCheckBox(QStringLiteral("List DX Only (also controls main form)"), this);
    chkDX_->setObjectName(QStringLiteral("chkDX"));
    chkConvToHex_ = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    chkConvToHex_->setObjectName(QStringLiteral("chkConvToHex"));
    checks->addWidget(chkDX_);
    checks->addWidget(chkConvToHex_);
    displayRow->addLayout(checks);
    right->addLayout(displayRow);

    label4_ = new QLabel(QStringLiteral("Listening"), this);
    label4_->setObjectName(QStringLiteral("Label4"));
    QSizePolicy keepRoom = label4_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    label4_->setSizePolicy(keepRoom);
    label4_->hide();
    right->addWidget(label4_);

    txtUnProcessed_ = new QPlainTextEdit(this);
    txtUnProcessed_->setObjectName(QStringLiteral("txtUnProcessed"));
    txtUnProcessed_->setReadOnly(true);
    // Cluster lines are laid out in columns; wrapping would break them.
    txtUnProcessed_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtUnProcessed_->setFont(QFont(QStringLiteral("Monospace")));
    txtUnProcessed_->setMinimumSize(520, 260);
    right->addWidget(txtUnProcessed_, 1);

    label6_ = new QLabel(this);
    label6_->setObjectName(QStringLiteral("Label6"));
    right->addWidget(label6_);
    txtSent_ = new QLineEdit(this);
    txtSent_->setObjectName(QStringLiteral("txtSent"));
    right->addWidget(txtSent_);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    command1_ = button("Command1", QStringLiteral("Open Port"));
    command2_ = button("Command2", QStringLiteral("Close Port"));
    command3_ = button("Command3", QStringLiteral("&Spot Last"));
    cmdDone_ = button("cmdDone", QStringLiteral("&Done"));
    for (QPushButton* b : {command1_, command2_, command3_, cmdDone_})
        buttons->addWidget(b);
    right->addLayout(buttons);
    top->addLayout(right, 1);

    commonControls_ = {txtSent_, label6_, command1_, command2_, optBand_, optList_, displayBox, chkDX_};

    connect(list1_, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(cmdDone_, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(txtSent_, &QLineEdit::textEdited, this, [this](const QString& text) { sendBoxChanged(text); });

    // The window sees keys before the focused control, as its own rules come first.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

QWidget* DxSpottingWindow::buildSerialControls()
{
    auto* serial = new QWidget(this);
    auto* layout = new QVBoxLayout(serial);
    layout->setContentsMargins(0, 0, 0, 0);

    QList<QString> baudCaptions;
    for (const char* caption : kBaudCaptions)
        baudCaptions << QString::fromLatin1(caption);
    serialOptions_ = std::make_unique<SerialLineOptions>(
        serial, portMap_, PackSpotSettings::kMaxPort,
        QStringLiteral("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)"), baudCaptions, 3);
    layout->addWidget(serialOptions_->commBox);
    layout->addWidget(serialOptions_->baudBox);

    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(serialOptions_->parityBox);
    lineRow->addWidget(serialOptions_->dataBox);
    lineRow->addWidget(serialOptions_->stopBox);
    layout->addLayout(lineRow);

    auto* powerRow = new QHBoxLayout;
    auto* powerBox = serialOptions_->powerBox;
    auto* handshakingBox = new QGroupBox(QStringLiteral("Handshaking"), serial);
    auto* handshakingLayout = new QVBoxLayout(handshakingBox);
    for (size_t i = 0; i < optHandshaking_.size(); ++i) {
        optHandshaking_[i] = radio(handshakingBox, QStringLiteral("Option%1").arg(i + 1),
                                   QString::fromLatin1(kHandshakingCaptions[i]));
        handshakingLayout->addWidget(optHandshaking_[i]);
    }
    powerRow->addWidget(powerBox);
    powerRow->addWidget(handshakingBox);
    layout->addLayout(powerRow);

    auto* hexRow = new QHBoxLayout;
    lblHex_ = new QLabel(QStringLiteral("TNC cmd mode hex character:"), serial);
    txtHex_ = new QLineEdit(serial);
    txtHex_->setObjectName(QStringLiteral("txtHex"));
    txtHex_->setMaxLength(2);
    txtHex_->setMaximumWidth(40);
    hexRow->addWidget(lblHex_);
    hexRow->addWidget(txtHex_);
    hexRow->addStretch();
    layout->addLayout(hexRow);

    serialControls_ = {serialOptions_->commBox, serialOptions_->baudBox, serialOptions_->parityBox,
                       serialOptions_->dataBox, serialOptions_->stopBox, powerBox, handshakingBox, lblHex_, txtHex_};
    return serial;
}

// ---- Settings ----

void DxSpottingWindow::load()
{
    loading_ = true;
    const QString path = QDir(services_.workDir).filePath(QString::fromLatin1(PackSpotFile::kFileName));
    const PackSpotFile::Loaded loaded = PackSpotFile::load(path);
    settings_ = loaded.settings;
    if (loaded.problem)
        fileProblems_.append(*loaded.problem);
    showSettings();
    // Choosing the stored type clears "List DX Only", as every choice of type does.
    const int row = int(std::find_if(PackSpotSettings::kConnectionTypes.begin(),
                                     PackSpotSettings::kConnectionTypes.end(),
                                     [this](const char* type) {
                                         return settings_.connectionType.compare(QLatin1String(type),
                                                                                 Qt::CaseInsensitive) == 0;
                                     }) -
                        PackSpotSettings::kConnectionTypes.begin());
    list1_->setCurrentRow(row < int(PackSpotSettings::kConnectionTypes.size()) ? row : 0);
    List1_Click();
    loading_ = false;
    if (!isType("None"))
        Command1_Click();
}

void DxSpottingWindow::reportFileProblems()
{
    if (!fileProblems_.isEmpty())
        emit statusMessage(fileProblems_.join(u' '));
    fileProblems_.clear();
}

void DxSpottingWindow::showSettings()
{
    const QString baud = trimmedRight(settings_.baudText);
    const auto baudAt = std::find_if(PackSpotSettings::kBaudTexts.begin(), PackSpotSettings::kBaudTexts.end(),
                                     [&baud](const char* text) { return baud == QLatin1String(text); });
    // The file's letters count in either case.
    serialOptions_->show({settings_.port, int(baudAt - PackSpotSettings::kBaudTexts.begin()),
                          settings_.parity.toUpper(), settings_.dataBits, settings_.stopBits,
                          settings_.powerLine.toUpper()});
    for (size_t i = 0; i < optHandshaking_.size(); ++i)
        optHandshaking_[i]->setChecked(settings_.handshaking == int(i) + 1);
    txtHex_->setText(settings_.commandHex);
    txtTelnetHost_->setText(settings_.telnetHost);
    txtTelnetPort_->setText(settings_.telnetPort);
    chkConvToHex_->setChecked(settings_.convertToHex);
    chkDX_->setChecked(settings_.listDxOnly);
    optList_->setChecked(settings_.listDisplay);
    optBand_->setChecked(!settings_.listDisplay);
}

// The settings as the controls show them: read at the moment of use, as the live settings.
void DxSpottingWindow::readControls()
{
    SerialLineChoice line{settings_.port, -1, settings_.parity, settings_.dataBits, settings_.stopBits,
                          settings_.powerLine};
    serialOptions_->readInto(line);
    settings_.port = line.port;
    if (line.baudIndex >= 0)
        settings_.baudText = QString::fromLatin1(PackSpotSettings::kBaudTexts[size_t(line.baudIndex)]);
    settings_.parity = line.parity;
    settings_.dataBits = line.dataBits;
    settings_.stopBits = line.stopBits;
    settings_.powerLine = line.powerLine;
    for (size_t i = 0; i < optHandshaking_.size(); ++i) {
        if (optHandshaking_[i]->isChecked())
            settings_.handshaking = int(i) + 1;
    }
    settings_.connectionType = connectionType();
    settings_.commandHex = txtHex_->text();
    settings_.telnetHost = txtTelnetHost_->text();
    settings_.telnetPort = txtTelnetPort_->text();
    settings_.convertToHex = chkConvToHex_->isChecked();
    settings_.listDxOnly = chkDX_->isChecked();
    settings_.listDisplay = optList_->isChecked();
}

QString DxSpottingWindow::connectionType() const
{
    const QListWidgetItem* item = list1_->currentItem();
    return item ? item->text() : QStringLiteral("None");
}

QString DxSpottingWindow::displayChoice() const
{
    return optList_->isChecked() ? QStringLiteral("List") : QStringLiteral("Band Map");
}

bool DxSpottingWindow::isType(const char* type) const
{
    return connectionType().compare(QLatin1String(type), Qt::CaseInsensitive) == 0;
}

void DxSpottingWindow::List1_Click()
{
    chkDX_->setChecked(false);
    if (!loading_) {
        Command2_Click();
        for (QList<QWidget*> group : {serialControls_, telnetControls_, commonControls_}) {
            for (QWidget* w : group)
                w->setEnabled(false);
        }
        if (isType("TNC")) {
            // A TNC's usual line: 9600 8N1, powered as it was.
            SerialLineChoice line;
            serialOptions_->readInto(line);
            serialOptions_->show({line.port, 3, u'N', u'8', u'1', line.powerLine});
            optHandshaking_[2]->setChecked(true);
            txtHex_->setText(QStringLiteral("03"));
        }
    }
    setHelpText();
    enableTypeControls();
}

void DxSpottingWindow::setHelpText()
{
    received_.replace(QString::fromLatin1(kHelpText));
    showReceived();
}

void DxSpottingWindow::enableTypeControls()
{
    const bool tnc = isType("TNC");
    const bool telnet = isType("Telnet");
    for (QWidget* w : serialControls_)
        w->setEnabled(tnc);
    for (QWidget* w : telnetControls_)
        w->setEnabled(telnet);
    for (QWidget* w : commonControls_)
        w->setEnabled(true);
    if (tnc)
        label6_->setText(QString::fromLatin1(kTncSendLabel));
    else if (isType("AGW Packet Engine"))
        label6_->setText(QString::fromLatin1(kAgwSendLabel));
    else if (telnet)
        label6_->setText(QString::fromLatin1(kTelnetSendLabel));
}

// ---- Buttons ----

void DxSpottingWindow::Command1_Click()
{
    received_.replace(QStringLiteral("** Attempting to Open Port **") + kCrLf + kCrLf);
    showReceived();
    closeTncLine();
    if (!isType("None")) {
        setListening(true);
        if (isVisible())
            focusSendBox();
    }
    if (isType("TNC"))
        tncOpen();
    else if (isType("AGW Packet Engine"))
        agwOpen();
    else if (isType("Telnet"))
        telnetConnect();
}

void DxSpottingWindow::Command2_Click()
{
    if (!listening_)
        return;
    setListening(false);
    appendAndTidy(kCrLf + kCrLf + QStringLiteral("** Port Closed **"));
    closeTncLine();
    services_.telnet.close();
    // A line the cluster left half-sent is not shown as if it had ended.
    telnetLines_.reset();
    tncSplitter_.reset();
    if (isType("AGW Packet Engine"))
        agwClose();
    timer1_->stop();
    showReceived();
}

void DxSpottingWindow::Command3_Click()
{
    txtSent_->setText(QStringLiteral("DX Frequency in kHz ") + services_.lastLoggedCall());
    focusSendBox();
    // Typing the frequency replaces the words that stand for it.
    txtSent_->setSelection(3, 16);
}

void DxSpottingWindow::cmdDone_Click()
{
    if (!isType("None") && !listening_)
        Command1_Click();
    if (services_.savePreferences)
        services_.savePreferences();
    readControls();
    const QString path = QDir(services_.workDir).filePath(QString::fromLatin1(PackSpotFile::kFileName));
    const WriteResult written = PackSpotFile::write(path, settings_);
    if (!written.ok)
        emit statusMessage(QStringLiteral("%1 was not saved: %2").arg(QString::fromLatin1(PackSpotFile::kFileName),
                                                                       written.error));
    emit displayChosen(connectionType(), displayChoice());
    hide();
}

// ---- Display ----

void DxSpottingWindow::setListening(bool on)
{
    listening_ = on;
    label4_->setVisible(on);
}

void DxSpottingWindow::focusSendBox()
{
    txtSent_->setFocus(Qt::OtherFocusReason);
}

void DxSpottingWindow::appendAndTidy(const QString& text) { received_.appendAndTidy(text); }

// One update of the box for whatever arrived: a widget fed line by line stalls on a busy cluster.
void DxSpottingWindow::showTraffic()
{
    if (refreshTimer_->isActive())
        return;
    if (lastTrafficRefresh_.isValid() && lastTrafficRefresh_.elapsed() < kTrafficRefreshMs) {
        refreshTimer_->start(int(kTrafficRefreshMs - lastTrafficRefresh_.elapsed()));
        return;
    }
    lastTrafficRefresh_.start();
    showReceived();
}

void DxSpottingWindow::showPendingText()
{
    lastTrafficRefresh_.start();
    showReceived();
}

void DxSpottingWindow::showReceived()
{
    refreshTimer_->stop();
    if (!received_.takeChanged())
        return;
    txtUnProcessed_->setPlainText(brokenForDisplay(received_.text()));
    // The newest text in view. The widget counts a CR LF as one break, so the model's caret
    // position is not the widget's: the caret goes to the end instead.
    QTextCursor cursor = txtUnProcessed_->textCursor();
    cursor.movePosition(QTextCursor::End);
    txtUnProcessed_->setTextCursor(cursor);
    txtUnProcessed_->verticalScrollBar()->setValue(txtUnProcessed_->verticalScrollBar()->maximum());
}

void DxSpottingWindow::handOver(const std::vector<SpotLine>& spots)
{
    for (const SpotLine& spot : spots)
        SpotHandOver(spot);
}

void DxSpottingWindow::SpotHandOver(const SpotLine& spot)
{
    tickCounter_ = 0;
    emit spotHandedOver(spot.call, spot.frequencyText, spot.record);
}

void DxSpottingWindow::beep() { services_.beeper.beep(); }

void DxSpottingWindow::Timer1_Timer()
{
    if (isType("TNC"))
        tncTick();
    else if (isType("AGW Packet Engine"))
        agwTick();
    tickCounter_ += 1;
    if (tickCounter_ > kRepaintTicks) {
        tickCounter_ = 0;
        emit repaintDue();
    }
}

void DxSpottingWindow::unload()
{
    // At program exit only, the engine may have a moment for the disconnect to leave.
    if (isType("AGW Packet Engine") || !connectedStation().isEmpty())
        agwClose(1000);
    timer1_->stop();
    closeTncLine();
    services_.telnet.close();
}

// ---- Keys ----

bool DxSpottingWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (windowKey(key->key(), key->modifiers()))
        return true;
    if (watched == txtSent_)
        return sendBoxKey(key->key());
    // The window's Escape rule is all Escape does: a dialog would otherwise hide on it.
    return key->key() == Qt::Key_Escape;
}

bool DxSpottingWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        windowActivated();
    return QDialog::event(event);
}

void DxSpottingWindow::windowActivated()
{
    if (isType("None"))
        return;
    received_.tidy();
    showReceived();
    focusSendBox();
}

bool DxSpottingWindow::windowKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    const bool escape = key == Qt::Key_Escape;
    const bool ctrlC = key == Qt::Key_C && mods == Qt::ControlModifier;
    if (!escape && !ctrlC)
        return false;
    chkDX_->setChecked(false);
    if (!listening_)
        Command1_Click();
    bool swallowed = false;
    if (isType("TNC") && services_.tncLine.isOpen()) {
        const auto character = PackSpotSettings::commandCharacter(txtHex_->text().trimmed());
        if (character) {
            tncSend(QByteArray(1, char(*character)));
        } else {
            // Not a character code: nothing goes to the TNC.
            beep();
        }
        swallowed = true;
        focusSendBox();
    }
    if (txtSent_->text().isEmpty())
        focusSendBox();
    return swallowed;
}

bool DxSpottingWindow::sendBoxKey(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!listening_)
            Command1_Click();
        const QString text = txtSent_->text();
        if (isType("TNC") && services_.tncLine.isOpen())
            tncSend((text + u'\r').toLatin1());
        else if (isType("Telnet"))
            telnetSend(text);
        else if (isType("AGW Packet Engine") && timer1_->isActive())
            agwSend(text);
        txtSent_->clear();
        return true;
    }
    if (key == Qt::Key_Escape) {
        if (isType("AGW Packet Engine"))
            txtSent_->insert(QStringLiteral(":"));
        return true;
    }
    return false;
}

void DxSpottingWindow::sendBoxChanged(const QString& text)
{
    if (!isType("AGW Packet Engine") || !timer1_->isActive())
        return;
    if (text.size() > kAgwLineLimit && text.endsWith(u' ')) {
        agwSend(text.left(text.size() - 1));
        txtSent_->clear();
    }
}

// ---- TNC ----

void DxSpottingWindow::closeTncLine()
{
    SerialLine& line = services_.tncLine;
    if (!line.isOpen())
        return;
    // A TNC that stopped taking bytes would hold the close for up to half a minute.
    line.discardOutput();
    line.close();
}

void DxSpottingWindow::tncOpen()
{
    readControls();
    SerialLine& line = services_.tncLine;
    closeTncLine();
    const QString device = portMap_.devicePath(settings_.port);
    if (!line.setSettings(settings_.settingsText()) || !line.setHandshaking(settings_.handshaking - 1)) {
        tncFailed(line.errorText());
        return;
    }
    if (!line.open(device)) {
        tncFailed(line.errorText());
        return;
    }
    // A pty has no modem lines: a refused raise leaves the line open and usable.
    if (settings_.handshaking == 3 || settings_.handshaking == 4)
        line.setModemLine(ModemLine::Rts, true);
    if (settings_.powerLine == u'R')
        line.setModemLine(ModemLine::Rts, true);
    else if (settings_.powerLine == u'D')
        line.setModemLine(ModemLine::Dtr, true);
    if (!line.isOpen()) {
        tncFailed(line.errorText());
        return;
    }
    tncSplitter_.reset();
    timer1_->start();
    appendAndTidy(QStringLiteral("** TNC Serial Port Open **") + kCrLf + kCrLf);
    showReceived();
}

void DxSpottingWindow::tncFailed(const QString& reason)
{
    beep();
    appendAndTidy(QStringLiteral("** Unable to open TNC Serial Port **") + kCrLf + kCrLf);
    showReceived();
    if (!reason.isEmpty())
        emit statusMessage(QStringLiteral("TNC: %1").arg(reason));
    services_.dialogs.message(QString::fromLatin1(kSerialFailureTitle), QString::fromLatin1(kSerialFailureText),
                              MsgButtons::Ok);
    if (!isVisible())
        show();
    Command2_Click();
    timer1_->stop();
}

void DxSpottingWindow::tncSend(const QByteArray& bytes) { services_.tncLine.write(bytes); }

void DxSpottingWindow::tncTick()
{
    SerialLine& line = services_.tncLine;
    if (!line.isOpen())
        return;
    const QByteArray input = line.readAll();
    if (!input.isEmpty())
        tncSplitter_.feed(QString::fromLatin1(input));
    if (tncSplitter_.buffer().size() > 2)
        handOver(tncSplitter_.process(received_, chkDX_->isChecked()));
    showTraffic();
    if (line.failed()) {
        // An unplugged adapter: say so rather than look open with nothing arriving.
        const QString why = line.errorText();
        emit statusMessage(QStringLiteral("TNC: %1").arg(why));
        appendAndTidy(kCrLf + QStringLiteral("** TNC Serial Port lost: %1 **").arg(why));
        beep();
        Command2_Click();
    }
}

// ---- Telnet ----

void DxSpottingWindow::telnetConnect()
{
    TcpClient& socket = services_.telnet;
    socket.close();
    telnetOptions_.reset();
    telnetLines_.reset();
    const QString host = txtTelnetHost_->text();
    const QString portText = txtTelnetPort_->text();
    bool ok = false;
    const int port = portText.trimmed().toInt(&ok);
    // A port that is no number is refused by the client as any bad value is.
    socket.connectTo(host, ok ? port : 0);
    received_.replace(QStringLiteral("Attempting connection to: ") + host + u':' + portText + kCrLf + kCrLf);
    showReceived();
    timer1_->start();
}

void DxSpottingWindow::telnetSend(const QString& text)
{
    TcpClient& socket = services_.telnet;
    if (socket.state() == TcpClient::kConnected) {
        socket.send(TelnetNegotiation::encodeOutgoing(text + kCrLf));
        return;
    }
    appendAndTidy(QString::fromLatin1(kNotConnectedText) + kCrLf + kCrLf);
    showReceived();
}

void DxSpottingWindow::telnetData()
{
    const QByteArray bytes = services_.telnet.takeInput();
    if (bytes.isEmpty())
        return;
    const TelnetNegotiation::Decoded decoded = telnetOptions_.decode(bytes);
    if (!decoded.answer.isEmpty())
        services_.telnet.send(decoded.answer);
    if (!decoded.text.isEmpty())
        handOver(telnetLines_.takeChunk(decoded.text, received_, chkDX_->isChecked()));
    showTraffic();
}

void DxSpottingWindow::telnetError(const TcpError& error)
{
    const QString message = TelnetErrorText::forError(error);
    services_.telnet.close();
    received_.append(message);
    Command2_Click();
    received_.tidy();
    showReceived();
    beep();
}

// ---- Packet engine ----

void DxSpottingWindow::agwOpen()
{
    const QString ownCall = services_.ownCall ? services_.ownCall().trimmed() : QString();
    if (ownCall.isEmpty()) {
        beep();
        services_.dialogs.message(QString::fromLatin1(kCallRequiredTitle), QString::fromLatin1(kCallRequiredText),
                                  MsgButtons::Ok);
        // Nothing was opened, so nothing may look as if it listens.
        setListening(false);
        return;
    }
    agwDropsReported_ = 0;
    agwPoll_.forgetStation();
    if (!services_.agw.startPoll(ownCall))
        agwFailed(services_.agw.problem());
}

void DxSpottingWindow::agwFailed(const QString& problem)
{
    const QString opening = QString::fromLatin1(kAgwFailureOpening);
    const QString download = QStringLiteral("- Download the freely available software from ") +
                             QString::fromLatin1(kAgwPublisher);
    const QString message = opening + QStringLiteral("\n\n") + download + QStringLiteral("\n\n") +
                            QStringLiteral("- Make sure the AGW Packet Engine software is running and configure it "
                                           "as described on the AGW Packet Engine website.");
    if (!problem.isEmpty())
        emit statusMessage(problem);
    services_.dialogs.message(QString::fromLatin1(kAgwFailureTitle), message, MsgButtons::Ok);
    setListening(false);
    QString lines;
    // Why, when the engine was reached but said no (a call in use): the guide alone would mislead.
    if (!problem.isEmpty())
        lines += problem + kCrLf + kCrLf;
    lines += opening + kCrLf + kCrLf + download + kCrLf + kCrLf +
             QStringLiteral("- Run the Packet Engine software and configure it as described on the AGW Packet Engine "
                            "website for your sound card or TNC.") +
             kCrLf + kCrLf + QStringLiteral("- Click Open from this program.");
    appendAndTidy(lines);
    showReceived();
    if (!isVisible())
        show();
    // "Listening" is already hidden: the close stops what the start left running.
    services_.agw.close();
    timer1_->stop();
}

void DxSpottingWindow::agwSend(const QString& text)
{
    AgwPacketEngine& engine = services_.agw;
    const QString station = agwPoll_.connectedStation();
    if (text.startsWith(u':')) {
        const QChar letter = text.size() > 1 ? text.at(1).toUpper() : QChar();
        const QString argument = text.mid(2).trimmed();
        if (letter == u'D') {
            if (!station.isEmpty())
                engine.putData(station, QString(), 'd');
        } else if (letter == u'C') {
            const QString call = argument.toUpper();
            if (call.isEmpty()) {
                services_.dialogs.message(QString::fromLatin1(kConnectCallTitle),
                                          QString::fromLatin1(kConnectCallText), MsgButtons::Ok);
                return;
            }
            engine.putData(call, QString(), 'c');
            engine.putData(call, QString(), 'P');
        }
        return;
    }
    if (!station.isEmpty())
        engine.putData(station, text + u'\r', 'D');
}

void DxSpottingWindow::agwOutcome(const AgwFrameOutcome& outcome)
{
    if (!outcome.show.isEmpty())
        appendAndTidy(outcome.show);
    if (!outcome.spotLine.isEmpty()) {
        // Cut from the "DX", wherever it stands in the frame's first characters.
        if (const auto spot = SpotColumns::cutFromDx(outcome.spotLine))
            SpotHandOver(*spot);
        received_.tidy();
    }
    switch (outcome.event) {
    case AgwFrameOutcome::Event::Disconnected:
        beep();
        beep();
        appendAndTidy(kCrLf + QStringLiteral("** Disconnected from ") + outcome.station + QStringLiteral(" **") + kCrLf);
        setWindowTitle(QString::fromLatin1(kAgwCaption));
        break;
    case AgwFrameOutcome::Event::Connected:
        appendAndTidy(QStringLiteral("** Connected to ") + outcome.station + QStringLiteral(" **"));
        setWindowTitle(QStringLiteral("DX Spotting Setup - Connected to ") + outcome.station);
        beep();
        break;
    case AgwFrameOutcome::Event::None:
        break;
    }
}

void DxSpottingWindow::agwTick()
{
    AgwPacketEngine& engine = services_.agw;
    if (!engine.isStarted())
        return;
    agwPoll_.tick(engine, chkDX_->isChecked(),
                  [this](const QString& text) { return received_.isDuplicate(text); },
                  [this](const AgwFrameOutcome& outcome) { agwOutcome(outcome); });
    showTraffic();
    const int dropped = engine.droppedFrames();
    if (dropped != agwDropsReported_) {
        agwDropsReported_ = dropped;
        emit statusMessage(QStringLiteral("Packet engine: %1 frames dropped, more than the window could take.")
                               .arg(dropped));
    }
}

void DxSpottingWindow::agwLost(const QString& why)
{
    if (!why.isEmpty())
        emit statusMessage(why);
    appendAndTidy(kCrLf + QStringLiteral("** Lost connection to the AGW Packet Engine **") + kCrLf);
    Command2_Click();
    showReceived();
    beep();
}

void DxSpottingWindow::agwClose(int waitMs)
{
    AgwPacketEngine& engine = services_.agw;
    const QString station = agwPoll_.connectedStation();
    if (!station.isEmpty())
        engine.putData(station, QString(), 'd');
    setWindowTitle(QString::fromLatin1(kAgwCaption));
    agwPoll_.forgetStation();
    engine.close(waitMs);
}

}  // namespace cubwave
