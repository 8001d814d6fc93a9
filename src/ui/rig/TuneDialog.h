#pragma once

#include "ui/common/DesignLayout.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace cubwave {

class RigTuning;

// " Change Frequency and Mode (Ctrl G (Go))": sets a typed frequency, jumps to a band, steps up
// and down, scans a range and sets the mode, all through the rig's commands.
class TuneDialog : public QDialog {
    Q_OBJECT

public:
    static const QString kCaption;
    // "&Go" while no rig is polled, on the window's status label.
    static const QString kNotPolledText;

    explicit TuneDialog(RigTuning& rig, QWidget* parent = nullptr);

    // "&Go" (and Enter in the frequency box).
    void Command1_Click();
    void cmdBand_Click(int index);
    void cmdTune_Click(int index);
    // The mode buttons: "CW", "LSB", "USB", "AM", "FM", "RTTY".
    void modeButton_Click(const QString& mode);
    // The scan timer's tick.
    void Timer1_Timer();
    // "&Done": hides the window.
    void cmdDone_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& caption, QRect design);
    QLineEdit* addNumberBox(const QString& name, const QString& text, QRect design);
    void go(const QString& mode);
    void txtFreq_Change();
    void chkScan_Click();
    qint64 scanStepHz() const;

    RigTuning& rig_;
    DesignLayout layout_;
    QLineEdit* txtFreq_ = nullptr;
    QLineEdit* txtFrom_ = nullptr;
    QLineEdit* txtTo_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* cmdDone_ = nullptr;
    QCheckBox* chkScan_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    std::array<QPushButton*, 10> cmdTune_{};
    std::array<QRadioButton*, 5> scanOptions_{};
    QTimer* timer1_ = nullptr;
};

}  // namespace cubwave
