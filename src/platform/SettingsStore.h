#pragma once

#include <QString>

namespace cubwave {

// Per-user named text values, read with a default and written at once.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString& key, const QString& defaultValue) const = 0;
    virtual void setValue(const QString& key, const QString& value) = 0;
};

}  // namespace cubwave
