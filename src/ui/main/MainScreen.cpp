#include "ui/main/MainScreen.h"

#include "core/Statistics.h"
#include "ui/common/ClickableLabel.h"
#include "ui/common/ElidedLabel.h"
#include "ui/common/FieldTextGuard.h"
#include "ui/common/ScreenLayout.h"
#include "ui/common/VbColor.h"
#include "ui/main/RecentContactsModel.h"
#include "ui/spots/BandMapView.h"
#include "ui/spots/SpotListModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTableView>

namespace cubwave {

namespace {

struct GroupColumn {
    const char* group;
    const char* name;     // heading label
    const char* caption;
    int columns;          // label columns under the heading
};

constexpr GroupColumn kGroups[] = {
    {"1", "lblSecOne", "1", 2},   {"2", "lblSecTwo", "2", 1},   {"3", "lblSecThre", "3", 1},
    {"4", "lblSecFour", "4", 2},  {"5", "lblSecFive", "5", 2},  {"6", "Label14", "6", 1},
    {"7", "lblSecSix", "7", 2},   {"8", "lblSecEight", "8", 1}, {"9", "lblSecNine", "9", 1},
    {"0", "lblSecZero", "0", 2},  {"Canada", "lblSecCA", "Canada", 3},
};

constexpr const char* kAnyCharacter = "";
// A row of the recent contacts on the 640 x 480 design.
constexpr int kRecentRowDesignPx = 18;
enum Moves { Anything, NoSpaces, NoSpacesOrDigits };

// An entry field's rule for text that does not come key by key: what its keys let through.
// Space moves on from the call and name fields, and a digit from the name to the age.
FieldRule entryRule(int maxLength, const char* only, Moves moves = Anything, int upperCaseBelow = 0)
{
    FieldRule rule;
    rule.maxLength = maxLength;
    rule.only = QString::fromLatin1(only);
    rule.dropSpaces = moves != Anything;
    rule.dropDigits = moves == NoSpacesOrDigits;
    rule.upperCaseBelow = upperCaseBelow;
    return rule;
}

}  // namespace

MainScreen::MainScreen(const LogStore& store, QWidget* parent) : QWidget(parent)
{
    QWidget* c = this;
    setMouseTracking(true);
    // The captions were fitted to a narrow sans; Liberation Sans has Arial's widths, so they fit
    // their controls at every size instead of running into their neighbours.
    QFont face = font();
    face.setFamily(QStringLiteral("Liberation Sans"));
    setFont(face);

    statusLabel = addLabel(QStringLiteral("lblDialog"), QString(), {8, 6, 344, 22}, 10);
    statusLabel->setAutoFillBackground(true);
    statusLabel->setFrameShape(QFrame::Panel);
    statusLabel->setFrameShadow(QFrame::Sunken);
    setBackColour(statusLabel, kTeal);
    // The transmit indicator beside the status line, where a glance at the entry line sees it.
    transmitLabel = addLabel(QStringLiteral("lblTX"), QStringLiteral("TX"), {356, 6, 32, 22}, 10);
    transmitLabel->setAlignment(Qt::AlignCenter);
    transmitLabel->setAutoFillBackground(true);
    transmitLabel->setFrameShape(QFrame::Panel);
    transmitLabel->setFrameShadow(QFrame::Sunken);
    transmitLabel->setToolTip(QStringLiteral("Red while CW is sent on a keying line or PTT is up"));
    showTransmitting(false);

    addLabel(QStringLiteral("Label21"), QStringLiteral("Band"), {394, 10, 28, 16});
    bandLabel = new ClickableLabel(c);
    bandLabel->setObjectName(QStringLiteral("Label24"));
    bandLabel->setText(QStringLiteral("160"));
    bandLabel->setToolTip(QStringLiteral("Click to change band"));
    bandLabel->setCursor(Qt::PointingHandCursor);
    place(bandLabel, {424, 6, 36, 22}, 12);

    addLabel(QStringLiteral("lblPossDup"), QStringLiteral("               Possible Duplicates"),
             {8, 32, 200, 14});

    // The clocks, and the operator's own exchange as the other station will copy it.
    addLabel(QStringLiteral("Label11"), QStringLiteral("UTC"), {466, 10, 24, 16});
    utcClockLabel = addLabel(QStringLiteral("lblutctime"), QString(), {490, 8, 56, 20}, 10);
    // Wide enough for "11:44:45" at every size: the clocks must not run into each other.
    localClockLabel = addLabel(QStringLiteral("lblCurTime"), QString(), {548, 8, 54, 20}, 10);
    amPmLabel = addLabel(QStringLiteral("Label16"), QString(), {602, 10, 30, 16});
    const std::pair<const char*, QRect> own[] = {
        {"Label2", {300, 30, 70, 16}}, {"Label26", {372, 30, 70, 16}}, {"Label4", {444, 30, 30, 16}},
        {"Label25", {476, 30, 80, 16}}, {"Label1", {558, 30, 74, 16}},
    };
    for (size_t i = 0; i < ownExchangeLabels.size(); ++i)
        ownExchangeLabels[i] = addLabel(QString::fromLatin1(own[i].first), QString(), own[i].second, 9);
    dupeLabel = addLabel(QStringLiteral("lblDupe"), QString(), {8, 46, 624, 22}, 9);
    dupeLabel->setAutoFillBackground(true);
    // It shows spot records and tooltips from the network: never as markup.
    dupeLabel->setTextFormat(Qt::PlainText);

    // The entry line with its column labels (lblStation 0..4).
    struct FieldDef {
        const char* name;
        const char* caption;
        FieldRule rule;  // what the field keeps of pasted, dropped or composed text
        int x, w;
    };
    const FieldDef defs[] = {
        {"txtCall", "Call", entryRule(12, kAnyCharacter, NoSpaces, FieldRule::kWholeField), 8, 100},
        {"txtName", "Name", entryRule(30, kAnyCharacter, NoSpacesOrDigits, FieldRule::kWholeField), 112, 100},
        {"txtRSTR", "Age", entryRule(3, "0123456789"), 216, 40},
        {"txtCntry", "St / Pr / Cntry", entryRule(30, kAnyCharacter, Anything, 2), 260, 130},
        {"txtSec", "Other Info", entryRule(30, kAnyCharacter, Anything, 1), 394, 110},
        {"txtPostConTime", "Time", entryRule(5, "0123456789:"), 508, 50},
        {"txtPostConDate", "Date", entryRule(10, "0123456789/"), 562, 70},
    };
    for (int i = 0; i < 7; ++i) {
        const FieldDef& d = defs[i];
        QLabel* heading = nullptr;
        if (i < 5) {
            heading = addLabel(QStringLiteral("columnHeadings%1").arg(i), QString::fromLatin1(d.caption),
                               {d.x, 76, d.w, 16});
            columnHeadings[static_cast<size_t>(i)] = heading;
        } else {
            heading = addLabel(i == 5 ? QStringLiteral("lblPostConTime") : QStringLiteral("lblPostConDate"),
                               QString::fromLatin1(d.caption), {d.x, 76, d.w, 16});
            heading->hide();
            (i == 5 ? postTimeHeading : postDateHeading) = heading;
        }
        QLineEdit* field = addField(QString::fromLatin1(d.name), d.rule.maxLength, {d.x, 92, d.w, 24});
        FieldTextGuard::install(field, d.rule);
        fields[static_cast<size_t>(i)] = field;
    }
    fields[5]->hide();
    fields[6]->hide();

    newLabel = addLabel(QStringLiteral("Label3"), QStringLiteral("New"), {350, 76, 40, 16});
    newLabel->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    newLabel->hide();

    clearButton = new QPushButton(QStringLiteral("&Clear"), c);
    clearButton->setObjectName(QStringLiteral("cmdClear"));
    clearButton->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    place(clearButton, {8, 122, 70, 24}, 9);

    addLabel(QStringLiteral("lblPartial"), QStringLiteral("Partial dupes"), {86, 126, 70, 16});
    partialDupButton = new QPushButton(QStringLiteral("On"), c);
    partialDupButton->setObjectName(QStringLiteral("cmdDup"));
    partialDupButton->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    place(partialDupButton, {156, 122, 40, 24}, 9);

    // The operating-time clock; hidden, as nothing offers it to the operator.
    operatingClockButton = new QPushButton(QStringLiteral("&Log \"Time On\""), c);
    operatingClockButton->setObjectName(QStringLiteral("cmdLogOn"));
    operatingClockButton->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    place(operatingClockButton, {470, 122, 80, 24}, 8);
    addLabel(QStringLiteral("Label12"), QStringLiteral("Operating Time"), {556, 110, 76, 14})->hide();
    operatingTimeLabel = addLabel(QStringLiteral("lblttrack"), QStringLiteral("00:00:00"), {556, 126, 76, 16});
    operatingClockButton->hide();
    operatingTimeLabel->hide();

    addLabel(QStringLiteral("Label20"), QStringLiteral("Cont"), {212, 126, 30, 16});
    continentLabel = addLabel(QStringLiteral("Label19"), QString(), {244, 126, 30, 16});
    addLabel(QStringLiteral("Label17"), QStringLiteral("Bearing"), {282, 126, 46, 16});
    bearingLabel = addLabel(QStringLiteral("Label22"), QString(), {330, 126, 36, 16});
    addLabel(QStringLiteral("Label18"), QStringLiteral("Miles"), {374, 126, 36, 16});
    distanceLabel = addLabel(QStringLiteral("Label23"), QString(), {412, 126, 50, 16});

    // Recent contacts.
    addLabel(QStringLiteral("lblRecentContacts"), QStringLiteral("Recent Contacts"), {8, 154, 110, 16}, 9);
    listLengthButton = new QPushButton(QStringLiteral("Last 20"), c);
    listLengthButton->setObjectName(QStringLiteral("cmdList"));
    listLengthButton->setToolTip(QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    place(listLengthButton, {120, 150, 60, 22}, 8);
    editButton = new QPushButton(QStringLiteral("Edit Contact"), c);
    editButton->setObjectName(QStringLiteral("cmdEdit"));
    place(editButton, {190, 150, 90, 22}, 8);
    deleteButton = new QPushButton(QStringLiteral("Delete Contact"), c);
    deleteButton->setObjectName(QStringLiteral("cmdDelete"));
    place(deleteButton, {286, 150, 90, 22}, 8);
    editButton->hide();
    deleteButton->hide();

    recentModel = new RecentContactsModel(store, this);
    recentList = new QTableView(c);
    recentList->setObjectName(QStringLiteral("ListView1"));
    recentList->setToolTip(QStringLiteral("Click record to edit or delete."));
    recentList->setModel(recentModel);
    recentList->setSelectionBehavior(QAbstractItemView::SelectRows);
    recentList->setSelectionMode(QAbstractItemView::SingleSelection);
    recentList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    recentList->verticalHeader()->hide();
    recentList->setShowGrid(false);
    // A cell too narrow for its text ends in an ellipsis rather than a second line the row has
    // no room for.
    recentList->setWordWrap(false);
    recentList->setFocusPolicy(Qt::ClickFocus);
    place(recentList, {8, 174, 432, 196}, 8);
    // A click on a column heading sorts the list once by that column.
    connect(recentList->horizontalHeader(), &QHeaderView::sectionClicked, recentModel,
            &RecentContactsModel::sortOnceByColumn);
    recentList->horizontalHeader()->setSectionsClickable(true);

    // Statistics.
    addLabel(QStringLiteral("lblScorStats"), QStringLiteral("Cubwave Statistics"), {450, 150, 180, 18}, 10);
    struct StatRow {
        const char* captionName;
        const char* caption;
        const char* valueName;
        QLabel** value;
    };
    const StatRow stats[] = {
        {"Label5", "Total Contacts ............", "lblTotCon", &contactsTotalLabel},
        {"Label13", "Total Phone ................", "lblTotSec", &phoneTotalLabel},
        {"Label6", "Total CW ....................", "lblsectogo", &cwTotalLabel},
        {"Label8", "QSOs / Hr (last 20 min)", "lblAQSO20", &rate20Label},
        {"Label9", "QSOs / Hr (last 60 min)", "lblAQSO60", &rate60Label},
    };
    int y = 170;
    for (const StatRow& s : stats) {
        addLabel(QString::fromLatin1(s.captionName), QString::fromLatin1(s.caption), {450, y, 130, 16});
        *s.value = addLabel(QString::fromLatin1(s.valueName), QStringLiteral("0"), {582, y, 50, 16});
        (*s.value)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        y += 16;
    }
    addLabel(QStringLiteral("Label7"), QStringLiteral("Total Score.................."), {450, y, 130, 16})->hide();
    scoreLabel = addLabel(QStringLiteral("lblTotScore"), QStringLiteral("0"), {582, y, 50, 16});
    scoreLabel->hide();

    // DX list; its heading is element 5 of the column labels.
    columnHeadings[5] = addLabel(QStringLiteral("lblStation_5"), QStringLiteral("DX"), {450, 258, 180, 16}, 9);
    dxList = new QListWidget(c);
    dxList->setObjectName(QStringLiteral("List1"));
    dxList->setFocusPolicy(Qt::ClickFocus);
    place(dxList, {450, 274, 182, 96}, 8);
    // The bottom of the recent list and the DX list; the DX list is stretched down to it.
    line3 = new QFrame(c);
    line3->setObjectName(QStringLiteral("Line3"));
    line3->setFrameShape(QFrame::HLine);
    line3->hide();
    layout_.placeLine(line3, {8, 370, 624, 1});

    bandMap = new BandMapView(c);
    bandMap->hide();
    spotListModel = new SpotListModel(this);
    spotList = new QTableView(c);
    spotList->setObjectName(QStringLiteral("txtDX"));
    spotList->setModel(spotListModel);
    spotList->setSelectionBehavior(QAbstractItemView::SelectRows);
    spotList->setSelectionMode(QAbstractItemView::SingleSelection);
    spotList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spotList->verticalHeader()->hide();
    spotList->setShowGrid(false);
    spotList->setWordWrap(false);
    spotList->setFocusPolicy(Qt::ClickFocus);
    spotList->horizontalHeader()->setHighlightSections(false);
    spotList->hide();

    // Multipliers: the 62 state and province labels under their call-area headings.
    statesWorkedLabel = addLabel(QStringLiteral("Label15"), Statistics::statesWorkedInitialText(), {8, 376, 300, 16}, 9);
    constexpr int kColumnWidth = 34;
    constexpr int kRowHeight = 14;
    int x = 14;
    for (const GroupColumn& g : kGroups) {
        addLabel(QString::fromLatin1(g.name), QString::fromLatin1(g.caption), {x, 394, kColumnWidth * g.columns, 14}, 9)
            ->setStyleSheet(QStringLiteral("font-weight: bold;"));
        int slot = 0;
        for (int i = 1; i <= SpcTable::kSize; ++i) {
            const SpcTable::Entry& e = SpcTable::entry(i);
            if (qstrcmp(e.group, g.group) != 0)
                continue;
            auto* label = new ClickableLabel(c);
            label->setObjectName(QStringLiteral("Label10_%1").arg(i));
            label->setText(QString::fromLatin1(e.code));
            label->setToolTip(QString::fromLatin1(e.name));
            multiplierLabels[static_cast<size_t>(i)] = label;
            if (SpcTable::hidden(i)) {
                label->hide();
                place(label, {0, 0, 1, 1}, 8);
                continue;
            }
            const int col = slot / 4;
            const int row = slot % 4;
            place(label, {x + col * kColumnWidth, 410 + row * kRowHeight, kColumnWidth, kRowHeight}, 8);
            ++slot;
        }
        x += kColumnWidth * g.columns;
    }

    // Status texts can be longer than the line: the cut shows, and the tooltip has them whole.
    elideWithWholeTextTip(statusLabel);
}

void MainScreen::showTransmitting(bool on)
{
    setBackColour(transmitLabel, on ? kRed : kButtonFace);
    setTextColour(transmitLabel, on ? 0xFFFFFF : 0x808080);
    QFont font = transmitLabel->font();
    font.setBold(on);
    transmitLabel->setFont(font);
}

QLabel* MainScreen::addLabel(const QString& name, const QString& caption, QRect design, double pointSize)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    place(label, design, pointSize);
    return label;
}

QLineEdit* MainScreen::addField(const QString& name, int maxLength, QRect design)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    place(field, design, 10);
    return field;
}

void MainScreen::place(QWidget* widget, QRect design, double pointSize)
{
    layout_.place(widget, design, pointSize);
}

void MainScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void MainScreen::relayout()
{
    const int lowest = layout_.applyPressed(size(), spotsWanted_ ? ScreenLayout::kSpotControlsShare : 1.0);
    fitDxList();
    if (spotsWanted_) {
        // The panel takes the list's rectangle; only the chosen one shows.
        const QRect room = ScreenLayout::spotRoom(size(), lowest);
        spotList->setGeometry(room);
        bandMap->setGeometry(room);
        spotList->setVisible(!bandMapChosen_);
        bandMap->setVisible(bandMapChosen_);
    } else {
        // Parked below the window, out of the way of every control.
        spotList->hide();
        bandMap->hide();
        spotList->setGeometry(0, height(), width(), 0);
        bandMap->setGeometry(0, height(), width(), 0);
    }
    // Rows stretch with the window as the controls do, so the list shows as many as designed,
    // and never less than the text's height.
    recentList->verticalHeader()->setDefaultSectionSize(
        std::max(recentList->fontMetrics().height() + 2, qRound(kRecentRowDesignPx * height() / 480.0)));
    QHeaderView* header = recentList->horizontalHeader();
    for (int i = 0; i < RecentContactsModel::kColumns; ++i)
        header->resizeSection(i, qRound(width() * RecentContactsModel::kWidthParts[i] / 9600.0));
    QHeaderView* spotHeader = spotList->horizontalHeader();
    // The headings in the rows' size: the style gives headers a small font of their own.
    if (spotHeader->font() != spotList->font())
        spotHeader->setFont(spotList->font());
    for (int i = 0; i < SpotListRow::ColumnCount; ++i)
        spotHeader->resizeSection(i, qRound(width() * SpotListRow::designWidths()[size_t(i)] / 9600.0));
}

void MainScreen::fitDxList()
{
    dxList->resize(dxList->width(), std::max(1, line3->y() - dxList->y()));
}

void MainScreen::applySpotRoom(bool spotsWanted)
{
    spotsWanted_ = spotsWanted;
    relayout();
}

void MainScreen::chooseSpotDisplay(bool bandMapChosen)
{
    bandMapChosen_ = bandMapChosen;
    if (!spotsWanted_)
        return;
    spotList->setVisible(!bandMapChosen_);
    bandMap->setVisible(bandMapChosen_);
}

bool MainScreen::spotDisplayShown() const { return !spotList->isHidden() || !bandMap->isHidden(); }

bool MainScreen::bandMapShown() const { return !bandMap->isHidden(); }

// ---- what the window shows ----

void MainScreen::showTotals(const QString& contacts, const QString& phone, const QString& cw, const QString& score)
{
    contactsTotalLabel->setText(contacts);
    phoneTotalLabel->setText(phone);
    cwTotalLabel->setText(cw);
    scoreLabel->setText(score);
}

void MainScreen::showRates(const QString& perHour60, const QString& perHour20)
{
    rate60Label->setText(perHour60);
    rate20Label->setText(perHour20);
}

void MainScreen::showDxList(const QStringList& locations, const QString& heading)
{
    dxList->clear();
    columnHeadings[5]->setText(heading);
    dxList->addItems(locations);
}

void MainScreen::addDx(const QString& location, const QString& heading)
{
    dxList->addItem(location);
    columnHeadings[5]->setText(heading);
}

void MainScreen::showMultiplier(int index, qint32 colour)
{
    setTextColour(multiplierLabels[static_cast<size_t>(index)], colour);
}

void MainScreen::showWorkedLine(const QString& text) { statesWorkedLabel->setText(text); }

void MainScreen::showClocks(const QString& utc, const QString& local, const QString& amPm)
{
    utcClockLabel->setText(utc);
    localClockLabel->setText(local);
    amPmLabel->setText(amPm);
}

void MainScreen::showOwnExchange(const std::array<QString, 5>& values)
{
    for (size_t i = 0; i < ownExchangeLabels.size(); ++i)
        ownExchangeLabels[i]->setText(values[i]);
}

void MainScreen::showHint(const QString& text, double pointsPer9600Twips, int windowSizePct)
{
    const QScreen* s = screen();
    const double screenTwips = (s ? s->geometry().width() : 640) * 15.0;
    QFont f = dupeLabel->font();
    f.setPointSizeF(
        DesignLayout::designPoints(std::max(4.0, screenTwips * pointsPer9600Twips / 9600.0 * windowSizePct / 100.0),
                                   dupeLabel));
    dupeLabel->setFont(f);
    dupeLabel->setText(text);
}

}  // namespace cubwave
