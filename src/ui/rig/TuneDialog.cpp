#include "ui/rig/TuneDialog.h"

#include "rig/FrequencyHz.h"
#include "rig/RigTuning.h"
#include "rig/TuneTables.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(440, 324);
constexpr double kPointSize = 8;

struct ModeButton {
    const char* name;
    const char* caption;
    const char* mode;
};
constexpr std::array<ModeButton, 6> kModeButtons{{
    {"cmdCW", "&CW", "CW"}, {"cmdLSB", "&LSB", "LSB"}, {"cmdUSB", "&USB", "USB"},
    {"cmdAM", "&AM", "AM"}, {"cmdFM", "&FM", "FM"}, {"cmdRTTY", "&RTTY", "RTTY"},
}};

// The frequency boxes take Backspace, ".", "/" and the digits; other characters are dropped.
bool isRefusedCharacter(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;  // shortcuts such as pasting are no characters
    const QString text = key->text();
    if (text.size() != 1)
        return false;
    const char16_t c = text[0].unicode();
    if (c < 32 || c == 127)
        return false;  // Backspace, Enter and the other control keys keep their meaning
    return c < 46 || c > 57;
}

}  // namespace

const QString TuneDialog::kCaption = QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))");
const QString TuneDialog::kNotPolledText =
    QStringLiteral("No rig is being polled: start polling in Rig Interface (Ctrl+R).");

TuneDialog::TuneDialog(RigTuning& rig, QWidget* parent) : QDialog(parent), rig_(rig), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmRigTune"));
    setWindowTitle(kCaption);

    auto* label1 = new QLabel(QStringLiteral("Frequency in MHz:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    layout_.place(label1, {10, 10, 104, 22}, kPointSize);
    txtFreq_ = addNumberBox(QStringLiteral("txtFreq"), QString(), {116, 10, 110, 22});
    command1_ = addButton(QStringLiteral("Command1"), QStringLiteral("&Go"), {236, 9, 64, 24});
    cmdDone_ = addButton(QStringLiteral("cmdDone"), QStringLiteral("&Done"), {366, 9, 64, 24});
    connect(command1_, &QPushButton::clicked, this, &TuneDialog::Command1_Click);
    connect(cmdDone_, &QPushButton::clicked, this, &TuneDialog::cmdDone_Click);
    connect(txtFreq_, &QLineEdit::textChanged, this, &TuneDialog::txtFreq_Change);

    for (int i = 0; i < int(TuneTables::kBands.size()); ++i) {
        QPushButton* band = addButton(QStringLiteral("cmdBand_%1").arg(i),
                                      QString::fromLatin1(TuneTables::kBands[i].caption),
                                      {10 + (i % 8) * 53, 44 + (i / 8) * 28, 49, 24});
        connect(band, &QPushButton::clicked, this, [this, i] { cmdBand_Click(i); });
    }

    for (int pair = 0; pair < int(TuneTables::kSteps.size()); ++pair) {
        auto* caption = new QLabel(QString::fromLatin1(TuneTables::kSteps[pair].caption), this);
        caption->setObjectName(QStringLiteral("lblTune_%1").arg(pair));
        caption->setAlignment(Qt::AlignCenter);
        layout_.place(caption, {10 + pair * 85, 104, 80, 16}, kPointSize);
        for (int down = 0; down < 2; ++down) {
            const int index = 2 * pair + down;
            cmdTune_[index] = addButton(QStringLiteral("cmdTune_%1").arg(index),
                                        down ? QStringLiteral("-") : QStringLiteral("+"),
                                        {10 + pair * 85 + down * 41, 121, 39, 24});
            cmdTune_[index]->setToolTip((down ? QStringLiteral("Down ") : QStringLiteral("Up "))
                                        + QString::fromLatin1(TuneTables::kSteps[pair].caption));
            connect(cmdTune_[index], &QPushButton::clicked, this, [this, index] { cmdTune_Click(index); });
        }
    }

    for (int k = 0; k < int(kModeButtons.size()); ++k) {
        const ModeButton& m = kModeButtons[k];
        QPushButton* button = addButton(QString::fromLatin1(m.name), QString::fromLatin1(m.caption),
                                        {10 + k * 70, 156, 64, 24});
        const QString mode = QString::fromLatin1(m.mode);
        connect(button, &QPushButton::clicked, this, [this, mode] { modeButton_Click(mode); });
    }

    chkScan_ = new QCheckBox(QStringLiteral("Scan"), this);
    chkScan_->setObjectName(QStringLiteral("chkScan"));
    layout_.place(chkScan_, {10, 196, 64, 22}, kPointSize);
    connect(chkScan_, &QCheckBox::clicked, this, &TuneDialog::chkScan_Click);
    auto* fromLabel = new QLabel(QStringLiteral("From:"), this);
    fromLabel->setObjectName(QStringLiteral("Label2"));
    layout_.place(fromLabel, {84, 196, 36, 22}, kPointSize);
    txtFrom_ = addNumberBox(QStringLiteral("txtFrom"), QString::fromLatin1(TuneTables::kScanFrom), {120, 196, 70, 22});
    auto* toLabel = new QLabel(QStringLiteral("To:"), this);
    toLabel->setObjectName(QStringLiteral("Label3"));
    layout_.place(toLabel, {204, 196, 24, 22}, kPointSize);
    txtTo_ = addNumberBox(QStringLiteral("txtTo"), QString::fromLatin1(TuneTables::kScanTo), {228, 196, 70, 22});

    auto* frame = new QGroupBox(QStringLiteral("Scan Steps"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    layout_.place(frame, {10, 228, 420, 62}, kPointSize);
    for (int k = 0; k < int(scanOptions_.size()); ++k) {
        scanOptions_[k] = new QRadioButton(QString::fromLatin1(TuneTables::kScanSteps[k].caption), frame);
        scanOptions_[k]->setObjectName(QStringLiteral("Option%1").arg(k + 1));
        layout_.place(scanOptions_[k], {10 + k * 80, 26, 76, 22}, kPointSize);
    }
    scanOptions_[TuneTables::kDefaultScanStep]->setChecked(true);

    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    layout_.place(lblStatus_, {10, 296, 420, 22}, kPointSize);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(TuneTables::kScanIntervalMs);
    connect(timer1_, &QTimer::timeout, this, &TuneDialog::Timer1_Timer);
    timer1_->start();

    // Any key on the window while scanning stops the scan, so every control reports its keys.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    txtFreq_Change();
    layout_.scaleDialogToScreen(this);
}

QPushButton* TuneDialog::addButton(const QString& name, const QString& caption, QRect design)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Enter in the frequency box means "&Go", never a default button.
    button->setAutoDefault(false);
    layout_.place(button, design, kPointSize);
    return button;
}

QLineEdit* TuneDialog::addNumberBox(const QString& name, const QString& text, QRect design)
{
    auto* box = new QLineEdit(text, this);
    box->setObjectName(name);
    layout_.place(box, design, kPointSize);
    return box;
}

bool TuneDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (chkScan_->isChecked())
        chkScan_->setChecked(false);
    if (watched == txtFreq_ || watched == txtFrom_ || watched == txtTo_) {
        if (isRefusedCharacter(key))
            return true;
        if (watched == txtFreq_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            Command1_Click();
            txtFreq_->setFocus();
            txtFreq_->setCursorPosition(int(txtFreq_->text().size()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TuneDialog::go(const QString& mode)
{
    const std::optional<qint64> hz = FrequencyHz::parseMHz(txtFreq_->text());
    if (!hz)
        return;
    // Without a poll the frequency command does nothing: say why, rather than nothing at all.
    const bool polled = rig_.polling() && rig_.rigName() != u"None";
    lblStatus_->setText(polled ? QString() : kNotPolledText);
    if (rig_.rigName() != u"None")
        rig_.changeFrequency(*hz, mode);
}

void TuneDialog::Command1_Click() { go(QString()); }

void TuneDialog::cmdBand_Click(int index)
{
    const TuneTables::Band& band = TuneTables::kBands[size_t(index)];
    txtFreq_->setText(QString::fromLatin1(band.mhzText));
    go(band.mode ? QString::fromLatin1(band.mode) : QString());
}

void TuneDialog::cmdTune_Click(int index)
{
    const std::optional<qint64> hz = FrequencyHz::parseMHz(txtFreq_->text());
    if (!hz)
        return;
    const qint64 step = TuneTables::kSteps[size_t(index / 2)].hz;
    txtFreq_->setText(FrequencyHz::toMHzText(index % 2 == 0 ? *hz + step : *hz - step));
    Command1_Click();
    cmdDone_->setFocus();
}

void TuneDialog::modeButton_Click(const QString& mode)
{
    rig_.changeMode(0, mode);
    cmdDone_->setFocus();
}

void TuneDialog::txtFreq_Change()
{
    const bool numeric = FrequencyHz::parseMHz(txtFreq_->text()).has_value();
    for (QPushButton* button : cmdTune_)
        button->setEnabled(numeric);
}

void TuneDialog::chkScan_Click()
{
    if (!chkScan_->isChecked())
        return;
    if (!FrequencyHz::parseMHz(txtFreq_->text()))
        txtFreq_->setText(txtFrom_->text());
    command1_->setFocus();
}

qint64 TuneDialog::scanStepHz() const
{
    for (size_t k = 0; k < scanOptions_.size(); ++k) {
        if (scanOptions_[k]->isChecked())
            return TuneTables::kScanSteps[k].hz;
    }
    return TuneTables::kScanSteps[TuneTables::kDefaultScanStep].hz;
}

void TuneDialog::Timer1_Timer()
{
    if (!chkScan_->isChecked())
        return;
    const std::optional<qint64> hz = FrequencyHz::parseMHz(txtFreq_->text());
    const std::optional<qint64> from = FrequencyHz::parseMHz(txtFrom_->text());
    const std::optional<qint64> to = FrequencyHz::parseMHz(txtTo_->text());
    if (!hz || !from || !to)
        return;
    txtFreq_->setText(TuneTables::scanText(TuneTables::nextScanHz(*hz, scanStepHz(), *from, *to)));
    Command1_Click();
}

void TuneDialog::cmdDone_Click()
{
    timer1_->stop();
    accept();
}

void TuneDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

}  // namespace cubwave
