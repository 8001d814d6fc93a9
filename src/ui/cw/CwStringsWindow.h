#pragma once

#include "ui/common/DesignLayout.h"

#include <QWidget>

#include <array>
#include <functional>

class QKeyEvent;

namespace cubwave {

class ClickableLabel;
class CwSender;

// "CW Strings": the eleven messages beside "F1".."F12"; a click on a row sends its message.
// Keys pressed here go to the main window's key handling, so every main-window key works while
// this window has the focus. "Done" only minimizes it.
class CwStringsWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 12;

    explicit CwStringsWindow(CwSender& sender, QWidget* parent = nullptr);

    // Receives each key pressed in this window; true when it was used up.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) { keyHandler_ = std::move(handler); }

    // Copies the messages from the sender's settings into the rows.
    void refresh();
    // A click on row index (0..11) of either column.
    void rowClicked(int index);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CwSender& sender_;
    std::function<bool(QKeyEvent*)> keyHandler_;
    DesignLayout layout_;
    std::array<ClickableLabel*, kRows> keyLabels_{};      // Label1(0..11)
    std::array<ClickableLabel*, kRows> messageLabels_{};  // lblCWString(0..11)
};

}  // namespace cubwave
