// The compressor and decompressor objects: levels, the stored copy, the fail-uncompressible
// fallback, storage errors, corrupt streams and round trips.
#include "helpers.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kLevelFiveText[] =
    "Incorrect compression level parameter passed to compressor.  Compression level = 5";

TEST(Engine, LevelFiveFailsInBothDirectionsAndWritesNothing)
{
    EngineRun packed = RunCompress(Bytes(100, 'a'), 5);
    EXPECT_EQ(packed.status, AL_ILLEGAL_PARAMETER);
    EXPECT_EQ(packed.detail, kLevelFiveText);
    EXPECT_TRUE(packed.output.empty());

    EngineRun unpacked = RunDecompress(RunCompress(Bytes(100, 'a'), 4).output, 5);
    EXPECT_EQ(unpacked.status, AL_ILLEGAL_PARAMETER);
    EXPECT_EQ(unpacked.detail, kLevelFiveText);
    EXPECT_TRUE(unpacked.output.empty());

    EXPECT_EQ(RunCompress(Bytes(10, 'a'), -3).detail,
              "Incorrect compression level parameter passed to compressor.  Compression level = -3");
}

TEST(Engine, LevelMinusOneIsAStoredCopy)
{
    Bytes input = RandomBytes(10000, 1);
    EngineRun packed = RunCompress(input, -1);
    EXPECT_EQ(packed.status, 0);
    EXPECT_EQ(packed.output, input);

    EngineRun all = RunDecompress(input, -1);
    EXPECT_EQ(all.output, input);
    EXPECT_EQ(RunDecompress(input, -1, 1234).output, Bytes(input.begin(), input.begin() + 1234));
    EXPECT_TRUE(RunDecompress(input, -1, 0).output.empty());
}

TEST(Engine, FailUncompressibleFallsBackToAStoredCopyAndStaysThere)
{
    Bytes noise = RandomBytes(5000, 2);
    Bytes copy = noise;
    ALMemory in("noise", copy.data(), (long)copy.size());
    ALMemory out("out");
    ALGlCompressor engine(3, 1);
    EXPECT_EQ(engine.Compress(in, out), 0);
    EXPECT_EQ(engine.CompressionLevel(), -1);
    EXPECT_EQ(Bytes(out.GetBuffer(), out.GetBuffer() + out.GetSize()), noise);

    // Later calls copy without coding, even data that would compress well.
    Bytes text(5000, 'z');
    ALMemory in2("text", text.data(), (long)text.size());
    ALMemory out2("out2");
    EXPECT_EQ(engine.Compress(in2, out2), 0);
    EXPECT_EQ(out2.GetSize(), 5000);

    // Compressible data keeps its stream and its level.
    EngineRun packed = RunCompress(Bytes(5000, 'z'), 3, 1);
    EXPECT_LT(packed.output.size(), 100u);
    EXPECT_EQ(RunDecompress(packed.output, 3).output, Bytes(5000, 'z'));

    // The empty input's 7-byte stream is longer than nothing: a stored copy of nothing.
    EXPECT_TRUE(RunCompress({}, 4, 1).output.empty());
    // Without the flag noise comes out longer than it went in.
    EXPECT_GT(RunCompress(noise, 3).output.size(), noise.size());
}

TEST(Engine, FallbackIsMeasuredFromTheInputsPosition)
{
    // 6000 compressible bytes, then 3000 of noise that is compressed from position 6000: the
    // stored copy must replace the whole stream, leaving nothing of it behind.
    Bytes data(6000, 'q');
    Bytes noise = RandomBytes(3000, 3);
    data.insert(data.end(), noise.begin(), noise.end());
    ALMemory in("data", data.data(), (long)data.size());
    ASSERT_EQ(in.Open(), 0);
    ASSERT_EQ(in.Seek(6000), 0);
    ALMemory out("out");
    ALGlCompressor engine(4, 1);
    EXPECT_EQ(engine.Compress(in, out), 0);
    EXPECT_EQ(engine.CompressionLevel(), -1);
    EXPECT_EQ(Bytes(out.GetBuffer(), out.GetBuffer() + out.GetSize()), noise);
}

TEST(Engine, StoragesOpenedByTheCallerStayOpenAndKeepTheirPlace)
{
    Bytes data(1000, 'k');
    ALMemory in("in", data.data(), (long)data.size());
    ALMemory out("out");
    ASSERT_EQ(in.Open(), 0);
    ASSERT_EQ(out.Create(), 0);
    ASSERT_EQ(in.Seek(400), 0);
    out.WriteBuffer((const unsigned char*)"HEAD", 4);
    ALGlCompressor engine(0);
    ASSERT_EQ(engine.Compress(in, out), 0);
    EXPECT_TRUE(in.IsOpen());
    EXPECT_TRUE(out.IsOpen());
    long streamEnd = out.Tell();
    out.Close();

    Bytes packed(out.GetBuffer(), out.GetBuffer() + out.GetSize());
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 4), "HEAD");
    EXPECT_EQ(streamEnd, (long)packed.size());
    Bytes stream(packed.begin() + 4, packed.end());
    EXPECT_EQ(RunDecompress(stream, 0).output, Bytes(600, 'k'));
}

TEST(Engine, StorageErrorsAreReturnedAsTheyStand)
{
    Bytes input = StitchLikeBytes(50000, 4);
    char small[100];
    ALMemory in("in", input.data(), (long)input.size());
    ALMemory tooSmall("tiny", small, sizeof small);
    ALGlCompressor engine(4);
    EXPECT_EQ(engine.Compress(in, tooSmall), AL_WRITE_ERROR);
    EXPECT_STREQ(engine.mStatus.GetStatusDetail(),
                 "Attempt to write past the end of a user owned buffer for ALMemory tiny");

    // A storage already in error makes the call return its status before anything happens.
    ALMemory broken("broken");
    broken.mStatus.SetError(AL_READ_ERROR, "already broken");
    ALMemory out("out");
    EXPECT_EQ(engine.Compress(broken, out), AL_READ_ERROR);
    EXPECT_EQ(out.GetSize(), 0);
    ALGlDecompressor decoder(4);
    EXPECT_EQ(decoder.Decompress(broken, out), AL_READ_ERROR);
    EXPECT_STREQ(decoder.mStatus.GetStatusDetail(), "already broken");

    // Decoding into too small a buffer ends at the first window that does not fit.
    Bytes stream = RunCompress(input, 0).output;
    ALMemory packed("packed", stream.data(), (long)stream.size());
    ALMemory tooSmall2("tiny2", small, sizeof small);
    EXPECT_EQ(ALGlDecompressor(0).Decompress(packed, tooSmall2), AL_WRITE_ERROR);
}

TEST(Engine, CloneCreatorsAndEngineData)
{
    ALGlCompressor engine(2, 1);
    for (int type : {-1, 1}) {
        std::unique_ptr<ALGlCompressor> copy(engine.Clone(type));
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->CompressionLevel(), 2);
        // The flag came along: noise falls back to a stored copy.
        Bytes noise = RandomBytes(3000, 5);
        ALMemory in("in", noise.data(), (long)noise.size());
        ALMemory out("out");
        EXPECT_EQ(copy->Compress(in, out), 0);
        EXPECT_EQ(copy->CompressionLevel(), -1);
    }
    EXPECT_EQ(engine.Clone(0), nullptr);
    EXPECT_EQ(engine.Clone(2), nullptr);
    EXPECT_EQ(ALGlDecompressor(3).Clone(5), nullptr);
    std::unique_ptr<ALGlDecompressor> decoderCopy(ALGlDecompressor(3).Clone(1));
    ASSERT_TRUE(decoderCopy);
    EXPECT_EQ(decoderCopy->CompressionLevel(), 3);

    std::unique_ptr<ALGlCompressor> byDefault(newALGlCompressor(-2, 0));
    EXPECT_EQ(byDefault->CompressionLevel(), 4);
    std::unique_ptr<ALGlCompressor> atOne(newALGlCompressor(1, 0));
    EXPECT_EQ(atOne->CompressionLevel(), 1);
    std::unique_ptr<ALGlDecompressor> decoderByDefault(newALGlDecompressor(-2));
    EXPECT_EQ(decoderByDefault->CompressionLevel(), 4);

    ALMemory data("data");
    ASSERT_EQ(data.Create(), 0);
    EXPECT_EQ(ALGlCompressor(3).WriteEngineData(&data), 0);
    data.Close();
    ASSERT_EQ(data.GetSize(), 4);
    EXPECT_EQ(Bytes(data.GetBuffer(), data.GetBuffer() + 4), (Bytes{0x00, 0x02, 0x00, 0x03}));
    ASSERT_EQ(data.Open(), 0);
    ALGlDecompressor reader(0);
    EXPECT_EQ(reader.ReadEngineData(&data), 0);
    EXPECT_EQ(reader.CompressionLevel(), 3);
    EXPECT_EQ(reader.ReadEngineData(&data), AL_END_OF_FILE);
    EXPECT_EQ(reader.CompressionLevel(), 3);
}

// Corrupt block heads: whatever lengths or counts they announce, decoding ends with -1189
// and the bytes decoded before them.
struct CorruptHead {
    const char* name;
    const char* head; // the bits after the 16-bit N of the second block
    const char* detail;
};

const char kIncomplete[] = "Internal 1 error in Decompression routine";
const char kBadLengths[] = "Corrupt code lengths in Decompression routine";

const CorruptHead kCorruptHeads[] = {
    {"more T lengths than T symbols", "11111", kBadLengths},
    {"T length above 16", "00001 111 1111111111111", kBadLengths},
    {"incomplete T code", "00001 001", kIncomplete},
    {"overfull T code (sums to 2^17)", "00100 001 001 001 00 001", kIncomplete},
    {"single T symbol beyond the alphabet", "00000 10011", kBadLengths},
    {"M zero runs past the table", "00000 00010 111111111 000000000 111101011", kBadLengths},
    {"single M symbol beyond the alphabet", "00000 00000 000000000 111111111", kBadLengths},
    {"incomplete M code", "00000 00011 000000001", kIncomplete},
    {"more P lengths than P symbols", "00000 00000 000000000 001000001 10000", kBadLengths},
    {"single P symbol beyond the alphabet", "00000 00000 000000000 001000001 00000 01111", kBadLengths},
    {"incomplete P code", "00000 00000 000000000 001000001 00001 010", kIncomplete},
};

TEST(Engine, CorruptStreamsEndWithInternalErrorAndWhatWasDecoded)
{
    for (const auto& c : kCorruptHeads) {
        SCOPED_TRACE(c.name);
        BitWriter w;
        // First block: three 'A' in no bits.
        w.Put(16, 3).Str("00000 00000 000000000").Put(9, 'A').Str("00000 00000");
        w.Put(16, 1).Str(c.head);
        w.Repeat("0", 64);
        for (short level = 0; level <= 4; ++level) {
            EngineRun run = RunDecompress(w.Raw(), level);
            EXPECT_EQ(run.status, AL_INTERNAL_ERROR);
            EXPECT_EQ(run.detail, c.detail);
            EXPECT_EQ(run.output, Bytes(3, 'A'));
        }
    }
}

TEST(Engine, AnyBytesDecodeSafely)
{
    std::mt19937 rng(9);
    for (int i = 0; i < 300; ++i) {
        Bytes junk = RandomBytes(1 + rng() % 2000, rng());
        EngineRun run = RunDecompress(junk, (short)(i % 5));
        EXPECT_TRUE(run.status == 0 || run.status == AL_INTERNAL_ERROR) << run.status;
    }
}

struct RoundTripCase {
    const char* name;
    Bytes data;
};

class RoundTrip : public ::testing::TestWithParam<short> {};
INSTANTIATE_TEST_SUITE_P(Levels, RoundTrip, ::testing::Values(-1, 0, 1, 2, 3, 4));

TEST_P(RoundTrip, DataComesBackAtEveryLevel)
{
    const short level = GetParam();
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
        text += "Stitch " + std::to_string(i % 977) + " of colour " + std::to_string(i % 13) + "; ";
    const RoundTripCase cases[] = {
        {"one byte", {0x5A}},
        {"two bytes", {0x00, 0xFF}},
        {"random", RandomBytes(200000, 11)},
        {"stitch-like, several megabytes", StitchLikeBytes(3u << 20, 12)},
        {"text", Bytes(text.begin(), text.end())},
        {"zeros beyond a window", Bytes(70000, 0)},
        {"window-sized", RandomBytes(16384, 13)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineRun packed = RunCompress(c.data, level);
        ASSERT_EQ(packed.status, 0);
        EngineRun unpacked = RunDecompress(packed.output, level);
        ASSERT_EQ(unpacked.status, 0);
        EXPECT_TRUE(unpacked.output == c.data);
    }
}

TEST(RoundTripSize, StitchLikeDataShrinks)
{
    Bytes data = StitchLikeBytes(1u << 20, 14);
    size_t previous = data.size();
    for (short level = 0; level <= 4; ++level) {
        size_t size = RunCompress(data, level).output.size();
        EXPECT_LT(size, data.size() / 2) << "level " << level;
        EXPECT_LE(size, previous + previous / 50) << "level " << level;
        previous = size;
    }
}

} // namespace
