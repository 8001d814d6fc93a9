#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

namespace cubwave {

// Backed by QSettings under the application name "Brantel_Software", section "Settings".
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    QString value(const QString& key, const QString& defaultValue) const override;
    void setValue(const QString& key, const QString& value) override;

private:
    mutable QSettings settings_;
};

}  // namespace cubwave
