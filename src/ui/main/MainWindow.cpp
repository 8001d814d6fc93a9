#include "ui/main/MainWindow.h"

#include "core/Statistics.h"
#include "export/ProductCaption.h"
#include "ui/common/ClickableLabel.h"
#include "ui/main/EntryLine.h"
#include "ui/main/KeyPipeline.h"
#include "ui/main/LogCommands.h"
#include "ui/main/MainScreen.h"
#include "ui/main/RecentContactsModel.h"
#include "ui/main/WindowKeys.h"
#include "ui/common/VbColor.h"

#include <QAction>
#include <QDialog>
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
    ports_.rig.onStatus([this](const QString& text) { setStatus(text); });
    ports_.rig.onSavePreferences([this](const QString& rigName) {
        session_.prefs().rigModel = rigName;
        SavePref();
    });
    ports_.cw.onWindowRequests([this] { commitContact(); }, [this](const QString& text) { setStatus(text); });
    ports_.cw.onBusyChanged([this](bool busy) {
        // Closed from an event of its own, not from inside the sender's signal.
        if (!busy && closeAfterSending_) {
            closeAfterSending_ = false;
            QTimer::singleShot(0, this, [this] { close(); });
        }
    });

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProductCaption::kMainWindowCaption);
    screen_ = new MainScreen(session_.store(), this);
    setCentralWidget(screen_);
    entryLine_ = std::make_unique<EntryLine>(EntryLine::Context{*screen_, session_, prefixTable_, opClock_,
                                                                services_.beeper, services_.clock, ports_.voice,
                                                                ports_.cw, [this] { commitContact(); }});
    logCommands_ = std::make_unique<LogCommands>(LogCommands::Context{
        *screen_, session_, prefixTable_, opClock_, services_.dialogs, services_.beeper, services_.clock,
        services_.workDir, services_.dataFolder, [this](QDialog& d) { return runModal(d); }, this});
    windowKeys_ = std::make_unique<WindowKeys>(WindowKeys::Context{*screen_, session_, ports_.cw, ports_.voice,
                                                                   ports_.windows, [this] { cmdClear_Click(); }});
    setMouseTracking(true);
    connectScreen();
    buildMenus();
    resize(960, 720);
    // The band label and the menus show what the next contact takes from the start, even when
    // the load sequence stops before it reads the preferences.
    checkSavedBandAndMode();
    session_.markNotLoaded(QStringLiteral("the start-up has not read it."),
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
    entryLine_.reset();
    logCommands_.reset();
}

void MainWindow::connectScreen()
{
    connect(screen_->bandLabel, &ClickableLabel::clicked, this, &MainWindow::label24Click);
    connect(screen_->clearButton, &QPushButton::clicked, this, &MainWindow::cmdClear_Click);
    connect(screen_->partialDupButton, &QPushButton::clicked, this, &MainWindow::cmdDup_Click);
    connect(screen_->operatingClockButton, &QPushButton::clicked, this, &MainWindow::cmdLogOn_Click);
    connect(screen_->listLengthButton, &QPushButton::clicked, this, &MainWindow::cmdList_Click);
    for (int i = 1; i <= SpcTable::kSize; ++i) {
        ClickableLabel* label = screen_->multiplierLabels[static_cast<size_t>(i)];
        connect(label, &ClickableLabel::clicked, this, [this, label] { entryLine_->setLocation(label->text()); });
        connect(label, &ClickableLabel::hovered, this, [this, i] { label10Hover(i); });
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
        if (logCommands_->logWritable(QStringLiteral("The log was not erased.")))
            logCommands_->newLog();
        showRates();
    });
    separator(file, "mnuLine1");
    add(file, "mnuArchive", QStringLiteral("Archive Current &Log"), [this] { logCommands_->archive(); });
    separator(file, "mnuLine21");
    add(file, "mnuRestore", QStringLiteral("&Restore from Archive or Backup"), [this] { logCommands_->restore(); });
    separator(file, "mnuLine53");
    add(file, "mnuWriteSumm", QStringLiteral("&Write Summary File"), &MainWindow::mnuWriteSumm_Click);
    separator(file, "mnuLine2");
    add(file, "mnuADIF", QStringLiteral("Export &ADIF File"), [this] { ports_.exports.exportAdif(session_.store(), windowTitle()); });
    separator(file, "mnuLine22");
    add(file, "mnuCopyListtoClipboard", QStringLiteral("&Copy Listed Items to Clipboard"),
        [this] { logCommands_->copyListToClipboard(); });
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

int MainWindow::runModal(QDialog& dialog)
{
    return services_.runModal ? services_.runModal(dialog) : dialog.exec();
}

int MainWindow::selectedRecord() const { return logCommands_->selectedRecord(); }

void MainWindow::cmdEdit_Click() { logCommands_->editSelected(); }

void MainWindow::cmdDelete_Click() { logCommands_->deleteSelected(); }

}  // namespace cubwave
