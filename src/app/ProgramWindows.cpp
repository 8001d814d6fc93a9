#include "app/ProgramWindows.h"

#include <utility>

namespace cubwave {

void ProgramWindows::add(Window window, Opener open, Closer close)
{
    entries_[window] = {std::move(open), std::move(close)};
}

bool ProgramWindows::has(Window window) const { return entries_.count(window) != 0; }

void ProgramWindows::show(Window window, bool modal)
{
    const auto it = entries_.find(window);
    if (it != entries_.end() && it->second.open)
        it->second.open(modal);
}

void ProgramWindows::unload(Window window)
{
    const auto it = entries_.find(window);
    if (it != entries_.end() && it->second.close)
        it->second.close();
}

}  // namespace cubwave
