#include "app/SpotWiring.h"

#include "spots/PackSpotFile.h"
#include "ui/main/MainWindow.h"
#include "ui/spots/DxSpottingWindow.h"

#include <QDir>

namespace cubwave {

SpotWiring::SpotWiring(SerialLine& tncLine, TcpClient& telnet, TcpClient& engineSocket, OneShotTimer& engineTimer,
                       Services services)
    : tncLine_(tncLine), telnet_(telnet), services_(std::move(services)),
      engine_(engineSocket, engineTimer, services_.store)
{
}

SpotWiring::~SpotWiring() { delete window_.data(); }

void SpotWiring::setMainWindow(MainWindow* form) { form_ = form; }

DxSpottingWindow& SpotWiring::window()
{
    if (window_)
        return *window_;
    DxSpottingWindow::Services services{
        tncLine_,
        telnet_,
        engine_,
        services_.dialogs,
        services_.beeper,
        services_.workDir,
        [this] { return form_ ? form_->prefs().ownCall : QString(); },
        [this] {
            if (!form_ || form_->store().count() == 0)
                return QString();
            return form_->store().at(form_->store().count()).call();
        },
        [this] { return form_ ? form_->windowTitle().left(50).trimmed() : QString(); },
        [this] {
            if (form_)
                form_->SavePref();
        },
    };
    // Connected before the window loads: a stored connection opens as it loads, and what it
    // says then belongs on the status line.
    window_ = new DxSpottingWindow(services, form_.data());
    DxSpottingWindow& w = *window_;
    {
        QObject::connect(&w, &DxSpottingWindow::spotHandedOver, &w,
                         [this](const QString& call, const QString& frequency, const QString& record) {
                             for (const SpotListener& listener : spotListeners_)
                                 listener(call, frequency, record);
                         });
        QObject::connect(&w, &DxSpottingWindow::displayChosen, &w, [this](const QString& type, const QString& display) {
            if (displayChosen_)
                displayChosen_(type, display);
        });
        QObject::connect(&w, &DxSpottingWindow::repaintDue, &w, [this] {
            if (repaintDue_)
                repaintDue_();
        });
        QObject::connect(&w, &DxSpottingWindow::statusMessage, &w, [this](const QString& text) {
            if (status_)
                status_(text);
        });
    }
    w.load();
    w.reportFileProblems();
    return *window_;
}

void SpotWiring::show(bool modal)
{
    DxSpottingWindow& w = window();
    if (!w.isVisible())
        w.setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    w.show();
    w.raise();
    w.activateWindow();
}

void SpotWiring::openAtStartup()
{
    if (windowLoaded())
        return;
    const PackSpotFile::Loaded stored =
        PackSpotFile::load(QDir(services_.workDir).filePath(QString::fromLatin1(PackSpotFile::kFileName)));
    // A file that could not be read is said once the window loads for the operator.
    if (stored.problem) {
        if (status_)
            status_(*stored.problem);
        return;
    }
    if (stored.settings.connectionType.compare(QLatin1String("None"), Qt::CaseInsensitive) != 0)
        window();
}

void SpotWiring::unload()
{
    if (window_)
        window_->unload();
    else
        engine_.close(0);
}

}  // namespace cubwave
