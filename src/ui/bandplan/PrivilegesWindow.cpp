#include "ui/bandplan/PrivilegesWindow.h"

#include "bandplan/LicenceClasses.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "ui/common/DesignFonts.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/VbColor.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace cubwave {

namespace {

constexpr QSize kDesignSize(640, 480);
constexpr double kPointSize = 8;
constexpr int kLineDesignY = 84;

bool isDrawnLabel(const QString& name)
{
    return name.startsWith(u"blbl") || name.startsWith(u"priv") || name.startsWith(u"bnlb");
}

bool fits(const QLabel& label, const QString& text)
{
    const QRect room = label.contentsRect();
    const QRect needed = label.fontMetrics().boundingRect(room, int(Qt::AlignCenter), text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// A narrow segment (a 60 m channel, the CW end of 6 m) shows its edges one above the other when
// the line does not fit, and nothing rather than a cut-off number when neither does; its
// tooltip always has them.
QString fittingCaption(const QLabel& label, const PrivilegeLabel& item)
{
    if (fits(label, item.caption))
        return item.caption;
    if (!item.narrowCaption.isEmpty() && fits(label, item.narrowCaption))
        return item.narrowCaption;
    return QString();
}

}  // namespace

const QString PrivilegesWindow::kCaption = QStringLiteral("Frequency Privileges");
const QString PrivilegesWindow::kEffectivePrefix = QStringLiteral("Frequencies Effective: ");
const QString PrivilegesWindow::kNoDataTitle = QStringLiteral("Band Data Not Available.");
const QString PrivilegesWindow::kNoDataText = QStringLiteral("Band data not available.");

PrivilegesWindow::PrivilegesWindow(const QString& folder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmBandPlan"));
    setWindowTitle(kCaption);

    label2_ = addLabel(QStringLiteral("Label2"), QString(), {0, 4, 640, 24}, 12, true);
    label2_->setAlignment(Qt::AlignCenter);
    label1_ = addLabel(QStringLiteral("Label1"), QString(), {0, 30, 640, 16}, kPointSize);
    label1_->setAlignment(Qt::AlignCenter);
    QLabel* cwLegend = addLabel(QStringLiteral("Label3"), QStringLiteral("CW"), {536, 6, 40, 18}, kPointSize);
    QLabel* phoneLegend = addLabel(QStringLiteral("Label4"), QStringLiteral("Phone"), {580, 6, 52, 18}, kPointSize);
    for (QLabel* legend : {cwLegend, phoneLegend}) {
        legend->setAlignment(Qt::AlignCenter);
        legend->setAutoFillBackground(true);
    }
    setBackColour(phoneLegend, PrivilegesLayout::kGreen);
    setBackColour(cwLegend, PrivilegesLayout::kBlue);

    for (int i = 0; i < int(kLicenceClasses.size()); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kLicenceClasses[i].caption), this);
        button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        button->setAutoDefault(false);
        placed_.push_back({button, QRect(16 + i * 84, 52, 80, 24), kPointSize});
        connect(button, &QPushButton::clicked, this, [this, i] { classButton_Click(i); });
    }
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Command7"));
    done->setAutoDefault(false);
    placed_.push_back({done, QRect(544, 52, 80, 24), kPointSize});
    connect(done, &QPushButton::clicked, this, &PrivilegesWindow::Command7_Click);

    line1_ = new QFrame(this);
    line1_->setObjectName(QStringLiteral("Line1"));
    line1_->setFrameShape(QFrame::HLine);
    line1_->setFrameShadow(QFrame::Plain);
    placed_.push_back({line1_, QRect(0, kLineDesignY, 640, 1), 0});

    fitToWorkArea();

    const BandPlanFile::Contents plan = BandPlanFile::read(folder);
    if (plan.problem != BandPlanFile::Problem::None) {
        dialogs_.message(kNoDataTitle, kNoDataText, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    loaded_ = true;
    records_ = plan.records;
    label1_->setText(kEffectivePrefix + plan.effective);
    classButton_Click(kExtraClassIndex);
}

QLabel* PrivilegesWindow::addLabel(const QString& name, const QString& text, QRect design, double pointSize, bool bold)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    placed_.push_back({label, design, pointSize});
    return label;
}

void PrivilegesWindow::fitToWorkArea()
{
    const DesktopArea desktop = DesignLayout::areaFor(this);
    // A monitor of no size is reported, and the window keeps its own size.
    if (DesignLayout::screenKnown(this, desktop)) {
        const QRect area = desktop.workArea.isEmpty() ? desktop.screen : desktop.workArea;
        move(area.topLeft());
        resize(area.size());
    }
    const int screenWidth = desktop.screen.isEmpty() ? kDesignSize.width() : desktop.screen.width();
    fontScale_ = PrivilegesLayout::fontScale(screenWidth);
    const double sx = width() / double(kDesignSize.width());
    const double sy = height() / double(kDesignSize.height());
    for (const Placed& p : placed_) {
        p.widget->setGeometry(qRound(p.design.x() * sx), qRound(p.design.y() * sy),
                              std::max(1, qRound(p.design.width() * sx)), std::max(1, qRound(p.design.height() * sy)));
        if (p.pointSize > 0) {
            QFont font = p.widget->font();
            font.setPointSizeF(p.pointSize * fontScale_);
            p.widget->setFont(font);
        }
    }
}

void PrivilegesWindow::classButton_Click(int index)
{
    const LicenceClassChoice& choice = kLicenceClasses[size_t(index)];
    label2_->setText(QString::fromLatin1(choice.title));
    draw(QString::fromLatin1(choice.licenceClass));
}

void PrivilegesWindow::removeDrawing()
{
    // Last to first, as created.
    const QList<QLabel*> labels = findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        if (isDrawnLabel((*it)->objectName()))
            delete *it;
    }
}

void PrivilegesWindow::draw(const QString& licenceClass)
{
    removeDrawing();
    const PrivilegesLayout::Frame frame{double(width()), double(height()), double(line1_->y()), fontScale_};
    drawing_ = PrivilegesLayout::draw(records_, licenceClass, frame);
    for (const std::vector<PrivilegeLabel>* labels : {&drawing_.bars, &drawing_.tags, &drawing_.segments}) {
        for (const PrivilegeLabel& item : *labels)
            addDrawnLabel(item);
    }
}

void PrivilegesWindow::addDrawnLabel(const PrivilegeLabel& item)
{
    auto* label = new QLabel(item.caption, this);
    label->setObjectName(item.name);
    label->setToolTip(item.toolTip);
    label->setGeometry(item.rect.toRect());
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    setBackColour(label, item.backColour);
    setTextColour(label, item.textColour);
    switch (item.font) {
    case PrivilegeLabel::Font::Window:
        break;
    case PrivilegeLabel::Font::Tag:
        label->setFont(designFont(QStringLiteral("ARIAL"), item.pointSize, true));
        break;
    case PrivilegeLabel::Font::Segment:
        label->setFont(designFont(QStringLiteral("ARIAL NARROW"), item.pointSize));
        label->setText(fittingCaption(*label, item));
        label->raise();
        break;
    }
    label->show();
}

void PrivilegesWindow::Command7_Click() { hide(); }

}  // namespace cubwave
