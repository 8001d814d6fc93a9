#pragma once

#include "bandplan/BandPlanFile.h"
#include "bandplan/PrivilegesLayout.h"

#include <QDialog>

#include <vector>

class QFrame;
class QLabel;
class QPushButton;

namespace cubwave {

class Dialogs;

// "Frequency Privileges": for one licence class at a time, each band as a bar across its full
// range with the class's CW and phone segments on it, read from "BandPlan.txt". It fills the
// screen's work area from the top left corner.
class PrivilegesWindow : public QDialog {
    Q_OBJECT

public:
    static const QString kCaption;
    static const QString kEffectivePrefix;
    static const QString kNoDataTitle;
    static const QString kNoDataText;

    // folder: where "BandPlan.txt" is. A file that cannot be used is reported here, once.
    PrivilegesWindow(const QString& folder, Dialogs& dialogs, QWidget* parent = nullptr);

    // The class buttons Command1 to Command6, by index 0 ("Novice") to 5 ("Extra").
    void classButton_Click(int index);
    // Command7 "Done": hides the window.
    void Command7_Click();

    const PrivilegesDrawing& drawing() const { return drawing_; }
    bool bandDataLoaded() const { return loaded_; }

private:
    struct Placed {
        QWidget* widget;
        QRect design;
        double pointSize;
    };

    QLabel* addLabel(const QString& name, const QString& text, QRect design, double pointSize, bool bold = false);
    void fitToWorkArea();
    void draw(const QString& licenceClass);
    void removeDrawing();
    void addDrawnLabel(const PrivilegeLabel& item);

    Dialogs& dialogs_;
    std::vector<Placed> placed_;
    double fontScale_ = 1;
    bool loaded_ = false;
    std::vector<BandPlanRecord> records_;
    PrivilegesDrawing drawing_;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QFrame* line1_ = nullptr;
};

}  // namespace cubwave
