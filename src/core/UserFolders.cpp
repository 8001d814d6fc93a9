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

    const QString myDocuments = profile + QStringLiteral("/My Documents");
    if (!isFolder(myDocuments))
        QDir().mkpath(myDocuments);
    QString base;
    if (isFolder(myDocuments))
        base = myDocuments;
    else if (isFolder(profile + QStringLiteral("/Documents")))
        base = profile + QStringLiteral("/Documents");
    if (!base.isEmpty())
        return makeBoth(base);

    makeBoth(profile);
    QString appData = env_.variable(QStringLiteral("APPDATA"));
    if (appData.isEmpty())
        appData = env_.configFolder();
    return makeBoth(appData);
}

}  // namespace cubwave
