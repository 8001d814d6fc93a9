#pragma once

#include "core/LogLine.h"
#include "platform/Beeper.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>

namespace cubwave::bench {

// Answers every question with Yes and nothing else, so a benchmark never waits on a dialog.
class YesDialogs final : public Dialogs {
public:
    MsgAnswer message(const QString&, const QString&, MsgButtons, MsgIcon) override { return MsgAnswer::Yes; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<qint32> pickColour(qint32) override { return std::nullopt; }
};

// A 1920×1080 monitor with a 32-pixel panel: the window fits itself to it as in the program.
class FixedDesktop final : public Desktop {
public:
    DesktopArea areaFor(const QWidget*) const override { return {{0, 0, 1920, 1080}, {0, 0, 1920, 1048}}; }
};

class SilentBeeper final : public Beeper {
public:
    void beep() override {}
};

// Seeds a working directory with the shipped preferences and a log of n contacts: a third of
// them from 300 different countries, half of them phone.
inline void seedWorkingDir(const QString& dir, int n)
{
    const QString prefs = QDir(dir).filePath("cubwavepref.txt");
    QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/cubwavepref.txt"), prefs);
    QFile::setPermissions(prefs, QFile::ReadOwner | QFile::WriteOwner);
    QFile log(QDir(dir).filePath("log.txt"));
    log.open(QIODevice::WriteOnly);
    for (int i = 0; i < n; ++i) {
        QsoRecord r;
        r[QsoRecord::Call] = QStringLiteral("K%1ABC").arg(i % 10) + QString::number(i);
        r[QsoRecord::Age] = "12";
        r[QsoRecord::Spc] = i % 3 ? QStringLiteral("CT") : QStringLiteral("Land %1").arg(i % 300);
        r[QsoRecord::Date] = "2026/06/13";
        r[QsoRecord::Time] = "18:05:33";
        r[QsoRecord::Mode] = i % 2 ? "CW" : "PH";
        r[QsoRecord::Band] = "20";
        r[QsoRecord::Name] = "ANN";
        log.write(LogLine::format(r).toUtf8() + "\r\n");
    }
}

}  // namespace cubwave::bench
