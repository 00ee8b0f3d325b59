// Writing condensed CND records: the inverse of what CCnd decodes, for the built-in demo
// design, tests, benchmarks and fuzz seeds. Internal to the library.
#pragma once

#include "core/stitch.h"

#include <cstdint>
#include <vector>

namespace cndrec {

// Record kinds of coordinate records.
enum Kind : uint8_t { kRunPoint = 1, kRailPoint = 2, kArcPoint = 3 };

// Command codes the reader knows.
enum Code : uint8_t {
    kTrim = 0x06,
    kFill = 0x07,
    kJump = 0x09,
    kReset = 0x0A,
    kColorCommand = 0x0D,
    kSatinDensity = 0x13,
    kRunLength = 0x14,
    kTriple = 0x15,
    kRunValue = 0x19,
    kMachineCode = 0x1A,
    kCode2 = 0x1D,
    kColorChange = 0x2D,
    kComplexFill = 0x80,
};

// Sub-codes of the fill command 0x07 (fill types 1 to 8 are sub-codes 0 to 7).
enum FillSub : uint8_t { kFillSpacing = 0x12, kFillLength = 0x14, kFillAngle = 0x15 };

// The raw 16-bit value that decodes (CCnd::TranslateNumber) to n, 0 <= n <= 32767.
uint16_t EncodeNumber(int n);
// The raw value whose angle decodes (CCnd::TranslateAngle) to tenths, 0 <= tenths <= 3400.
uint16_t EncodeAngle(int tenths);
// The smallest and largest coordinate (0.01 mm) a record can carry.
constexpr int32_t kMaxCoordinate = 81700;

class CndWriter {
public:
    // A coordinate record of the given kind. Coordinates are rounded to the file's 0.1 mm
    // and must lie within +-kMaxCoordinate.
    CndWriter& Point(Kind kind, tagPOINT pt);
    CndWriter& Point(Kind kind, int32_t x, int32_t y) { return Point(kind, tagPOINT{x, y}); }
    // A command record with a raw value.
    CndWriter& Command(uint8_t code, uint8_t sub = 0, uint16_t value = 0);
    // A command record whose value decodes to n.
    CndWriter& CommandNumber(uint8_t code, uint8_t sub, int n) { return Command(code, sub, EncodeNumber(n)); }
    // Any five bytes.
    CndWriter& Raw(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);

    // The usual commands.
    CndWriter& ColorChange() { return Command(kColorChange); }
    CndWriter& RunLength(int n) { return CommandNumber(kRunLength, 0, n); }
    CndWriter& SatinDensity(int n) { return CommandNumber(kSatinDensity, 0, n); }
    CndWriter& Jump() { return Command(kJump); }
    CndWriter& Trim() { return Command(kTrim); }
    CndWriter& Triple() { return Command(kTriple); }
    CndWriter& Reset() { return Command(kReset); }
    // The fill command that starts a fill: fill type 1 to 8, spacing value n (x 10).
    CndWriter& FillType(int type, int n) { return CommandNumber(kFill, (uint8_t)(type - 1), n); }
    CndWriter& FillAngle(int tenths) { return Command(kFill, kFillAngle, EncodeAngle(tenths)); }
    CndWriter& FillLength(int n) { return CommandNumber(kFill, kFillLength, n); }

    // The records so far with the end record, as a ".cnd" file.
    std::vector<uint8_t> Cnd() const;
    // As a ".kwc" file: the header byte, the records, the end record and the colour table.
    std::vector<uint8_t> Kwc(const std::vector<uint8_t>& colorTable) const;
    // As a ".dem" file: the ".kwc" bytes, each XORed with its offset.
    std::vector<uint8_t> Dem(const std::vector<uint8_t>& colorTable) const;
    // The records alone, without the end record.
    const std::vector<uint8_t>& Records() const { return m_Bytes; }
    size_t RecordCount() const { return m_Bytes.size() / 5; }

    // Each byte at file offset p XORed with p & 0xFF (the same operation scrambles and
    // descrambles).
    static void Scramble(std::vector<uint8_t>& bytes);

private:
    std::vector<uint8_t> m_Bytes;
};

// The built-in condensed demo design: runs, an arc, a satin column, a fill and colour
// changes (held as data); Cnd(), Kwc() or Dem() give its file.
CndWriter DemoDesign();

} // namespace cndrec
