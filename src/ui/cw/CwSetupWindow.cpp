#include "ui/cw/CwSetupWindow.h"

#include "core/KeyCodes.h"
#include "cw/CwFieldRules.h"
#include "cw/CwFile.h"
#include "cw/CwKeyingLines.h"
#include "cw/CwMessages.h"
#include "cw/CwNumber.h"
#include "cw/CwSender.h"
#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "platform/SerialPortList.h"
#include "platform/SettingsStore.h"
#include "ui/common/FieldTextGuard.h"
#include "ui/common/KeyTranslation.h"
#include "ui/common/SettingsWindowKeys.h"
#include "ui/cw/CodePracticeWindow.h"
#include "ui/cw/CwStringsWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(600, 460);
constexpr double kPointSize = 8;
constexpr int kRowTop = 8;
constexpr int kRowStep = 26;

// The design's names of the message fields, F1..F9, F10, F11.
const std::array<const char*, CwSettings::kMessageCount> kMessageFieldNames = {
    "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text12", "Text13"};
const std::array<const char*, CwSettings::kMessageCount> kMessageCaptions = {
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11"};

// Interfaces of Option1..Option5.
constexpr std::array<int, 5> kOptionInterfaces = {kCwRts, kCwDtr, kCwPrinter, kCwNone, kCwWinKey};

FieldRule onlyRule(const char* only)
{
    FieldRule rule;
    rule.only = QString::fromLatin1(only);
    return rule;
}

}  // namespace

CwSetupWindow::CwSetupWindow(CwSender& sender, CwKeyingLines* lines, CwWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), sender_(sender), lines_(lines), services_(std::move(services)),
      layout_(kDesignSize)
{
    setObjectName(QStringLiteral("CWFrm"));
    setWindowTitle(QStringLiteral("CW String Selections"));
    if (!services_.listPorts)
        services_.listPorts = [] { return availableSerialPorts(); };

    buildMessages();
    buildKeyingFrame();
    buildTimingFrame();

    const int bottom = kRowTop + 12 * kRowStep + 2;
    addLabel(QStringLiteral("lblCWLoop"), QStringLiteral("Loop (Sec)"), {8, bottom, 66, 22});
    txtCwLoop_ = addField(QStringLiteral("txtCWLoop"), {78, bottom, 50, 22});
    FieldTextGuard::install(txtCwLoop_, onlyRule(".0123456789"));
    check1_ = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setChecked(true);
    layout_.place(check1_, {136, bottom, 250, 22}, kPointSize);
    connect(check1_, &QCheckBox::toggled, this, [this] { pushSettings(); });

    const int buttons = bottom + 30;
    connect(addButton(QStringLiteral("Command2"), QStringLiteral("Faster"), {8, buttons, 80, 26}),
            &QPushButton::clicked, &sender_, &CwSender::speedUp);
    connect(addButton(QStringLiteral("Command3"), QStringLiteral("Slower"), {92, buttons, 80, 26}),
            &QPushButton::clicked, &sender_, &CwSender::speedDown);
    connect(addButton(QStringLiteral("Command4"), QStringLiteral("&Test"), {176, buttons, 80, 26}),
            &QPushButton::clicked, this, &CwSetupWindow::Command4_Click);
    label23_ = addLabel(QStringLiteral("Label23"), QStringLiteral("Sending!"), {262, buttons, 80, 26});
    label23_->hide();
    connect(addButton(QStringLiteral("Command7"), QStringLiteral("Send Code Practice"), {8, buttons + 30, 164, 26}),
            &QPushButton::clicked, this, &CwSetupWindow::Command7_Click);
    command1_ = addButton(QStringLiteral("Command1"), QStringLiteral("Done"), {176, buttons + 30, 80, 26});
    connect(command1_, &QPushButton::clicked, this, &CwSetupWindow::Command1_Click);
    addLabel(QStringLiteral("lblWildcards"), kWildcardsText, {8, buttons + 62, 384, 20});
    addLabel(QStringLiteral("lblCommit"), kCommitText, {8, buttons + 82, 384, 20});

    connect(&sender_, &CwSender::speedChanged, this, [this](const QString& wpm) { text11_->setText(wpm); });
    connect(&sender_, &CwSender::loopOffsetChanged, this, [this](double offset) {
        loopOffset_ = offset;
        txtLoop_->setText(CwFieldRules::numberText(offset));
    });
    connect(&sender_, &CwSender::keyingPortInvalid, this, &CwSetupWindow::showPortInvalid);
    connect(&sender_, &CwSender::sendingEnded, this, [this] {
        if (testing_)
            endTest();
    });

    showSettings(CwSettings{});
    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, command1_);
}

QLineEdit* CwSetupWindow::addField(const QString& name, QRect design)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->installEventFilter(this);
    layout_.place(field, design, kPointSize);
    connect(field, &QLineEdit::textChanged, this, [this] { pushSettings(); });
    return field;
}

QLabel* CwSetupWindow::addLabel(const QString& name, const QString& caption, QRect design)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    layout_.place(label, design, kPointSize);
    return label;
}

QPushButton* CwSetupWindow::addButton(const QString& name, const QString& caption, QRect design)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    layout_.place(button, design, kPointSize);
    return button;
}

QRadioButton* CwSetupWindow::addOption(QWidget* frame, const QString& name, const QString& caption, QRect design)
{
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(name);
    layout_.place(option, design, kPointSize);
    return option;
}

void CwSetupWindow::buildMessages()
{
    for (int i = 0; i < CwSettings::kMessageCount; ++i) {
        const int y = kRowTop + i * kRowStep;
        const QString name = QString::fromLatin1(kMessageFieldNames[i]);
        addLabel(QStringLiteral("lbl") + name, QString::fromLatin1(kMessageCaptions[i]), {8, y, 36, 22});
        QLineEdit* field = addField(name, {46, y, 340, 22});
        field->setMaxLength(kMaxMessageLength);
        FieldRule rule;
        rule.maxLength = kMaxMessageLength;
        FieldTextGuard::install(field, rule);
        messages_[i] = field;
    }
    const int y = kRowTop + CwSettings::kMessageCount * kRowStep;
    addLabel(QStringLiteral("lblF12"), QStringLiteral("F12"), {8, y, 36, 22});
    addLabel(QStringLiteral("lblKeyboard"), QStringLiteral("Keyboard"), {46, y, 340, 22});
}

void CwSetupWindow::buildKeyingFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Keying Options"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    layout_.place(frame, {400, 8, 190, 136}, kPointSize);
    const std::array<const char*, 5> captions = {"RTS", "DTR", "Printer", "None", "WinKey"};
    for (int i = 0; i < 5; ++i) {
        QRadioButton* option =
            addOption(frame, QStringLiteral("Option%1").arg(i + 1), QString::fromLatin1(captions[i]), {10, 18 + i * 22, 170, 20});
        const int cwInterface = kOptionInterfaces[i];
        connect(option, &QRadioButton::clicked, this, [this, cwInterface] { interfaceClicked(cwInterface); });
        interfaceOptions_[i] = option;
    }
    cmdConfWinkey_ = addButton(QStringLiteral("cmdConfWinkey"), QStringLiteral("Configure Winkey"), {400, 148, 190, 24});
    cmdConfWinkey_->hide();
    connect(cmdConfWinkey_, &QPushButton::clicked, this, &CwSetupWindow::configureWinKeyRequested);

    addLabel(QStringLiteral("lblPort"), QStringLiteral("CW Port (0 = none)"), {400, 180, 110, 22});
    text10_ = addField(QStringLiteral("Text10"), {514, 180, 76, 22});
    FieldTextGuard::install(text10_, onlyRule("0123456789:"));
    connect(text10_, &QLineEdit::textChanged, this, &CwSetupWindow::updatePortToolTip);
    addLabel(QStringLiteral("lblAddress"), QStringLiteral("Printer Port Address"), {400, 206, 110, 22});
    text14_ = addField(QStringLiteral("Text14"), {514, 206, 76, 22});
    text14_->setMaxLength(16);
    addLabel(QStringLiteral("lblSpeed"), QStringLiteral("Speed (WPM)"), {400, 232, 110, 22});
    text11_ = addField(QStringLiteral("Text11"), {514, 232, 76, 22});
    FieldTextGuard::install(text11_, onlyRule("0123456789:"));
    connect(text11_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const auto wpm = CwNumber::parse(text);
        if (!filling_ && cwInterface_ == kCwWinKey && wpm && *wpm > 4 && *wpm < 100)
            emit winKeySpeedChanged(static_cast<int>(*wpm));
    });
    addLabel(QStringLiteral("lblSpace"), QStringLiteral("Word Space"), {400, 258, 110, 22});
    txtSpace_ = addField(QStringLiteral("txtSpace"), {514, 258, 76, 22});
    FieldTextGuard::install(txtSpace_, onlyRule("-./0123456789:"));
    connect(txtSpace_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString kept = CwFieldRules::changedWordSpace(text);
        if (kept != text)
            txtSpace_->setText(kept);
    });
    connect(addButton(QStringLiteral("Command5"), QStringLiteral("Less"), {400, 284, 93, 24}), &QPushButton::clicked,
            this, [this] { txtSpace_->setText(CwFieldRules::steppedWordSpace(txtSpace_->text(), -1)); });
    connect(addButton(QStringLiteral("Command6"), QStringLiteral("More"), {497, 284, 93, 24}), &QPushButton::clicked,
            this, [this] { txtSpace_->setText(CwFieldRules::steppedWordSpace(txtSpace_->text(), 1)); });
}

void CwSetupWindow::buildTimingFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Timing"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    layout_.place(frame, {400, 316, 190, 84}, kPointSize);
    optTimer_ = addOption(frame, QStringLiteral("optTimer"), QStringLiteral("Timer"), {8, 20, 58, 20});
    optLoop_ = addOption(frame, QStringLiteral("optLoop"), QStringLiteral("Loop"), {68, 20, 56, 20});
    optSleep_ = addOption(frame, QStringLiteral("OptSleep"), QStringLiteral("Sleep"), {126, 20, 60, 20});
    connect(optTimer_, &QRadioButton::clicked, this, [this] { methodClicked(TimingMethod::Timer); });
    connect(optLoop_, &QRadioButton::clicked, this, [this] { methodClicked(TimingMethod::Loop); });
    connect(optSleep_, &QRadioButton::clicked, this, [this] { methodClicked(TimingMethod::Sleep); });

    lblLoop_ = new QLabel(QStringLiteral("Loop Delay"), frame);
    lblLoop_->setObjectName(QStringLiteral("lblLoop"));
    lblLoop_->setToolTip(QStringLiteral("Loops per 60 ms"));
    layout_.place(lblLoop_, {8, 50, 60, 22}, kPointSize);
    txtLoop_ = new QLineEdit(frame);
    txtLoop_->setObjectName(QStringLiteral("txtLoop"));
    txtLoop_->setToolTip(QStringLiteral("Loops per 60 ms"));
    txtLoop_->setMaxLength(24);
    layout_.place(txtLoop_, {70, 50, 64, 22}, kPointSize);
    connect(txtLoop_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const auto offset = CwNumber::parse(text);
        if (offset && *offset >= 0) {
            loopOffset_ = *offset;
            pushSettings();
        }
    });
    cmdLoopFaster_ = new QPushButton(QStringLiteral("F"), frame);
    cmdLoopFaster_->setObjectName(QStringLiteral("cmdLoopFaster"));
    cmdLoopFaster_->setToolTip(QStringLiteral("Speed up CW"));
    layout_.place(cmdLoopFaster_, {138, 50, 22, 22}, kPointSize);
    connect(cmdLoopFaster_, &QPushButton::clicked, this, [this] { stepLoop(true); });
    cmdLoopSlower_ = new QPushButton(QStringLiteral("S"), frame);
    cmdLoopSlower_->setObjectName(QStringLiteral("cmdLoopSlower"));
    cmdLoopSlower_->setToolTip(QStringLiteral("Slow Down CW"));
    layout_.place(cmdLoopSlower_, {162, 50, 22, 22}, kPointSize);
    connect(cmdLoopSlower_, &QPushButton::clicked, this, [this] { stepLoop(false); });
}

void CwSetupWindow::load()
{
    CwSettings defaults;
    defaults.method = MorseTiming::methodFromName(
        services_.settings.value(kUserCwSelection, MorseTiming::methodName(TimingMethod::Timer)));
    const auto offset = CwNumber::parse(services_.settings.value(kUserCwLoopOffset, QStringLiteral("0")));
    defaults.loopOffset = offset && *offset >= 0 ? *offset : 0;
    showSettings(CwFile::load(services_.workDir, defaults));
}

void CwSetupWindow::showSettings(const CwSettings& s)
{
    filling_ = true;
    for (int i = 0; i < CwSettings::kMessageCount; ++i) {
        // A longer message read from "cw.txt" is kept whole, or "Done" would write it back cut;
        // it only cannot grow.
        messages_[i]->setMaxLength(std::max(kMaxMessageLength, static_cast<int>(s.messages[i].size())));
        messages_[i]->setText(s.messages[i]);
    }
    text10_->setText(s.port);
    text11_->setText(s.speedWpm);
    txtSpace_->setText(s.wordSpace);
    text14_->setText(s.address);
    check1_->setChecked(s.displayText);
    txtCwLoop_->setText(s.repeatSeconds);
    loopOffset_ = s.loopOffset;
    txtLoop_->setText(CwFieldRules::numberText(s.loopOffset));
    for (size_t i = 0; i < kOptionInterfaces.size(); ++i)
        interfaceOptions_[i]->setChecked(kOptionInterfaces[i] == s.cwInterface);
    optTimer_->setChecked(s.method == TimingMethod::Timer);
    optLoop_->setChecked(s.method == TimingMethod::Loop);
    optSleep_->setChecked(s.method == TimingMethod::Sleep);
    filling_ = false;
    // Selecting the stored options runs their click handling, as a click would.
    interfaceClicked(s.cwInterface);
    methodClicked(s.method);
    updatePortToolTip();
}

CwSettings CwSetupWindow::settingsFromFields() const
{
    CwSettings s;
    for (int i = 0; i < CwSettings::kMessageCount; ++i)
        s.messages[i] = messages_[i]->text();
    s.port = text10_->text();
    s.speedWpm = text11_->text();
    s.wordSpace = txtSpace_->text();
    s.cwInterface = cwInterface_;
    s.address = text14_->text();
    s.displayText = check1_->isChecked();
    s.repeatSeconds = txtCwLoop_->text();
    s.method = optLoop_->isChecked() ? TimingMethod::Loop
                                     : (optSleep_->isChecked() ? TimingMethod::Sleep : TimingMethod::Timer);
    s.loopOffset = loopOffset_;
    return s;
}

void CwSetupWindow::pushSettings()
{
    if (!filling_)
        sender_.setSettings(settingsFromFields());
}

void CwSetupWindow::interfaceClicked(int cwInterface)
{
    cwInterface_ = cwInterface;
    cmdConfWinkey_->setVisible(cwInterface == kCwWinKey);
    pushSettings();
    if (cwInterface == kCwWinKey)
        emit winKeyChosen();
}

void CwSetupWindow::methodClicked(TimingMethod method)
{
    setLoopControlsEnabled(method == TimingMethod::Loop);
    pushSettings();
    // The count is measured on the keying thread, between characters; it reports back.
    if (method == TimingMethod::Loop && loopOffset_ == 0)
        sender_.calibrateLoop();
}

void CwSetupWindow::setLoopControlsEnabled(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{txtLoop_, lblLoop_, cmdLoopFaster_, cmdLoopSlower_})
        w->setEnabled(on);
}

void CwSetupWindow::stepLoop(bool faster)
{
    const auto offset = CwNumber::parse(txtLoop_->text());
    if (!offset)
        return;
    txtLoop_->setText(CwFieldRules::numberText(faster ? MorseTiming::loopFaster(*offset) : MorseTiming::loopSlower(*offset)));
    command1_->setFocus(Qt::OtherFocusReason);
}

void CwSetupWindow::setupPort()
{
    if (!lines_)
        return;
    const QString port = text10_->text();
    // The line is opened or switched only while no character is on the air.
    sender_.runBetweenCharacters([this, port] {
        const CwLineSource::Line opened = lines_->setup(port);
        if (!opened.line) {
            if (!opened.reason.isEmpty())
                emit problem(opened.reason);
            showPortInvalid(opened.failureTitle, opened.failureText);
        }
    });
}

void CwSetupWindow::showPortInvalid(const QString& title, const QString& text)
{
    services_.beeper.beep();
    services_.dialogs.message(title, text, MsgButtons::Ok, MsgIcon::Warning);
    if (!isVisible()) {
        setWindowModality(Qt::ApplicationModal);
        show();
    }
    text10_->setFocus(Qt::OtherFocusReason);
}

void CwSetupWindow::updatePortToolTip()
{
    QStringList tip;
    const QString device = lines_ ? lines_->deviceFor(text10_->text()) : QString();
    if (device.isEmpty())
        tip << QStringLiteral("0 = no port.");
    else
        tip << QStringLiteral("Port %1 is %2.").arg(text10_->text().trimmed(), device);
    tip << QStringLiteral("serialports.txt in the working folder maps port numbers to devices (N=/dev/...).");
    const QStringList found = services_.listPorts();
    if (found.isEmpty())
        tip << QStringLiteral("No serial ports found.");
    else
        tip << QStringLiteral("Serial ports found:") << found;
    text10_->setToolTip(tip.join(QLatin1Char('\n')));
}

void CwSetupWindow::Command4_Click()
{
    if (CwFieldRules::testNeedsPort(settingsFromFields())) {
        services_.beeper.beep();
        services_.dialogs.message(CwFieldRules::kTestNeedsPortTitle, CwFieldRules::kTestNeedsPortText, MsgButtons::Ok,
                                  MsgIcon::Warning);
        text10_->setFocus(Qt::OtherFocusReason);
        return;
    }
    label23_->show();
    testing_ = true;
    sender_.fKeyCW(CwMessages::kF9);
    // "Sending!" stays until the pump's end; nothing was started when no line keys.
    if (!sender_.isSending())
        endTest();
}

void CwSetupWindow::endTest()
{
    testing_ = false;
    label23_->hide();
    if (isVisible())
        messages_[0]->setFocus(Qt::OtherFocusReason);
}

void CwSetupWindow::Command7_Click()
{
    CodePracticeWindow practice(sender_, services_, this);
    if (services_.runModal)
        services_.runModal(practice);
    else
        practice.exec();
    // What the practice left waiting is not sent.
    sender_.stopSending();
}

void CwSetupWindow::Command1_Click()
{
    const CwSettings s = settingsFromFields();
    const WriteResult written = CwFile::save(services_.workDir, s);
    if (!written.ok) {
        services_.dialogs.message(kWriteFailedTitle,
                                  QStringLiteral("Could not write %1:  %2")
                                      .arg(QDir::toNativeSeparators(CwFile::savePath(services_.workDir)), written.error),
                                  MsgButtons::Ok, MsgIcon::Warning);
    }
    services_.settings.setValue(kUserCwSelection, MorseTiming::methodName(s.method));
    services_.settings.setValue(kUserCwLoopOffset, CwFieldRules::numberText(s.loopOffset));
    hide();
    setWindowModality(Qt::NonModal);
    if (cwInterface_ != kCwNone && stringsWindow_)
        stringsWindow_->showMinimized();
    emit doneClicked();
}

bool CwSetupWindow::fieldKey(QLineEdit* field, int keyAscii)
{
    const QChar key(keyAscii);
    if (field == text10_ || field == text11_)
        return CwFieldRules::portOrSpeedKeyAccepted(key);
    if (field == txtSpace_)
        return CwFieldRules::wordSpaceKeyAccepted(key);
    if (field == txtCwLoop_)
        return CwFieldRules::repeatKeyAccepted(key);
    return true;
}

void CwSetupWindow::fieldLeft(QLineEdit* field)
{
    if (field == text10_) {
        text10_->setText(CwFieldRules::leftNumberField(text10_->text()));
        setupPort();
    } else if (field == text11_) {
        text11_->setText(CwFieldRules::leftNumberField(text11_->text()));
    } else if (field == txtSpace_) {
        txtSpace_->setText(CwFieldRules::leftWordSpace(txtSpace_->text()));
    } else if (field == txtCwLoop_) {
        const CwFieldRules::RepeatField left = CwFieldRules::leftRepeat(txtCwLoop_->text());
        txtCwLoop_->setText(left.text);
        if (left.beep)
            services_.beeper.beep();
    }
}

bool CwSetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field)
        return QWidget::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        const TranslatedKey k = translateKey(*static_cast<QKeyEvent*>(event));
        if (k.keyAscii == 0 || (k.keyAscii < key::Space && k.keyAscii != key::Backspace && k.keyAscii != key::Enter))
            return false;  // Tab, arrows and the Ctrl shortcuts keep their usual meaning
        if (!fieldKey(field, k.keyAscii))
            return true;
        if (std::find(messages_.begin(), messages_.end(), field) != messages_.end()) {
            const QChar kept = CwFieldRules::messageKey(QChar(k.keyAscii));
            if (kept.isNull())
                return true;
            if (kept.unicode() != k.keyAscii) {
                field->insert(QString(kept));
                return true;
            }
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking the activation is no leaving of a field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            fieldLeft(field);
    }
    return false;
}

void CwSetupWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout_.apply(size());
}

void CwSetupWindow::showEvent(QShowEvent* event)
{
    updatePortToolTip();
    QWidget::showEvent(event);
}

void CwSetupWindow::closeEvent(QCloseEvent* event)
{
    // The window stays loaded for the whole run; the close box only hides it.
    setWindowModality(Qt::NonModal);
    QWidget::closeEvent(event);
}

}  // namespace cubwave
