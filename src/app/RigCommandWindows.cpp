#include "app/RigCommandWindows.h"

#include "bandplan/SidebandTable.h"
#include "platform/Dialogs.h"
#include "ui/bandplan/PrivilegesWindow.h"
#include "ui/rig/FrequencyTestDialog.h"
#include "ui/rig/TuneDialog.h"

#include <QDialog>

namespace cubwave {

RigCommandWindows::RigCommandWindows(Services services) : services_(std::move(services))
{
    makeRunner(idlePoller_, nullptr, nullptr);
}

RigCommandWindows::~RigCommandWindows() = default;

void RigCommandWindows::makeRunner(RigPoller& poller, RigLink* link, RigctldConversation* rigctld)
{
    if (runner_)
        runner_->cancel();
    runner_ = std::make_unique<RigCommandRunner>(poller, timer_, services_.clock);
    runner_->setLink(link);
    runner_->setRigctld(rigctld);
    runner_->setSidebands(SidebandTable::load(services_.workDir));
    Dialogs& dialogs = services_.dialogs;
    QObject::connect(runner_.get(), &RigCommandRunner::commandFailed, runner_.get(),
                     [&dialogs](const QString& title, const QString& text) {
                         dialogs.message(title, text, MsgButtons::Ok, MsgIcon::Critical);
                     });
    QObject::connect(runner_.get(), &RigCommandRunner::statusMessage, runner_.get(), [this](const QString& text) {
        if (services_.status)
            services_.status(text);
    });
}

void RigCommandWindows::connectRig(RigPoller& poller, RigLink* link, RigctldConversation* rigctld)
{
    makeRunner(poller, link, rigctld);
}

void RigCommandWindows::cancelCommands() { runner_->cancel(); }

int RigCommandWindows::run(QDialog& dialog)
{
    dialog.setModal(true);
    return services_.runModal ? services_.runModal(dialog) : dialog.exec();
}

void RigCommandWindows::showTune()
{
    TuneDialog dialog(*runner_, parent_);
    run(dialog);
}

void RigCommandWindows::showPrivileges()
{
    PrivilegesWindow dialog(services_.workDir, services_.dialogs, parent_);
    run(dialog);
}

void RigCommandWindows::showFrequencyTest()
{
    FrequencyTestDialog dialog(*runner_, services_.dialogs, parent_);
    run(dialog);
}

}  // namespace cubwave
