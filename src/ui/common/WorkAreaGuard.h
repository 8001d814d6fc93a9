#pragma once

#include <QObject>

namespace cubwave {

class Desktop;

// Keeps every window the program shows inside the work area of its monitor, shrunk to it when
// larger, so no title bar or edge is out of reach: the settings windows that size themselves, the
// message boxes and whatever else opens. Installed once on the application. A window that places
// itself (the main window, which may cover the whole screen) opts out with kPlacesItself.
class WorkAreaGuard : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kPlacesItself = "cubwavePlacesItself";

    explicit WorkAreaGuard(const Desktop& desktop, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Desktop& desktop_;
};

}  // namespace cubwave
