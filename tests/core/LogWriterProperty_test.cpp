// Every log.txt this program writes reloads: random records of arbitrary text go through the
// writer, and each write is either refused with a reason and the file left as it was, or done
// and the reload equals the records the program holds.
//
// A longer run, with any seed:
//   CUBWAVE_PROPERTY_STEPS=20000 CUBWAVE_PROPERTY_SEED=7 ./build/tests/cubwave_core_tests
//   --gtest_filter='LogWriterProperty.*'
#include "core/LogFile.h"
#include "core/LogLine.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdlib>

using namespace cubwave;
using test::readAll;

namespace {

int fromEnvironment(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

class TextSource {
public:
    explicit TextSource(quint32 seed) : random_(seed) {}

    int below(int n) { return static_cast<int>(random_.bounded(n)); }

    // Any text when wild, else only characters a log line can hold.
    QString text(bool wild)
    {
        const int kind = below(100);
        int length;
        if (kind < 70)
            length = below(16);
        else if (kind < 95)
            length = below(400);
        else
            length = 65536 - 140 + below(200);  // around the longest line the reader takes
        QString out;
        out.reserve(length);
        // Long texts are mostly one letter, so a line near the limit is not refused for a
        // stray character every time.
        const bool plainRun = length > 1000 && below(2) == 0;
        while (out.size() < length)
            out += plainRun ? QString(below(3) == 0 ? QChar(0xe9) : QChar(u'A')) : character(wild);
        return out;
    }

private:
    QString character(bool wild)
    {
        static const char16_t kFits[] = {u',', u' ', u'\t', 0x7f, 0x85, 0xa0, 0xe9, 0x4e2d, 0xfeff, 0xfffd, 0x2028};
        static const char16_t kBreaks[] = {u'"', u'\r', u'\n', 0x00, 0x01, 0x1b, 0xd800, 0xdfff};
        const int kind = below(100);
        if (kind < 70)
            return QString(QChar(static_cast<char16_t>(0x20 + below(0x5f)))).remove(u'"');
        if (kind < 85 || (kind < 95 && !wild))
            return QString(QChar(kFits[below(std::size(kFits))]));
        if (kind < 95)
            return QString(QChar(kBreaks[below(std::size(kBreaks))]));
        const char32_t astral[] = {0x1f600, 0x10000, 0x10ffff};
        return QString::fromUcs4(&astral[below(3)], 1);
    }

    QRandomGenerator random_;
};

// Half the records have one field of any text at all; the rest hold only text that fits.
QsoRecord randomRecord(TextSource& source)
{
    QsoRecord r;
    const int wildField = source.below(2 * QsoRecord::FieldCount);
    for (int i = 0; i < QsoRecord::FieldCount; ++i)
        r.fields[static_cast<size_t>(i)] = source.below(4) == 0 ? QString() : source.text(i == wildField);
    return r;
}

// What the reader can take back, worked out here without the writer's own rule: no quote, no
// control character but the tab, no half of a surrogate pair, and a line within the limit.
bool readerTakesBack(const QsoRecord& r)
{
    qsizetype bytes = 2 * QsoRecord::FieldCount + QsoRecord::FieldCount - 1;
    for (const QString& field : r.fields) {
        for (qsizetype i = 0; i < field.size(); ++i) {
            const QChar c = field[i];
            if (c == u'"' || (c.unicode() < 0x20 && c != u'\t'))
                return false;
            if (c.isHighSurrogate()) {
                if (i + 1 >= field.size() || !field[i + 1].isLowSurrogate())
                    return false;
                ++i;
            } else if (c.isLowSurrogate()) {
                return false;
            }
        }
        bytes += field.toUtf8().size();
    }
    return bytes <= LogFile::kMaxLineBytes;
}

}  // namespace

TEST(LogWriterProperty, EveryLogTheWriterWritesReloadsAsTheRecordsHeld)
{
    const int steps = fromEnvironment("CUBWAVE_PROPERTY_STEPS", 300);
    const quint32 seed = static_cast<quint32>(fromEnvironment("CUBWAVE_PROPERTY_SEED", 20260613));
    TextSource source(seed);
    QTemporaryDir dir;
    const LogFile log(dir.filePath("log.txt"));
    std::vector<QsoRecord> held;
    int accepted = 0, refused = 0;
    ASSERT_TRUE(log.rewrite(held).ok);  // an empty log, as a new log leaves it

    for (int step = 0; step < steps; ++step) {
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", step " << step);
        const QByteArray before = readAll(log.path());
        const QsoRecord record = randomRecord(source);
        std::vector<QsoRecord> next = held;
        WriteResult result;
        const int action = source.below(10);
        if (action < 6 || held.empty()) {  // a new contact
            next.push_back(record);
            result = log.append(record);
        } else if (action < 9) {  // an edit
            next[static_cast<size_t>(source.below(static_cast<int>(next.size())))] = record;
            result = log.rewrite(next);
        } else {  // a delete
            next.erase(next.begin() + source.below(static_cast<int>(next.size())));
            result = log.rewrite(next);
        }
        const bool expected = action == 9 && !held.empty() ? true : readerTakesBack(record);
        ASSERT_EQ(result.ok, expected) << result.error.toStdString();
        if (result.ok) {
            held = std::move(next);
            ++accepted;
        } else {
            ASSERT_FALSE(result.error.isEmpty());
            ASSERT_EQ(readAll(log.path()), before);
            ++refused;
        }
        const LogReadResult back = log.read();
        ASSERT_TRUE(back.ok) << back.reason.toStdString();
        ASSERT_TRUE(back.records == held);

        if (before.size() > 4 * 1024 * 1024) {  // start over now and then, so each reload stays quick
            held.clear();
            ASSERT_TRUE(log.rewrite(held).ok);
        }
    }
    // The run saw both outcomes, or it proved nothing.
    EXPECT_GT(accepted, steps / 10);
    EXPECT_GT(refused, steps / 10);
}
