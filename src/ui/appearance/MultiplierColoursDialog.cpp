#include "ui/appearance/MultiplierColoursDialog.h"

#include "platform/Dialogs.h"
#include "ui/common/SettingsWindowKeys.h"
#include "ui/common/VbColor.h"

#include <QLabel>
#include <QPushButton>

namespace cubwave {

namespace {

// On the 640 x 480 design surface.
constexpr QSize kDesignSize(400, 196);
constexpr double kSamplePointSize = 12;
constexpr double kButtonPointSize = 8;

}  // namespace

MultiplierColoursDialog::MultiplierColoursDialog(qint32 workedColour, qint32 remainingColour, Dialogs& dialogs,
                                                 QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), worked_(workedColour), remaining_(remainingColour), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));

    const auto sample = [this](const char* name, const QString& text, QRect design) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        layout_.place(label, design, kSamplePointSize);
        return label;
    };
    workedSample_ = sample("Label1", QStringLiteral("Appearance of multiplier worked"), {16, 16, 368, 28});
    remainingSample_ = sample("Label2", QStringLiteral("Appearance of multiplier remaining"), {16, 52, 368, 28});

    const auto button = [this](const char* name, const QString& caption, QRect design) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        layout_.place(b, design, kButtonPointSize);
        return b;
    };
    QPushButton* changeWorked = button("Command3", QStringLiteral("Change \"Worked\" Color"), {16, 100, 176, 32});
    QPushButton* changeRemaining = button("Command1", QStringLiteral("Change \"Remaining\" Color"), {208, 100, 176, 32});
    QPushButton* done = button("Command6", QStringLiteral("Done"), {140, 148, 120, 32});
    connect(changeWorked, &QPushButton::clicked, this, &MultiplierColoursDialog::Command3_Click);
    connect(changeRemaining, &QPushButton::clicked, this, &MultiplierColoursDialog::Command1_Click);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    showSamples();
    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, done);
}

void MultiplierColoursDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void MultiplierColoursDialog::Command3_Click()
{
    // Cancelling the picker keeps the colour it was opened on.
    if (const std::optional<qint32> chosen = dialogs_.pickColour(worked_))
        worked_ = *chosen;
    showSamples();
}

void MultiplierColoursDialog::Command1_Click()
{
    if (const std::optional<qint32> chosen = dialogs_.pickColour(remaining_))
        remaining_ = *chosen;
    showSamples();
}

void MultiplierColoursDialog::showSamples()
{
    setTextColour(workedSample_, worked_);
    setTextColour(remainingSample_, remaining_);
}

}  // namespace cubwave
