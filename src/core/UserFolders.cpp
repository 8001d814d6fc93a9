#include "core/UserFolders.h"

#include "platform/Environment.h"

#include <QDir>
#include <QFileInfo>

namespace cubwave {

namespace {
bool isFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }
}  // namespace

UserFolders::UserFolders(const Environment& env, ErrorSink errors)
    : env_(env), errors_(std::move(errors))
{
}

bool UserFolders::createFolder(const QString& path, bool showErrors)
{
    if (path.isEmpty()) {
        errors_(QStringLiteral("Unable to Create Directory"), QStringLiteral("Invalid Path"));
        return false;
    }
    if (isFolder(path))
        return true;
    if (QDir().mkpath(path) && isFolder(path))
        return true;
    if (showErrors) {
        errors_(QStringLiteral("Unable to create directory."),
                QStringLiteral("Could not create the folder.  ") + path);
    }
    return false;
}

QString UserFolders::resolve(const QString& company, const QString& product)
{
    const auto makeBoth = [&](const QString& base) {
        if (!createFolder(base + company, false))
            errors_(QStringLiteral("User Access Directory Error"),
                    QStringLiteral("Could not create ") + base + company);
        else if (!createFolder(base + company + product, false))
            errors_(QStringLiteral("User Access Directory Error"),
                    QStringLiteral("Could not create ") + base + company + product);
        return base + company;
    };

    const QString profile = env_.variable(QStringLiteral("USERPROFILE"));
    if (profile.isEmpty()) {
        // The desktop's own documents folder stands where other systems have a fixed one.
        const QString base = env_.documentsFolder();
        createFolder(base, false);
        return makeBoth(base);
    }

    // The documents folder of the profile: "My Documents" where it exists, else "Documents"; only
    // a profile with neither gets a "My Documents" of its own, and a profile folder that does
    // not exist is never made here (a mistyped USERPROFILE would grow a stray tree).
    const QString myDocuments = profile + QStringLiteral("/My Documents");
    const QString documents = profile + QStringLiteral("/Documents");
    const bool profileExists = isFolder(profile);
    if (profileExists && !isFolder(myDocuments) && !isFolder(documents))
        QDir(profile).mkdir(QStringLiteral("My Documents"));
    QString base;
    if (isFolder(myDocuments))
        base = myDocuments;
    else if (isFolder(documents))
        base = documents;
    if (!base.isEmpty())
        return makeBoth(base);

    if (profileExists)
        makeBoth(profile);
    QString appData = env_.variable(QStringLiteral("APPDATA"));
    if (appData.isEmpty())
        appData = env_.configFolder();
    return makeBoth(appData);
}

}  // namespace cubwave
