#include "core/FileWrite.h"
#include "core/SharedPrefsDocument.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"
#include "ui/main/Startup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace cubwave;
using test::writeFile;

TEST(Startup, ProfileWithOnlyDocumentsHoldsTheProgramDataAndItsBackupFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath("profile/Documents"));
    ASSERT_TRUE(QDir(tmp.path()).mkpath("work"));
    test::FakeEnvironment env;
    env.variables["USERPROFILE"] = tmp.filePath("profile");
    test::FakeDialogs dialogs;
    SharedPrefsDocument shared;

    const StartupFolders folders = prepareFolders(tmp.filePath("work"), env, dialogs, shared);
    EXPECT_EQ(folders.dataFolder, tmp.filePath("profile/Documents/Brantel Software/Cubwave"));
    EXPECT_EQ(folders.sharedFolder, tmp.filePath("profile/Documents/Brantel Software/Shared"));
    EXPECT_TRUE(QFileInfo(folders.dataFolder + "/BACKUP").isDir());
    EXPECT_TRUE(QFileInfo(folders.sharedFolder).isDir());
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("profile/My Documents")));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(Startup, RemovesTheTemporaryFilesOfInterruptedRewritesAndNothingElse)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath("work"));
    ASSERT_TRUE(QDir(tmp.path()).mkpath("docs/Brantel Software/Cubwave/BACKUP"));
    ASSERT_TRUE(QDir(tmp.path()).mkpath("docs/Brantel Software/Shared"));
    test::FakeEnvironment env;
    env.documents = tmp.filePath("docs");
    const QString data = tmp.filePath("docs/Brantel Software/Cubwave");
    const QString shared = tmp.filePath("docs/Brantel Software/Shared");

    const QStringList leftovers{
        temporaryNameFor(tmp.filePath("work/log.txt")),
        temporaryNameFor(tmp.filePath("work/cubwavepref.txt")),
        temporaryNameFor(data + "/BACKUP/202606131405.log"),
        temporaryNameFor(shared + "/" + SharedPrefsDocument::kFileName),
    };
    for (const QString& path : leftovers)
        writeFile(path, "half written");
    const QStringList kept{
        tmp.filePath("work/log.txt"),
        tmp.filePath("work/log.txt.bak"),
        tmp.filePath("work/.log.txt.swp"),
        data + "/BACKUP/202606131405.log",
        data + "/BACKUP/My contest.log",
    };
    for (const QString& path : kept)
        writeFile(path, "the operator's");

    test::FakeDialogs dialogs;
    SharedPrefsDocument doc;
    prepareFolders(tmp.filePath("work"), env, dialogs, doc);
    for (const QString& path : leftovers)
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    for (const QString& path : kept)
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
}
