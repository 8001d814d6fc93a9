#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace cubwave::test {

// Answers are queued before the code under test asks; every question is recorded. A question
// with no queued answer gets the harmless default (OK / Cancel / nothing), so no test blocks.
class FakeDialogs final : public Dialogs {
public:
    struct Message {
        QString title;
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
    };
    struct Input {
        QString title;
        QString prompt;
        QString defaultText;
    };

    std::deque<MsgAnswer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<qint32>> colourAnswers;

    std::vector<Message> messages;
    std::vector<Input> inputs;
    std::vector<FileDialogRequest> fileRequests;

    MsgAnswer message(const QString& title, const QString& text, MsgButtons buttons,
                      MsgIcon icon) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<qint32> pickColour(qint32 initial) override;
};

}  // namespace cubwave::test
