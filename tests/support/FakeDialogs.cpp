#include "support/FakeDialogs.h"

namespace cubwave::test {

namespace {
template <typename T, typename D>
T next(std::deque<T>& queue, D fallback)
{
    if (queue.empty())
        return fallback;
    T answer = queue.front();
    queue.pop_front();
    return answer;
}
}  // namespace

MsgAnswer FakeDialogs::message(const QString& title, const QString& text, MsgButtons buttons,
                               MsgIcon icon)
{
    messages.push_back({title, text, buttons, icon});
    if (whileShown)
        whileShown(title);
    const MsgAnswer fallback = buttons == MsgButtons::Ok ? MsgAnswer::Ok
                               : buttons == MsgButtons::YesNo ? MsgAnswer::No
                                                              : MsgAnswer::Cancel;
    return next(messageAnswers, fallback);
}

std::optional<QString> FakeDialogs::input(const QString& title, const QString& prompt,
                                          const QString& defaultText)
{
    inputs.push_back({title, prompt, defaultText});
    if (whileShown)
        whileShown(title);
    return next(inputAnswers, std::optional<QString>());
}

std::optional<QString> FakeDialogs::openFile(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    return next(fileAnswers, std::optional<QString>());
}

std::optional<QString> FakeDialogs::saveFile(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    return next(fileAnswers, std::optional<QString>());
}

std::optional<qint32> FakeDialogs::pickColour(qint32 initial)
{
    colourRequests.push_back(initial);
    return next(colourAnswers, std::optional<qint32>());
}

}  // namespace cubwave::test
