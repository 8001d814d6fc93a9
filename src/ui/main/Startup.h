#pragma once

#include <QString>

namespace cubwave {

class Dialogs;
class Environment;
class SharedPrefsDocument;

struct StartupFolders {
    QString workDir;
    QString dataFolder;    // company folder + "/Cubwave", holds "BACKUP"
    QString sharedFolder;  // company folder + "/Shared"
};

// The steps before the main window opens: record the working directory, resolve and create the
// per-user folders, load the shared preference document, make sure "BACKUP" exists and clear
// away the temporary files of rewrites that a kill interrupted.
StartupFolders prepareFolders(const QString& workDir, const Environment& env, Dialogs& dialogs,
                              SharedPrefsDocument& shared);

}  // namespace cubwave
