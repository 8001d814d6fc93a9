#include "platform/QtSettingsStore.h"

namespace cubwave {

namespace {
const QString kSection = QStringLiteral("Settings/");
}

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantel_Software"),
                QStringLiteral("Brantel_Software"))
{
}

QString QtSettingsStore::value(const QString& key, const QString& defaultValue) const
{
    return settings_.value(kSection + key, defaultValue).toString();
}

void QtSettingsStore::setValue(const QString& key, const QString& value)
{
    settings_.setValue(kSection + key, value);
    settings_.sync();
}

}  // namespace cubwave
