#include "ui/rig/RigControlWindow.h"

#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/SettingsStore.h"
#include "rig/PegasusFolder.h"
#include "rig/RigModel.h"
#include "rig/RigSettingsFile.h"
#include "rig/RigctldAddress.h"
#include "ui/common/SettingsWindowKeys.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace cubwave {

namespace {

constexpr std::array<const char*, 9> kBaudCaptions{"1.2", "2.4", "4.8", "9.6", "14.4", "19.2", "28.8", "38.4", "56"};

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QString trimmedRight(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// Entering a query box ends a running test, so a half-typed query is never sent.
class FocusWatcher final : public QObject {
public:
    FocusWatcher(QObject* parent, std::function<void()> onFocus) : QObject(parent), onFocus_(std::move(onFocus)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            onFocus_();
        return false;
    }

private:
    std::function<void()> onFocus_;
};

}  // namespace

RigControlWindow::RigControlWindow(const Services& services, const QString& workingDir, QWidget* parent)
    : QDialog(parent),
      services_(services),
      workingDir_(workingDir),
      driver_(services.driver)
{
    const SerialPortMap::Loaded ports = SerialPortMap::read(workingDir);
    portMap_ = ports.map;
    if (ports.problem)
        fileProblems_.append(QStringLiteral("%1 could not be read (%2): port N is /dev/ttyS(N-1).")
                                 .arg(SerialPortMap::kFileName, *ports.problem));
    setObjectName(QStringLiteral("RigControlfrm"));
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    setModal(false);
    buildControls();
    driver_.setTickHandler([this](const RigTickResult& result) { applyTick(result); });
    loadRigSettings();
    useSettingsWindowKeys(this, cmdDone_);
}

RigControlWindow::~RigControlWindow()
{
    // The driver outlives the window: no tick may reach it once it is gone.
    driver_.setTickHandler({});
    driver_.stop();
}

void RigControlWindow::buildControls()
{
    auto* top = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* selectLabel = new QLabel(QStringLiteral("Select Rig:"), this);
    left->addWidget(selectLabel);
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setMinimumWidth(130);
    for (const RigModel& model : RigModels::all())
        list1_->addItem(QString::fromLatin1(model.name));
    left->addWidget(list1_);
    top->addLayout(left);

    auto* middle = new QVBoxLayout;
    QList<QString> baudCaptions;
    for (const char* caption : kBaudCaptions)
        baudCaptions << QString::fromLatin1(caption);
    serialOptions_ = std::make_unique<SerialLineOptions>(this, portMap_, RigSettings::kMaxPort,
                                                         QStringLiteral("Baud Rate"), baudCaptions, 5);
    middle->addWidget(serialOptions_->commBox);
    middle->addWidget(serialOptions_->baudBox);

    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(serialOptions_->parityBox);
    lineRow->addWidget(serialOptions_->dataBox);
    lineRow->addWidget(serialOptions_->stopBox);
    middle->addLayout(lineRow);

    auto* powerRow = new QHBoxLayout;
    auto* powerBox = serialOptions_->powerBox;
    auto* pollBox = new QGroupBox(QStringLiteral("Poll Rate"), this);
    auto* pollLayout = new QVBoxLayout(pollBox);
    pollLayout->addWidget(optPollFast_ = radio(pollBox, "optPollFast", QStringLiteral("100 ms")));
    pollLayout->addWidget(optPollMed_ = radio(pollBox, "optPollMed", QStringLiteral("500 ms")));
    pollLayout->addWidget(optPollSlow_ = radio(pollBox, "optPollSlow", QStringLiteral("2 Sec")));
    pollLayout->addWidget(optReallySlow_ = radio(pollBox, "optReallySlow", QStringLiteral("10 Sec")));
    auto* modeByBox = new QGroupBox(QStringLiteral("Mode by:"), this);
    auto* modeByLayout = new QVBoxLayout(modeByBox);
    modeByLayout->addWidget(optRig_ = radio(modeByBox, "OptRig", QStringLiteral("Rig")));
    modeByLayout->addWidget(optFreq_ = radio(modeByBox, "OptFreq", QStringLiteral("Frequency")));
    modeByLayout->addWidget(optDont_ = radio(modeByBox, "OptDont", QStringLiteral("Don't Use")));
    powerRow->addWidget(powerBox);
    powerRow->addWidget(pollBox);
    powerRow->addWidget(modeByBox);
    middle->addLayout(powerRow);

    auto* rigctldBox = new QGroupBox(QStringLiteral("Hamlib rigctld"), this);
    rigctldBox->setObjectName(QStringLiteral("fraRigctld"));
    auto* rigctldGrid = new QGridLayout(rigctldBox);
    rigctldGrid->addWidget(new QLabel(QStringLiteral("Host:"), rigctldBox), 0, 0);
    txtRigctldHost_ = new QLineEdit(rigctldBox);
    txtRigctldHost_->setObjectName(QStringLiteral("txtRigctldHost"));
    rigctldGrid->addWidget(txtRigctldHost_, 0, 1);
    rigctldGrid->addWidget(new QLabel(QStringLiteral("Port:"), rigctldBox), 1, 0);
    txtRigctldPort_ = new QLineEdit(rigctldBox);
    txtRigctldPort_->setObjectName(QStringLiteral("txtRigctldPort"));
    txtRigctldPort_->setMaxLength(5);
    rigctldGrid->addWidget(txtRigctldPort_, 1, 1);
    fraRigctld_ = rigctldBox;
    fraRigctld_->hide();
    middle->addWidget(rigctldBox);
    serialControls_ = {serialOptions_->commBox, serialOptions_->baudBox, serialOptions_->parityBox,
                       serialOptions_->dataBox, serialOptions_->stopBox, powerBox};
    top->addLayout(middle);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("String to read frequency:"), this));
    txtFreq_ = new QLineEdit(this);
    txtFreq_->setObjectName(QStringLiteral("txtFreq"));
    right->addWidget(txtFreq_);
    right->addWidget(new QLabel(QStringLiteral("String to read mode:"), this));
    txtMode_ = new QLineEdit(this);
    txtMode_->setObjectName(QStringLiteral("txtMode"));
    right->addWidget(txtMode_);
    chkConvToHex_ = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    chkConvToHex_->setObjectName(QStringLiteral("chkConvToHex"));
    chkConvHex_ = new QCheckBox(QStringLiteral("Convert from Hex"), this);
    chkConvHex_->setObjectName(QStringLiteral("ChkConvHex"));
    chkFrequency_ = new QCheckBox(QStringLiteral("Use Frequency"), this);
    chkFrequency_->setObjectName(QStringLiteral("chkFrequency"));
    right->addWidget(chkConvToHex_);
    right->addWidget(chkConvHex_);
    right->addWidget(chkFrequency_);
    label10_ = new QLabel(QString::fromLatin1(kIcomNote), this);
    label10_->setObjectName(QStringLiteral("Label10"));
    label10_->setWordWrap(true);
    label10_->hide();
    right->addWidget(label10_);
    lblPegasusFolder_ = new QLabel(QStringLiteral("Pegasus folder:"), this);
    txtPegasusFolder_ = new QLineEdit(this);
    txtPegasusFolder_->setObjectName(QStringLiteral("txtPegasusFolder"));
    right->addWidget(lblPegasusFolder_);
    right->addWidget(txtPegasusFolder_);
    lblPolling_ = new QLabel(QStringLiteral("Polling Rig"), this);
    lblPolling_->setObjectName(QStringLiteral("lblPolling"));
    // Its room stays when it hides, so the buttons below never move under the pointer: End Test
    // would otherwise land where Done was a moment before.
    QSizePolicy pollingPolicy = lblPolling_->sizePolicy();
    pollingPolicy.setRetainSizeWhenHidden(true);
    lblPolling_->setSizePolicy(pollingPolicy);
    lblPolling_->hide();
    right->addWidget(lblPolling_);
    auto* readings = new QGridLayout;
    readings->addWidget(new QLabel(QStringLiteral("Frequency:"), this), 0, 0);
    lblFreq_ = new QLabel(this);
    lblFreq_->setObjectName(QStringLiteral("lblFreq"));
    readings->addWidget(lblFreq_, 0, 1);
    readings->addWidget(new QLabel(QStringLiteral("Mode:"), this), 1, 0);
    lblMode_ = new QLabel(this);
    lblMode_->setObjectName(QStringLiteral("lblMode"));
    readings->addWidget(lblMode_, 1, 1);
    right->addLayout(readings);
    right->addWidget(new QLabel(QStringLiteral("Unprocessed data returned:"), this));
    lblUnProcess_ = new QLabel(this);
    lblUnProcess_->setObjectName(QStringLiteral("lblUnProcess"));
    lblUnProcess_->setWordWrap(true);
    lblUnProcess_->setTextFormat(Qt::PlainText);
    lblUnProcess_->setMinimumWidth(240);
    right->addWidget(lblUnProcess_);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    command1_ = button("Command1", QStringLiteral("Test"));
    command2_ = button("Command2", QStringLiteral("End Test"));
    command2_->setEnabled(false);
    command3_ = button("Command3", QStringLiteral("Change Frequency"));
    command4_ = button("Command4", QStringLiteral("Copy unprocessed data to clipboard"));
    cmdDone_ = button("cmdDone", QStringLiteral("&Done"));
    for (QPushButton* b : {command1_, command2_, command3_, command4_, cmdDone_})
        right->addWidget(b);
    right->addStretch();
    top->addLayout(right);

    connect(list1_, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    const auto endTestOnClick = [this](QRadioButton* option) {
        connect(option, &QRadioButton::clicked, this, [this] { optionClicked(); });
    };
    for (QRadioButton* option : serialOptions_->options())
        endTestOnClick(option);
    for (QRadioButton* option : {optPollFast_, optPollMed_, optPollSlow_, optReallySlow_})
        endTestOnClick(option);
    for (QRadioButton* option : {optRig_, optFreq_, optDont_})
        connect(option, &QRadioButton::clicked, this, [this] { modeByClicked(); });
    for (QLineEdit* box : {txtFreq_, txtMode_, txtRigctldHost_, txtRigctldPort_})
        box->installEventFilter(new FocusWatcher(box, [this] {
            if (!updatingControls_)
                Command2_Click();
        }));
    connect(txtFreq_, &QLineEdit::textChanged, this, [this](const QString& text) { settings_.frequencyQuery = text; });
    connect(txtMode_, &QLineEdit::textChanged, this, [this](const QString& text) { settings_.modeQuery = text; });
    connect(chkConvToHex_, &QCheckBox::toggled, this, [this](bool on) { convToHexChanged(on); });
    connect(chkConvHex_, &QCheckBox::toggled, this, [this] { reportChoicesChanged(); });
    connect(chkFrequency_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.useFrequency = on;
        reportChoicesChanged();
    });
    connect(txtPegasusFolder_, &QLineEdit::editingFinished, this,
            [this] { services_.store.setValue(PegasusFolder::kSettingsKey, txtPegasusFolder_->text()); });
    for (QLineEdit* box : {txtRigctldHost_, txtRigctldPort_})
        connect(box, &QLineEdit::editingFinished, this, [this] { storeRigctldAddress(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(command4_, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(cmdDone_, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
}

QString RigControlWindow::pegasusFolder() const
{
    const QString stored = services_.store.value(PegasusFolder::kSettingsKey, QString());
    if (!stored.isEmpty())
        return stored;
    return PegasusFolder::defaultFolder(services_.environment.variable(QStringLiteral("WINEPREFIX")),
                                        services_.environment.variable(QStringLiteral("HOME")), workingDir_);
}

void RigControlWindow::updatePegasusRow()
{
    const bool pegasus = settings_.rigName == QLatin1String("Ten Tec Pegasus");
    lblPegasusFolder_->setVisible(pegasus);
    txtPegasusFolder_->setVisible(pegasus);
    if (pegasus)
        txtPegasusFolder_->setText(pegasusFolder());
}

void RigControlWindow::updateConnectionControls()
{
    const bool rigctld = settings_.rigName == QLatin1String("Hamlib rigctld");
    for (QWidget* control : serialControls_)
        control->setVisible(!rigctld);
    fraRigctld_->setVisible(rigctld);
    if (rigctld) {
        const RigctldAddress address = RigctldAddress::read(services_.store);
        txtRigctldHost_->setText(address.host);
        txtRigctldPort_->setText(address.portText);
    }
}

void RigControlWindow::storeRigctldAddress()
{
    RigctldAddress address;
    address.host = txtRigctldHost_->text();
    address.portText = txtRigctldPort_->text();
    address.write(services_.store);
}

// Puts settings_ on the controls without running any of their click rules.
void RigControlWindow::showSettings()
{
    updatingControls_ = true;
    const QString baud = trimmedRight(settings_.baudText);
    const auto baudAt = std::find_if(RigSettings::kBaudTexts.begin(), RigSettings::kBaudTexts.end(),
                                     [&baud](const char* text) { return baud == QLatin1String(text); });
    serialOptions_->show({settings_.port, int(baudAt - RigSettings::kBaudTexts.begin()), settings_.parity,
                          settings_.dataBits, settings_.stopBits, settings_.powerLine});
    optPollFast_->setChecked(settings_.pollRate == u'F');
    optPollMed_->setChecked(settings_.pollRate == u'M');
    optPollSlow_->setChecked(settings_.pollRate == u'S');
    optReallySlow_->setChecked(settings_.pollRate == u'R');
    optRig_->setChecked(settings_.modeBy == ModeSource::Rig);
    optFreq_->setChecked(settings_.modeBy == ModeSource::Frequency);
    optDont_->setChecked(settings_.modeBy == ModeSource::DontUse);
    const QString frequencyQuery = settings_.frequencyQuery;
    const QString modeQuery = settings_.modeQuery;
    txtFreq_->setText(frequencyQuery);
    txtMode_->setText(modeQuery);
    chkConvToHex_->setChecked(settings_.convertToHex);
    chkFrequency_->setChecked(settings_.useFrequency);
    updatingControls_ = false;
}

void RigControlWindow::loadRigSettings()
{
    loading_ = true;
    const RigSettingsFile::Loaded loaded =
        RigSettingsFile::load(QDir(workingDir_).filePath(QString::fromLatin1(RigSettingsFile::kFileName)));
    settings_ = loaded.settings;
    settingsFileProblem_ = loaded.problem;
    if (loaded.problem)
        fileProblems_.append(QStringLiteral("%1 could not be read (%2): the rig settings shown are the defaults.")
                                 .arg(QString::fromLatin1(RigSettingsFile::kFileName), *loaded.problem));
    // Both lists share one exclusive group each, so check the stored ones after the others clear.
    const QList<QListWidgetItem*> found = list1_->findItems(settings_.rigName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        list1_->setCurrentItem(found.front());
    showSettings();
    const RigModel* model = RigModels::find(settings_.rigName);
    chkConvToHex_->setEnabled(model && model->operatorSetsHex);
    label10_->setVisible(settings_.rigName == QLatin1String("Icom"));
    updatePegasusRow();
    updateConnectionControls();
    loading_ = false;
}

void RigControlWindow::reportFileProblems()
{
    if (!fileProblems_.isEmpty())
        emit statusMessage(fileProblems_.join(u' '));
    fileProblems_.clear();
}

bool RigControlWindow::saveRigSettings()
{
    readOptions();
    const QString fileName = QString::fromLatin1(RigSettingsFile::kFileName);
    // The operator's file may hold settings that could not be read here: never replace it
    // unasked with the defaults shown in their place.
    if (settingsFileProblem_) {
        const MsgAnswer answer = services_.dialogs.message(
            fileName,
            QStringLiteral("%1 could not be read (%2). Replace it with the settings shown?")
                .arg(fileName, *settingsFileProblem_),
            MsgButtons::YesNo, MsgIcon::Question);
        if (answer != MsgAnswer::Yes)
            return false;
    }
    const QString path = QDir(workingDir_).filePath(fileName);
    const WriteResult written = RigSettingsFile::write(path, settings_);
    if (written.ok)
        settingsFileProblem_.reset();
    if (!written.ok)
        services_.dialogs.message(QString::fromLatin1(RigSettingsFile::kFileName),
                                  QStringLiteral("The rig settings could not be saved to %1: %2").arg(path, written.error),
                                  MsgButtons::Ok, MsgIcon::Warning);
    return written.ok;
}

void RigControlWindow::List1_Click()
{
    QListWidgetItem* item = list1_->currentItem();
    if (!item)
        return;
    const RigModel* model = RigModels::find(item->text());
    if (!model)
        return;
    if (loading_) {
        settings_.rigName = item->text();
        return;
    }
    Command2_Click();
    readOptions();
    settings_.selectRig(*model);
    showSettings();
    chkConvToHex_->setEnabled(model->operatorSetsHex);
    label10_->setVisible(model->showsIcomAddressNote);
    updatePegasusRow();
    updateConnectionControls();
}

// The options as the operator left them, into settings_.
void RigControlWindow::readOptions()
{
    SerialLineChoice line{settings_.port, -1, settings_.parity, settings_.dataBits, settings_.stopBits,
                          settings_.powerLine};
    serialOptions_->readInto(line);
    settings_.port = line.port;
    if (line.baudIndex >= 0)
        settings_.baudText = RigSettings::paddedBaud(QString::fromLatin1(RigSettings::kBaudTexts[size_t(line.baudIndex)]));
    settings_.parity = line.parity;
    settings_.dataBits = line.dataBits;
    settings_.stopBits = line.stopBits;
    settings_.powerLine = line.powerLine;
    if (optPollFast_->isChecked())
        settings_.pollRate = u'F';
    if (optPollMed_->isChecked())
        settings_.pollRate = u'M';
    if (optPollSlow_->isChecked())
        settings_.pollRate = u'S';
    if (optReallySlow_->isChecked())
        settings_.pollRate = u'R';
    if (optRig_->isChecked())
        settings_.modeBy = ModeSource::Rig;
    if (optFreq_->isChecked())
        settings_.modeBy = ModeSource::Frequency;
    if (optDont_->isChecked())
        settings_.modeBy = ModeSource::DontUse;
}

void RigControlWindow::optionClicked()
{
    readOptions();
    Command2_Click();
}

void RigControlWindow::modeByClicked()
{
    readOptions();
    lblMode_->setText(QString::fromLatin1(RigPoller::kNoResponse));
    driver_.poller().clearMode();
    reportChoicesChanged();
}

void RigControlWindow::convToHexChanged(bool on)
{
    settings_.convertToHex = on;
    chkConvHex_->setChecked(on);
    reportChoicesChanged();
}

void RigControlWindow::reportChoicesChanged()
{
    driver_.setReportChoices(settings_.convertToHex, chkConvHex_->isChecked(), settings_.useFrequency,
                             settings_.modeBy);
}

void RigControlWindow::Command1_Click()
{
    const bool none = settings_.rigName == QLatin1String("None");
    if (!none) {
        lblMode_->setText(QString::fromLatin1(RigPoller::kNoResponse));
        lblFreq_->setText(QString::fromLatin1(RigPoller::kNoResponse));
        command2_->setEnabled(true);
        lblPolling_->show();
        driver_.poller().clearMode();
    }
    readOptions();
    if (none)
        return;
    if (settings_.rigName == QLatin1String("Hamlib rigctld")) {
        // The boxes hold the stored address, or what the operator has typed since.
        storeRigctldAddress();
        const RigctldAddress address = RigctldAddress::read(services_.store);
        driver_.setRigctldAddress(address.host.trimmed(), address.port());
    }
    const std::optional<QString> failure =
        driver_.start(settings_, portMap_.devicePath(settings_.port), chkConvHex_->isChecked(), pegasusFolder());
    if (!failure)
        return;
    command2_->setEnabled(false);
    lblPolling_->hide();
    services_.beeper.beep();
    // Why, on the main window's status line too: a port another line holds names that line.
    emit statusMessage(*failure);
    services_.dialogs.message(QString::fromLatin1(kOpenFailureTitle),
                              QString::fromLatin1(kOpenFailureText) + QStringLiteral("\n\n") + *failure, MsgButtons::Ok,
                              MsgIcon::Information);
    // Shown modally without a nested event loop: nothing waits on it.
    if (!isVisible()) {
        setWindowModality(Qt::ApplicationModal);
        show();
    }
}

void RigControlWindow::Command2_Click()
{
    lblMode_->clear();
    lblFreq_->clear();
    lblUnProcess_->clear();
    driver_.stop();
    lblPolling_->hide();
    command2_->setEnabled(false);
}

void RigControlWindow::cmdDone_Click()
{
    if (settings_.rigName != QLatin1String("None"))
        Command1_Click();
    emit savePreferencesRequested();
    saveRigSettings();
    setWindowModality(Qt::NonModal);
    hide();
}

void RigControlWindow::Command3_Click()
{
    if (driver_.polling()) {
        emit frequencyTestRequested();
        return;
    }
    services_.dialogs.message(QString::fromLatin1(kNotPollingTitle), QString::fromLatin1(kNotPollingText), MsgButtons::Ok,
                              MsgIcon::Information);
}

void RigControlWindow::Command4_Click()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(lblUnProcess_->text());
    }
    cmdDone_->setFocus();
}

void RigControlWindow::unload() { driver_.shutdown(); }

void RigControlWindow::applyTick(const RigTickResult& result)
{
    if (isVisible()) {
        if (result.frequencyLabel)
            lblFreq_->setText(*result.frequencyLabel);
        if (result.modeLabel)
            lblMode_->setText(*result.modeLabel);
        if (result.unprocessedLabel)
            lblUnProcess_->setText(*result.unprocessedLabel);
    }
    if (result.bandReportMHz)
        emit bandFrequencyDecoded(*result.bandReportMHz);
    if (result.modeReport)
        emit modeDecoded(*result.modeReport);
    if (result.noResponse) {
        services_.beeper.beep();
        emit statusMessage(QString::fromLatin1(kNoResponseStatus));
    }
    if (result.status)
        emit statusMessage(*result.status);
    if (result.lineLost) {
        lblPolling_->hide();
        command2_->setEnabled(false);
        lblFreq_->setText(QString::fromLatin1(RigPoller::kNoResponse));
        lblMode_->setText(QString::fromLatin1(RigPoller::kNoResponse));
        services_.beeper.beep();
        emit statusMessage(QStringLiteral("Rig port lost: %1").arg(*result.lineLost));
    }
}

}  // namespace cubwave
