#pragma once

#include "ui/common/DesignLayout.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace cubwave {

class Dialogs;

// Where the operator picks the colours of the multiplier labels: worked and still remaining.
// A chosen colour holds at once; the opener stores both when the window has closed.
class MultiplierColoursDialog : public QDialog {
    Q_OBJECT

public:
    MultiplierColoursDialog(qint32 workedColour, qint32 remainingColour, Dialogs& dialogs, QWidget* parent = nullptr);

    qint32 workedColour() const { return worked_; }
    qint32 remainingColour() const { return remaining_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Command3_Click();
    void Command1_Click();
    void showSamples();

    Dialogs& dialogs_;
    qint32 worked_;
    qint32 remaining_;
    DesignLayout layout_;
    QLabel* workedSample_ = nullptr;     // Label1
    QLabel* remainingSample_ = nullptr;  // Label2
};

}  // namespace cubwave
