#include "bandplan/PrivilegesLayout.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

const PrivilegesLayout::Frame kFrame{1000, 800, 100, 1.5};

const std::vector<BandPlanRecord> kPlan{
    {"40", "O", "", 7, 7.3f},
    {"40", "E", "CW", 7, 7.125f},
    {"40", "E", "PH", 7.125f, 7.3f},
    {"40", "G", "PH", 7.175f, 7.3f},
    {"1.25", "O", "", 222, 225},
    {"1.25", "E", "PH", 222, 225},
    {"23cm", "O", "", 1240, 1300},
    {"23cm", "G", "PH", 1240, 1300},
};

TEST(PrivilegesLayout, PlacesBarsTagsAndSegmentsInProportion)
{
    const PrivilegesDrawing d = PrivilegesLayout::draw(kPlan, u"E", kFrame);
    EXPECT_TRUE(d.complete);
    ASSERT_EQ(d.bars.size(), 2u);
    ASSERT_EQ(d.tags.size(), 2u);
    ASSERT_EQ(d.segments.size(), 3u);

    // Two bars below the line at 100: spacing (800 - 100) / 2 * 0.8 = 280.
    const PrivilegeLabel& bar1 = d.bars[0];
    EXPECT_EQ(bar1.name, "blbl1");
    EXPECT_EQ(bar1.caption, "40");
    EXPECT_EQ(bar1.toolTip, "40  7.000 - 7.300");
    EXPECT_EQ(bar1.rect, QRectF(100, 380, 850, 32));
    EXPECT_EQ(bar1.backColour, 0x000000);
    EXPECT_EQ(bar1.textColour, 0x000000);
    EXPECT_EQ(d.bars[1].name, "blbl2");
    EXPECT_EQ(d.bars[1].rect, QRectF(100, 660, 850, 32));
    EXPECT_EQ(d.bars[1].toolTip, "1.25  222.000 - 225.000");

    const PrivilegeLabel& tag2 = d.tags[1];
    EXPECT_EQ(tag2.name, "bnlb2");
    EXPECT_EQ(tag2.caption, "1.25");
    EXPECT_EQ(tag2.toolTip, d.bars[1].toolTip);
    EXPECT_EQ(tag2.rect, QRectF(40, 660, 50, 32));
    EXPECT_EQ(tag2.backColour, 0x00FFFF);  // yellow
    EXPECT_EQ(tag2.font, PrivilegeLabel::Font::Tag);
    EXPECT_DOUBLE_EQ(tag2.pointSize, 12);

    const PrivilegeLabel& cw = d.segments[0];
    EXPECT_EQ(cw.name, "priv1");
    EXPECT_EQ(cw.caption, "7.000 - 7.125");
    EXPECT_EQ(cw.toolTip, "CW  7.000 - 7.125");
    EXPECT_NEAR(cw.rect.left(), 100, 1e-3);
    EXPECT_NEAR(cw.rect.width(), 850 * 0.125 / 0.3, 1e-3);
    EXPECT_EQ(cw.rect.top(), 380);
    EXPECT_EQ(cw.backColour, 0xFF0000);  // blue
    EXPECT_EQ(cw.textColour, 0xFFFFFF);
    EXPECT_EQ(cw.font, PrivilegeLabel::Font::Segment);
    EXPECT_DOUBLE_EQ(cw.pointSize, 10.5);

    const PrivilegeLabel& phone = d.segments[1];
    EXPECT_EQ(phone.toolTip, "PH  7.125 - 7.300");
    EXPECT_NEAR(phone.rect.left(), 100 + 850 * 0.125 / 0.3, 1e-3);
    EXPECT_NEAR(phone.rect.right(), 950, 1e-3);
    EXPECT_EQ(phone.backColour, 0x00FF00);  // green
    EXPECT_EQ(phone.textColour, 0x000000);

    // A segment over the whole band fills its bar exactly.
    EXPECT_EQ(d.segments[2].rect, d.bars[1].rect);
    EXPECT_EQ(d.segments[2].caption, "222.000 - 225.000");
}

TEST(PrivilegesLayout, ShowsOnlyTheBandsOfTheClass)
{
    const PrivilegesDrawing g = PrivilegesLayout::draw(kPlan, u"G", kFrame);
    ASSERT_EQ(g.bars.size(), 2u);
    EXPECT_EQ(g.bars[0].caption, "40");
    EXPECT_EQ(g.bars[1].caption, "23cm");
    EXPECT_EQ(g.bars[1].toolTip, "23cm  1,240.000 - 1,300.000");
    EXPECT_EQ(g.segments.size(), 2u);

    const PrivilegesDrawing none = PrivilegesLayout::draw(kPlan, u"N", kFrame);
    EXPECT_TRUE(none.complete);
    EXPECT_TRUE(none.bars.empty());
    EXPECT_TRUE(none.tags.empty());
    EXPECT_TRUE(none.segments.empty());
    EXPECT_TRUE(PrivilegesLayout::draw(kPlan, u"e", kFrame).bars.empty());  // classes compare exactly
}

TEST(PrivilegesLayout, LeavesOutABandWhoseClassRecordsComeOnlyAfterAnotherBand)
{
    const std::vector<BandPlanRecord> plan{
        {"40", "O", "", 7, 7.3f},
        {"40", "G", "PH", 7.175f, 7.3f},
        {"20", "O", "", 14, 14.35f},
        {"20", "T", "CW", 14, 14.1f},
        {"40", "T", "CW", 7.025f, 7.125f},  // after the 20 m records: not part of 40 m
    };
    const PrivilegesDrawing d = PrivilegesLayout::draw(plan, u"T", kFrame);
    ASSERT_EQ(d.bars.size(), 1u);
    EXPECT_EQ(d.bars[0].caption, "20");
    ASSERT_EQ(d.segments.size(), 1u);
    EXPECT_EQ(d.segments[0].caption, "14.000 - 14.100");
}

TEST(PrivilegesLayout, StopsQuietlyAtABandWithEqualEdges)
{
    const std::vector<BandPlanRecord> plan{
        {"40", "O", "", 7, 7.3f},   {"40", "E", "CW", 7, 7.125f}, {"60", "O", "", 5.3f, 5.3f},
        {"60", "E", "PH", 5.3f, 5.3f}, {"20", "O", "", 14, 14.35f}, {"20", "E", "PH", 14.15f, 14.35f},
    };
    const PrivilegesDrawing d = PrivilegesLayout::draw(plan, u"E", kFrame);
    EXPECT_FALSE(d.complete);
    EXPECT_EQ(d.bars.size(), 3u);
    EXPECT_EQ(d.tags.size(), 3u);
    ASSERT_EQ(d.segments.size(), 1u);  // the 40 m segment; nothing from the 60 m one on
    EXPECT_EQ(d.segments[0].caption, "7.000 - 7.125");
}

TEST(PrivilegesLayout, DrawsTwentyBandsButNotTwentyOne)
{
    for (int bands : {20, 21}) {
        std::vector<BandPlanRecord> plan;
        for (int b = 0; b < bands; ++b) {
            const QString name = QString::number(b + 1);
            plan.push_back({name, "O", "", float(b), float(b) + 1});
            plan.push_back({name, "E", "CW", float(b), float(b) + 0.5f});
        }
        const PrivilegesDrawing d = PrivilegesLayout::draw(plan, u"E", kFrame);
        EXPECT_EQ(d.complete, bands == 20);
        EXPECT_EQ(d.bars.size(), bands == 20 ? 20u : 0u);
        EXPECT_EQ(d.segments.size(), bands == 20 ? 20u : 0u);
    }
}

TEST(PrivilegesLayout, ScalesFontsWithTheScreenUpToOneAndAHalf)
{
    EXPECT_DOUBLE_EQ(PrivilegesLayout::fontScale(640), 1);
    EXPECT_DOUBLE_EQ(PrivilegesLayout::fontScale(800), 1.25);
    EXPECT_DOUBLE_EQ(PrivilegesLayout::fontScale(1920), 1.5);
    EXPECT_DOUBLE_EQ(PrivilegesLayout::fontScale(320), 0.5);
}

}  // namespace
