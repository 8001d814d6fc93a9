#include "ui/rig/FrequencyTestDialog.h"

#include "platform/Dialogs.h"
#include "rig/FrequencyHz.h"
#include "rig/HexText.h"
#include "rig/RigTuning.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(420, 260);
constexpr double kPointSize = 8;

}  // namespace

const QString FrequencyTestDialog::kCaption = QStringLiteral("Test Change Frequency Function");
const QString FrequencyTestDialog::kBadHexTitle = QStringLiteral("Command Not Sent");
const QString FrequencyTestDialog::kBadHexText =
    QStringLiteral("The command is not hex text.  Type each byte as two hexadecimal digits with one space between "
                   "bytes, such as FE FE 64 E0 03 FD.  Nothing was sent.");
const QString FrequencyTestDialog::kBadTextText =
    QStringLiteral("The command holds characters that cannot be sent as single bytes.  Nothing was sent.");
const QString FrequencyTestDialog::kSendFailedTitle = QStringLiteral("Error Sending Command");
const QString FrequencyTestDialog::kBadFrequencyTitle = QStringLiteral("Frequency Not Sent");
const QString FrequencyTestDialog::kBadFrequencyText =
    QStringLiteral("The frequency is not a number of MHz, such as 28.475.  Nothing was sent.");

FrequencyTestDialog::FrequencyTestDialog(RigTuning& rig, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), rig_(rig), dialogs_(dialogs), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmFrequencyTest"));
    setWindowTitle(kCaption);

    const auto addLabel = [this](const QString& name, const QString& text, QRect design) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setWordWrap(true);
        layout_.place(label, design, kPointSize);
    };
    const auto addButton = [this](const QString& name, QRect design) {
        auto* button = new QPushButton(QStringLiteral("Send"), this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        layout_.place(button, design, kPointSize);
        return button;
    };

    addLabel(QStringLiteral("Label1"),
             QStringLiteral("Type a command as the radio's manual gives it and click Send; it goes to the rig exactly "
                            "as typed, with no line ending added."),
             {10, 8, 400, 32});
    addLabel(QStringLiteral("Label2"),
             QStringLiteral("For a command of hexadecimal bytes, type each byte as two digits with one space between "
                            "bytes (FE FE 64 E0 03 FD) and tick Convert to Hex."),
             {10, 42, 400, 32});
    text1_ = new QLineEdit(QStringLiteral("FA00028475000;"), this);
    text1_->setObjectName(QStringLiteral("Text1"));
    layout_.place(text1_, {10, 80, 240, 22}, kPointSize);
    check1_ = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    layout_.place(check1_, {258, 80, 100, 22}, kPointSize);
    QPushButton* command1 = addButton(QStringLiteral("Command1"), {360, 79, 50, 24});
    connect(command1, &QPushButton::clicked, this, &FrequencyTestDialog::Command1_Click);

    addLabel(QStringLiteral("Label3"),
             QStringLiteral("Type a frequency in MHz and click Send to try the rig's own frequency command."),
             {10, 124, 400, 32});
    text2_ = new QLineEdit(QStringLiteral("28.475"), this);
    text2_->setObjectName(QStringLiteral("Text2"));
    layout_.place(text2_, {10, 160, 240, 22}, kPointSize);
    QPushButton* command2 = addButton(QStringLiteral("Command2"), {360, 159, 50, 24});
    connect(command2, &QPushButton::clicked, this, &FrequencyTestDialog::Command2_Click);

    layout_.scaleDialogToScreen(this);
}

void FrequencyTestDialog::Command1_Click()
{
    const QString typed = text1_->text().trimmed();
    QByteArray bytes;
    if (check1_->isChecked()) {
        const std::optional<QByteArray> converted = HexText::typedToBytes(typed);
        if (!converted) {
            dialogs_.message(kBadHexTitle, kBadHexText, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        bytes = *converted;
    } else {
        if (std::any_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
            dialogs_.message(kBadHexTitle, kBadTextText, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        bytes = typed.toLatin1();
    }
    if (bytes.isEmpty())
        return;
    if (const std::optional<QString> error = rig_.sendRaw(bytes))
        dialogs_.message(kSendFailedTitle, *error, MsgButtons::Ok, MsgIcon::Critical);
}

void FrequencyTestDialog::Command2_Click()
{
    const std::optional<qint64> hz = FrequencyHz::parseMHz(text2_->text());
    if (!hz) {
        dialogs_.message(kBadFrequencyTitle, kBadFrequencyText, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    rig_.changeFrequency(*hz);
}

void FrequencyTestDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

}  // namespace cubwave
