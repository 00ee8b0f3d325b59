#include "test_util.h"

#include "design/cnd_object.h"
#include "design/emb_data.h"

#include <gtest/gtest.h>

namespace {

std::vector<tagPOINT> Points(CEmbObject& d)
{
    return std::vector<tagPOINT>(d.GetStitchData(), d.GetStitchData() + d.GetNoStitches());
}

bool SamePoint(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

} // namespace

TEST(CndObject, AddStitchesByType)
{
    CCndObject d;
    d.AddStitches(10, 20, SpecStTriple); // the first stitch goes back to the origin
    d.AddStitches(30, 40, SpecStJump);   // no point; the next one follows a trim
    EXPECT_TRUE(SamePoint(tagPOINT{30, 40}, d.m_ptLastStitch));
    d.AddStitches(50, 60, SpecStNormal);
    d.AddStitches(70, 80, SpecStCode2);  // nothing but the needle position
    auto p = Points(d);
    ASSERT_EQ(4u, p.size());
    EXPECT_TRUE(SamePoint(tagPOINT{10, 20}, p[0]));
    EXPECT_TRUE(SamePoint(tagPOINT{0, 0}, p[1]));
    EXPECT_TRUE(SamePoint(tagPOINT{10, 20}, p[2]));
    EXPECT_TRUE(SamePoint(tagPOINT{50, 60}, p[3]));
    EXPECT_EQ(kTrimType, d.GetStitchType()[3]);
    EXPECT_EQ(0, d.GetStitchType()[2]);
    EXPECT_TRUE(SamePoint(tagPOINT{70, 80}, d.m_ptLastStitch));
}
