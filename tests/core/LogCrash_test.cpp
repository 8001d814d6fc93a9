#include "core/FileWrite.h"
#include "core/LogFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

using namespace cubwave;

// A process killed in the middle of rewriting the log leaves the old or the new log whole,
// never a half-written one, and any temporary file it leaves is recognised as the program's.
TEST(LogCrash, KilledRewriteAlwaysLeavesALogThatReloads)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("log.txt");
    QRandomGenerator random(20261210);
    for (int round = 0; round < 25; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(CUBWAVE_REWRITE_LOOP), {path});
        ASSERT_TRUE(writer.waitForStarted(5000));
        ASSERT_TRUE(writer.waitForReadyRead(10000)) << "the rewriter never wrote its first log";
        QThread::msleep(random.bounded(1, 40));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished(5000);

        const LogReadResult read = LogFile(path).read();
        ASSERT_TRUE(read.ok) << "round " << round << ": " << read.reason.toStdString();
        ASSERT_FALSE(read.records.empty());
    }
    removeLeftoverTemporaryFiles(dir.path());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.txt"});
}
