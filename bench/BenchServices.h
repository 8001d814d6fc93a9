#pragma once

#include "platform/Beeper.h"
#include "platform/Dialogs.h"

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

class SilentBeeper final : public Beeper {
public:
    void beep() override {}
};

}  // namespace cubwave::bench
