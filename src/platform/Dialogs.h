#pragma once

#include <QString>

#include <optional>

namespace cubwave {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    QString title;
    QString folder;    // initial folder
    QString fileName;  // suggested name
    QString filter;    // e.g. "Log Files (*.log) | *.log"
};

// Every modal question the program asks goes through here, so tests can queue the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer message(const QString& title, const QString& text,
                              MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None) = 0;
    // The typed text, or nothing when cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& defaultText) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    // Asks before overwriting an existing file; nothing when cancelled.
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // Colours are red + 256 * green + 65536 * blue.
    virtual std::optional<qint32> pickColour(qint32 initial) = 0;
};

}  // namespace cubwave
