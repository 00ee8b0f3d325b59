#include "test_util.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace testutil;

namespace {

typedef std::set<std::pair<int, int>> Pixels;

Pixels SetPixels(const CEmbIcon& icon)
{
    Pixels p;
    CSize s = icon.GetSize();
    for (int y = 0; y < s.cy; ++y)
        for (int x = 0; x < s.cx; ++x)
            if (icon.GetPixel(x, y)) p.insert({x, y});
    return p;
}

} // namespace

// A 16 x 16 icon at one pixel per unit, the origin at pixel (8, 8).
TEST(EmbIcon, LinesOfEverySlopeClass)
{
    struct Case {
        const char* what;
        tagPOINT to;
        Pixels expected;
    } cases[] = {
        {"horizontal: only the ends", {5, 0}, {{8, 8}, {13, 8}}},
        {"vertical: only the ends (-5 rounds to -4)", {0, -5}, {{8, 8}, {8, 4}}},
        {"shorter than 3 in one direction", {6, 2}, {{8, 8}, {14, 10}}},
        {"short diagonal", {2, 2}, {{8, 8}, {10, 10}}},
        {"shallow", {6, 3}, {{8, 8}, {9, 9}, {10, 9}, {11, 10}, {12, 10}, {13, 11}, {14, 11}}},
        {"steep", {3, 6}, {{8, 8}, {9, 9}, {9, 10}, {10, 11}, {10, 12}, {11, 13}, {11, 14}}},
        {"diagonal walks along y", {4, 4}, {{8, 8}, {9, 9}, {10, 10}, {11, 11}, {12, 12}}},
        {"shallow, both negative", {-7, -4}, {{8, 8}, {7, 8}, {6, 8}, {5, 7}, {4, 7}, {3, 6}, {2, 5}}},
        {"shallow, falling", {6, -4}, {{8, 8}, {9, 8}, {10, 8}, {11, 7}, {12, 7}, {13, 6}, {14, 5}}},
        {"steep, leaving the icon", {3, 12}, {{8, 8}, {8, 9}, {9, 10}, {9, 11}, {9, 12}, {9, 13}, {10, 14}, {10, 15}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CEmbIcon icon;
        ASSERT_EQ(1, icon.Create(16, 16));
        ASSERT_EQ(1, icon.SetScale(16, 16));
        ASSERT_EQ(1, icon.MoveTo(0, 0));
        ASSERT_EQ(1, icon.LineTo(c.to));
        EXPECT_EQ(c.expected, SetPixels(icon));
    }
}

TEST(EmbIcon, ScaleRoundingAndTheCurrentPixel)
{
    CEmbIcon icon;
    ASSERT_EQ(1, icon.Create(40, 34));
    ASSERT_EQ(1, icon.SetScale(100, 50)); // the wider extent decides: 0.4 pixel per unit
    struct Case {
        int x;
        int px;
    } cases[] = {{0, 20}, {3, 21}, {-3, 20}, {-4, 19}, {50, 40}, {-50, 1}};
    for (const auto& c : cases) {
        ASSERT_EQ(1, icon.Create(40, 34));
        icon.MoveTo(c.x, 0);
        Pixels expected;
        if (c.px < 40) expected.insert({c.px, 17});
        EXPECT_EQ(expected, SetPixels(icon)) << c.x;
    }
    ASSERT_EQ(1, icon.SetScale(50, 100)); // now the height: 0.34
    ASSERT_EQ(1, icon.Create(40, 34));
    icon.MoveTo(0, 50);
    EXPECT_EQ(Pixels{}, SetPixels(icon)); // row 34 lies outside
    // Re-creating clears the pixels but keeps the pen where it was.
    icon.MoveTo(10, 10);
    ASSERT_EQ(1, icon.Create(40, 34));
    EXPECT_TRUE(SetPixels(icon).empty());
    icon.LineTo(10, 10);
    EXPECT_EQ((Pixels{{23, 20}}), SetPixels(icon));
}

TEST(EmbIcon, NothingWithoutABufferOrAScale)
{
    CEmbIcon icon;
    EXPECT_EQ(0, icon.MoveTo(1, 1));
    EXPECT_EQ(0, icon.LineTo(1, 1));
    EXPECT_EQ(0, icon.Create(0, 5));
    EXPECT_EQ(0, icon.Create(5, 0));
    EXPECT_EQ(CSize(0, 0), icon.GetSize());
    EXPECT_EQ(0, icon.SetScale(0, 10));
    EXPECT_EQ(0, icon.SetScale(10, 0));
    ASSERT_EQ(1, icon.Create(-24, -22)); // sizes count without their sign
    EXPECT_EQ(CSize(24, 22), icon.GetSize());
    // A smaller icon reuses the buffer; a larger one grows it.
    ASSERT_EQ(1, icon.Create(8, 2));
    ASSERT_EQ(1, icon.Create(128, 30));
    EXPECT_EQ(CSize(128, 30), icon.GetSize());
}

TEST(EmbIcon, IconLinesPackTheLeftmostPixelHighest)
{
    CEmbIcon icon;
    ASSERT_EQ(1, icon.Create(128, 4));
    ASSERT_EQ(1, icon.SetScale(128, 4)); // 1 pixel per unit, origin at (64, 2)
    for (int x : {-65, -56, 0, 63}) icon.MoveTo(x, -2); // x + 0.5 is cut toward 0
    const unsigned char* line = icon.GetIconLine(1);
    std::vector<unsigned char> expected(16, 0);
    expected[0] = 0x80;  // pixel 0
    expected[1] = 0x40;  // pixel 9
    expected[8] = 0x80;  // pixel 64
    expected[15] = 0x01; // pixel 127
    EXPECT_EQ(expected, std::vector<unsigned char>(line, line + 16));
    line = icon.GetIconLine(0);
    EXPECT_EQ(std::vector<unsigned char>(16, 0), std::vector<unsigned char>(line, line + 16));
    line = icon.GetIconLine(4); // beyond the last row
    EXPECT_EQ(std::vector<unsigned char>(16, 0), std::vector<unsigned char>(line, line + 16));
}

TEST(EmbIcon, ALineFarOutsideCostsNothing)
{
    CEmbIcon icon;
    ASSERT_EQ(1, icon.Create(48, 32));
    ASSERT_EQ(1, icon.SetScale(48, 32));
    auto t0 = std::chrono::steady_clock::now();
    icon.MoveTo(0, 0);
    icon.LineTo(2000000000, 900000000);
    icon.LineTo(-2000000000, -2000000000);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 0.5);
    Pixels p = SetPixels(icon);
    EXPECT_TRUE(p.count({24, 16}));
    EXPECT_TRUE(p.count({25, 17})); // the line toward the far point, as far as it is inside
    EXPECT_TRUE(p.count({41, 31}));
    EXPECT_EQ(18u, p.size());
}
