#include "ui/export/RateGraphWindow.h"

#include "platform/Dialogs.h"
#include "ui/common/WaitCursor.h"
#include "ui/export/RateGraphPainter.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace cubwave {

namespace {

// Laid out on the full-screen design surface (640 x 480, 15 twips to the pixel).
constexpr QSize kDesignSize(640, 480);
constexpr double kDesignPointSize = 8;
constexpr double kTwipsPerPixel = 15;
// The plot area (guide lines Line4, Line3, Line1, Line2) and the band strip (Line8, Line9).
constexpr double kLeft = 64;
constexpr double kRight = 616;
constexpr double kTop = 40;
constexpr double kBottom = 360;
constexpr double kStripTop = 366;
constexpr double kStripBottom = 380;
// Each position is drawn 10 twips right of its step.
constexpr double kShiftTwips = 10;

struct Legend {
    const char* caption;
    quint32 colour;
};
constexpr Legend kLegend[] = {
    {"160", 0xFFFFFF}, {"80", 0x0000FF}, {"40", 0xFF0000}, {"20", 0x00FF00},
    {"15", 0x80FFFF},  {"10", 0xFF00FF}, {"Other", RateSeries::kOtherBandColour},
};

QColor colourOf(quint32 rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

void setTextColour(QWidget* w, quint32 rgb)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colourOf(rgb));
    w->setPalette(pal);
}

}  // namespace

const QString RateGraphWindow::kCaption =
    QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)");
const QString RateGraphWindow::kTooFewTitle = QStringLiteral("Not Enough Contacts to Graph.");
const QString RateGraphWindow::kTooFewText =
    QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more meaningful as "
                   "several hours of contest logging are accumulated.");
const QString RateGraphWindow::kBlackCaption = QStringLiteral("Black Background");
const QString RateGraphWindow::kWhiteCaption = QStringLiteral("White Background");

RateGraphWindow::RateGraphWindow(std::span<const QsoRecord> records, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), records_(records), dialogs_(dialogs), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("GraphQSO"));
    setWindowTitle(kCaption);
    setAutoFillBackground(false);

    label1_ = addLabel(QStringLiteral("Label1"), QStringLiteral("Band "), {150, 8, 60, 16},
                       Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 7; ++i) {
        lblBnd_[i] = addLabel(QStringLiteral("lblBnd_%1").arg(i), QString::fromLatin1(kLegend[i].caption),
                              {214 + 44 * i, 8, 40, 16}, Qt::AlignCenter);
        setTextColour(lblBnd_[i], kLegend[i].colour);
    }
    lblBnd_[0]->hide();

    const double height = kBottom - kTop;
    for (int k = 0; k < RateSeries::kValueLabels; ++k) {
        const int y = static_cast<int>(kBottom - height * k / (RateSeries::kValueLabels - 1)) - 7;
        lblY_[k] = addLabel(QStringLiteral("lblY_%1").arg(k), QString(), {4, y, 56, 14}, Qt::AlignRight | Qt::AlignVCenter);
    }
    const double width = kRight - kLeft;
    for (int k = 0; k < RateSeries::kTimeLabels; ++k) {
        const int x = static_cast<int>(kLeft + width * k / (RateSeries::kTimeLabels - 1)) - 20;
        lblTime_[k] = addLabel(QStringLiteral("lblTime_%1").arg(k), QString(), {x, 384, 40, 14}, Qt::AlignCenter);
        lblDate_[k] = addLabel(QStringLiteral("lblDate_%1").arg(k), QString(), {x, 398, 40, 14}, Qt::AlignCenter);
    }

    command1_ = new QPushButton(kBlackCaption, this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(false);
    layout_.place(command1_, {260, 430, 120, 28}, kDesignPointSize);
    connect(command1_, &QPushButton::clicked, this, &RateGraphWindow::Command1_Click);

    applyColours();
    layout_.scaleDialogToScreen(this);
    drawGraph();
}

QLabel* RateGraphWindow::addLabel(const QString& name, const QString& text, QRect design, Qt::Alignment align)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(align);
    layout_.place(label, design, kDesignPointSize);
    return label;
}

RateGeometry RateGraphWindow::geometry() const
{
    const double sx = width() / static_cast<double>(kDesignSize.width());
    const double sy = height() / static_cast<double>(kDesignSize.height());
    RateGeometry g;
    g.leftX = kLeft * sx;
    g.rightX = kRight * sx;
    g.topY = kTop * sy;
    g.bottomY = kBottom * sy;
    g.stripTopY = kStripTop * sy;
    g.stripBottomY = kStripBottom * sy;
    g.xShift = kShiftTwips / kTwipsPerPixel * sx;
    return g;
}

void RateGraphWindow::drawGraph()
{
    drawn_ = false;
    series_ = RateSeries();
    if (records_.size() < static_cast<size_t>(RateSeries::kMinContacts)) {
        dialogs_.message(kTooFewTitle, kTooFewText);
    } else {
        series_ = RateSeries::compute(records_, background_);
        drawn_ = series_.drawable;
    }
    for (int k = 0; k < RateSeries::kTimeLabels; ++k) {
        lblTime_[k]->setText(drawn_ ? series_.timeLabels[k] : QString());
        lblDate_[k]->setText(drawn_ ? series_.dateLabels[k] : QString());
    }
    for (int k = 0; k < RateSeries::kValueLabels; ++k)
        lblY_[k]->setText(drawn_ ? series_.valueLabels[k] : QString());
    update();
}

void RateGraphWindow::applyColours()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colourOf(background_));
    setPalette(pal);
    const quint32 fore = foregroundColour();
    setTextColour(label1_, fore);
    for (auto* labels : {lblTime_.data(), lblDate_.data()}) {
        for (int k = 0; k < RateSeries::kTimeLabels; ++k)
            setTextColour(labels[k], fore);
    }
    for (QLabel* l : lblY_)
        setTextColour(l, fore);
}

void RateGraphWindow::Command1_Click()
{
    const WaitCursor hourglass;
    if (command1_->text() != kBlackCaption) {
        command1_->setText(kBlackCaption);
        background_ = RateSeries::kBlack;
    } else {
        command1_->setText(kWhiteCaption);
        background_ = RateSeries::kWhite;
    }
    applyColours();
    drawGraph();
    repaint();
}

void RateGraphWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void RateGraphWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), colourOf(background_));
    const RateGeometry g = geometry();
    RateGraphPainter::paintGuides(painter, g, foregroundColour());
    if (drawn_)
        RateGraphPainter::paintSeries(painter, series_, g);
}

}  // namespace cubwave
