#include "core/ContestSession.h"
#include "core/LogFile.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class ContestSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        writeFile("log.txt", "\"K1ABC\",\"12\",\"\",\"\",\"CT\",\"2026/06/13\",\"18:00:00\",\"CW\",\"20\",\"ANN\",\"\"\r\n");
        Preferences prefs;
        prefs.utcOffsetHours = 4;
        writeFile("cubwavepref.txt", PrefFile::serialize(prefs));
    }
    void writeFile(const char* name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray logBytes() const
    {
        QFile f(dir.filePath("log.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static ContactEntry entry(const QString& call, const QString& spc)
    {
        return {call, QStringLiteral("TOM"), QStringLiteral("40"), spc, QStringLiteral("BLUE"), {}, {}};
    }

    QTemporaryDir dir;
    FakeClock clock;
};

}  // namespace

TEST_F(ContestSessionTest, NothingIsStoredOrWrittenBeforeTheLogIsLoaded)
{
    ContestSession session(clock, dir.path());
    ASSERT_TRUE(session.readPreferences());
    const QByteArray before = logBytes();
    EXPECT_EQ(session.storeContact(entry("W1AW", "CT")).kind, ContestSession::StoreOutcome::Kind::LogNotLoaded);
    EXPECT_EQ(session.store().count(), 0);
    EXPECT_EQ(logBytes(), before);
}

TEST_F(ContestSessionTest, AStoredContactIsAppendedAndAnnouncedWithWhatItChanged)
{
    ContestSession session(clock, dir.path());
    ASSERT_TRUE(session.readPreferences());
    ASSERT_TRUE(session.reloadLog());
    session.reportFrequency(14.025f);
    QSignalSpy added(&session, &ContestSession::contactAdded);

    // A two-letter location marks a multiplier; a longer one not yet listed joins the DX list.
    struct Case {
        const char* call;
        const char* spc;
        bool newDx;
        bool worked;
    };
    const Case cases[] = {{"W1AW", "ME", false, true}, {"DL1AB", "Germany", true, false},
                          {"DL2CD", "Germany", false, false}};
    for (const Case& c : cases) {
        const ContestSession::StoreOutcome outcome = session.storeContact(entry(c.call, c.spc));
        ASSERT_TRUE(outcome.stored()) << c.call;
        ASSERT_FALSE(added.isEmpty());
        const QList<QVariant> args = added.takeLast();
        EXPECT_EQ(args[0].toInt(), session.store().count());
        EXPECT_EQ(args[1].toBool(), c.newDx) << c.call;
        EXPECT_EQ(args[2].toInt() != 0, c.worked) << c.call;
    }
    const LogReadResult read = LogFile(session.logPath()).read();
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.records.size(), 4u);
    EXPECT_EQ(read.records[1].call(), "W1AW");
    EXPECT_EQ(read.records[1][QsoRecord::Time], "18:05:33");  // local 14:05:33 plus 4 hours
    EXPECT_EQ(read.records[1][QsoRecord::Band], "20");
    EXPECT_FALSE(read.records[1][QsoRecord::Frequency].isEmpty());
}

TEST_F(ContestSessionTest, AFailedWriteLeavesTheStoreAsItWas)
{
    ContestSession session(clock, dir.path(), [](const QString&, const QsoRecord&) {
        return WriteResult{false, QStringLiteral("No space left on device")};
    });
    ASSERT_TRUE(session.reloadLog());
    QSignalSpy added(&session, &ContestSession::contactAdded);
    const ContestSession::StoreOutcome outcome = session.storeContact(entry("W1AW", "ME"));
    EXPECT_EQ(outcome.kind, ContestSession::StoreOutcome::Kind::WriteFailed);
    EXPECT_EQ(outcome.error, "No space left on device");
    EXPECT_EQ(session.store().count(), 1);
    EXPECT_TRUE(added.isEmpty());
}

TEST_F(ContestSessionTest, PostContestModeTakesTheTypedDateAndTime)
{
    ContestSession session(clock, dir.path());
    ASSERT_TRUE(session.reloadLog());
    session.postContestMode = true;
    ContactEntry e = entry("W1AW", "ME");
    e.postDate = "2025/01/02";
    e.postTime = "03:04";
    ASSERT_TRUE(session.storeContact(e).stored());
    EXPECT_EQ(session.store().at(2)[QsoRecord::Date], "2025/01/02");
    EXPECT_EQ(session.store().at(2)[QsoRecord::Time], "03:04");
}

TEST_F(ContestSessionTest, RigReportsChangeBandModeAndFrequencyAndAreSignalled)
{
    ContestSession session(clock, dir.path());
    ASSERT_TRUE(session.readPreferences());
    ASSERT_TRUE(session.reloadLog());
    QSignalSpy bands(&session, &ContestSession::bandChanged);
    QSignalSpy modes(&session, &ContestSession::modeChanged);
    QSignalSpy frequencies(&session, &ContestSession::frequencyReported);
    QSignalSpy reloads(&session, &ContestSession::logReloaded);

    session.reportFrequency(7.030f);
    ASSERT_EQ(bands.size(), 1);
    EXPECT_EQ(bands[0][0].toString(), "40");
    EXPECT_EQ(frequencies.size(), 1);
    EXPECT_EQ(session.frequencyText(), frequencies[0][0].toString());
    session.reportFrequency(7.031f);  // same band: no band command
    EXPECT_EQ(bands.size(), 1);

    session.reportMode("PH");
    ASSERT_EQ(modes.size(), 1);
    EXPECT_EQ(modes[0][0].toString(), "PH");
    EXPECT_EQ(reloads.size(), 1);  // a mode change reloads the log
    session.reportMode("PH");
    EXPECT_EQ(modes.size(), 1);

    // Both are saved at once.
    ContestSession reread(clock, dir.path());
    ASSERT_TRUE(reread.readPreferences());
    EXPECT_EQ(reread.prefs().band, "40");
    EXPECT_EQ(reread.prefs().mode, "PH");
}

TEST_F(ContestSessionTest, AnUnreadableLogIsSignalledAndCountsAsNotLoaded)
{
    writeFile("log.txt", "\"K1ABC\",\"12\r\n");
    ContestSession session(clock, dir.path());
    QSignalSpy unreadable(&session, &ContestSession::logUnreadable);
    EXPECT_FALSE(session.reloadLog());
    EXPECT_EQ(unreadable.size(), 1);
    EXPECT_FALSE(session.logLoaded());
    EXPECT_FALSE(session.notLoadedWhy().isEmpty());
}

TEST_F(ContestSessionTest, AReadOnlyPreferenceFileKeepsChangesInMemoryAndIsToldOfOnce)
{
    const QString path = dir.filePath("cubwavepref.txt");
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    ContestSession session(clock, dir.path());
    ASSERT_TRUE(session.readPreferences());
    QSignalSpy readOnly(&session, &ContestSession::preferencesReadOnly);
    QSignalSpy notSaved(&session, &ContestSession::preferencesNotSaved);

    session.prefs().ownCall = QStringLiteral("W1AW");
    EXPECT_TRUE(session.savePreferences());  // no failure: the operator keeps the file as it is
    session.setListPrevious(true);
    EXPECT_TRUE(session.savePreferences());

    EXPECT_EQ(readOnly.size(), 1);
    EXPECT_TRUE(notSaved.isEmpty());
    EXPECT_EQ(session.prefs().ownCall, "W1AW");
    EXPECT_TRUE(session.listPrevious());
    ::chmod(QFile::encodeName(path).constData(), 0644);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ContestSessionTest, AnUnreadableLogNamesTheLineAndTheReason)
{
    const QByteArray good = "\"K1ABC\",\"12\",\"\",\"\",\"CT\",\"2026/06/13\",\"18:00:00\",\"CW\",\"20\",\"ANN\",\"\"\r\n";
    const struct {
        const char* what;
        QByteArray bytes;
        bool remove;
        QString problem;
    } cases[] = {
        {"stray quote on line 2", good + "\"W1AW\",\"1\"2\"\r\n", false,
         "log.txt line 2: the line is not eleven quoted fields separated by commas (a quote too many or too few, "
         "or a field missing)"},
        {"blank lines count", good + "\r\n\r\n" + good + "\"W1AW\",\"1\x01\"\r\n", false,
         "log.txt line 5: the line holds a control character or binary data"},
        {"too long a line", good + QByteArray(70 * 1024, 'x') + "\r\n", false,
         "log.txt line 2: the line is longer than 65536 bytes"},
        {"no file", {}, true, "log.txt: No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.remove)
            QFile::remove(dir.filePath("log.txt"));
        else
            writeFile("log.txt", c.bytes);
        ContestSession session(clock, dir.path());
        EXPECT_FALSE(session.reloadLog());
        EXPECT_EQ(session.logReadProblem(), c.problem);
    }
    writeFile("log.txt", good);
    ContestSession session(clock, dir.path());
    EXPECT_TRUE(session.reloadLog());
    EXPECT_TRUE(session.logReadProblem().isEmpty());
}
