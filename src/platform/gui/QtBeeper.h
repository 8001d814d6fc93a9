#pragma once

#include "platform/Beeper.h"

namespace cubwave {

class QtBeeper final : public Beeper {
public:
    void beep() override;
};

}  // namespace cubwave
