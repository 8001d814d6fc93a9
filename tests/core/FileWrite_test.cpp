#include "core/FileRead.h"
#include "core/FileWrite.h"
#include "support/FileSizeLimit.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave {
namespace {

// A disk that fills up during a replacement must be reported, and the old file must stay:
// buffered writes used to hide the failed final flush and rename a cut-off file into place.
TEST(FileWrite, ReplacementThatRunsOutOfSpaceFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.txt");
    ASSERT_TRUE(replaceFileAtomically(path, "old contents\r\n").ok);
    for (qsizetype size : {100, 5000, 40000}) {
        WriteResult r;
        {
            test::FileSizeLimit full(50);
            r = replaceFileAtomically(path, QByteArray(size, 'x'));
        }
        EXPECT_FALSE(r.ok) << size;
        EXPECT_FALSE(r.error.isEmpty()) << size;
        EXPECT_EQ(readFileBytes(path).bytes, "old contents\r\n") << size;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.txt"}) << size;
    }
}

}  // namespace
}  // namespace cubwave
