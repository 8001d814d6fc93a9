#pragma once

#include "platform/Environment.h"

namespace cubwave {

class SystemEnvironment final : public Environment {
public:
    QString variable(const QString& name) const override;
    QString documentsFolder() const override;
    QString configFolder() const override;
};

}  // namespace cubwave
