#pragma once

#include "ui/main/WindowLauncher.h"

#include <functional>
#include <map>

namespace cubwave {

// The window launcher the program gives the main window: each subsystem that has landed adds
// how its windows open and close; a window nobody added does nothing, as before it landed.
class ProgramWindows final : public WindowLauncher {
public:
    using Opener = std::function<void(bool modal)>;
    using Closer = std::function<void()>;

    void add(Window window, Opener open, Closer close = {});
    bool has(Window window) const;

    bool available(Window window) const override { return has(window); }
    void show(Window window, bool modal) override;
    void unload(Window window) override;

private:
    struct Entry {
        Opener open;
        Closer close;
    };
    std::map<Window, Entry> entries_;
};

}  // namespace cubwave
