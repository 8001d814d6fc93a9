// The band plan the program ships, read with the program's own reader and compared with the
// privileges of 47 CFR 97.301, 97.305(c) and 97.303(h) typed out here by class.
#include "bandplan/BandPlanFile.h"
#include "bandplan/SidebandTable.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QMap>
#include <QSet>

using namespace cubwave;

namespace {

const QString kDataFolder = QStringLiteral(CUBWAVE_SOURCE_DIR "/data");

struct Segment {
    const char* band;
    const char* mode;
    float low;
    float high;
};

const QStringList kBands{"2200", "630", "160", "80", "60", "40", "30", "20", "17",
                         "15",   "12",  "10",  "6",  "2",  "1.25", "70cm", "33cm", "23cm"};

const std::vector<Segment> kOverall{
    {"2200", "", .1357f, .1378f}, {"630", "", .472f, .479f}, {"160", "", 1.8f, 2},
    {"80", "", 3.5f, 4}, {"60", "", 5.3306f, 5.4064f}, {"40", "", 7, 7.3f}, {"30", "", 10.1f, 10.15f},
    {"20", "", 14, 14.35f}, {"17", "", 18.068f, 18.168f}, {"15", "", 21, 21.45f}, {"12", "", 24.89f, 24.99f},
    {"10", "", 28, 29.7f}, {"6", "", 50, 54}, {"2", "", 144, 148}, {"1.25", "", 222, 225},
    {"70cm", "", 420, 450}, {"33cm", "", 902, 928}, {"23cm", "", 1240, 1300},
};

const std::vector<Segment> kSixtyMetres{{"60", "PH", 5.3306f, 5.3334f}, {"60", "PH", 5.3466f, 5.3494f},
                                       {"60", "PH", 5.3571f, 5.3599f}, {"60", "PH", 5.3716f, 5.3744f},
                                       {"60", "PH", 5.4036f, 5.4064f}};

std::vector<Segment> join(std::initializer_list<std::vector<Segment>> parts)
{
    std::vector<Segment> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Above 50 MHz the Extra, Advanced and General classes (and Technicians from 6 m up) share one
// plan; below, each class has its own.
const std::vector<Segment> kVhfUp{
    {"6", "CW", 50, 50.1f},  {"6", "PH", 50.1f, 54},    {"2", "CW", 144, 144.1f}, {"2", "PH", 144.1f, 148},
    {"1.25", "PH", 222, 225}, {"70cm", "PH", 420, 450}, {"33cm", "PH", 902, 928}, {"23cm", "PH", 1240, 1300},
};
const std::vector<Segment> kLowBands{{"2200", "PH", .1357f, .1378f}, {"630", "PH", .472f, .479f},
                                    {"160", "PH", 1.8f, 2}};
const std::vector<Segment> kWarc{{"30", "CW", 10.1f, 10.15f}};

const QMap<QString, std::vector<Segment>> kByClass{
    {"E", join({kLowBands,
                {{"80", "CW", 3.5f, 3.6f}, {"80", "PH", 3.6f, 4}},
                kSixtyMetres,
                {{"40", "CW", 7, 7.125f}, {"40", "PH", 7.125f, 7.3f}},
                kWarc,
                {{"20", "CW", 14, 14.15f}, {"20", "PH", 14.15f, 14.35f},
                 {"17", "CW", 18.068f, 18.11f}, {"17", "PH", 18.11f, 18.168f},
                 {"15", "CW", 21, 21.2f}, {"15", "PH", 21.2f, 21.45f},
                 {"12", "CW", 24.89f, 24.93f}, {"12", "PH", 24.93f, 24.99f},
                 {"10", "CW", 28, 28.3f}, {"10", "PH", 28.3f, 29.7f}},
                kVhfUp})},
    {"A", join({kLowBands,
                {{"80", "CW", 3.525f, 3.6f}, {"80", "PH", 3.7f, 4}},
                kSixtyMetres,
                {{"40", "CW", 7.025f, 7.125f}, {"40", "PH", 7.125f, 7.3f}},
                kWarc,
                {{"20", "CW", 14.025f, 14.15f}, {"20", "PH", 14.175f, 14.35f},
                 {"17", "CW", 18.068f, 18.11f}, {"17", "PH", 18.11f, 18.168f},
                 {"15", "CW", 21.025f, 21.2f}, {"15", "PH", 21.225f, 21.45f},
                 {"12", "CW", 24.89f, 24.93f}, {"12", "PH", 24.93f, 24.99f},
                 {"10", "CW", 28, 28.3f}, {"10", "PH", 28.3f, 29.7f}},
                kVhfUp})},
    {"G", join({kLowBands,
                {{"80", "CW", 3.525f, 3.6f}, {"80", "PH", 3.8f, 4}},
                kSixtyMetres,
                {{"40", "CW", 7.025f, 7.125f}, {"40", "PH", 7.175f, 7.3f}},
                kWarc,
                {{"20", "CW", 14.025f, 14.15f}, {"20", "PH", 14.225f, 14.35f},
                 {"17", "CW", 18.068f, 18.11f}, {"17", "PH", 18.11f, 18.168f},
                 {"15", "CW", 21.025f, 21.2f}, {"15", "PH", 21.275f, 21.45f},
                 {"12", "CW", 24.89f, 24.93f}, {"12", "PH", 24.93f, 24.99f},
                 {"10", "CW", 28, 28.3f}, {"10", "PH", 28.3f, 29.7f}},
                kVhfUp})},
    {"T", join({{{"80", "CW", 3.525f, 3.6f}, {"40", "CW", 7.025f, 7.125f}, {"15", "CW", 21.025f, 21.2f},
                 {"10", "CW", 28, 28.3f}, {"10", "PH", 28.3f, 28.5f}},
                kVhfUp})},
    {"N", {{"80", "CW", 3.525f, 3.6f}, {"40", "CW", 7.025f, 7.125f}, {"15", "CW", 21.025f, 21.2f},
           {"10", "CW", 28, 28.3f}, {"10", "PH", 28.3f, 28.5f}, {"1.25", "PH", 222, 225},
           {"23cm", "PH", 1270, 1295}}},
};

std::vector<BandPlanRecord> classOf(const std::vector<BandPlanRecord>& records, const QString& licenceClass)
{
    std::vector<BandPlanRecord> out;
    std::copy_if(records.begin(), records.end(), std::back_inserter(out),
                 [&](const BandPlanRecord& r) { return r.licenceClass == licenceClass; });
    return out;
}

void expectSame(const std::vector<BandPlanRecord>& read, const std::vector<Segment>& typed,
                const QString& licenceClass)
{
    ASSERT_EQ(read.size(), typed.size()) << "class " << licenceClass.toStdString();
    const bool overall = licenceClass == u"O";
    for (size_t i = 0; i < typed.size(); ++i) {
        SCOPED_TRACE(licenceClass.toStdString() + " " + typed[i].band + " " + typed[i].mode);
        EXPECT_EQ(read[i].band, typed[i].band);
        if (!overall) {
            EXPECT_EQ(read[i].mode, typed[i].mode);
        }
        EXPECT_EQ(read[i].lowMHz, typed[i].low);
        EXPECT_EQ(read[i].highMHz, typed[i].high);
    }
}

TEST(ShippedBandPlan, HoldsEachClassAsTheRulesGiveIt)
{
    const BandPlanFile::Contents plan = BandPlanFile::read(kDataFolder);
    ASSERT_EQ(plan.problem, BandPlanFile::Problem::None);
    EXPECT_EQ(plan.records.size(), 144u);
    EXPECT_FALSE(plan.effective.isEmpty());

    expectSame(classOf(plan.records, "O"), kOverall, "O");
    for (const QString& licenceClass : kByClass.keys())
        expectSame(classOf(plan.records, licenceClass), kByClass[licenceClass], licenceClass);
    // Technician Plus has the Technician's privileges.
    expectSame(classOf(plan.records, "P"), kByClass["T"], "P");
}

TEST(ShippedBandPlan, KeepsEachBandsRecordsAfterItsOverallRecordAndFewerBandsThanTheWindowDraws)
{
    const BandPlanFile::Contents plan = BandPlanFile::read(kDataFolder);
    QString band;
    QMap<QString, QSet<QString>> bandsOfClass;
    for (const BandPlanRecord& r : plan.records) {
        EXPECT_TRUE(kBands.contains(r.band)) << r.band.toStdString();
        if (r.licenceClass == u"O")
            band = r.band;
        else
            bandsOfClass[r.licenceClass].insert(r.band);
        EXPECT_EQ(r.band, band) << "a record away from its band's overall record";
        EXPECT_LT(r.lowMHz, r.highMHz);
    }
    for (const auto& bands : bandsOfClass)
        EXPECT_LE(bands.size(), 18);
}

TEST(ShippedBandPlan, GivesTheRigTheModeForAFrequency)
{
    const SidebandTable table = SidebandTable::load(kDataFolder);
    EXPECT_EQ(table.sidebandFor(7.025f), "CW");
    EXPECT_EQ(table.sidebandFor(7.2f), "LSB");
    EXPECT_EQ(table.sidebandFor(14.2f), "USB");
    EXPECT_EQ(table.sidebandFor(1.9f), "");
    EXPECT_EQ(table.sidebandFor(5.332f), "USB");
}

}  // namespace
