#include "ui/voice/VoiceSetupWindow.h"

#include "core/KeyCodes.h"
#include "cw/CwFieldRules.h"
#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "ui/common/KeyTranslation.h"
#include "ui/common/SettingsWindowKeys.h"
#include "voice/VoiceKeyer.h"

#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(440, 420);
constexpr double kDesignPointSize = 8;
constexpr int kRowTop = 10;
constexpr int kRowStep = 26;

// A pasted double quote would end the value early in the message list.
void dropQuotes(QLineEdit* field)
{
    if (!field->text().contains(QLatin1Char('"')))
        return;
    const int caret = field->cursorPosition();
    const int before = static_cast<int>(field->text().left(caret).count(QLatin1Char('"')));
    QString clean = field->text();
    clean.remove(QLatin1Char('"'));
    field->setText(clean);
    field->setCursorPosition(caret - before);
}

bool leftByTheOperator(const QFocusEvent& event)
{
    // Another program, a menu or a message box taking the activation is no leaving of a field.
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

}  // namespace

VoiceSetupWindow::VoiceSetupWindow(VoiceKeyer& keyer, Dialogs& dialogs, Beeper& beeper, QString workDir,
                                   QWidget* parent)
    : QDialog(parent), keyer_(keyer), dialogs_(dialogs), beeper_(beeper), workDir_(std::move(workDir)),
      layout_(kDesignSize)
{
    setObjectName(QStringLiteral("PhoneFrm"));
    setWindowTitle(kCaption);

    // Created top to bottom, which is also the Tab order.
    for (int i = 0; i < VoiceSettings::kMessageCount; ++i) {
        const int y = kRowTop + i * kRowStep;
        auto* label = new QLabel(QStringLiteral("F%1").arg(i + 1), this);
        label->setObjectName(QStringLiteral("lblF%1").arg(i + 1));
        layout_.place(label, {10, y, 24, 22}, kDesignPointSize);
        paths_[i] = addField(QStringLiteral("Text%1").arg(i + 1), {36, y, 300, 22});
        label->setBuddy(paths_[i]);
        auto* browseButton = new QPushButton(QStringLiteral("Browse"), this);
        browseButton->setObjectName(QStringLiteral("Command%1").arg(i + 2));
        browseButton->setAutoDefault(false);
        layout_.place(browseButton, {344, y, 84, 22}, kDesignPointSize);
        connect(browseButton, &QPushButton::clicked, this, [this, i] { browse(i); });
    }

    const int y0 = kRowTop + VoiceSettings::kMessageCount * kRowStep + 8;
    auto* portLabel = new QLabel(QStringLiteral("PTT Port"), this);
    portLabel->setObjectName(QStringLiteral("lblPort"));
    layout_.place(portLabel, {10, y0, 70, 22}, kDesignPointSize);
    text10_ = addField(QStringLiteral("Text10"), {84, y0, 40, 22});
    portLabel->setBuddy(text10_);

    option1_ = new QRadioButton(QStringLiteral("RTS"), this);
    option1_->setObjectName(QStringLiteral("Option1"));
    option2_ = new QRadioButton(QStringLiteral("DTR"), this);
    option2_->setObjectName(QStringLiteral("Option2"));
    option3_ = new QRadioButton(QStringLiteral("Parallel"), this);
    option3_->setObjectName(QStringLiteral("Option3"));
    option1_->setChecked(true);
    layout_.place(option1_, {140, y0, 60, 22}, kDesignPointSize);
    layout_.place(option2_, {204, y0, 60, 22}, kDesignPointSize);
    layout_.place(option3_, {268, y0, 80, 22}, kDesignPointSize);
    for (QRadioButton* option : {option1_, option2_, option3_})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                pushSettings();
        });

    const int y1 = y0 + kRowStep + 4;
    auto* addressLabel = new QLabel(QStringLiteral("Parallel Address"), this);
    addressLabel->setObjectName(QStringLiteral("lblAddress"));
    layout_.place(addressLabel, {10, y1, 100, 22}, kDesignPointSize);
    text11_ = addField(QStringLiteral("Text11"), {114, y1, 70, 22});
    addressLabel->setBuddy(text11_);

    auto* loopLabel = new QLabel(QStringLiteral("Loop (Sec)"), this);
    loopLabel->setObjectName(QStringLiteral("lblPHLoop"));
    layout_.place(loopLabel, {204, y1, 70, 22}, kDesignPointSize);
    txtPHLoop_ = addField(QStringLiteral("txtPHLoop"), {278, y1, 50, 22});
    loopLabel->setBuddy(txtPHLoop_);

    const int y2 = y1 + kRowStep + 10;
    command11_ = new QPushButton(QStringLiteral("Test"), this);
    command11_->setObjectName(QStringLiteral("Command11"));
    layout_.place(command11_, {10, y2, 70, 26}, kDesignPointSize);
    auto* testLabel = new QLabel(QStringLiteral("Plays F1 Command"), this);
    testLabel->setObjectName(QStringLiteral("lblTest"));
    layout_.place(testLabel, {86, y2, 110, 26}, kDesignPointSize);
    command12_ = new QPushButton(QStringLiteral("Stop"), this);
    command12_->setObjectName(QStringLiteral("Command12"));
    command12_->hide();
    layout_.place(command12_, {204, y2, 70, 26}, kDesignPointSize);
    command1_ = new QPushButton(QStringLiteral("Done"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    layout_.place(command1_, {344, y2, 84, 26}, kDesignPointSize);
    for (QPushButton* b : {command11_, command12_, command1_})
        b->setAutoDefault(false);
    connect(command11_, &QPushButton::clicked, this, &VoiceSetupWindow::Command11_Click);
    connect(command12_, &QPushButton::clicked, this, &VoiceSetupWindow::Command12_Click);
    connect(command1_, &QPushButton::clicked, this, &VoiceSetupWindow::Command1_Click);

    connect(&keyer_, &VoiceKeyer::pttPortInvalid, this, &VoiceSetupWindow::portInvalid);
    connect(&keyer_, &VoiceKeyer::soundOutputMissing, this, &VoiceSetupWindow::soundOutputMissing);
    // "Stop" is there only while a repeat runs.
    connect(&keyer_, &VoiceKeyer::repeatingChanged, this, [this](bool repeating) {
        if (!repeating)
            command12_->hide();
    });

    showSettings(keyer_.settings());
    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, command1_);
}

QLineEdit* VoiceSetupWindow::addField(const QString& name, QRect design)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(kMaxPathLength);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, [field] { dropQuotes(field); });
    connect(field, &QLineEdit::textChanged, this, &VoiceSetupWindow::pushSettings);
    layout_.place(field, design, kDesignPointSize);
    return field;
}

void VoiceSetupWindow::keyPressEvent(QKeyEvent* event)
{
    // There is no Cancel: Esc is "Done" (see useSettingsWindowKeys), never a reject that would
    // hide the window without writing the list.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void VoiceSetupWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

VoiceSettings VoiceSetupWindow::fieldSettings() const
{
    VoiceSettings s;
    for (int i = 0; i < VoiceSettings::kMessageCount; ++i)
        s.paths[i] = paths_[i]->text();
    s.port = text10_->text();
    s.pttLine = option2_->isChecked() ? PttLine::Dtr : option3_->isChecked() ? PttLine::Parallel : PttLine::Rts;
    s.loopSeconds = txtPHLoop_->text();
    s.address = text11_->text();
    return s;
}

void VoiceSetupWindow::showSettings(const VoiceSettings& s)
{
    showing_ = true;
    for (int i = 0; i < VoiceSettings::kMessageCount; ++i)
        paths_[i]->setText(s.paths[i]);
    text10_->setText(s.port);
    (s.pttLine == PttLine::Dtr ? option2_ : s.pttLine == PttLine::Parallel ? option3_ : option1_)->setChecked(true);
    txtPHLoop_->setText(s.loopSeconds);
    text11_->setText(s.address);
    showing_ = false;
}

void VoiceSetupWindow::pushSettings()
{
    if (!showing_)
        keyer_.setSettings(fieldSettings());
}

VoiceMessageFile::Loaded VoiceSetupWindow::readMessageFile()
{
    const VoiceMessageFile::Loaded loaded = VoiceMessageFile::load(workDir_, VoiceSettings{});
    if (loaded.ok) {
        showSettings(loaded.settings);
        keyer_.setSettings(loaded.settings);
    }
    return loaded;
}

void VoiceSetupWindow::browse(int index)
{
    if (index < 0 || index >= VoiceSettings::kMessageCount)
        return;
    const std::optional<QString> chosen = dialogs_.openFile({QString(), workDir_, QString(), kBrowseFilter});
    if (!chosen) {
        beeper_.beep();
        return;
    }
    if (!VoiceMessageFile::storablePath(*chosen)) {
        dialogs_.message(kUnstorablePathTitle, kUnstorablePathText, MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    paths_[index]->setText(*chosen);
    command1_->setFocus(Qt::OtherFocusReason);
}

void VoiceSetupWindow::Command11_Click()
{
    keyer_.fKeyPhone(VoiceKeyer::kF1);
    if (isVisible())
        command1_->setFocus(Qt::OtherFocusReason);
    if (keyer_.repeating())
        command12_->show();
}

void VoiceSetupWindow::Command12_Click()
{
    keyer_.cancelRepeat();
    command12_->hide();
}

void VoiceSetupWindow::Command1_Click()
{
    hide();
    const WriteResult written = VoiceMessageFile::save(workDir_, fieldSettings());
    if (!written.ok) {
        dialogs_.message(kSaveErrorTitle,
                         QStringLiteral("The voice messages could not be saved in %1:  %2\n\n"
                                        "They stay in use until the program ends.")
                             .arg(QDir::toNativeSeparators(VoiceMessageFile::savePath(workDir_)), written.error),
                         MsgButtons::Ok, MsgIcon::Critical);
    }
}

void VoiceSetupWindow::Text10_LostFocus()
{
    const QString kept = CwFieldRules::leftNumberField(text10_->text());
    if (kept != text10_->text())
        text10_->setText(kept);
    keyer_.openPttLine();
}

void VoiceSetupWindow::txtPHLoop_LostFocus()
{
    const CwFieldRules::RepeatField r = CwFieldRules::leftRepeat(txtPHLoop_->text());
    if (r.text != txtPHLoop_->text())
        txtPHLoop_->setText(r.text);
    if (r.beep)
        beeper_.beep();
}

void VoiceSetupWindow::portInvalid(const QString& title, const QString& text)
{
    beeper_.beep();
    dialogs_.message(title, text, MsgButtons::Ok, MsgIcon::Information);
    if (!isVisible())
        exec();
}

void VoiceSetupWindow::soundOutputMissing(const QString& title, const QString& text, bool firstInRun)
{
    beeper_.beep();
    if (firstInRun)
        dialogs_.message(title, text, MsgButtons::Ok, MsgIcon::Warning);
}

bool VoiceSetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || field->parentWidget() != this)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        const int keyAscii = translateKey(*static_cast<QKeyEvent*>(event)).keyAscii;
        // Keys that type nothing (arrows, Tab, Delete) keep their usual meaning.
        if (keyAscii == 0)
            return false;
        if (field == txtPHLoop_)
            return !CwFieldRules::repeatKeyAccepted(QChar(keyAscii));
        if (keyAscii == key::Quote)
            return true;
        if (field == text11_) {
            const QChar typed = CwFieldRules::messageKey(QChar(keyAscii));
            if (typed.unicode() != keyAscii) {
                field->insert(QString(typed));
                return true;
            }
        }
        return false;
    }
    case QEvent::FocusIn:
        if (field == text10_)
            QTimer::singleShot(0, text10_, &QLineEdit::selectAll);  // after the click places the caret
        return false;
    case QEvent::FocusOut:
        if (!leftByTheOperator(*static_cast<QFocusEvent*>(event)))
            return false;
        if (field == text10_)
            Text10_LostFocus();
        else if (field == txtPHLoop_)
            txtPHLoop_LostFocus();
        return false;
    default:
        return false;
    }
}

}  // namespace cubwave
