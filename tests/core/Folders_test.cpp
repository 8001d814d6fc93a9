#include "core/ContactTime.h"
#include "core/UserFolders.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace cubwave;

namespace {
struct FolderCase {
    QTemporaryDir dir;
    test::FakeEnvironment env;
    QStringList errors;
    UserFolders folders{env, [this](const QString& title, const QString&) { errors << title; }};
};
}  // namespace

TEST(UserFolders, WithoutProfileUsesTheDocumentsFolder)
{
    FolderCase c;
    c.env.documents = c.dir.filePath("docs");
    EXPECT_EQ(c.folders.resolve("/Brantel Software", "/Cubwave"), c.dir.filePath("docs/Brantel Software"));
    EXPECT_TRUE(QDir(c.dir.filePath("docs/Brantel Software/Cubwave")).exists());
    EXPECT_TRUE(c.errors.isEmpty());
}

TEST(UserFolders, ProfileBranches)
{
    {   // "My Documents" is created when it can be.
        FolderCase c;
        c.env.variables["USERPROFILE"] = c.dir.path();
        EXPECT_EQ(c.folders.resolve("/B", "/P"), c.dir.filePath("My Documents/B"));
        EXPECT_TRUE(QDir(c.dir.filePath("My Documents/B/P")).exists());
    }
    {   // A profile where "My Documents" cannot be made but "Documents" exists.
        FolderCase c;
        QDir(c.dir.path()).mkdir("Documents");
        QFile blocker(c.dir.filePath("My Documents"));  // a file in the way of the folder
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        c.env.variables["USERPROFILE"] = c.dir.path();
        EXPECT_EQ(c.folders.resolve("/B", "/P"), c.dir.filePath("Documents/B"));
        EXPECT_TRUE(QDir(c.dir.filePath("Documents/B/P")).exists());
    }
    {   // Neither: the profile gets the folders, and the result is under APPDATA.
        FolderCase c;
        QFile blocker(c.dir.filePath("My Documents"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        c.env.variables["USERPROFILE"] = c.dir.path();
        c.env.variables["APPDATA"] = c.dir.filePath("appdata");
        EXPECT_EQ(c.folders.resolve("/B", "/P"), c.dir.filePath("appdata/B"));
        EXPECT_TRUE(QDir(c.dir.filePath("B/P")).exists());
        EXPECT_TRUE(QDir(c.dir.filePath("appdata/B/P")).exists());
    }
}

TEST(UserFolders, ProfileWithOnlyDocumentsUsesItAndMakesNoMyDocuments)
{
    FolderCase c;
    ASSERT_TRUE(QDir(c.dir.path()).mkdir("Documents"));
    c.env.variables["USERPROFILE"] = c.dir.path();
    EXPECT_EQ(c.folders.resolve("/Brantel Software", "/Cubwave"), c.dir.filePath("Documents/Brantel Software"));
    EXPECT_TRUE(QDir(c.dir.filePath("Documents/Brantel Software/Cubwave")).exists());
    EXPECT_FALSE(QFileInfo::exists(c.dir.filePath("My Documents")));
    EXPECT_TRUE(c.errors.isEmpty());
}

TEST(UserFolders, AMissingProfileFolderIsNeverCreated)
{
    FolderCase c;
    const QString profile = c.dir.filePath("no-such-user");
    c.env.variables["USERPROFILE"] = profile;
    c.env.variables["APPDATA"] = c.dir.filePath("appdata");
    EXPECT_EQ(c.folders.resolve("/B", "/P"), c.dir.filePath("appdata/B"));
    EXPECT_TRUE(QDir(c.dir.filePath("appdata/B/P")).exists());
    EXPECT_FALSE(QFileInfo::exists(profile));
}

TEST(UserFolders, EmptyPathIsReported)
{
    FolderCase c;
    EXPECT_FALSE(c.folders.createFolder("", true));
    EXPECT_EQ(c.errors, QStringList{"Unable to Create Directory"});
}

TEST(ContactTime, AddsTheOffsetInWholeMinutesAcrossMidnight)
{
    const QDateTime local(QDate(2026, 12, 31), QTime(20, 30, 15), Qt::UTC);
    const QDateTime utc = contactUtc(local, 5.5f);
    EXPECT_EQ(contactDateText(utc), "2027/01/01");
    EXPECT_EQ(contactTimeText(utc), "02:00:15");
    EXPECT_EQ(contactTimeText(contactUtc(local, -0.01f)), "20:29:15");  // 0.6 min rounds to 1
    EXPECT_EQ(contactTimeText(contactUtc(local, 0.001f)), "20:30:15");
}
