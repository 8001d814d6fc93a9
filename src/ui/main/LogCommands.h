#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace cubwave {

class Beeper;
class Clock;
class ContestSession;
class Dialogs;
class MainScreen;
class OperatingClock;
class PrefixTable;

// The main window's commands on the log as a whole and on its listed contacts: edit or delete the
// selected row (the buttons show only with a selection; a right click edits), copy the list, new
// log, backup, archive and restore. None writes log.txt while it is not loaded.
class LogCommands : public QObject {
    Q_OBJECT

public:
    struct Context {
        MainScreen& screen;
        ContestSession& session;
        const PrefixTable& prefixes;
        OperatingClock& operatingClock;
        Dialogs& dialogs;
        Beeper& beeper;
        Clock& clock;
        QString workDir;
        QString dataFolder;
        std::function<int(QDialog&)> runModal;
        QWidget* dialogParent;
    };

    explicit LogCommands(Context context, QObject* parent = nullptr);

    // The record of the selected row of the recent-contacts list; 0 when none is selected.
    int selectedRecord() const;
    void editSelected();
    void deleteSelected();
    void copyListToClipboard();
    // Asks for the confirmation word, empties log.txt (an archive copy first) and reloads.
    bool newLog();
    // A copy of the log in the backup folder, made on the way out.
    void backup();
    void archive();
    void restore();
    // False, after telling the operator what was refused and why, while log.txt is not loaded.
    bool logWritable(const QString& refused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showEditButtons(bool shown);
    void rewriteAndReload();

    Context c_;
};

}  // namespace cubwave
