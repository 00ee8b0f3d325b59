// The stream's edges as exact bytes. Each expected stream is written out field by field as
// worked out from the stream's definition; the comments give the codes that were derived.
#include "helpers.h"

#include <gtest/gtest.h>

namespace {

class EveryLevel : public ::testing::TestWithParam<short> {};
INSTANTIATE_TEST_SUITE_P(Levels, EveryLevel, ::testing::Values(0, 1, 2, 3, 4));

// Empty input: one block of the end symbol alone, which then takes no bits.
TEST_P(EveryLevel, EmptyInputIsSevenBytes)
{
    const Bytes expected = {0x00, 0x01, 0x00, 0x00, 0x1F, 0xE0, 0x00};
    BitWriter w;
    w.Put(16, 1);                         // N: the end symbol
    w.Str("00000 00000 000000000");       // one M symbol: no T lengths, no M lengths
    w.Put(9, 510);                        //   which is the end symbol
    w.Str("00000 00000");                 // one P symbol: class 0 (the end's distance)
    EXPECT_EQ(w.Finish(), expected);

    EngineRun packed = RunCompress({}, GetParam());
    EXPECT_EQ(packed.status, 0);
    EXPECT_EQ(packed.output, expected);
    EngineRun unpacked = RunDecompress(expected, GetParam());
    EXPECT_EQ(unpacked.status, 0);
    EXPECT_TRUE(unpacked.output.empty());
}

// a b c as literals, then abc again as a match of 3 at distance value 2, then the end.
// M: 97 len 3 code 110, 98 len 2 code 00, 99 len 2 code 01, 256 len 2 code 10,
//    510 len 3 code 111 (the first two out of the heap get the longer codes).
// T over the M lengths: T2 (runs of 20+) x3 len 2 code 10, T4 (length 2) len 1 code 0,
//    T5 (length 3) len 2 code 11. P: classes 0 and 2, one bit each.
Bytes AbcAbcStream()
{
    BitWriter w;
    w.Put(16, 5);
    w.Str("00110 000 000 010 01 001 010");   // 6 T lengths: 0 0 2, 2-bit field: one zero, 1 2
    w.Put(9, 511);
    w.Str("10").Put(9, 97 - 20);             // zeros before 'a'
    w.Str("11 0 0");                         // 97: 3, 98: 2, 99: 2
    w.Str("10").Put(9, 156 - 20);            // zeros up to 255
    w.Str("0");                              // 256: 2
    w.Str("10").Put(9, 253 - 20);            // zeros up to 509
    w.Str("11");                             // 510: 3
    w.Str("00011 001 000 001");              // P lengths: class 0: 1, class 1: 0, class 2: 1
    w.Str("110 00 01");                      // a b c
    w.Str("10 1 0");                         // match 3: class 2, low bit of 2
    w.Str("111 0");                          // end, class 0
    return w.Finish();
}

TEST_P(EveryLevel, AbcAbcIsThreeLiteralsAndOneMatch)
{
    const Bytes expected = AbcAbcStream();
    EXPECT_EQ(expected, (Bytes{0x00, 0x05, 0x30, 0x09, 0x2B, 0xFF, 0x13, 0x72, 0x44, 0x27, 0x4E, 0x32,
                               0x0E, 0x1A, 0xE0}));
    const Bytes input = {'a', 'b', 'c', 'a', 'b', 'c'};
    EXPECT_EQ(RunCompress(input, GetParam()).output, expected);
    EXPECT_EQ(RunDecompress(expected, GetParam()).output, input);
}

// 600 equal bytes: one literal, matches of 256 and 256 at distance value 0, and the 87 left
// as one more match. M: 120, 340 (length 87), 509, 510, all of length 2: 00 01 10 11.
TEST_P(EveryLevel, RepeatedByteIsLiteralThenMatchesAtDistanceZero)
{
    BitWriter w;
    w.Put(16, 5);
    w.Str("00101 000 000 001 01 001");       // T2: 1, T4: 1 (code 0, code 1)
    w.Put(9, 511);
    w.Str("0").Put(9, 120 - 20).Str("1");
    w.Str("0").Put(9, 219 - 20).Str("1");
    w.Str("0").Put(9, 168 - 20).Str("1 1");
    w.Str("00000 00000");                    // P: class 0 only
    w.Str("00 10 10 01 11");
    const Bytes expected = w.Finish();
    const Bytes input(600, 'x');
    EXPECT_EQ(RunCompress(input, GetParam()).output, expected);
    EXPECT_EQ(RunDecompress(expected, GetParam()).output, input);
}

// Of two earlier "abc" with equal match lengths the nearer wins: both matches have
// distance value 3 (class 2, low bit 1), not 7.
// M: 88 010, 89 011, 97 100, 98 101, 99 110, 256 00, 510 111.
// T: T1 len 3 code 110, T2 len 2 code 10, T4 len 3 code 111, T5 len 1 code 0.
TEST(Stream, EqualLengthsTakeTheNearestCandidate)
{
    BitWriter w;
    w.Put(16, 8);
    w.Str("00110 000 011 010 01 011 001");   // T lengths 0 3 2, one zero, 3 1
    w.Put(9, 511);
    w.Str("10").Put(9, 88 - 20).Str("0 0");  // zeros, 'X' 'Y': 3
    w.Str("110").Put(4, 7 - 3);              // zeros 90-96
    w.Str("0 0 0");                          // abc: 3
    w.Str("10").Put(9, 156 - 20).Str("111"); // zeros, 256: 2
    w.Str("10").Put(9, 253 - 20).Str("0");   // zeros, 510: 3
    w.Str("00011 001 000 001");              // P: class 0 code 0, class 2 code 1
    w.Str("100 101 110 010");                // a b c X
    w.Str("00 1 1");                         // abc, distance value 3
    w.Str("011");                            // Y
    w.Str("00 1 1");                         // abc, distance value 3 again
    w.Str("111 0");
    const Bytes expected = w.Finish();
    const std::string text = "abcXabcYabc";
    const Bytes input(text.begin(), text.end());
    EXPECT_EQ(RunCompress(input, 4).output, expected);
    EXPECT_EQ(RunDecompress(expected, 4).output, input);
}

// At level 0 a run of 1 + 8 x 256 equal bytes crosses the 1024-byte window's end twice, in
// the coder (the mirrored bytes behind the window) and in the decoder (a wrapping copy).
// M: 120 len 2 code 10, 509 len 1 code 0, 510 len 2 code 11.
// T: T2 len 1 code 0, T3 len 2 code 10, T4 len 2 code 11.
TEST(Stream, MatchesAcrossTheWindowsEnd)
{
    BitWriter w;
    w.Put(16, 10);
    w.Str("00101 000 000 001 00 010 010");
    w.Put(9, 511);
    w.Str("0").Put(9, 120 - 20).Str("11");
    w.Str("0").Put(9, 388 - 20).Str("10 11");
    w.Str("00000 00000");
    w.Str("10").Repeat("0", 8).Str("11");
    const Bytes expected = w.Finish();
    const Bytes input(1 + 8 * 256, 'x');
    EXPECT_EQ(RunCompress(input, 0).output, expected);
    EXPECT_EQ(RunDecompress(expected, 0).output, input);
}

// A literal and then matches of 256: the first group of eight takes 23 bytes of the code
// buffer, every later one 25. Group 327 starts at 8173 bytes, the first start at 8162 or
// more, so the first block holds 327 x 8 = 2616 symbols; the last match and the end symbol
// form the second block.
TEST(Stream, BlockIsSentWhenAGroupStartsAt8162Bytes)
{
    BitWriter w;
    // Block 1. M: 120 code 0, 509 code 1. T: T2 code 0, T3 code 1.
    w.Put(16, 2616);
    w.Str("00100 000 000 001 00 001");
    w.Put(9, 510);
    w.Str("0").Put(9, 120 - 20).Str("1");
    w.Str("0").Put(9, 388 - 20).Str("1");
    w.Str("00000 00000");
    w.Str("0").Repeat("1", 2615);
    // Block 2. M: 509 code 0, 510 code 1.
    w.Put(16, 2);
    w.Str("00100 000 000 001 00 001");
    w.Put(9, 511);
    w.Str("0").Put(9, 509 - 20).Str("1 1");
    w.Str("00000 00000");
    w.Str("0 1");
    const Bytes expected = w.Finish();
    const Bytes input(1 + 2616 * 256, 'x');
    EXPECT_EQ(RunCompress(input, 4).output, expected);
    EXPECT_EQ(RunDecompress(expected, 4).output, input);
}

// A one-symbol block (M lengths count 0) serves its N symbols in no bits at all.
TEST(Stream, OneSymbolBlockTakesNoBits)
{
    BitWriter w;
    w.Put(16, 4).Str("00000 00000 000000000").Put(9, 'Q').Str("00000 00000");
    w.Put(16, 1).Str("00000 00000 000000000").Put(9, 510).Str("00000 00000");
    EngineRun run = RunDecompress(w.Finish(), 2);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, Bytes(4, 'Q'));
}

// A stream that breaks off: the decoder goes on with filler bytes and stops after the fifth
// read that brings nothing, with whatever it decoded and status 0.
TEST(Stream, CompressedLengthShorterThanTheStream)
{
    Bytes input = StitchLikeBytes(200000, 7);
    Bytes stream = RunCompress(input, 4).output;
    ASSERT_GT(stream.size(), 20000u);
    long cut = (long)stream.size() / 2;

    Bytes copy = stream;
    ALMemory in("input", copy.data(), (long)copy.size());
    ALMemory out("output");
    ALGlDecompressor engine(4);
    ASSERT_EQ(in.Open(), 0); // left open by Decompress, so its position can be seen
    EXPECT_EQ(engine.Decompress(in, out, cut), 0);
    EXPECT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Tell(), cut); // never read past the given length
    Bytes output(out.GetBuffer(), out.GetBuffer() + out.GetSize());
    size_t common = 0;
    while (common < output.size() && common < input.size() && output[common] == input[common]) ++common;
    EXPECT_GT(common, input.size() / 4);
    EXPECT_LT(common, input.size());

    EngineRun whole = RunDecompress(stream, 4, (long)stream.size());
    EXPECT_EQ(whole.status, 0);
    EXPECT_EQ(whole.output, input);
}

} // namespace
