// The main window's use of the prefix table: where a typed call is, and how far and which way.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "station/GreatCircle.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace cubwave {

bool MainWindow::loadPrefixTable()
{
    const QString path = PrefixTable::findFile(services_.sharedFolder, services_.dataFolder, services_.workDir);
    if (path.isEmpty()) {
        prefixTable_ = PrefixTable();  // no table: every call is "Not Found"
        return true;
    }
    PrefixTableLoad load = PrefixTable::read(path);
    if (!load.ok)
        return false;
    prefixTable_ = std::move(load.table);
    return true;
}

void MainWindow::lookupCall(const QString& call)
{
    QLineEdit* spc = edit(Field::Spc);
    const CallLocation where = prefixTable_.locate(call);
    switch (where.outcome) {
    case CallLocation::Outcome::NoCall:
        break;
    case CallLocation::Outcome::UsaOrCanada:
        // The operator types the state or province; a "Not Found" left by a shorter prefix
        // typed a moment ago is no answer for this call.
        if (spc->text() == PrefixTable::notFoundText())
            spc->clear();
        screen_->bearingLabel->clear();
        screen_->distanceLabel->clear();
        screen_->continentLabel->setText(QStringLiteral("NA"));
        break;
    case CallLocation::Outcome::Found:
        spc->setText(where.location);
        screen_->continentLabel->setText(where.continent);
        if (where.hasCoordinates) {
            showBearing(where.latitude, where.longitude);
        } else {
            screen_->bearingLabel->clear();
            screen_->distanceLabel->clear();
        }
        break;
    case CallLocation::Outcome::NotFound:
        spc->setText(PrefixTable::notFoundText());
        screen_->continentLabel->clear();
        screen_->bearingLabel->clear();
        screen_->distanceLabel->clear();
        break;
    }
    if (where.selectSpcText())
        spc->selectAll();
    if (spc->text() == PrefixTable::notFoundText()) {
        screen_->continentLabel->clear();
        screen_->bearingLabel->clear();
        screen_->distanceLabel->clear();
    }
}

std::optional<MainWindow::CountryCompletion> MainWindow::completeCountry(const QString& typed) const
{
    const PrefixEntry* entry = prefixTable_.completeCountry(typed, Qt::CaseInsensitive);
    if (!entry)
        return std::nullopt;
    return CountryCompletion{entry->country.mid(typed.size()), entry->continent, entry->latitude, entry->longitude};
}

void MainWindow::showBearing(float latitude, float longitude)
{
    const BearingDistance r = GreatCircle::compute(session_.prefs().ownLatitude, session_.prefs().ownLongitude, latitude, longitude);
    screen_->bearingLabel->setText(r.bearingText);
    screen_->distanceLabel->setText(r.distanceText);
}

}  // namespace cubwave
