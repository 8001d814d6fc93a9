#pragma once

#include "core/LogStore.h"
#include "core/Preferences.h"
#include "ui/main/MainWindowPorts.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace cubwave::test {

// Each fake notes its unload in one shared list, so a test sees the shutdown order.
using UnloadOrder = QStringList;

// A CW keyer that records what the main window asks of it and keeps a send buffer of its own.
class RecordingCwKeyer final : public CwKeyerPort {
public:
    explicit RecordingCwKeyer(UnloadOrder& unloads) : unloads_(unloads) {}

    bool isConfigured = false;
    QString buffer;
    bool sending = false;
    bool keyerBusy = false;  // the WinKey keyer still has text
    bool repeat = false;
    bool kbdMode = false;
    std::vector<int> keys;
    int speedUps = 0;
    int speedDowns = 0;
    int pumpStarts = 0;
    int clears = 0;
    int keyerBackspaces = 0;
    int repeatStops = 0;
    int releases = 0;
    QString callField;

    bool configured() const override { return isConfigured; }
    void functionKey(int keyCode) override { keys.push_back(keyCode); }
    void typeCharacter(QChar c) override
    {
        buffer += c;
        if (!sending)
            ++pumpStarts;
    }
    bool backspace() override
    {
        if (keyerBusy) {
            ++keyerBackspaces;
            return true;
        }
        if (!sending || buffer.isEmpty())
            return false;
        buffer.chop(1);
        return true;
    }
    void clear() override
    {
        ++clears;
        buffer.clear();
        keyerBusy = false;
    }
    bool busy() const override { return sending || keyerBusy; }
    void onBusyChanged(std::function<void(bool)>) override {}
    void onWindowRequests(std::function<void()>, std::function<void(const QString&)>) override {}
    void cancelRepeat() override
    {
        if (!repeat)
            return;
        repeat = false;
        buffer.clear();
        ++repeatStops;
    }
    bool keyboardMode() const override { return kbdMode; }
    bool toggleKeyboardMode() override { return kbdMode = !kbdMode; }
    void speedUp() override { ++speedUps; }
    void speedDown() override { ++speedDowns; }
    QString speedText() const override { return QStringLiteral("13"); }
    void setCallField(const QString& call) override { callField = call; }
    void releaseAll() override { ++releases; }
    void unload() override { unloads_ << QStringLiteral("cw"); }
    void unloadWinKey() override { unloads_ << QStringLiteral("winkey"); }

private:
    UnloadOrder& unloads_;
};

class RecordingVoiceKeyer final : public VoiceKeyerPort {
public:
    explicit RecordingVoiceKeyer(UnloadOrder& unloads) : unloads_(unloads) {}

    std::vector<int> keys;
    bool isPlaying = false;
    int stops = 0;
    bool repeat = false;
    int repeatStops = 0;
    QStringList cues;
    bool cueNeverEnds = false;
    int releases = 0;
    int messageListReads = 0;
    QString messageListError;  // the start-up's read of the message list fails with this
    std::function<void(const QString&)> problemListener;

    void functionKey(int keyCode) override { keys.push_back(keyCode); }
    bool playing() const override { return isPlaying; }
    void stop() override
    {
        ++stops;
        isPlaying = false;
    }
    void cancelRepeat() override
    {
        if (repeat) {
            repeat = false;
            ++repeatStops;
        }
    }
    void playCue(const QString& cue) override { cues << cue; }
    bool cuePlaying() const override { return cueNeverEnds; }
    bool readMessageList(QString& why) override
    {
        ++messageListReads;
        why = messageListError;
        return why.isEmpty();
    }
    void onProblem(std::function<void(const QString&)> listener) override { problemListener = std::move(listener); }
    void releaseAll() override { ++releases; }
    void unload() override { unloads_ << QStringLiteral("voice"); }
    void unloadCues() override { unloads_ << QStringLiteral("cues"); }

private:
    UnloadOrder& unloads_;
};

class RecordingRigControl final : public RigControlPort {
public:
    explicit RecordingRigControl(UnloadOrder& unloads) : unloads_(unloads) {}

    std::function<void(float)> frequencyReport;
    std::function<void(const QString&)> modeReport;
    void onReports(std::function<void(float)> frequency, std::function<void(const QString&)> mode) override
    {
        frequencyReport = std::move(frequency);
        modeReport = std::move(mode);
    }
    std::function<void(const QString&)> statusReport;
    std::function<void(const QString&)> savePreferences;
    QStringList startupRigNames;
    void onStatus(std::function<void(const QString&)> status) override { statusReport = std::move(status); }
    void onSavePreferences(std::function<void(const QString&)> save) override { savePreferences = std::move(save); }
    void openAtStartup(const QString& storedRigName) override { startupRigNames << storedRigName; }
    // Every frequency asked for, in MHz; whether a rig is polled (tuneTo's answer).
    std::vector<double> tunes;
    bool polled = false;
    // Runs inside tuneTo, as the events a real tune lets run while the command drains.
    std::function<void()> whileTuning;
    bool tuneTo(double frequencyMHz) override
    {
        tunes.push_back(frequencyMHz);
        if (whileTuning)
            whileTuning();
        return polled;
    }
    void unload() override { unloads_ << QStringLiteral("rig"); }

private:
    UnloadOrder& unloads_;
};

class RecordingSpotFeed final : public SpotFeedPort {
public:
    explicit RecordingSpotFeed(UnloadOrder& unloads) : unloads_(unloads) {}
    void addSpotListener(SpotListener listener) override { spotListeners.push_back(std::move(listener)); }
    void onDisplayChosen(DisplayListener listener) override { displayChosen = std::move(listener); }
    void onRepaintDue(std::function<void()> repaint) override { repaintDue = std::move(repaint); }
    void onStatus(std::function<void(const QString&)> status) override { statusLine = std::move(status); }
    void openAtStartup() override { ++startupOpens; }
    void unload() override { unloads_ << QStringLiteral("spots"); }

    // The feed's side: a spot, a "&Done", a repaint tick.
    void spot(const QString& call, const QString& frequencyKHz, const QString& record)
    {
        for (const SpotListener& listener : spotListeners)
            listener(call, frequencyKHz, record);
    }

    std::vector<SpotListener> spotListeners;
    DisplayListener displayChosen;
    std::function<void()> repaintDue;
    std::function<void(const QString&)> statusLine;
    int startupOpens = 0;

private:
    UnloadOrder& unloads_;
};

class RecordingExports final : public ExportsPort {
public:
    struct Call {
        QString command;
        int contacts;
        QString caption;
        QString ownCall;
    };
    std::vector<Call> calls;

    void exportAdif(const LogStore& store, const QString& caption, const QString& ownCall) override
    {
        calls.push_back({QStringLiteral("adif"), store.count(), caption, ownCall});
    }
    void writeSummary(const LogStore& store, Preferences& prefs, const QString& caption, QWidget*) override
    {
        calls.push_back({QStringLiteral("summary"), store.count(), caption, prefs.ownCall});
    }
    void showGraph(const LogStore& store, QWidget*) override
    {
        calls.push_back({QStringLiteral("graph"), store.count(), {}, {}});
    }
};

class RecordingWindows final : public WindowLauncher {
public:
    explicit RecordingWindows(UnloadOrder& unloads) : unloads_(unloads) {}

    struct Shown {
        Window window;
        bool modal;
    };
    std::vector<Shown> shown;
    std::vector<Window> absent;  // windows this build does not have

    bool available(Window window) const override
    {
        return std::find(absent.begin(), absent.end(), window) == absent.end();
    }
    void show(Window window, bool modal) override { shown.push_back({window, modal}); }
    void unload(Window window) override
    {
        unloads_ << (window == Window::SpectrumMap ? QStringLiteral("map")
                     : window == Window::CwStrings ? QStringLiteral("cwstrings")
                                                   : QStringLiteral("window"));
    }

private:
    UnloadOrder& unloads_;
};

// One recording fake per port.
struct RecordingPorts {
    UnloadOrder unloads;
    RecordingCwKeyer cw{unloads};
    RecordingVoiceKeyer voice{unloads};
    RecordingRigControl rig{unloads};
    RecordingSpotFeed spots{unloads};
    RecordingExports exports;
    RecordingWindows windows{unloads};

    MainWindowPorts ports() { return {cw, voice, rig, spots, exports, windows}; }
};

}  // namespace cubwave::test
