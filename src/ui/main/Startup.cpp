#include "ui/main/Startup.h"

#include "core/FileWrite.h"
#include "core/SharedPrefsDocument.h"
#include "core/UserFolders.h"
#include "platform/Dialogs.h"

namespace cubwave {

StartupFolders prepareFolders(const QString& workDir, const Environment& env, Dialogs& dialogs,
                              SharedPrefsDocument& shared)
{
    UserFolders folders(env, [&dialogs](const QString& title, const QString& text) {
        dialogs.message(title, text, MsgButtons::Ok, MsgIcon::Warning);
    });
    const QString company = folders.resolve(QStringLiteral("/Brantel Software"), QStringLiteral("/Cubwave"));
    folders.resolve(QStringLiteral("/Brantel Software"), QStringLiteral("/Shared"));

    StartupFolders result;
    result.workDir = workDir;
    result.sharedFolder = company + QStringLiteral("/Shared");
    result.dataFolder = company + QStringLiteral("/Cubwave");
    shared.load(result.sharedFolder + QLatin1Char('/') + SharedPrefsDocument::kFileName);
    folders.createFolder(result.dataFolder + QStringLiteral("/BACKUP"), false);
    // A rewrite killed before its rename leaves its temporary file behind; the file it was
    // replacing is whole, so the leftover is only clutter.
    for (const QString& folder : {result.workDir, result.dataFolder, result.dataFolder + QStringLiteral("/BACKUP"),
                                  result.sharedFolder})
        removeLeftoverTemporaryFiles(folder);
    return result;
}

}  // namespace cubwave
