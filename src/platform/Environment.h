#pragma once

#include <QString>

namespace cubwave {

// What the folder resolution needs from the system: environment variables and the
// desktop's standard folders.
class Environment {
public:
    virtual ~Environment() = default;
    virtual QString variable(const QString& name) const = 0;
    virtual QString documentsFolder() const = 0;
    virtual QString configFolder() const = 0;
};

}  // namespace cubwave
