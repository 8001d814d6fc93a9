#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
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

    // Runs while a message or input box is "open", with its title: a test can act then, as an
    // operator or the system would while the real box waits.
    std::function<void(const QString& title)> whileShown;

    std::vector<Message> messages;
    std::vector<Input> inputs;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<qint32> colourRequests;  // the colour each picker opened on

    MsgAnswer message(const QString& title, const QString& text, MsgButtons buttons,
                      MsgIcon icon) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<qint32> pickColour(qint32 initial) override;
};

}  // namespace cubwave::test
