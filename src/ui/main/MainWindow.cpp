#include "ui/main/MainWindow.h"

#include "core/Statistics.h"
#include "export/ProductCaption.h"
#include "ui/common/ClickableLabel.h"
#include "ui/common/FieldTextGuard.h"
#include "ui/main/KeyPipeline.h"
#include "ui/main/RecentContactsModel.h"
#include "ui/common/VbColor.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QTimer>

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

MainWindow::MainWindow(MainWindowServices services, MainWindowPorts ports, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      ports_(ports),
      session_(services_.clock, services_.workDir, services_.appendToLog)
{
    connect(&session_, &ContestSession::logReloaded, this, &MainWindow::showReloadedLog);
    connect(&session_, &ContestSession::logUnreadable, this, &MainWindow::fileError);
    connect(&session_, &ContestSession::contactAdded, this, &MainWindow::showAddedContact);
    connect(&session_, &ContestSession::bandChanged, this, &MainWindow::showBand);
    connect(&session_, &ContestSession::modeChanged, this, &MainWindow::showMode);
    connect(&session_, &ContestSession::preferencesNotSaved, this, &MainWindow::preferencesNotSaved);
    // A voice message that did not go out as it should is said on the status line: with PTT
    // dropped early, the operator would otherwise think the call was sent.
    ports_.voice.onProblem([this](const QString& text) { setStatus(text); });
    // The rig's reports go straight into the session; the window follows its signals.
    ports_.rig.onReports([this](float mhz) { session_.reportFrequency(mhz); },
                         [this](const QString& mode) { session_.reportMode(mode); });

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProductCaption::kMainWindowCaption);
    setCentralWidget(new QWidget(this));
    centralWidget()->setMouseTracking(true);
    setMouseTracking(true);
    buildControls();
    buildMenus();
    resize(960, 720);
    // The band label and the menus show what the next contact takes from the start, even when
    // the load sequence stops before it reads the preferences.
    checkSavedBandAndMode();
    logNotLoaded(QStringLiteral("the start-up has not read it."),
                 QStringLiteral("Close this program and start it again."));

    rateTimer_ = new QTimer(this);
    rateTimer_->setObjectName(QStringLiteral("Timer1"));
    rateTimer_->setInterval(60000);
    connect(rateTimer_, &QTimer::timeout, this, &MainWindow::showRates);
    rateTimer_->start();

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("Timer2"));
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &MainWindow::timer2Tick);
    clockTimer_->start();

    keyPipeline_ = std::make_unique<KeyPipeline>(this);
}

MainWindow::~MainWindow()
{
    keyPipeline_.reset();
}

QLabel* MainWindow::addLabel(const QString& name, const QString& caption, QRect design, double pointSize)
{
    auto* label = new QLabel(caption, centralWidget());
    label->setObjectName(name);
    place(label, design, pointSize);
    return label;
}

QLineEdit* MainWindow::addField(const QString& name, int maxLength, QRect design)
{
    auto* field = new QLineEdit(centralWidget());
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    field->installEventFilter(this);
    place(field, design, 10);
    return field;
}

void MainWindow::place(QWidget* widget, QRect design, double pointSize)
{
    layout_.place(widget, design, pointSize);
}

void MainWindow::buildControls()
{
    QWidget* c = centralWidget();

    statusLabel_ = addLabel(QStringLiteral("lblDialog"), QString(), {8, 6, 380, 22}, 10);
    statusLabel_->setAutoFillBackground(true);
    statusLabel_->setFrameShape(QFrame::Panel);
    statusLabel_->setFrameShadow(QFrame::Sunken);
    setBackColour(statusLabel_, kTeal);

    addLabel(QStringLiteral("Label21"), QStringLiteral("Band"), {394, 10, 28, 16});
    bandLabel_ = new ClickableLabel(c);
    bandLabel_->setObjectName(QStringLiteral("Label24"));
    bandLabel_->setText(QStringLiteral("160"));
    bandLabel_->setToolTip(QStringLiteral("Click to change band"));
    bandLabel_->setCursor(Qt::PointingHandCursor);
    place(bandLabel_, {424, 6, 36, 22}, 12);
    connect(bandLabel_, &ClickableLabel::clicked, this, &MainWindow::label24Click);

    addLabel(QStringLiteral("lblPossDup"), QStringLiteral("               Possible Duplicates"),
             {8, 32, 200, 14});

    // The clocks, and the operator's own exchange as the other station will copy it.
    addLabel(QStringLiteral("Label11"), QStringLiteral("UTC"), {466, 10, 24, 16});
    utcClockLabel_ = addLabel(QStringLiteral("lblutctime"), QString(), {490, 8, 56, 20}, 10);
    localClockLabel_ = addLabel(QStringLiteral("lblCurTime"), QString(), {552, 8, 50, 20}, 10);
    amPmLabel_ = addLabel(QStringLiteral("Label16"), QString(), {602, 10, 30, 16});
    const std::pair<const char*, QRect> own[] = {
        {"Label2", {300, 30, 70, 16}}, {"Label26", {372, 30, 70, 16}}, {"Label4", {444, 30, 30, 16}},
        {"Label25", {476, 30, 80, 16}}, {"Label1", {558, 30, 74, 16}},
    };
    for (size_t i = 0; i < ownExchangeLabels_.size(); ++i)
        ownExchangeLabels_[i] = addLabel(QString::fromLatin1(own[i].first), QString(), own[i].second, 9);
    dupeLabel_ = addLabel(QStringLiteral("lblDupe"), QString(), {8, 46, 624, 22}, 9);
    dupeLabel_->setAutoFillBackground(true);

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
            heading = addLabel(QStringLiteral("columnHeadings_%1").arg(i), QString::fromLatin1(d.caption),
                               {d.x, 76, d.w, 16});
            columnHeadings_[static_cast<size_t>(i)] = heading;
        } else {
            heading = addLabel(i == 5 ? QStringLiteral("lblPostConTime") : QStringLiteral("lblPostConDate"),
                               QString::fromLatin1(d.caption), {d.x, 76, d.w, 16});
            heading->hide();
            (i == 5 ? postTimeHeading_ : postDateHeading_) = heading;
        }
        QLineEdit* field = addField(QString::fromLatin1(d.name), d.rule.maxLength, {d.x, 92, d.w, 24});
        FieldTextGuard::install(field, d.rule);
        fields_[static_cast<size_t>(i)] = field;
    }
    fields_[5]->hide();
    fields_[6]->hide();
    connect(fields_[0], &QLineEdit::textChanged, this, &MainWindow::txtCall_Change);
    connect(fields_[3], &QLineEdit::textChanged, this, &MainWindow::txtCntry_Change);

    newLabel_ = addLabel(QStringLiteral("Label3"), QStringLiteral("New"), {350, 76, 40, 16});
    newLabel_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    newLabel_->hide();

    clearButton_ = new QPushButton(QStringLiteral("&Clear"), c);
    clearButton_->setObjectName(QStringLiteral("cmdClear"));
    clearButton_->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    place(clearButton_, {8, 122, 70, 24}, 9);
    connect(clearButton_, &QPushButton::clicked, this, &MainWindow::cmdClear_Click);

    addLabel(QStringLiteral("lblPartial"), QStringLiteral("Partial dupes"), {86, 126, 70, 16});
    partialDupButton_ = new QPushButton(QStringLiteral("On"), c);
    partialDupButton_->setObjectName(QStringLiteral("cmdDup"));
    partialDupButton_->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    place(partialDupButton_, {156, 122, 40, 24}, 9);
    connect(partialDupButton_, &QPushButton::clicked, this, &MainWindow::cmdDup_Click);

    // The operating-time clock; hidden, as nothing offers it to the operator.
    operatingClockButton_ = new QPushButton(QStringLiteral("&Log \"Time On\""), c);
    operatingClockButton_->setObjectName(QStringLiteral("cmdLogOn"));
    operatingClockButton_->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    place(operatingClockButton_, {470, 122, 80, 24}, 8);
    connect(operatingClockButton_, &QPushButton::clicked, this, &MainWindow::cmdLogOn_Click);
    addLabel(QStringLiteral("Label12"), QStringLiteral("Operating Time"), {556, 110, 76, 14})->hide();
    operatingTimeLabel_ = addLabel(QStringLiteral("lblttrack"), QStringLiteral("00:00:00"), {556, 126, 76, 16});
    operatingClockButton_->hide();
    operatingTimeLabel_->hide();

    addLabel(QStringLiteral("Label20"), QStringLiteral("Cont"), {212, 126, 30, 16});
    continentLabel_ = addLabel(QStringLiteral("Label19"), QString(), {244, 126, 30, 16});
    addLabel(QStringLiteral("Label17"), QStringLiteral("Bearing"), {282, 126, 46, 16});
    bearingLabel_ = addLabel(QStringLiteral("Label22"), QString(), {330, 126, 36, 16});
    addLabel(QStringLiteral("Label18"), QStringLiteral("Miles"), {374, 126, 36, 16});
    distanceLabel_ = addLabel(QStringLiteral("Label23"), QString(), {412, 126, 50, 16});

    // Recent contacts.
    addLabel(QStringLiteral("lblRecentContacts"), QStringLiteral("Recent Contacts"), {8, 154, 110, 16}, 9);
    listLengthButton_ = new QPushButton(QStringLiteral("Last 20"), c);
    listLengthButton_->setObjectName(QStringLiteral("cmdList"));
    listLengthButton_->setToolTip(QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    place(listLengthButton_, {120, 150, 60, 22}, 8);
    connect(listLengthButton_, &QPushButton::clicked, this, &MainWindow::cmdList_Click);
    editButton_ = new QPushButton(QStringLiteral("Edit Contact"), c);
    editButton_->setObjectName(QStringLiteral("cmdEdit"));
    place(editButton_, {190, 150, 90, 22}, 8);
    connect(editButton_, &QPushButton::clicked, this, &MainWindow::cmdEdit_Click);
    deleteButton_ = new QPushButton(QStringLiteral("Delete Contact"), c);
    deleteButton_->setObjectName(QStringLiteral("cmdDelete"));
    place(deleteButton_, {286, 150, 90, 22}, 8);
    connect(deleteButton_, &QPushButton::clicked, this, &MainWindow::cmdDelete_Click);
    editButton_->hide();
    deleteButton_->hide();

    recentModel_ = new RecentContactsModel(session_.store(), this);
    recentList_ = new QTableView(c);
    recentList_->setObjectName(QStringLiteral("ListView1"));
    recentList_->setToolTip(QStringLiteral("Click record to edit or delete."));
    recentList_->setModel(recentModel_);
    recentList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    recentList_->setSelectionMode(QAbstractItemView::SingleSelection);
    recentList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    recentList_->verticalHeader()->hide();
    recentList_->verticalHeader()->setDefaultSectionSize(18);
    recentList_->setShowGrid(false);
    recentList_->setFocusPolicy(Qt::ClickFocus);
    place(recentList_, {8, 174, 432, 196}, 8);
    recentList_->installEventFilter(this);
    recentList_->viewport()->installEventFilter(this);
    connect(recentList_, &QTableView::clicked, this, &MainWindow::listRowsShown);
    // A list rebuilt or a selection cleared leaves nothing for Edit and Delete to act on.
    connect(recentList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::hideEditButtonsWithoutSelection);
    connect(recentModel_, &QAbstractItemModel::modelReset, this, &MainWindow::hideEditButtonsWithoutSelection);
    connect(recentList_->horizontalHeader(), &QHeaderView::sectionClicked, recentModel_,
            &RecentContactsModel::sortOnceByColumn);
    recentList_->horizontalHeader()->setSectionsClickable(true);

    // Statistics.
    addLabel(QStringLiteral("lblScorStats"), QStringLiteral("Cubwave Statistics"), {450, 150, 180, 18}, 10);
    struct StatRow {
        const char* captionName;
        const char* caption;
        const char* valueName;
        QLabel** value;
    };
    const StatRow stats[] = {
        {"Label5", "Total Contacts ............", "lblTotCon", &contactsTotalLabel_},
        {"Label13", "Total Phone ................", "lblTotSec", &phoneTotalLabel_},
        {"Label6", "Total CW ....................", "lblsectogo", &cwTotalLabel_},
        {"Label8", "QSOs / Hr (last 20 min)", "lblAQSO20", &rate20Label_},
        {"Label9", "QSOs / Hr (last 60 min)", "lblAQSO60", &rate60Label_},
    };
    int y = 170;
    for (const StatRow& s : stats) {
        addLabel(QString::fromLatin1(s.captionName), QString::fromLatin1(s.caption), {450, y, 130, 16});
        *s.value = addLabel(QString::fromLatin1(s.valueName), QStringLiteral("0"), {582, y, 50, 16});
        (*s.value)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        y += 16;
    }
    addLabel(QStringLiteral("Label7"), QStringLiteral("Total Score.................."), {450, y, 130, 16})->hide();
    scoreLabel_ = addLabel(QStringLiteral("lblTotScore"), QStringLiteral("0"), {582, y, 50, 16});
    scoreLabel_->hide();

    // DX list; its heading is element 5 of the column labels.
    columnHeadings_[5] = addLabel(QStringLiteral("lblStation_5"), QStringLiteral("DX"), {450, 258, 180, 16}, 9);
    dxList_ = new QListWidget(c);
    dxList_->setObjectName(QStringLiteral("List1"));
    dxList_->setFocusPolicy(Qt::ClickFocus);
    place(dxList_, {450, 274, 182, 96}, 8);

    // Multipliers: the 62 state and province labels under their call-area headings.
    statesWorkedLabel_ = addLabel(QStringLiteral("Label15"), Statistics::statesWorkedInitialText(), {8, 376, 300, 16}, 9);
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
            multiplierLabels_[static_cast<size_t>(i)] = label;
            connect(label, &ClickableLabel::clicked, this, [this, label] { edit(Field::Spc)->setText(label->text()); });
            connect(label, &ClickableLabel::hovered, this, [this, i] { label10Hover(i); });
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
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    const auto add = [this](QMenu* menu, const char* name, const QString& caption, auto slot) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    const auto show = [this](WindowLauncher::Window w, bool modal) {
        return [this, w, modal] { ports_.windows.show(w, modal); };
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, "mnuNew", QStringLiteral("&New"), [this] {
        if (logWritable(QStringLiteral("The log was not erased.")))
            newLogCommand();
        showRates();
    });
    separator(file, "mnuLine1");
    add(file, "mnuArchive", QStringLiteral("Archive Current &Log"), &MainWindow::mnuArchive_Click);
    separator(file, "mnuLine21");
    add(file, "mnuRestore", QStringLiteral("&Restore from Archive or Backup"), &MainWindow::mnuRestore_Click);
    separator(file, "mnuLine53");
    add(file, "mnuWriteSumm", QStringLiteral("&Write Summary File"), &MainWindow::mnuWriteSumm_Click);
    separator(file, "mnuLine2");
    add(file, "mnuADIF", QStringLiteral("Export &ADIF File"), [this] { ports_.exports.exportAdif(session_.store(), windowTitle()); });
    separator(file, "mnuLine22");
    add(file, "mnuCopyListtoClipboard", QStringLiteral("&Copy Listed Items to Clipboard"),
        &MainWindow::mnuCopyListtoClipboard_Click);
    separator(file, "mnuLine3");
    add(file, "mnuExit", QStringLiteral("&Exit"), &MainWindow::mnuExit_Click);
    QAction* open = add(file, "mnuOpen", QStringLiteral("&Open"), &MainWindow::mnuOpen2);
    open->setVisible(false);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QMenu* transmit = options->addMenu(QStringLiteral("&Transmit"));
    transmit->setObjectName(QStringLiteral("mnutrans"));
    add(transmit, "mnuCW", QStringLiteral("&CW Setup"), show(WindowLauncher::Window::CwSetup, true));
    add(transmit, "mnuVoice", QStringLiteral("&Voice Setup"), show(WindowLauncher::Window::VoiceSetup, true));
    separator(options, "mnuLine7");
    QMenu* appearance = options->addMenu(QStringLiteral("&Appearance"));
    appearance->setObjectName(QStringLiteral("mnuAppearance"));
    add(appearance, "mnuFormSize", QStringLiteral("&Form Size"), [] {});
    add(appearance, "mnuColors", QStringLiteral("&Colors"), [this] {
        ports_.windows.show(WindowLauncher::Window::Colors, true);
        SavePref();
        mnuOpen2();
    });
    QAction* taskbar = add(appearance, "mnuTaskbar", QStringLiteral("&Taskbar"), [] {});
    taskbar->setCheckable(true);
    separator(options, "mnuLine6");
    add(options, "mnuRigInterface", QStringLiteral("&Rig Interface"), show(WindowLauncher::Window::RigInterface, false));
    separator(options, "mnuLine8");
    QMenu* dx = options->addMenu(QStringLiteral("&DX Spotting"));
    dx->setObjectName(QStringLiteral("mnuDXSpottingMain"));
    add(dx, "mnuDXSpotting", QStringLiteral("&Configure"), [this] {
        SavePref();
        ports_.windows.show(WindowLauncher::Window::DxSpotting, false);
    });
    add(dx, "mnuViewSpwctrumMap", QStringLiteral("&View Spectrum Map"), show(WindowLauncher::Window::SpectrumMap, true));
    separator(options, "mnuLine11");
    add(options, "mnuListPrevious", QStringLiteral("&List Previous Contacts"), &MainWindow::mnuListPrevious_Click)
        ->setCheckable(true);
    separator(options, "mnuLine29");
    add(options, "mnuPostContest", QStringLiteral("&Post Contest Mode"), &MainWindow::mnuPostContest_Click)
        ->setCheckable(true);
    add(options, "mnuSetup", QStringLiteral("&Setup"), &MainWindow::mnuSetup_Click);
    add(options, "mnuRSTDefault", QStringLiteral("R&ST Default"), &MainWindow::mnuRSTDefault_Click)->setVisible(false);

    QMenu* band = bar->addMenu(QStringLiteral("&Band"));
    band->setObjectName(QStringLiteral("mnuBandChange"));
    const std::pair<const char*, const char*> bands[] = {
        {"mnuBand160Ch", "160"}, {"mnuBand80Ch", "80"}, {"mnuBand40Ch", "40"}, {"mnuBand20Ch", "20"},
        {"mnuBand15Ch", "15"},   {"mnuBand10Ch", "10"}, {"mnuBand6Ch", "6"},   {"mnuBand2ch", "2"},
    };
    for (const auto& [name, code] : bands) {
        const QString c = QString::fromLatin1(code);
        QAction* a = add(band, name, c, [this, c] { bandCommand(c); });
        a->setCheckable(true);
        if (c == QLatin1String("160"))
            a->setVisible(false);
    }
    separator(band, "mnuLine14");
    add(band, "mnuPrivileges", QStringLiteral("&Privileges"), show(WindowLauncher::Window::BandPlan, true));

    QMenu* mode = bar->addMenu(QStringLiteral("&Mode"));
    mode->setObjectName(QStringLiteral("mnuBand"));
    cwModeAction_ = add(mode, "mnu160", QStringLiteral("&CW"), [this] { modeCommand(QStringLiteral("CW")); });
    cwModeAction_->setCheckable(true);
    phModeAction_ = add(mode, "mnuSSB", QStringLiteral("&PH"), [this] { modeCommand(QStringLiteral("PH")); });
    phModeAction_->setCheckable(true);

    QAction* graph = bar->addAction(QStringLiteral("&Graph"));
    graph->setObjectName(QStringLiteral("mnuGraph"));
    connect(graph, &QAction::triggered, this, [this] { ports_.exports.showGraph(session_.store(), this); });
    QAction* help = bar->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(help, &QAction::triggered, this, show(WindowLauncher::Window::Help, true));
}

QAction* MainWindow::action(const QString& name) const { return findChild<QAction*>(name); }

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    relayout();
}

void MainWindow::relayout()
{
    layout_.apply(centralWidget()->size());
    QHeaderView* header = recentList_->horizontalHeader();
    for (int i = 0; i < RecentContactsModel::kColumns; ++i)
        header->resizeSection(i, qRound(width() * RecentContactsModel::kWidthParts[i] / 9600.0));
}

}  // namespace cubwave
