#include "kwfilter.h"

#include <gtest/gtest.h>

TEST(ThreadTable, EntriesNamesAndRanges)
{
    struct Case {
        int index;
        const char* name;
        COLORREF color;
    } cases[] = {
        {0, "Black", RGB(0, 0, 0)},           {29, "Unknown", RGB(0xC6, 0xDF, 0xC6)},
        {30, "Prussian Blue", RGB(0x18, 0x08, 0x94)}, {94, "Not Defined", RGB(0xDE, 0xDF, 0xDE)},
        {95, "Black", RGB(0, 0, 0)},          {109, "Lt Gray", RGB(0xC0, 0xC0, 0xC0)},
        {111, "Black", RGB(0, 0, 0)},         {164, "Aquamariune", RGB(0x5D, 0xAE, 0x94)},
        {171, "Sinna", RGB(0x4D, 0x34, 0x19)}, {182, "Medow", RGB(0x4C, 0x88, 0x1F)},
        {80, "Dark Fuschia", RGB(0xDE, 0x14, 0x94)}, {188, "Canary Yellow", RGB(0xFF, 0xE5, 0x05)},
        {-1, "", RGB(0, 0, 0)},               {189, "", RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_STREQ(c.name, GetThreadName(c.index));
        EXPECT_EQ(c.color, GetThreadColor(c.index));
    }
    EXPECT_EQ(GetThreadColor(6), GetThreadColor(48));
    EXPECT_EQ("Grey\nGrey", GetThreadString(33506));
    EXPECT_EQ("Canary Yellow\nCanary Yellow", GetThreadString(33688));
    EXPECT_EQ("", GetThreadString(33689));
    for (int i = 0; i < kThreadCount; ++i) {
        size_t n = std::string(GetThreadName(i)).size();
        EXPECT_TRUE(n > 0 && n <= 19) << i;
    }
}
