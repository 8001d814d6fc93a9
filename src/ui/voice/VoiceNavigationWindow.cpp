#include "ui/voice/VoiceNavigationWindow.h"

#include "ui/common/SettingsWindowKeys.h"
#include "voice/VoiceNavigation.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace cubwave {

namespace {
constexpr QSize kDesignSize(400, 300);
constexpr double kDesignPointSize = 8;
}  // namespace

VoiceNavigationWindow::VoiceNavigationWindow(VoiceNavigation& navigation, QWidget* parent)
    : QDialog(parent), navigation_(navigation), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("BlindFrm"));
    setWindowTitle(kCaption);

    auto* instructions = new QLabel(kInstructions, this);
    instructions->setObjectName(QStringLiteral("lblInstructions"));
    instructions->setWordWrap(true);
    layout_.place(instructions, {12, 10, 376, 48}, kDesignPointSize);

    auto* frame = new QGroupBox(kFrameText, this);
    frame->setObjectName(QStringLiteral("Frame1"));
    layout_.place(frame, {12, 64, 376, 100}, kDesignPointSize);
    option1_ = new QRadioButton(QStringLiteral("Off"), this);
    option1_->setObjectName(QStringLiteral("Option1"));
    option2_ = new QRadioButton(QStringLiteral("Call Only"), this);
    option2_->setObjectName(QStringLiteral("Option2"));
    option3_ = new QRadioButton(QStringLiteral("All Data Fields"), this);
    option3_->setObjectName(QStringLiteral("Option3"));
    layout_.place(option1_, {28, 86, 200, 22}, kDesignPointSize);
    layout_.place(option2_, {28, 110, 200, 22}, kDesignPointSize);
    layout_.place(option3_, {28, 134, 200, 22}, kDesignPointSize);

    auto* enable = new QLabel(kEnableText, this);
    enable->setObjectName(QStringLiteral("lblEnable"));
    layout_.place(enable, {12, 172, 376, 20}, kDesignPointSize);
    auto* folder = new QLabel(kFolderText + QDir::toNativeSeparators(navigation_.workDir()), this);
    folder->setObjectName(QStringLiteral("lblFolder"));
    folder->setWordWrap(true);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout_.place(folder, {12, 194, 376, 48}, kDesignPointSize);

    command1_ = new QPushButton(QStringLiteral("Done"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(false);
    layout_.place(command1_, {296, 256, 92, 28}, kDesignPointSize);
    connect(command1_, &QPushButton::clicked, this, &VoiceNavigationWindow::Command1_Click);

    // The level in use is selected without a cue: the first cue of the run announces it.
    const int level = navigation_.level();
    (level <= VoiceNavigation::kOff ? option1_ : level == VoiceNavigation::kCallOnly ? option2_ : option3_)
        ->setChecked(true);
    const auto chosen = [this](int level) {
        return [this, level](bool on) {
            if (on)
                navigation_.chooseOption(level);
        };
    };
    connect(option1_, &QRadioButton::toggled, this, chosen(VoiceNavigation::kOff));
    connect(option2_, &QRadioButton::toggled, this, chosen(VoiceNavigation::kCallOnly));
    connect(option3_, &QRadioButton::toggled, this, chosen(VoiceNavigation::kAllFields));

    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, command1_);
}

int VoiceNavigationWindow::selectedLevel() const
{
    return option3_->isChecked()   ? VoiceNavigation::kAllFields
           : option2_->isChecked() ? VoiceNavigation::kCallOnly
                                   : VoiceNavigation::kOff;
}

void VoiceNavigationWindow::Command1_Click()
{
    const int level = selectedLevel();
    navigation_.setLevel(level);
    hide();
    emit levelSaved(level);
}

void VoiceNavigationWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Opening the window announces the level, unless a cue of this run already has.
    navigation_.announceLevel();
}

void VoiceNavigationWindow::keyPressEvent(QKeyEvent* event)
{
    // There is no Cancel: Esc is "Done" (see useSettingsWindowKeys), never a reject.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void VoiceNavigationWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

}  // namespace cubwave
