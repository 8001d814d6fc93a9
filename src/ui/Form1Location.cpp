// The main window's use of the prefix table: where a typed call is, and how far and which way.
#include "ui/Form1.h"

#include "station/HDCalc.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace cubwave {

bool Form1::loadPrefixTable()
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

void Form1::lookupCall(const QString& call)
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
        label22_->clear();
        label23_->clear();
        label19_->setText(QStringLiteral("NA"));
        break;
    case CallLocation::Outcome::Found:
        spc->setText(where.location);
        label19_->setText(where.continent);
        if (where.hasCoordinates) {
            showBearing(where.latitude, where.longitude);
        } else {
            label22_->clear();
            label23_->clear();
        }
        break;
    case CallLocation::Outcome::NotFound:
        spc->setText(PrefixTable::notFoundText());
        label19_->clear();
        label22_->clear();
        label23_->clear();
        break;
    }
    if (where.selectSpcText())
        spc->selectAll();
    if (spc->text() == PrefixTable::notFoundText()) {
        label19_->clear();
        label22_->clear();
        label23_->clear();
    }
}

std::optional<Form1::CountryCompletion> Form1::completeCountry(const QString& typed) const
{
    const PrefixEntry* entry = prefixTable_.completeCountry(typed, Qt::CaseInsensitive);
    if (!entry)
        return std::nullopt;
    return CountryCompletion{entry->country.mid(typed.size()), entry->continent, entry->latitude, entry->longitude};
}

void Form1::showBearing(float latitude, float longitude)
{
    const BearingDistance r = HDCalc::compute(session_.prefs().ownLatitude, session_.prefs().ownLongitude, latitude, longitude);
    label22_->setText(r.bearingText);
    label23_->setText(r.distanceText);
}

}  // namespace cubwave
