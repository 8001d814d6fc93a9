#pragma once

#include <QString>

#include <functional>

namespace cubwave {

class Environment;

// Finds (and creates) the per-user company folder that holds the program data folder and the
// shared folder. Errors are reported through the sink as (title, text) and the resolution goes on.
class UserFolders {
public:
    using ErrorSink = std::function<void(const QString& title, const QString& text)>;

    UserFolders(const Environment& env, ErrorSink errors);

    // company and product are folder names with a leading "/", e.g. "/Brantel Software".
    QString resolve(const QString& company, const QString& product);
    // Creates path when missing; reports failures only when showErrors.
    bool createFolder(const QString& path, bool showErrors);

private:
    const Environment& env_;
    ErrorSink errors_;
};

}  // namespace cubwave
