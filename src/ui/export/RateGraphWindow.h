#pragma once

#include "core/QsoRecord.h"
#include "export/RateGeometry.h"
#include "export/RateSeries.h"
#include "ui/common/DesignLayout.h"

#include <QDialog>

#include <array>
#include <span>

class QLabel;
class QPushButton;

namespace cubwave {

class Dialogs;

// " Activity Graph - QSOs per Hour Rate ...": the contact rate over the whole log as a curve
// over a band-colour strip, drawn on a black or a white background. The records are read each
// time the graph is drawn; the log must outlive the (modal) window.
class RateGraphWindow : public QDialog {
    Q_OBJECT

public:
    static const QString kCaption;
    static const QString kTooFewTitle;
    static const QString kTooFewText;
    static const QString kBlackCaption;
    static const QString kWhiteCaption;

    RateGraphWindow(std::span<const QsoRecord> records, Dialogs& dialogs, QWidget* parent = nullptr);

    // Command1: swaps the background between black and white and draws the graph anew.
    void Command1_Click();

    bool blackBackground() const { return background_ == RateSeries::kBlack; }
    quint32 backgroundColour() const { return background_; }
    quint32 foregroundColour() const { return background_ == RateSeries::kBlack ? RateSeries::kWhite : RateSeries::kBlack; }
    // Nothing is drawn for fewer than 7 contacts.
    bool graphDrawn() const { return drawn_; }
    const RateSeries& series() const { return series_; }
    // Where the plot lies in the window's pixels at its current size.
    RateGeometry geometry() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& text, QRect design, Qt::Alignment align);
    // The drawing of the graph: the message for too few contacts, or the series and its labels.
    void drawGraph();
    void applyColours();

    std::span<const QsoRecord> records_;
    Dialogs& dialogs_;
    DesignLayout layout_;
    quint32 background_ = RateSeries::kBlack;
    bool drawn_ = false;
    RateSeries series_;

    std::array<QLabel*, RateSeries::kTimeLabels> lblTime_{};
    std::array<QLabel*, RateSeries::kTimeLabels> lblDate_{};
    std::array<QLabel*, RateSeries::kValueLabels> lblY_{};
    std::array<QLabel*, 7> lblBnd_{};
    QLabel* label1_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace cubwave
