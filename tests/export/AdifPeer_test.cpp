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
#include <QSet>
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
// would disagree on if they were not written in ASCII, and letters that only a table spells.
struct Row {
    const char* call;
    const char* spc;
    const char* name;
    const char* asciiName;  // what a logbook should read
    const char* state;      // the STATE written, empty for none
};
const Row kRows[] = {
    {"W1AW", "CT", "Hiram", "Hiram", "CT"},          {"VE3XYZ", "ON", "Amélie", "Amelie", "ON"},
    {"KH6ABC", "HI", "Keoni", "Keoni", "HI"},        {"KL7XX", "AK", "Björn", "Bjorn", "AK"},
    {"JA1ABC", "Japan", "Yūki", "Yuki", ""},         {"DL1ABC", "Fed. Rep. of Germany", "Strauß", "Strauss", ""},
    {"K5ZZ", "TX", "José", "Jose", "TX"},            {"G4ABC", "England", "Zoë", "Zoe", ""},
    {"N0CALL", "MN", "", "", "MN"},                  {"VK2ABC", "Australia", "Bruce", "Bruce", ""},
    {"SP5ABC", "Poland", "Łukasz", "Lukasz", ""},    {"OZ1ABC", "Denmark", "Søren Ærø", "Soren AEro", ""},
    {"TF3ABC", "Iceland", "Þórður", "THordur", ""},  {"YU1ABC", "Serbia", "Đorđe", "Dorde", ""},
    {"F5ABC", "France", "Œdipe O’Neil", "OEdipe O'Neil", ""},
    {"BY1ABC", "China", "李明", "??", ""},          // no plain spelling
    {"VY1ABC", "yk", "Sam", "Sam", "YT"},            {"VE7ABC", "bc", "Ann", "Ann", "BC"},
    {"VE2ABC", "QC", "Élodie", "Elodie", "QC"},      {"VE1ABC", "NS", "Ian", "Ian", "NS"},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));

std::vector<QsoRecord> seededLog()
{
    const Row* rows = kRows;
    const char* bands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
    const char* freqs[] = {"1.830", "3.550", "7.020", "14.025", "21.300", "28.400", "50.125", "146.520"};
    std::vector<QsoRecord> log;
    for (int i = 0; i < 40; ++i) {
        const Row& r = rows[i % kRowCount];
        Contact c;
        c.call = QString::fromLatin1(r.call);
        c.spc = QString::fromUtf8(r.spc);
        c.name = QString::fromUtf8(r.name);
        // Ages as typed: whole numbers, one with a leading zero, none, one that is no age.
        c.age = i % 5 ? QString::number(7 + i % 12) : QString();
        if (i % 7 == 3)
            c.age = QStringLiteral("09");
        if (i == 11)
            c.age = QStringLiteral("ten");
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
            .exportAdif(store, ProductCaption::kMainWindowCaption, QStringLiteral(" k1cub "));
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
    const QJsonObject parsed = QJsonDocument::fromJson(peer.readAllStandardOutput()).object();
    const QJsonArray peerRecords = parsed.value("records").toArray();
    const AdiRead own = readAdi(adi);
    ASSERT_TRUE(own.ok);

    // The header's fields, read by both.
    const QJsonObject header = parsed.value("header").toObject();
    EXPECT_EQ(header.value("adif_ver").toString(), QStringLiteral("3.1.4"));
    EXPECT_EQ(header.value("programid").toString(), QStringLiteral("Cubwave Log"));
    EXPECT_EQ(header.value("programversion").toString(), QStringLiteral("1.8"));
    EXPECT_EQ(header.value("created_timestamp").toString(),
              clock.utcNow().toUTC().toString(QStringLiteral("yyyyMMdd HHmmss")));
    EXPECT_TRUE(header.value("text").toString().startsWith(QStringLiteral("ADIF Export from Brantel's Cubwave Log 1.8")));
    ASSERT_EQ(own.headerFields.size(), 4);
    for (const auto& [name, value] : own.headerFields)
        EXPECT_EQ(header.value(QString::fromLatin1(name)).toString().toLatin1(), value) << name.toStdString();

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
        const Row& row = kRows[i % kRowCount];
        EXPECT_EQ(p.value("name").toString(), QString::fromLatin1(row.asciiName)) << "record " << i;
        EXPECT_EQ(p.contains("name"), *row.asciiName != 0);
        EXPECT_EQ(p.value("state").toString(), QString::fromLatin1(row.state)) << "record " << i;
        EXPECT_EQ(p.contains("state"), *row.state != 0);
        EXPECT_EQ(p.value("station_callsign").toString(), QStringLiteral("K1CUB"));
        EXPECT_EQ(p.value("operator").toString(), QStringLiteral("K1CUB"));
        const QString age = r[QsoRecord::Age];
        EXPECT_EQ(p.value("age").toString(), age == QLatin1String("09")    ? QStringLiteral("9")
                                             : age == QLatin1String("ten") ? QString()
                                                                           : age)
            << "record " << i;
        EXPECT_EQ(p.value("tx_pwr").toString(), QStringLiteral("100"));
        EXPECT_EQ(p.value("freq").toString(), r[QsoRecord::Frequency]);
        QString comment = QStringLiteral("Cubwave  ") + QString::fromLatin1(row.asciiName);
        if (!r[QsoRecord::Age].isEmpty())
            comment += QStringLiteral(" Age: ") + r[QsoRecord::Age];
        comment += QStringLiteral("  ") + ascii(r[QsoRecord::Other]);
        EXPECT_EQ(p.value("comment").toString(), comment);
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
        if (hasField(rec, "state")) {
            EXPECT_EQ(field(rec, "state").size(), 2);
        }
    }
}

// The field names ADIF 3.1.4 defines (header fields, then QSO fields), and its lists of primary
// administrative subdivisions for the entities whose STATE the export writes.
const QSet<QByteArray> kAdif314HeaderFields = {"adif_ver", "created_timestamp", "programid", "programversion"};
const QSet<QByteArray> kAdif314QsoFields = {
    "address", "address_intl", "age", "altitude", "ant_az", "ant_el", "ant_path", "arrl_sect", "award_granted",
    "award_submitted", "a_index", "band", "band_rx", "call", "check", "class", "clublog_qso_upload_date",
    "clublog_qso_upload_status", "cnty", "comment", "comment_intl", "cont", "contacted_op", "contest_id", "country",
    "country_intl", "cqz", "credit_granted", "credit_submitted", "darc_dok", "distance", "dxcc", "email", "eq_call",
    "eqsl_qslrdate", "eqsl_qslsdate", "eqsl_qsl_rcvd", "eqsl_qsl_sent", "fists", "fists_cc", "force_init", "freq",
    "freq_rx", "gridsquare", "gridsquare_ext", "guest_op", "hamlogeu_qso_upload_date", "hamlogeu_qso_upload_status",
    "hamqth_qso_upload_date", "hamqth_qso_upload_status", "hrdlog_qso_upload_date", "hrdlog_qso_upload_status", "iota",
    "iota_island_id", "ituz", "k_index", "lat", "lon", "lotw_qslrdate", "lotw_qslsdate", "lotw_qsl_rcvd",
    "lotw_qsl_sent", "max_bursts", "mode", "ms_shower", "my_altitude", "my_antenna", "my_antenna_intl",
    "my_arrl_sect", "my_city", "my_city_intl", "my_cnty", "my_country", "my_country_intl", "my_cq_zone", "my_dxcc",
    "my_fists", "my_gridsquare", "my_gridsquare_ext", "my_iota", "my_iota_island_id", "my_itu_zone", "my_lat",
    "my_lon", "my_name", "my_name_intl", "my_postal_code", "my_postal_code_intl", "my_pota_ref", "my_rig",
    "my_rig_intl", "my_sig", "my_sig_intl", "my_sig_info", "my_sig_info_intl", "my_sota_ref", "my_state",
    "my_street", "my_street_intl", "my_usaca_counties", "my_vucc_grids", "my_wwff_ref", "name", "name_intl", "notes",
    "notes_intl", "nr_bursts", "nr_pings", "operator", "owner_callsign", "pfx", "pota_ref", "precedence", "prop_mode",
    "public_key", "qrzcom_qso_upload_date", "qrzcom_qso_upload_status", "qslmsg", "qslmsg_intl", "qslrdate",
    "qslsdate", "qsl_rcvd", "qsl_rcvd_via", "qsl_sent", "qsl_sent_via", "qsl_via", "qso_complete", "qso_date",
    "qso_date_off", "qso_random", "qth", "qth_intl", "region", "rig", "rig_intl", "rst_rcvd", "rst_sent", "rx_pwr",
    "sat_mode", "sat_name", "sfi", "sig", "sig_intl", "sig_info", "sig_info_intl", "silent_key", "skcc", "sota_ref",
    "srx", "srx_string", "state", "station_callsign", "stx", "stx_string", "submode", "swl", "ten_ten", "time_off",
    "time_on", "tx_pwr", "uksmg", "usaca_counties", "ve_prov", "vucc_grids", "web", "wwff_ref",
};
const QHash<int, QSet<QByteArray>> kAdif314Subdivisions = {
    {1, {"NS", "QC", "ON", "MB", "SK", "AB", "BC", "NT", "NB", "NL", "YT", "PE", "NU"}},
    {6, {"AK"}},
    {110, {"HI"}},
    {291, {"CT", "ME", "MA", "NH", "RI", "VT", "NJ", "NY", "DE", "DC", "MD", "PA", "AL", "FL", "GA", "KY", "NC",
           "SC", "TN", "VA", "AR", "LA", "MS", "NM", "OK", "TX", "CA", "AZ", "ID", "MT", "NV", "OR", "UT", "WA",
           "WY", "CO", "IA", "KS", "MN", "MO", "NE", "ND", "SD", "IL", "IN", "MI", "OH", "WI", "WV"}},
};

TEST_F(AdifPeerTest, EveryFieldIsAnAdif314FieldAndEveryStateItsEntitysSubdivision)
{
    const AdiRead read = readAdi(adi);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.headerFields.size(), 4);
    for (const auto& [name, value] : read.headerFields)
        EXPECT_TRUE(kAdif314HeaderFields.contains(name)) << name.toStdString();
    int states = 0;
    for (const auto& rec : read.records) {
        for (const auto& [name, value] : rec)
            EXPECT_TRUE(kAdif314QsoFields.contains(name)) << name.toStdString();
        if (!hasField(rec, "state"))
            continue;
        ++states;
        const int dxcc = field(rec, "dxcc").toInt();
        ASSERT_TRUE(kAdif314Subdivisions.contains(dxcc)) << dxcc;
        EXPECT_TRUE(kAdif314Subdivisions[dxcc].contains(field(rec, "state")))
            << field(rec, "state").toStdString() << " for DXCC " << dxcc;
    }
    EXPECT_EQ(states, 20);  // 10 of the 20 rows carry one, each twice
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
