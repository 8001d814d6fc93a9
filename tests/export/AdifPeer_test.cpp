#include "core/LogStore.h"
#include "core/SharedPrefsDocument.h"
#include "export/BandLimits.h"
#include "export/ProductCaption.h"
#include "ui/export/ExportCommands.h"
#include "ExportFixtures.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace cubwave::test {
namespace {

// An independent ADIF reader (adif-parser-ts, installed by tools/install-deps.sh with npm ci)
// counts a tag's length in characters; the tests' own reader counts bytes. Both must read the
// export back to the log.
const QString kPeerDir = QStringLiteral(CUBWAVE_SOURCE_DIR "/tests/export/adif-peer");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A seeded log as the live entry writes it, with names a byte counter and a character counter
// would disagree on if they were not written in ASCII.
std::vector<QsoRecord> seededLog()
{
    struct Row {
        const char* call;
        const char* spc;
        const char* name;
    };
    const Row rows[] = {
        {"W1AW", "CT", "Hiram"},    {"VE3XYZ", "ON", "Amélie"},  {"KH6ABC", "HI", "Keoni"},
        {"KL7XX", "AK", "Björn"},   {"JA1ABC", "Japan", "Yūki"}, {"DL1ABC", "Fed. Rep. of Germany", "Jürgen"},
        {"K5ZZ", "TX", "José"},     {"G4ABC", "England", "Zoë"}, {"N0CALL", "MN", ""},
        {"VK2ABC", "Australia", "Bruce"},
    };
    const char* bands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
    const char* freqs[] = {"1.830", "3.550", "7.020", "14.025", "21.300", "28.400", "50.125", "146.520"};
    std::vector<QsoRecord> log;
    for (int i = 0; i < 40; ++i) {
        const Row& r = rows[i % 10];
        Contact c;
        c.call = QString::fromLatin1(r.call);
        c.spc = QString::fromUtf8(r.spc);
        c.name = QString::fromUtf8(r.name);
        c.age = i % 5 ? QString::number(7 + i % 12) : QString();
        c.other = i % 3 ? QStringLiteral("Grün") : QStringLiteral("Blue");
        c.band = QString::fromLatin1(bands[i % 8]);
        c.freq = i % 4 ? QString::fromLatin1(freqs[i % 8]) : QString();
        c.mode = i % 2 ? QStringLiteral("PH") : QStringLiteral("CW");
        c.date = i < 30 ? QStringLiteral("2012/06/09") : QStringLiteral("2012/06/10");
        c.time = QStringLiteral("%1:%2:%3").arg(i < 30 ? 18 + i / 10 : i / 10 - 3, 2, 10, QLatin1Char('0'))
                     .arg((i * 7) % 60, 2, 10, QLatin1Char('0'))
                     .arg((i * 13) % 60, 2, 10, QLatin1Char('0'));
        log.push_back(c.record());
    }
    return log;
}

QString ascii(const QString& text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += c.unicode() < 0x80 ? c : QLatin1Char('?');
    }
    return out;
}

// cty.csv of Debian's hamradio-files: entity name -> ADIF DXCC number.
QHash<QString, int> ctyNumbers()
{
    QHash<QString, int> numbers;
    const QByteArray csv = readAll(QStringLiteral("/usr/share/hamradio-files/cty.csv"));
    for (const QByteArray& line : csv.split('\n')) {
        const QList<QByteArray> cols = line.split(',');
        if (cols.size() >= 3)
            numbers.insert(QString::fromLatin1(cols[1]), cols[2].toInt());
    }
    return numbers;
}

class AdifPeerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/ADIFCnt.txt"), dir.filePath(QStringLiteral("ADIFCnt.txt"))));
        log = seededLog();
        ASSERT_TRUE(store.load(log));
        dialogs.inputAnswers.push_back(QStringLiteral("100"));
        dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("Cubwave.adi")));
        ExportCommands({dialogs, beeper, settings, clock, shared, dir.path(), dir.path(), dir.path()})
            .exportAdif(store, ProductCaption::kMainWindowCaption);
        adi = readAll(dir.filePath(QStringLiteral("Cubwave.adi")));
        ASSERT_FALSE(adi.isEmpty());
    }

    QTemporaryDir dir;
    std::vector<QsoRecord> log;
    LogStore store;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    FakeClock clock;
    SharedPrefsDocument shared;
    QByteArray adi;
};

TEST_F(AdifPeerTest, AnIndependentReaderAndAByteCounterReadTheLogBack)
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    ASSERT_FALSE(node.isEmpty()) << "node is not installed (tools/install-deps.sh installs it)";
    ASSERT_TRUE(QDir(kPeerDir + QStringLiteral("/node_modules/adif-parser-ts")).exists())
        << "run tools/install-deps.sh (npm ci in tests/export/adif-peer)";
    QProcess peer;
    peer.start(node, {kPeerDir + QStringLiteral("/read-adif.js"), dir.filePath(QStringLiteral("Cubwave.adi"))});
    ASSERT_TRUE(peer.waitForFinished(30000));
    ASSERT_EQ(peer.exitCode(), 0) << peer.readAllStandardError().toStdString();
    const QJsonArray peerRecords = QJsonDocument::fromJson(peer.readAllStandardOutput()).object().value("records").toArray();
    const AdiRead own = readAdi(adi);
    ASSERT_TRUE(own.ok);
    ASSERT_EQ(peerRecords.size(), static_cast<qsizetype>(log.size()));
    ASSERT_EQ(own.records.size(), static_cast<qsizetype>(log.size()));

    for (qsizetype i = 0; i < peerRecords.size(); ++i) {
        const QJsonObject p = peerRecords[i].toObject();
        const auto& o = own.records[i];
        // Both readers see the same fields with the same values.
        ASSERT_EQ(p.size(), o.size()) << "record " << i;
        for (const auto& [name, value] : o)
            EXPECT_EQ(p.value(QString::fromLatin1(name)).toString().toLatin1(), value) << "record " << i << " " << name.toStdString();
        // And the values are the log's.
        const QsoRecord& r = log[static_cast<size_t>(i)];
        EXPECT_EQ(p.value("call").toString(), r.call());
        EXPECT_EQ(p.value("band").toString(), r.band() + QLatin1Char('M'));
        EXPECT_EQ(p.value("mode").toString(), r.mode() == QLatin1String("PH") ? QStringLiteral("SSB") : QStringLiteral("CW"));
        EXPECT_EQ(p.value("time_on").toString(), r[QsoRecord::Time].left(5).remove(QLatin1Char(':')));
        EXPECT_EQ(p.value("qso_date").toString(), QString(r[QsoRecord::Date]).remove(QLatin1Char('/')));
        EXPECT_EQ(p.value("name").toString(), ascii(r[QsoRecord::Name]));
        EXPECT_EQ(p.value("tx_pwr").toString(), QStringLiteral("100"));
        EXPECT_EQ(p.value("freq").toString(), r[QsoRecord::Frequency]);
        QString comment = QStringLiteral("Cubwave  ") + r[QsoRecord::Name];
        if (!r[QsoRecord::Age].isEmpty())
            comment += QStringLiteral(" Age: ") + r[QsoRecord::Age];
        comment += QStringLiteral("  ") + r[QsoRecord::Other];
        EXPECT_EQ(p.value("comment").toString(), ascii(comment));
    }
}

TEST_F(AdifPeerTest, ValuesFollowThePublicAdifStandard)
{
    const AdiRead read = readAdi(adi);
    ASSERT_TRUE(read.ok);
    // The ADIF Band enumeration's names and limits (MHz) of the bands the log knows.
    const QHash<QByteArray, std::pair<double, double>> bands = {
        {"160m", {1.8, 2.0}},     {"80m", {3.5, 4.0}},     {"40m", {7.0, 7.3}},  {"20m", {14.0, 14.35}},
        {"15m", {21.0, 21.45}},   {"10m", {28.0, 29.7}},   {"6m", {50, 54}},     {"2m", {144, 148}},
    };
    for (const auto& rec : read.records) {
        const QByteArray band = field(rec, "band").toLower();
        ASSERT_TRUE(bands.contains(band)) << band.toStdString();
        if (hasField(rec, "freq")) {
            const double mhz = field(rec, "freq").toDouble();
            EXPECT_GE(mhz, bands[band].first);
            EXPECT_LE(mhz, bands[band].second);
        }
        const QByteArray mode = field(rec, "mode");
        EXPECT_TRUE(mode == "CW" || mode == "SSB") << mode.toStdString();
        const QDate date = QDate::fromString(QString::fromLatin1(field(rec, "qso_date")), QStringLiteral("yyyyMMdd"));
        EXPECT_TRUE(date.isValid());
        EXPECT_GE(date, QDate(1930, 1, 1));
        const QByteArray time = field(rec, "time_on");
        ASSERT_EQ(time.size(), 4);
        EXPECT_LE(time.left(2).toInt(), 23);
        EXPECT_LE(time.mid(2).toInt(), 59);
        EXPECT_TRUE(QByteArray(time).removeIf([](char c) { return c >= '0' && c <= '9'; }).isEmpty());
        EXPECT_TRUE(QByteArray(field(rec, "tx_pwr")).toDouble() >= 0);
        if (hasField(rec, "state"))
            EXPECT_EQ(field(rec, "state").size(), 2);
    }
}

TEST_F(AdifPeerTest, DxccNumbersAreTheCountryFilesOnes)
{
    const QHash<QString, int> cty = ctyNumbers();
    ASSERT_FALSE(cty.isEmpty()) << "hamradio-files is not installed (tools/install-deps.sh installs it)";
    const AdiRead read = readAdi(adi);
    ASSERT_EQ(read.records.size(), static_cast<qsizetype>(log.size()));
    for (qsizetype i = 0; i < read.records.size(); ++i) {
        const QsoRecord& r = log[static_cast<size_t>(i)];
        // US calls in a state are the United States but for Hawaii and Alaska; other calls with a
        // two-letter location are Canada; DX locations are cty.csv's entity names.
        QString entity;
        if (r.spc().size() == 2) {
            if (r.spc() == QLatin1String("HI"))
                entity = QStringLiteral("Hawaii");
            else if (r.spc() == QLatin1String("AK"))
                entity = QStringLiteral("Alaska");
            else
                entity = QStringLiteral("KAWN").contains(r.call().front()) ? QStringLiteral("United States")
                                                                            : QStringLiteral("Canada");
        } else {
            entity = r.spc();
        }
        ASSERT_TRUE(cty.contains(entity)) << entity.toStdString();
        EXPECT_EQ(field(read.records[i], "dxcc").toInt(), cty.value(entity)) << r.call().toStdString();
    }
}

}  // namespace
}  // namespace cubwave::test
