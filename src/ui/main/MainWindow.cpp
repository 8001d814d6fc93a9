#include "ui/main/MainWindow.h"

#include "export/ProductCaption.h"
#include "ui/common/ClickableLabel.h"
#include "ui/common/WorkAreaGuard.h"
#include "ui/main/EntryLine.h"
#include "ui/main/KeyPipeline.h"
#include "ui/main/LogCommands.h"
#include "ui/main/MainMenus.h"
#include "ui/main/MainScreen.h"
#include "ui/main/WindowKeys.h"

#include <QDialog>
#include <QPushButton>
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
    connect(&session_, &ContestSession::preferencesNotSaved, this, &MainWindow::preferencesNotSaved);
    connect(&session_, &ContestSession::preferencesReadOnly, this,
            [this] { setStatus(QStringLiteral("cubwavepref.txt is read-only: changes are not saved.")); });
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
    ports_.spots.addSpotListener([this](const QString& call, const QString& frequency, const QString& record) {
        bandMapSpots(call, frequency, record);
    });
    ports_.spots.onDisplayChosen(
        [this](const QString& type, const QString& display) { packetResize(type, display); });
    ports_.spots.onRepaintDue([this] { displayBandMapLabels(); });
    ports_.spots.onStatus([this](const QString& text) { setStatus(text); });
    ports_.cw.onWindowRequests([this] { commitContact(); }, [this](const QString& text) { setStatus(text); });
    ports_.cw.onBusyChanged([this](bool busy) {
        // Closed from an event of its own, not from inside the sender's signal.
        if (!busy && closeAfterSending_) {
            closeAfterSending_ = false;
            QTimer::singleShot(0, this, [this] { close(); });
        }
    });

    ports_.cw.onTransmitChanged([this](bool on) {
        cwOnAir_ = on;
        screen_->showTransmitting(cwOnAir_ || pttUp_);
    });
    ports_.voice.onTransmitChanged([this](bool on) {
        pttUp_ = on;
        screen_->showTransmitting(cwOnAir_ || pttUp_);
    });

    setObjectName(QStringLiteral("Form1"));
    // It fits itself to the screen or the work area, as the taskbar option says.
    setProperty(WorkAreaGuard::kPlacesItself, true);
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
    connect(&session_, &ContestSession::bandChanged, screen_->bandLabel, &QLabel::setText);
    setMouseTracking(true);
    connectScreen();
    connectSpotDisplays();
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
    MainMenus::Commands commands;
    commands.newLog = [this] {
        if (logCommands_->logWritable(QStringLiteral("The log was not erased.")))
            logCommands_->newLog();
        showRates();
    };
    commands.archive = [this] { logCommands_->archive(); };
    commands.restore = [this] { logCommands_->restore(); };
    commands.writeSummary = [this] { mnuWriteSumm_Click(); };
    commands.copyList = [this] { logCommands_->copyListToClipboard(); };
    commands.exit = [this] { mnuExit_Click(); };
    commands.stationSetup = [this] { mnuSetup_Click(); };
    commands.rstDefault = [this] { mnuRSTDefault_Click(); };
    commands.formSize = [this] { mnuFormSize_Click(); };
    commands.taskbar = [this] { mnuTaskbar_Click(); };
    commands.showStatus = [this](const QString& text) { setStatus(text); };
    commands.postContestMode = [this](bool on) {
        session_.postContestMode = on;
        entryLine_->showPostContestFields(on);
    };
    menus_ = new MainMenus(*this, session_, ports_, std::move(commands));
}

int MainWindow::runModal(QDialog& dialog)
{
    return services_.runModal ? services_.runModal(dialog) : dialog.exec();
}

int MainWindow::selectedRecord() const { return logCommands_->selectedRecord(); }

void MainWindow::cmdEdit_Click() { logCommands_->editSelected(); }

void MainWindow::cmdDelete_Click() { logCommands_->deleteSelected(); }

}  // namespace cubwave
