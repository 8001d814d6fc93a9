#pragma once

#include "platform/Beeper.h"
#include "platform/Environment.h"
#include "platform/SettingsStore.h"

#include <QMap>

namespace cubwave::test {

class FakeBeeper final : public Beeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

class FakeSettingsStore final : public SettingsStore {
public:
    QString value(const QString& key, const QString& defaultValue) const override
    {
        return values.value(key, defaultValue);
    }
    void setValue(const QString& key, const QString& value) override { values[key] = value; }
    QMap<QString, QString> values;
};

class FakeEnvironment final : public Environment {
public:
    QString variable(const QString& name) const override { return variables.value(name); }
    QString documentsFolder() const override { return documents; }
    QString configFolder() const override { return config; }

    QMap<QString, QString> variables;
    QString documents;
    QString config;
};

}  // namespace cubwave::test
