#include "ui/main/MainMenus.h"

#include "core/ContestSession.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace cubwave {

MainMenus::MainMenus(QMainWindow& window, ContestSession& session, MainWindowPorts ports, Commands commands)
    : QObject(&window), window_(window), session_(session), ports_(ports), commands_(std::move(commands))
{
    build();
    connect(&session_, &ContestSession::bandChanged, this, &MainMenus::showBand);
    connect(&session_, &ContestSession::modeChanged, this, &MainMenus::showMode);
}

QAction* MainMenus::add(QMenu* menu, const char* name, const QString& caption, std::function<void()> slot)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, std::move(slot));
    return a;
}

QAction* MainMenus::addWindow(QMenu* menu, const char* name, const QString& caption, WindowLauncher::Window window,
                             bool modal, const char* keys)
{
    // Shown in the menu's shortcut column only: the keys themselves go through the main
    // window's key handlers, which see every key first.
    const QString text = keys ? caption + QLatin1Char('\t') + QString::fromLatin1(keys) : caption;
    return add(menu, name, text, [this, window, modal] {
        if (windowAvailable(window))
            ports_.windows.show(window, modal);
    });
}

bool MainMenus::windowAvailable(WindowLauncher::Window window)
{
    if (ports_.windows.available(window))
        return true;
    showNotAvailable(windowEntryName(window));
    return false;
}

void MainMenus::showNotAvailable(const QString& entry)
{
    if (commands_.showStatus)
        commands_.showStatus(notAvailableText(entry));
}

void MainMenus::build()
{
    using W = WindowLauncher::Window;
    QMenuBar* bar = window_.menuBar();
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, "mnuNew", QStringLiteral("&New"), commands_.newLog);
    separator(file, "mnuLine1");
    add(file, "mnuArchive", QStringLiteral("Archive Current &Log"), commands_.archive);
    separator(file, "mnuLine21");
    add(file, "mnuRestore", QStringLiteral("&Restore from Archive or Backup"), commands_.restore);
    separator(file, "mnuLine53");
    add(file, "mnuWriteSumm", QStringLiteral("&Write Summary File"), commands_.writeSummary);
    separator(file, "mnuLine2");
    add(file, "mnuADIF", QStringLiteral("Export &ADIF File"),
        [this] { ports_.exports.exportAdif(session_.store(), window_.windowTitle(), session_.prefs().ownCall); });
    separator(file, "mnuLine22");
    add(file, "mnuCopyListtoClipboard", QStringLiteral("&Copy Listed Items to Clipboard"), commands_.copyList);
    separator(file, "mnuLine3");
    add(file, "mnuExit", QStringLiteral("&Exit"), commands_.exit);
    add(file, "mnuOpen", QStringLiteral("&Open"), [this] { session_.reloadLog(); })->setVisible(false);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QMenu* transmit = options->addMenu(QStringLiteral("&Transmit"));
    transmit->setObjectName(QStringLiteral("mnutrans"));
    addWindow(transmit, "mnuCW", QStringLiteral("&CW Setup"), W::CwSetup, true, "Ctrl+S");
    addWindow(transmit, "mnuVoice", QStringLiteral("&Voice Setup"), W::VoiceSetup, true, "Ctrl+P");
    addWindow(transmit, "mnuCWStrings", QStringLiteral("CW &Strings"), W::CwStrings, false, "Ctrl+W");
    separator(options, "mnuLine7");
    QMenu* appearance = options->addMenu(QStringLiteral("&Appearance"));
    appearance->setObjectName(QStringLiteral("mnuAppearance"));
    add(appearance, "mnuFormSize", QStringLiteral("&Form Size"), commands_.formSize);
    add(appearance, "mnuColors", QStringLiteral("&Colors"), [this] {
        if (!windowAvailable(W::Colors))
            return;
        ports_.windows.show(W::Colors, true);
        session_.savePreferences();
        session_.reloadLog();
    });
    QAction* taskbar = add(appearance, "mnuTaskbar", QStringLiteral("&Taskbar"), [] {});
    taskbar->setCheckable(true);
    connect(taskbar, &QAction::triggered, this, [this, taskbar] {
        // The mark follows the option, which the command may refuse to change.
        taskbar->setChecked(!taskbar->isChecked());
        commands_.taskbar();
    });
    separator(options, "mnuLine6");
    addWindow(options, "mnuRigInterface", QStringLiteral("&Rig Interface"), W::RigInterface, false, "Ctrl+R");
    addWindow(options, "mnuRigTune", QStringLiteral("Change &Frequency and Mode"), W::RigTune, true, "Ctrl+G");
    separator(options, "mnuLine8");
    QMenu* dx = options->addMenu(QStringLiteral("&DX Spotting"));
    dx->setObjectName(QStringLiteral("mnuDXSpottingMain"));
    add(dx, "mnuDXSpotting", QStringLiteral("&Configure\tCtrl+D"), [this] {
        if (!windowAvailable(W::DxSpotting))
            return;
        session_.savePreferences();
        ports_.windows.show(W::DxSpotting, false);
    });
    addWindow(dx, "mnuViewSpwctrumMap", QStringLiteral("&View Spectrum Map"), W::SpectrumMap, true, "Ctrl+B");
    separator(options, "mnuLine11");
    listPreviousAction_ = add(options, "mnuListPrevious", QStringLiteral("&List Previous Contacts"),
                              [this] { session_.setListPrevious(listPreviousAction_->isChecked()); });
    listPreviousAction_->setCheckable(true);
    separator(options, "mnuLine29");
    postContestAction_ = add(options, "mnuPostContest", QStringLiteral("&Post Contest Mode"),
                             [this] { commands_.postContestMode(postContestAction_->isChecked()); });
    postContestAction_->setCheckable(true);
    add(options, "mnuSetup", QStringLiteral("&Setup"), commands_.stationSetup);
    add(options, "mnuRSTDefault", QStringLiteral("R&ST Default"), commands_.rstDefault)->setVisible(false);

    bandMenu_ = bar->addMenu(QStringLiteral("&Band"));
    bandMenu_->setObjectName(QStringLiteral("mnuBandChange"));
    const std::pair<const char*, const char*> bands[] = {
        {"mnuBand160Ch", "160"}, {"mnuBand80Ch", "80"}, {"mnuBand40Ch", "40"}, {"mnuBand20Ch", "20"},
        {"mnuBand15Ch", "15"},   {"mnuBand10Ch", "10"}, {"mnuBand6Ch", "6"},   {"mnuBand2ch", "2"},
    };
    for (const auto& [name, code] : bands) {
        const QString c = QString::fromLatin1(code);
        QAction* a = add(bandMenu_, name, c, [this, c] { session_.setBand(c); });
        a->setCheckable(true);
        if (c == QLatin1String("160"))
            a->setVisible(false);
    }
    separator(bandMenu_, "mnuLine14");
    addWindow(bandMenu_, "mnuPrivileges", QStringLiteral("&Privileges"), W::BandPlan, true, "Ctrl+F");

    QMenu* mode = bar->addMenu(QStringLiteral("&Mode"));
    mode->setObjectName(QStringLiteral("mnuBand"));
    cwModeAction_ = add(mode, "mnu160", QStringLiteral("&CW"), [this] { session_.setMode(QStringLiteral("CW")); });
    cwModeAction_->setCheckable(true);
    phModeAction_ = add(mode, "mnuSSB", QStringLiteral("&PH"), [this] { session_.setMode(QStringLiteral("PH")); });
    phModeAction_->setCheckable(true);

    QAction* graph = bar->addAction(QStringLiteral("&Graph"));
    graph->setObjectName(QStringLiteral("mnuGraph"));
    connect(graph, &QAction::triggered, this, [this] { ports_.exports.showGraph(session_.store(), &window_); });
    QAction* help = bar->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(help, &QAction::triggered, this, [this] {
        if (windowAvailable(W::Help))
            ports_.windows.show(W::Help, true);
    });
}

QAction* MainMenus::bandAction(const QString& band) const
{
    for (QAction* a : bandMenu_->actions()) {
        if (a->objectName().startsWith(QLatin1String("mnuBand")) && a->text().compare(band, Qt::CaseInsensitive) == 0)
            return a;
    }
    return nullptr;
}

void MainMenus::showBand(const QString& band)
{
    for (const char* name : {"mnuBand80Ch", "mnuBand40Ch", "mnuBand20Ch", "mnuBand15Ch", "mnuBand10Ch",
                             "mnuBand6Ch", "mnuBand2ch"})
        bandMenu_->findChild<QAction*>(QString::fromLatin1(name))->setChecked(false);
    if (QAction* a = bandAction(band))
        a->setChecked(true);
}

void MainMenus::showMode(const QString& mode)
{
    const bool cw = mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0;
    cwModeAction_->setChecked(cw);
    phModeAction_->setChecked(!cw);
}

void MainMenus::showSessionSettings()
{
    showMode(session_.prefs().mode);
    QAction* saved = bandAction(session_.prefs().band);
    for (QAction* a : bandMenu_->actions()) {
        if (a->isCheckable())
            a->setChecked(a == saved);
    }
    listPreviousAction_->setChecked(session_.prefs().listPrevious == 1);
}

}  // namespace cubwave
