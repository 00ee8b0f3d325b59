#include "core/sample_design.h"

#include <cmath>

namespace {

void Add(StitchList& l, double x, double y, unsigned char type = 0)
{
    l.points.push_back(tagPOINT{(int32_t)std::lround(x), (int32_t)std::lround(y)});
    l.types.push_back(type);
    ++l.nStitches;
}

void StartBlock(StitchList& l, int color)
{
    l.colors[(size_t)l.nColors] = COLORCHG{(int32_t)l.nStitches, (uint16_t)color, 0, 0};
    ++l.nColors;
}

} // namespace

void MakeSampleDesign(StitchList& l)
{
    l.Clear();
    const double pi = 3.14159265358979;

    // Block 0: a spiral around (-25 mm, -25 mm), then a 20 mm move and a zigzag row.
    StartBlock(l, 3);
    for (int i = 0; i < 400; ++i) {
        double a = i * 0.12, r = 200 + i * 4.0;
        Add(l, -2500 + r * std::cos(a), -2500 + r * std::sin(a));
    }
    tagPOINT last = l.points.back();
    Add(l, last.x + 2000, last.y); // longer than one 12.1 mm record
    for (int i = 0; i < 100; ++i) Add(l, last.x + 2000 + i * 25, last.y + (i % 2 ? 300 : -300));

    // Block 1: a satin column in the upper right, reached after a trim.
    StartBlock(l, 2);
    for (int i = 0; i < 500; ++i) {
        double t = i / 500.0;
        double cx = 1000 + 3000 * t, cy = -3500 + 1200 * std::sin(t * pi);
        Add(l, cx + (i % 2 ? 250 : -250), cy + (i % 2 ? 150 : -150), i == 0 ? 3 : 0);
    }

    // Block 2: rows of running stitches in the lower left, each row reached by a jump.
    StartBlock(l, 1);
    for (int row = 0; row < 10; ++row) {
        for (int i = 0; i < 50; ++i) {
            unsigned char type = row == 0 && i == 0 ? 3 : i == 0 ? 1 : 0;
            Add(l, -4000 + i * 60, 800 + row * 250, type);
        }
    }

    // Block 3: a filled circle in the lower right, reached after a trim.
    StartBlock(l, 5);
    for (int i = 0; i < 500; ++i) {
        double a = i * 2 * pi / 50.0;
        double r = 300 + (i / 50) * 150.0;
        Add(l, 2500 + r * std::cos(a), 2500 + r * std::sin(a), i == 0 ? 3 : 0);
    }

    WriteClosingRecord(l.colors.data(), l.nColors, l.nStitches);
}
