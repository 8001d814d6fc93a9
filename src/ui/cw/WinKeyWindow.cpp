#include "ui/cw/WinKeyWindow.h"

#include "core/KeyCodes.h"
#include "cw/WinKeyFieldRules.h"
#include "cw/WinKeyKeyer.h"
#include "platform/Dialogs.h"
#include "ui/common/FieldTextGuard.h"
#include "ui/common/KeyTranslation.h"
#include "ui/common/SettingsWindowKeys.h"

#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(480, 330);
constexpr double kPointSize = 8;
constexpr int kRowTop = 10;
constexpr int kRowStep = 28;

struct OptionDesign {
    const char* name;
    const char* caption;
    int value;
};
constexpr std::array<OptionDesign, 4> kPinOptions = {{
    {"optKey5Out3Off", "P5 Key Out, P3 Off", 8},
    {"optKey5Off3Out", "P5 Off, P3 Key Out", 4},
    {"optTone", "Tone", 6},
    {"optPTT", "PTT", 5},
}};
constexpr std::array<OptionDesign, 4> kModeOptions = {{
    {"optIambicB", "Iambic B", 0},
    {"optIambicA", "Iambic A", 16},
    {"optUltimatic", "Ultimatic", 32},
    {"optBug", "Bug Keyer", 48},
}};

}  // namespace

WinKeyWindow::WinKeyWindow(WinKeyKeyer& keyer, WinKeyWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), keyer_(keyer), services_(std::move(services)), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmWinKey"));
    setWindowTitle(QStringLiteral(" WinKey Setup"));

    txtWKComPort_ = addField(QStringLiteral("txtWKComPort"), QStringLiteral("lblWKComPort"), QStringLiteral("Com Port:"), 0);
    txtWKWPM_ = addField(QStringLiteral("txtWKWPM"), QStringLiteral("lblWKWPM"), QStringLiteral("WPM:"), 1);
    txtWeight_ = addField(QStringLiteral("txtWeight"), QStringLiteral("lblWeight"), QStringLiteral("Weight:"), 2,
                          QStringLiteral("Proportional amount added or subtracted (50 is standard)."));
    txtLeadIn_ = addField(QStringLiteral("txtLeadIn"), QStringLiteral("lblLeadIn"), QStringLiteral("Lead In:"), 3,
                          QStringLiteral("Lead in time for transmitter (10 ms increments)."));
    txtTail_ = addField(QStringLiteral("txtTail"), QStringLiteral("lblTail"), QStringLiteral("Tail:"), 4,
                        QStringLiteral("Tail time after keying has stopped (10 ms increments)."));
    txtRatio_ = addField(QStringLiteral("txtRatio"), QStringLiteral("lblRatio"), QStringLiteral("Ratio:"), 5,
                         QStringLiteral("Ratio of dits to dahs (Range: 33 - 66)."));
    buildOptions();

    lblOpenStatus_ = addLabel(QStringLiteral("lblOpenStatus"), WinKeyKeyer::kClosedText, {10, 186, 140, 20});
    lblVersion_ = addLabel(QStringLiteral("lblVersion"), WinKeyKeyer::kVersionText, {10, 208, 140, 20});
    lblOpenStatus_->setFrameShape(QFrame::Panel);
    lblOpenStatus_->setFrameShadow(QFrame::Sunken);

    const int buttons = 240;
    connect(addButton(QStringLiteral("cmdOpenWinkey"), QStringLiteral("Open"), {10, buttons, 70, 26}),
            &QPushButton::clicked, this, &WinKeyWindow::cmdOpenWinkey_Click);
    connect(addButton(QStringLiteral("cmdCloseWinkey"), QStringLiteral("Close"), {86, buttons, 70, 26}),
            &QPushButton::clicked, this, &WinKeyWindow::cmdCloseWinkey_Click);
    connect(addButton(QStringLiteral("Command3"), QStringLiteral("Test"), {162, buttons, 70, 26}),
            &QPushButton::clicked, this, &WinKeyWindow::Command3_Click);
    connect(addButton(QStringLiteral("Command1"), QStringLiteral("Buffer Test"), {238, buttons, 80, 26}),
            &QPushButton::clicked, this, &WinKeyWindow::Command1_Click);
    connect(addButton(QStringLiteral("cmdStop"), QStringLiteral("Stop"), {324, buttons, 70, 26}),
            &QPushButton::clicked, this, &WinKeyWindow::cmdStop_Click);
    cmdDone_ = addButton(QStringLiteral("cmdDone"), QStringLiteral("&Done"), {400, buttons, 70, 26});
    connect(cmdDone_, &QPushButton::clicked, this, &WinKeyWindow::cmdDone_Click);

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaxLength(4096);
    text1_->installEventFilter(this);
    layout_.place(text1_, {10, 272, 460, 22}, kPointSize);
    addLabel(QStringLiteral("lblNote"), kNoteText, {10, 300, 460, 20});

    connect(&keyer_, &WinKeyKeyer::opened, this, &WinKeyWindow::showOpened);
    connect(&keyer_, &WinKeyKeyer::closed, this, &WinKeyWindow::showClosed);
    connect(&keyer_, &WinKeyKeyer::connectionFailed, this, [this](int port) {
        services_.dialogs.message(WinKeyKeyer::kConnectionTitle, WinKeyKeyer::connectionText(port), MsgButtons::Ok,
                                  MsgIcon::Warning);
    });

    showSettings(keyer_.settings());
    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, cmdDone_);
}

QLineEdit* WinKeyWindow::addField(const QString& name, const QString& label, const QString& caption, int row,
                                  const QString& hint)
{
    const int y = kRowTop + row * kRowStep;
    QLabel* l = addLabel(label, caption, {10, y, 70, 22});
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(12);
    field->installEventFilter(this);
    FieldRule digits;
    digits.only = QStringLiteral("0123456789");
    FieldTextGuard::install(field, digits);
    layout_.place(field, {84, y, 60, 22}, kPointSize);
    if (!hint.isEmpty()) {
        field->setToolTip(hint);
        l->setToolTip(hint);
    }
    connect(field, &QLineEdit::textChanged, this, [this] { pushSettings(); });
    return field;
}

QLabel* WinKeyWindow::addLabel(const QString& name, const QString& caption, QRect design)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    layout_.place(label, design, kPointSize);
    return label;
}

QPushButton* WinKeyWindow::addButton(const QString& name, const QString& caption, QRect design)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    layout_.place(button, design, kPointSize);
    return button;
}

void WinKeyWindow::buildOptions()
{
    const auto frame = [this](const char* name, const char* caption, QRect design,
                              const std::array<OptionDesign, 4>& options, std::array<QRadioButton*, 4>& buttons) {
        auto* box = new QGroupBox(QString::fromLatin1(caption), this);
        box->setObjectName(QString::fromLatin1(name));
        layout_.place(box, design, kPointSize);
        for (size_t i = 0; i < options.size(); ++i) {
            auto* option = new QRadioButton(QString::fromLatin1(options[i].caption), box);
            option->setObjectName(QString::fromLatin1(options[i].name));
            layout_.place(option, {10, 20 + static_cast<int>(i) * 24, design.width() - 20, 22}, kPointSize);
            connect(option, &QRadioButton::clicked, this, &WinKeyWindow::optionClicked);
            buttons[i] = option;
        }
    };
    frame("fraPin5", "Pin 5 Configuration", {160, 10, 150, 120}, kPinOptions, pinOptions_);
    frame("fraKeyerMode", "Keyer Mode", {320, 10, 150, 120}, kModeOptions, modeOptions_);
}

void WinKeyWindow::load()
{
    loaded_ = true;
    WinKeySettings s = WinKeyFile::load(services_.dataFolder);
    if (services_.cwSpeed)
        s.speed = services_.cwSpeed();
    showSettings(s);
}

void WinKeyWindow::showSettings(const WinKeySettings& s)
{
    filling_ = true;
    port_ = s.port;
    txtWKComPort_->setText(QString::number(s.port));
    txtWKWPM_->setText(s.speed);
    txtWeight_->setText(s.weight);
    txtLeadIn_->setText(s.leadIn);
    txtTail_->setText(s.tail);
    txtRatio_->setText(s.ratio);
    for (size_t i = 0; i < kPinOptions.size(); ++i)
        pinOptions_[i]->setChecked(kPinOptions[i].value == s.pins);
    for (size_t i = 0; i < kModeOptions.size(); ++i)
        modeOptions_[i]->setChecked(kModeOptions[i].value == s.mode);
    filling_ = false;
    keyer_.setSettings(s);
}

WinKeySettings WinKeyWindow::settingsFromFields() const
{
    WinKeySettings s = keyer_.settings();  // the option bytes as last chosen
    s.port = static_cast<quint8>(port_);
    s.speed = txtWKWPM_->text();
    s.weight = txtWeight_->text();
    s.leadIn = txtLeadIn_->text();
    s.tail = txtTail_->text();
    s.ratio = txtRatio_->text();
    for (size_t i = 0; i < kPinOptions.size(); ++i)
        if (pinOptions_[i]->isChecked())
            s.pins = static_cast<quint8>(kPinOptions[i].value);
    for (size_t i = 0; i < kModeOptions.size(); ++i)
        if (modeOptions_[i]->isChecked())
            s.mode = static_cast<quint8>(kModeOptions[i].value);
    return s;
}

void WinKeyWindow::pushSettings()
{
    if (!filling_)
        keyer_.setSettings(settingsFromFields());
}

void WinKeyWindow::optionClicked()
{
    pushSettings();
    // A click always stores the byte; an open keyer gets every setting again.
    if (keyer_.isOpen())
        keyer_.sendSettings();
}

void WinKeyWindow::fieldLeft(QLineEdit* field)
{
    WinKeyLink& link = keyer_.link();
    const bool open = keyer_.isOpen();
    if (field == txtWKComPort_) {
        const WinKeyFieldRules::Port left = WinKeyFieldRules::comPort(field->text());
        port_ = left.port;
        field->setText(left.text);
    } else if (field == txtWKWPM_) {
        const auto left = WinKeyFieldRules::speed(field->text());
        field->setText(left.text);
        if (left.send && open)
            link.setSpeed(*left.send);
    } else if (field == txtWeight_) {
        const auto left = WinKeyFieldRules::weight(field->text());
        field->setText(left.text);
        if (left.send && open)
            link.setWeight(*left.send);
    } else if (field == txtRatio_) {
        const auto left = WinKeyFieldRules::ratio(field->text());
        field->setText(left.text);
        if (left.send && open)
            link.setRatio(*left.send);
    } else if (field == txtLeadIn_ || field == txtTail_) {
        const auto left = WinKeyFieldRules::leadTail(txtLeadIn_->text(), txtTail_->text(), field == txtLeadIn_);
        txtLeadIn_->setText(left.leadIn);
        txtTail_->setText(left.tail);
        if (left.send && open)
            link.setLeadTail(left.send->first, left.send->second);
    }
    pushSettings();
}

void WinKeyWindow::cmdOpenWinkey_Click()
{
    pushSettings();
    keyer_.open();
}

void WinKeyWindow::showOpened(int code, int version)
{
    if (const auto text = WinKeyKeyer::resultText(code))
        lblOpenStatus_->setText(*text);
    if (code != WinKeyLink::kAlreadyOpen && version != 0)
        lblVersion_->setText(WinKeyKeyer::versionText(version));
    focusDone();
}

void WinKeyWindow::cmdCloseWinkey_Click()
{
    keyer_.close();
    focusDone();
}

void WinKeyWindow::showClosed()
{
    lblOpenStatus_->setText(WinKeyKeyer::kClosedText);
    lblVersion_->setText(WinKeyKeyer::kVersionText);
}

void WinKeyWindow::Command3_Click()
{
    keyer_.appendText(kTestText + (services_.ownCall ? services_.ownCall() : QString()));
    focusDone();
}

void WinKeyWindow::Command1_Click()
{
    QString text;
    for (int round = 0; round < 3; ++round) {
        for (char c = 'A'; c <= 'Z'; ++c)
            text += QLatin1Char(c);
        text += QLatin1Char(' ');
    }
    keyer_.appendText(text);
}

void WinKeyWindow::cmdStop_Click()
{
    keyer_.stop();
    focusDone();
}

void WinKeyWindow::cmdDone_Click()
{
    const WriteResult written = WinKeyFile::save(services_.dataFolder, settingsFromFields());
    if (!written.ok) {
        services_.dialogs.message(kWriteFailedTitle,
                                  QStringLiteral("Could not write %1:  %2")
                                      .arg(QDir::toNativeSeparators(WinKeyFile::path(services_.dataFolder)), written.error),
                                  MsgButtons::Ok, MsgIcon::Warning);
    }
    hide();
    setWindowModality(Qt::NonModal);
    emit doneClicked();
}

void WinKeyWindow::focusDone()
{
    if (isVisible())
        cmdDone_->setFocus(Qt::OtherFocusReason);
}

bool WinKeyWindow::typeAheadKey(int keyAscii)
{
    if (keyAscii <= key::Enter)
        return false;  // Tab, Backspace and Enter keep their meaning in the box
    QChar c(keyAscii);
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        c = c.toUpper();
    text1_->insert(QString(c));
    keyer_.appendText(QString(c));
    return true;
}

bool WinKeyWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const TranslatedKey k = translateKey(*static_cast<QKeyEvent*>(event));
        if (k.keyAscii == 0 || k.keyAscii == key::Tab)
            return false;
        if (field == text1_)
            return typeAheadKey(k.keyAscii);
        if (k.keyAscii < key::Space && k.keyAscii != key::Backspace)
            return false;  // Enter and the Ctrl shortcuts keep their usual meaning
        return !WinKeyFieldRules::keyAccepted(k.keyAscii);
    }
    if (event->type() == QEvent::FocusOut && field != text1_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking the activation is no leaving of a field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            fieldLeft(field);
    }
    return false;
}

void WinKeyWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout_.apply(size());
}

void WinKeyWindow::closeEvent(QCloseEvent* event)
{
    // The window stays loaded for the whole run; the close box only hides it.
    setWindowModality(Qt::NonModal);
    QWidget::closeEvent(event);
}

}  // namespace cubwave
