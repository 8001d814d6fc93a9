#include "ui/export/ExportCommands.h"

#include "core/FileWrite.h"
#include "core/LogStore.h"
#include "core/Preferences.h"
#include "export/AdifCountryTable.h"
#include "export/AdifPower.h"
#include "export/AdifWriter.h"
#include "export/ProductCaption.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "ui/export/ExportMessages.h"
#include "ui/export/RateGraphWindow.h"
#include "ui/export/SummaryDialog.h"

#include <QDialog>
#include <QDir>
#include <QLocale>

namespace cubwave {

namespace {

// The ADIF header takes this many characters of the main window's caption.
constexpr int kCaptionWidth = 60;

// The platform's default text of a date and time: the locale's short date and its time with
// seconds. The clock's local time is a plain wall-clock reading, so no zone name is shown.
QString defaultDateTimeText(const QDateTime& local)
{
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(local.time(), timeFormat.trimmed());
}

}  // namespace

const QString ExportCommands::kPowerTitle = QStringLiteral("Please enter your transmitter output power.");
const QString ExportCommands::kPowerPrompt = QStringLiteral(
    "Please enter the power value that you would like to record.  This is an optional value that will be included "
    "in each QSO record and displayed in Logwyn's power output column.");
const QString ExportCommands::kPowerDefault = QStringLiteral("100");

ExportCommands::ExportCommands(ExportServices services) : services_(std::move(services)) {}

int ExportCommands::runModal(QDialog& dialog)
{
    return services_.runModal ? services_.runModal(dialog) : dialog.exec();
}

void ExportCommands::fail(const QString& text)
{
    services_.beeper.beep();
    services_.dialogs.message(ExportMessages::kWriteErrorTitle, text, MsgButtons::Ok, MsgIcon::Critical);
}

void ExportCommands::exportAdif(const LogStore& store, const QString& caption, const QString& ownCall)
{
    const QString typed = services_.dialogs.input(kPowerTitle, kPowerPrompt, kPowerDefault).value_or(QString());
    const AdifPower power = AdifPower::fromTyped(typed);

    QString tablePath =
        AdifCountryTable::findFile(services_.sharedFolder, services_.dataFolder, services_.workDir);
    if (tablePath.isEmpty())  // reading it there gives the system's file-not-found text
        tablePath = QDir(services_.workDir).filePath(AdifCountryTable::kFileName);
    const AdifCountryTableLoad table = AdifCountryTable::read(tablePath);
    if (!table.ok) {
        fail(table.error);
        return;
    }

    const std::optional<QString> target = services_.dialogs.saveFile(
        {QStringLiteral("Export ADIF File"), services_.dataFolder, QStringLiteral("Cubwave.adi"),
         QStringLiteral("ADIF Files (*.adi) | *.adi")});
    if (!target)
        return;

    const AdifWriter writer(table.table, power, ownCall);
    const AdifDocument doc = writer.document({ProductCaption::productName(caption, kCaptionWidth),
                                              defaultDateTimeText(services_.clock.localNow()), services_.clock.utcNow()},
                                             store.records());
    const WriteResult written = replaceFileAtomically(*target, doc.text);
    if (!written.ok) {
        fail(ExportMessages::fileError(*target, written.error));
        return;
    }
    QString message = ExportMessages::writtenText(*target);
    if (!doc.refusedLines.empty())
        message += QStringLiteral("\r\n\r\n") + ExportMessages::refusedContactsText(doc.refusedLines);
    if (power.refused) {
        message += QStringLiteral("\r\n\r\nThe power \"%1\" is not a number of watts, so no power was recorded.")
                       .arg(typed.trimmed());
    }
    services_.dialogs.message(ExportMessages::kWrittenTitle, message);
}

void ExportCommands::writeSummary(const LogStore& store, Preferences& prefs, const QString& caption, QWidget* parent)
{
    SummaryDialog::Inputs inputs{caption, prefs.ownCall, prefs.ownSpc, store.records(), services_.dataFolder,
                                 services_.workDir};
    SummaryDialog window(std::move(inputs), services_.dialogs, services_.beeper, services_.settings, services_.shared,
                         parent);
    runModal(window);
    prefs.ownCall = window.ownCall();
}

void ExportCommands::showGraph(const LogStore& store, QWidget* parent)
{
    RateGraphWindow window(store.records(), services_.dialogs, parent);
    runModal(window);
}

}  // namespace cubwave
