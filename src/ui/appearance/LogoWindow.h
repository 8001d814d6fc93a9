#pragma once

#include "ui/common/DesignLayout.h"

#include <QDialog>
#include <QImage>

class QLabel;

namespace cubwave {

class ClickableLabel;
class OneShotTimer;

// The logo shown while the program starts: the designed picture, its second picture a moment
// later and then closing; or, when the operator keeps a "splash.jpg" in the shared folder, that
// picture a little longer. A click on the picture closes it at once.
class LogoWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kShowBadgeMs = 1100;
    static constexpr int kCloseMs = 1900;
    static constexpr int kCloseWithSplashMs = 2700;

    // closeTimer and badgeTimer must outlive the window.
    LogoWindow(const QString& sharedFolder, OneShotTimer& closeTimer, OneShotTimer& badgeTimer,
               QWidget* parent = nullptr);
    ~LogoWindow() override;

    // True when the operator's own picture is shown instead of the designed one.
    bool showsSplash() const { return !splash_.isNull(); }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void startTimers();
    void paintPictures();

    OneShotTimer& closeTimer_;
    OneShotTimer& badgeTimer_;
    DesignLayout layout_;
    ClickableLabel* picture_ = nullptr;  // Image1
    QLabel* badge_ = nullptr;            // Image2
    QImage splash_;
    bool started_ = false;
};

}  // namespace cubwave
