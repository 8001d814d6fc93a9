#include "core/FileWrite.h"
#include "support/TestFiles.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <string>

#include <sys/stat.h>

using namespace cubwave;
using test::readAll;
using test::writeFile;
using test::FileSizeLimit;

namespace {

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('A' + i % 26);
    return bytes;
}

unsigned modeBits(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : ~0u;
}

}  // namespace

TEST(ReplaceFileAtomically, OutOfSpaceLeavesTheOldFileAndNoTemporaryFile)
{
    // Sizes below and above the 16 KiB that a buffered writer holds back until it commits: a
    // failure inside that buffer is the one that used to be reported as success.
    const struct {
        qsizetype newBytes;
        rlim_t room;
    } cases[] = {
        {100, 0},           {100, 50},           {8 * 1024, 4 * 1024},  {16 * 1024 - 1, 16 * 1024 - 2},
        {16 * 1024, 8 * 1024}, {100 * 1024, 40 * 1024}, {100 * 1024, 100 * 1024 - 1},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("log.txt");
        const QByteArray old = "the old contents\r\n";
        writeFile(path, old);

        WriteResult result;
        {
            const FileSizeLimit limit(c.room);
            result = replaceFileAtomically(path, pattern(c.newBytes));
        }
        EXPECT_FALSE(result.ok) << c.newBytes << " bytes into " << c.room;
        EXPECT_FALSE(result.error.isEmpty()) << c.newBytes;
        EXPECT_EQ(readAll(path), old) << c.newBytes << " bytes into " << c.room;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.txt"}) << c.newBytes;

        // With room again the same write goes through whole.
        ASSERT_TRUE(replaceFileAtomically(path, pattern(c.newBytes)).ok);
        EXPECT_EQ(readAll(path), pattern(c.newBytes));
    }
}

TEST(ReplaceFileAtomically, KeepsTheFilePermissionsAndCreatesNewFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cubwavepref.txt");
    writeFile(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(replaceFileAtomically(path, "new").ok);
    EXPECT_EQ(readAll(path), "new");
    EXPECT_EQ(modeBits(path), 0640u);

    const QString fresh = dir.filePath("fresh.txt");
    ASSERT_TRUE(replaceFileAtomically(fresh, "").ok);
    EXPECT_TRUE(QFileInfo(fresh).isFile());
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(modeBits(fresh), 0666u & ~mask);  // as any newly made file, not private to the owner
}

TEST(ReplaceFileAtomically, WritesThroughASymbolicLinkToItsTarget)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real-log.txt");
    writeFile(target, "old");
    ASSERT_TRUE(QFile::link(target, dir.filePath("log.txt")));
    ASSERT_TRUE(replaceFileAtomically(dir.filePath("log.txt"), "new").ok);
    EXPECT_TRUE(QFileInfo(dir.filePath("log.txt")).isSymLink());
    EXPECT_EQ(readAll(target), "new");
}

TEST(WriteNewFileAtomically, NeverReplacesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("202606131405.log");
    ASSERT_TRUE(writeNewFileAtomically(path, "first").ok);
    const WriteResult second = writeNewFileAtomically(path, "second");
    EXPECT_FALSE(second.ok);
    EXPECT_FALSE(second.error.isEmpty());
    EXPECT_EQ(readAll(path), "first");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"202606131405.log"});
}

TEST(LeftoverTemporaryFiles, OnlyTheProgramsOwnAreRemoved)
{
    QTemporaryDir dir;
    // A rewrite that dies before its rename leaves its temporary file beside the target.
    const QString leftover = temporaryNameFor(dir.filePath("log.txt"));
    writeFile(leftover, "half a log");
    ASSERT_TRUE(isLeftoverTemporaryFile(QFileInfo(leftover).fileName()));

    // The operator's own files, however alike, stay.
    const QStringList operatorFiles{
        "log.txt", "log.txt~", "log.txt.bak", ".log.txt.swp", "log.txt.Ab12Cd", ".log.txt.cubwave-tmp-",
        ".log.txt.cubwave-tmp-Ab12C", ".log.txt.cubwave-tmp-Ab12Cd.old", "notes.cubwave-tmp-Ab12Cd",
    };
    for (const QString& name : operatorFiles)
        writeFile(dir.filePath(name), "keep");
    ASSERT_TRUE(QDir(dir.path()).mkdir(".x.cubwave-tmp-Ab12Cd"));  // a folder is never the program's

    EXPECT_EQ(removeLeftoverTemporaryFiles(dir.path()), 1);
    EXPECT_FALSE(QFileInfo::exists(leftover));
    for (const QString& name : operatorFiles)
        EXPECT_EQ(readAll(dir.filePath(name)), "keep") << name.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath(".x.cubwave-tmp-Ab12Cd")).isDir());
    EXPECT_EQ(removeLeftoverTemporaryFiles(dir.filePath("missing")), 0);
}

TEST(AppendAndSync, WritesTheMissingLineBreakOfAnOpenLastLineFirst)
{
    const struct {
        QByteArray before, after;
    } cases[] = {
        {"", "new\r\n"},
        {"one\r\n", "one\r\nnew\r\n"},
        {"one\n", "one\nnew\r\n"},
        {"one", "one\r\nnew\r\n"},        // edited by hand, saved without a final break
        {"one\r", "one\r\nnew\r\n"},      // a break cut in half
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("log.txt");
        if (!c.before.isEmpty())
            writeFile(path, c.before);
        ASSERT_TRUE(appendLineAndSync(path, "new\r\n").ok) << c.before.toStdString();
        EXPECT_EQ(readAll(path), c.after) << c.before.toStdString();
    }
}

TEST(AppendAndSync, AFailedAppendCutsBackTheLineBreakItAddedToo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("log.txt");
    writeFile(path, "one");
    WriteResult result;
    {
        const FileSizeLimit limit(5);  // room for the break, not for the line
        result = appendLineAndSync(path, "new\r\n");
    }
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(path), "one");
}

TEST(ReadOnlyFiles, NoWriteBitMeansNeitherReplacedNorAppendedEvenForRoot)
{
    // Root passes every permission check, so only the mode tells: each way of writing must look.
    using Write = std::function<WriteResult(const QString& path)>;
    const struct {
        const char* what;
        Write write;
    } writes[] = {
        {"replace", [](const QString& p) { return replaceFileAtomically(p, "new\r\n"); }},
        {"append", [](const QString& p) { return appendAndSync(p, "new\r\n"); }},
        {"append line", [](const QString& p) { return appendLineAndSync(p, "new\r\n"); }},
        {"copy over", [](const QString& p) {
             writeFile(p + ".src", "new\r\n");
             return copyFileAtomically(p + ".src", p, ExistingFile::Replace);
         }},
    };
    for (const auto& w : writes) {
        for (const unsigned mode : {0444u, 0400u, 0000u, 0555u}) {
            SCOPED_TRACE(std::string(w.what) + " mode " + std::to_string(mode));
            QTemporaryDir dir;
            const QString path = dir.filePath("log.txt");
            writeFile(path, "old\r\n");
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
            const WriteResult result = w.write(path);
            EXPECT_FALSE(result.ok);
            EXPECT_TRUE(result.readOnly);
            EXPECT_EQ(result.error, readOnlyReason());
            ::chmod(QFile::encodeName(path).constData(), 0600);
            EXPECT_EQ(readAll(path), "old\r\n");
            EXPECT_EQ(modeBits(path), 0600u);
            EXPECT_FALSE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').contains("cubwave-tmp"));
        }
        // Any write bit left, for anyone, and the file is the operator's to write.
        QTemporaryDir dir;
        const QString path = dir.filePath("log.txt");
        writeFile(path, "old\r\n");
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
        const WriteResult result = w.write(path);
        EXPECT_TRUE(result.ok) << w.what << ": " << result.error.toStdString();
        EXPECT_FALSE(result.readOnly);
    }
}

TEST(ReadOnlyFiles, AReadOnlyTargetBehindALinkIsRefusedAndANewFileIsNot)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real-log.txt");
    writeFile(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0444), 0);
    ASSERT_TRUE(QFile::link(target, dir.filePath("log.txt")));
    EXPECT_TRUE(replaceFileAtomically(dir.filePath("log.txt"), "new").readOnly);
    EXPECT_EQ(readAll(target), "old");
    EXPECT_TRUE(QFileInfo(dir.filePath("log.txt")).isSymLink());

    EXPECT_TRUE(appendAndSync(dir.filePath("fresh.txt"), "new").ok);
    EXPECT_TRUE(replaceFileAtomically(dir.filePath("fresh2.txt"), "new").ok);
}
