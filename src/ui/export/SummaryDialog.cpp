#include "ui/export/SummaryDialog.h"

#include "core/FileWrite.h"
#include "core/NameFromCall.h"
#include "core/SharedPrefsDocument.h"
#include "export/CabrilloSummary.h"
#include "export/ProductCaption.h"
#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "ui/export/ExportMessages.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(420, 320);
constexpr double kDesignPointSize = 8;
// The header takes this many characters of the main window's caption.
constexpr int kCaptionWidth = 50;
// Longer text can only come from a paste; it would swell the settings and the shared document.
constexpr int kMaxFieldLength = 255;

const QString kThanksTitle = QStringLiteral("  Thanks!");
const QString kThanksText = QStringLiteral(
    "Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a friend!\r\n\r\n"
    "73 and good luck in the next Cubwave event,\r\nthe Cubwave Log team");
const QString kAdvice = QStringLiteral(
    "Attach this file to an e-mail addressed for contest submission.  If you wish to print this file, you can "
    "open it with Notepad or Wordpad to print.");

}  // namespace

const QString SummaryDialog::kCaption = QStringLiteral("Summary Sheet Information");
const QString SummaryDialog::kNotice = QStringLiteral(
    "This function will write an ASCII file along the lines of the Cabrillo format.  It is not a true Cabrillo "
    "file.");
const QString SummaryDialog::kSettingKeys[4] = {QStringLiteral("UserAddressName"), QStringLiteral("UserAddressLine1"),
                                                QStringLiteral("UserAddressLine2"), QStringLiteral("UserEMail")};
const QString SummaryDialog::kSharedElements[4] = {QStringLiteral("OWN_ADDRESS_NAME"),
                                                   QStringLiteral("OWN_ADDRESS_Line1"),
                                                   QStringLiteral("OWN_ADDRESS_Line2"), QStringLiteral("OWN_EMAIL")};

SummaryDialog::SummaryDialog(Inputs inputs, Dialogs& dialogs, Beeper& beeper, SettingsStore& settings,
                             SharedPrefsDocument& shared, QWidget* parent)
    : QDialog(parent), inputs_(std::move(inputs)), dialogs_(dialogs), beeper_(beeper), settings_(settings),
      shared_(shared), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kCaption);

    auto* label1 = new QLabel(kNotice, this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    layout_.place(label1, {12, 8, 396, 34}, kDesignPointSize);

    const auto stored = [this](int i) { return settings_.value(kSettingKeys[i], QString()); };
    text5_ = addRow(QStringLiteral("Label6"), QStringLiteral("Your Name:"), QStringLiteral("Text5"), stored(0), 50);
    text6_ = addRow(QStringLiteral("Label9"), QStringLiteral("Address Line 1:"), QStringLiteral("Text6"), stored(1), 78);
    text7_ = addRow(QStringLiteral("Label8"), QStringLiteral("Address Line 2:"), QStringLiteral("Text7"), stored(2), 106);
    text8_ = addRow(QStringLiteral("Label7"), QStringLiteral("Email Address:"), QStringLiteral("Text8"), stored(3), 134);

    auto* label12 =
        new QLabel(QStringLiteral("Soapbox (Add any comments you would like to make about the event):"), this);
    label12->setObjectName(QStringLiteral("Label12"));
    layout_.place(label12, {12, 164, 396, 18}, kDesignPointSize);
    text11_ = new QPlainTextEdit(this);
    text11_->setObjectName(QStringLiteral("Text11"));
    text11_->setTabChangesFocus(true);
    layout_.place(text11_, {12, 184, 396, 80}, kDesignPointSize);
    label12->setBuddy(text11_);

    command4_ = new QPushButton(QStringLiteral("Write Summary File"), this);
    command4_->setObjectName(QStringLiteral("Command4"));
    command4_->setAutoDefault(false);
    layout_.place(command4_, {60, 276, 150, 28}, kDesignPointSize);
    connect(command4_, &QPushButton::clicked, this, &SummaryDialog::Command4_Click);

    command3_ = new QPushButton(QStringLiteral("Done"), this);
    command3_->setObjectName(QStringLiteral("Command3"));
    command3_->setAutoDefault(false);
    layout_.place(command3_, {230, 276, 120, 28}, kDesignPointSize);
    connect(command3_, &QPushButton::clicked, this, &SummaryDialog::Command3_Click);

    layout_.scaleDialogToScreen(this);
    text5_->setFocus(Qt::OtherFocusReason);
}

QLineEdit* SummaryDialog::addRow(const QString& labelName, const QString& caption, const QString& fieldName,
                                 const QString& text, int y)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(labelName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout_.place(label, {12, y, 110, 22}, kDesignPointSize);
    auto* field = new QLineEdit(this);
    field->setObjectName(fieldName);
    field->setMaxLength(kMaxFieldLength);
    field->setText(text);
    layout_.place(field, {128, y, 280, 22}, kDesignPointSize);
    label->setBuddy(field);
    return field;
}

void SummaryDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void SummaryDialog::Command3_Click() { accept(); }

void SummaryDialog::showWriteError(const QString& path, const QString& reason)
{
    beeper_.beep();
    dialogs_.message(ExportMessages::kWriteErrorTitle, ExportMessages::fileError(path, reason), MsgButtons::Ok,
                     MsgIcon::Critical);
}

void SummaryDialog::Command4_Click()
{
    inputs_.ownCall = inputs_.ownCall.trimmed();
    const QString stem = nameFromCall(inputs_.ownCall);
    const std::optional<QString> target = dialogs_.saveFile(
        {QStringLiteral("Write Summary File"), inputs_.dataFolder, stem + QStringLiteral(".log"),
         QStringLiteral("ADIF Files (*.log) | *.log")});
    if (!target)
        return;

    CabrilloSummary::Header header;
    header.productName = ProductCaption::productName(inputs_.caption, kCaptionWidth);
    header.ownLocation = inputs_.ownLocation;
    header.ownCall = inputs_.ownCall;
    header.name = text5_->text();
    header.address1 = text6_->text();
    header.address2 = text7_->text();
    header.email = text8_->text();
    header.soapbox = text11_->toPlainText();
    const WriteResult written = replaceFileAtomically(*target, CabrilloSummary::document(header, inputs_.records));
    if (!written.ok) {
        showWriteError(*target, written.error);
        return;
    }
    writtenPath_ = *target;

    beeper_.beep();
    dialogs_.message(ExportMessages::kWrittenTitle,
                     ExportMessages::writtenText(*target) + QStringLiteral("\r\n\r\n") + kAdvice);
    beeper_.beep();
    dialogs_.message(kThanksTitle, kThanksText);
    command3_->setFocus(Qt::OtherFocusReason);
    saveAddressFields();
}

void SummaryDialog::saveAddressFields()
{
    const QString values[4] = {text5_->text().trimmed(), text6_->text().trimmed(), text7_->text().trimmed(),
                               text8_->text().trimmed()};
    for (int i = 0; i < 4; ++i)
        settings_.setValue(kSettingKeys[i], values[i]);
    // The document is written once, after the fourth value.
    WriteResult saved;
    for (int i = 0; i < 4; ++i)
        saved = shared_.setValue(kSharedElements[i], values[i], i == 3);
    if (!saved.ok)
        showWriteError(shared_.path(), saved.error);
}

}  // namespace cubwave
