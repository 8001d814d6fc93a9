#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <memory>

class QKeyEvent;

namespace cubwave {

class MainWindow;

// Qt merges key-down and key-press into one event; this filter on the application splits them
// again so the main window's handlers see every key before the focused field does:
// window key-down -> window key-press -> the field's rules -> insertion at the caret.
//
// A key that reaches the window while a commit runs is held, whatever delivered it, and handled
// once the commit has cleared the entry line: type-ahead starts the next contact.
class KeyPipeline : public QObject {
    Q_OBJECT

public:
    explicit KeyPipeline(MainWindow* form);
    ~KeyPipeline() override;

    // Hands the held keys, in order, to whichever widget has the focus now.
    void replayHeldKeys();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr size_t kMaxHeldKeys = 4096;

    QPointer<MainWindow> form_;
    std::deque<std::unique_ptr<QKeyEvent>> held_;
    bool replaying_ = false;
};

}  // namespace cubwave
