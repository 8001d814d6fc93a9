#pragma once

#include <QString>

class QWidget;

namespace cubwave {

class LogStore;
struct Preferences;

// The menu commands that write the log out or chart it.
class ExportsPort {
public:
    virtual ~ExportsPort() = default;

    // "Export &ADIF File". caption is the main window's caption, ownCall the station's own call.
    virtual void exportAdif(const LogStore& store, const QString& caption, const QString& ownCall) = 0;
    // "&Write Summary File", once the own call is known.
    virtual void writeSummary(const LogStore& store, Preferences& prefs, const QString& caption, QWidget* parent) = 0;
    // "&Graph".
    virtual void showGraph(const LogStore& store, QWidget* parent) = 0;
};

// No exports in this build: the menu entries do nothing.
class AbsentExports final : public ExportsPort {
public:
    void exportAdif(const LogStore&, const QString&, const QString&) override {}
    void writeSummary(const LogStore&, Preferences&, const QString&, QWidget*) override {}
    void showGraph(const LogStore&, QWidget*) override {}
};

}  // namespace cubwave
