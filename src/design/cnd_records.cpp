#include "design/cnd_records.h"

#include "design/cnd.h"

#include <cstdlib>
#include <stdexcept>

namespace cndrec {

uint16_t EncodeNumber(int n)
{
    if (n < 0 || n > 32767) throw std::out_of_range("CND number out of range");
    if (n <= 128) return (uint16_t)n;
    // The decoder takes 128 off (v + 127) / 256 times; this many 128s put back lead there.
    return (uint16_t)(n + 128 * ((n + 127) / 128));
}

uint16_t EncodeAngle(int tenths)
{
    if (tenths < 0 || tenths > 3400) throw std::out_of_range("CND angle out of range");
    // The angle code skips values at irregular steps; the smallest raw value that decodes
    // to the angle is found by walking up from it.
    for (int v = tenths; v <= 65535; ++v)
        if (CCnd::TranslateAngle(v) == tenths) return (uint16_t)v;
    throw std::out_of_range("CND angle has no code");
}

namespace {

// One coordinate: the raw value, whether it needs the 0x4000 flag, and its sign.
struct Coord {
    uint16_t raw;
    bool big;
    bool negative;
};

Coord EncodeCoord(int32_t v)
{
    if (v < -kMaxCoordinate || v > kMaxCoordinate) throw std::out_of_range("CND coordinate out of range");
    int32_t a = std::abs(v);
    int q = (a + 5) / 10;  // the file's unit is 0.1 mm after the division by 6
    int r = 6 * q;         // (6q + 3) / 6 = q
    Coord c{0, false, v < 0};
    if (r > 32767) {
        c.big = true;
        r -= 0x4000;
    }
    c.raw = EncodeNumber(r);
    return c;
}

} // namespace

CndWriter& CndWriter::Point(Kind kind, tagPOINT pt)
{
    Coord x = EncodeCoord(pt.x), y = EncodeCoord(pt.y);
    uint8_t b0 = (uint8_t)kind;
    if (x.big) b0 |= 0x10;
    if (y.big) b0 |= 0x08;
    if (y.negative && pt.y != 0) b0 |= 0x20;
    if (x.negative && pt.x != 0) b0 |= 0x40;
    return Raw(b0, (uint8_t)(x.raw >> 8), (uint8_t)x.raw, (uint8_t)(y.raw >> 8), (uint8_t)y.raw);
}

CndWriter& CndWriter::Command(uint8_t code, uint8_t sub, uint16_t value)
{
    return Raw(0x07, code, sub, (uint8_t)(value >> 8), (uint8_t)value);
}

CndWriter& CndWriter::Raw(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4)
{
    m_Bytes.insert(m_Bytes.end(), {b0, b1, b2, b3, b4});
    return *this;
}

std::vector<uint8_t> CndWriter::Cnd() const
{
    std::vector<uint8_t> out = m_Bytes;
    out.insert(out.end(), 5, 0);
    return out;
}

std::vector<uint8_t> CndWriter::Kwc(const std::vector<uint8_t>& colorTable) const
{
    std::vector<uint8_t> out;
    out.reserve(m_Bytes.size() + 6 + colorTable.size());
    out.push_back(1);
    out.insert(out.end(), m_Bytes.begin(), m_Bytes.end());
    out.insert(out.end(), 5, 0);
    out.insert(out.end(), colorTable.begin(), colorTable.end());
    return out;
}

std::vector<uint8_t> CndWriter::Dem(const std::vector<uint8_t>& colorTable) const
{
    std::vector<uint8_t> out = Kwc(colorTable);
    Scramble(out);
    return out;
}

void CndWriter::Scramble(std::vector<uint8_t>& bytes)
{
    for (size_t p = 0; p < bytes.size(); ++p) bytes[p] ^= (uint8_t)(p & 0xFF);
}

namespace {

// One record of the demo design: an operation and its values.
struct DemoRecord {
    char op;  // P run point, R rail or section mark, A arc point or end of fill, C colour change,
              // J jump, N reset, T triple, L run length, D satin density, F fill type and
              // spacing, G fill angle (tenths of a degree), H fill stitch length
    int a, b;
};

// In 0.01 mm: a run around three sides of a square and back along an arc; a satin column
// along the top, its last segment bent through a middle point; a fill in the square's
// lower half, its sides bending out; a last run sewn three times over.
const DemoRecord kDemo[] = {
    {'L', 250, 0},    {'P', 0, 0},       {'P', 4000, 0},    {'P', 4000, 4000}, {'P', 0, 4000},
    {'A', 1200, 2000}, {'P', 0, 0},

    {'C', 0, 0},      {'D', 40, 0},      {'J', 0, 0},       {'P', 0, 4600},    {'N', 0, 0},
    {'R', 0, 5200},   {'R', 800, 4600},  {'R', 800, 5200},  {'R', 1600, 4600}, {'R', 1600, 5200},
    {'R', 2400, 4600}, {'R', 2400, 5200}, {'A', 3200, 5300}, {'R', 4000, 4600}, {'R', 4000, 5200},

    {'C', 0, 0},      {'J', 0, 0},       {'P', 500, 500},   {'N', 0, 0},
    {'F', 1, 42},     {'G', 900, 0},     {'H', 380, 0},
    {'P', 500, 500},  {'P', 3500, 500},  {'P', 3500, 1900}, {'P', 500, 1900},
    {'R', 0, 0},      {'P', 3700, 1200}, {'R', 0, 0},       {'R', 0, 0},       {'P', 300, 1200},
    {'A', 0, 0},

    {'C', 0, 0},      {'J', 0, 0},       {'P', 500, 3000},  {'N', 0, 0},
    {'T', 0, 0},      {'P', 500, 3000},  {'P', 3500, 3000},
};

} // namespace

CndWriter DemoDesign()
{
    // Machines centre the hoop on the origin: so is the design.
    constexpr int32_t dx = -2000, dy = -2800;
    CndWriter w;
    for (const DemoRecord& r : kDemo) {
        switch (r.op) {
        case 'P': w.Point(kRunPoint, r.a + dx, r.b + dy); break;
        case 'R': w.Point(kRailPoint, r.a + dx, r.b + dy); break;
        case 'A': w.Point(kArcPoint, r.a + dx, r.b + dy); break;
        case 'C': w.ColorChange(); break;
        case 'J': w.Jump(); break;
        case 'N': w.Reset(); break;
        case 'T': w.Triple(); break;
        case 'L': w.RunLength(r.a); break;
        case 'D': w.SatinDensity(r.a); break;
        case 'F': w.FillType(r.a, r.b); break;
        case 'G': w.FillAngle(r.a); break;
        case 'H': w.FillLength(r.a); break;
        default: break;
        }
    }
    return w;
}

} // namespace cndrec
