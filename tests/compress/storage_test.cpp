// Storages and the status object as the engines and the archive reader use them.
#include "helpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <zlib.h>
#include <fstream>
#include <unistd.h>

namespace {

std::string TempPath(const char* stem)
{
    return ::testing::TempDir() + stem + std::to_string(::getpid());
}

TEST(Status, EveryCodeHasItsNameAndTheDetailIsFormatted)
{
    const std::pair<int, const char*> names[] = {
        {0, "Success"},
        {-1, "End of file"},
        {-1174, "Missing Crypto engine"},
        {-1175, "Invalid key"},
        {-1176, "Duplicate entry"},
        {-1177, "Error getting selections from list box"},
        {-1178, "Could not create backup"},
        {-1179, "Logic error"},
        {-1180, "Invalid archive"},
        {-1181, "Unknown type of storage object"},
        {-1182, "Unknown compression type"},
        {-1183, "Comparison error"},
        {-1184, "CRC Error"},
        {-1185, "Missing length parameter"},
        {-1186, "Mismatch in compression type"},
        {-1187, "Server not present"},
        {-1188, "User abort"},
        {-1189, "Internal error"},
        {-1190, "Illegal parameter"},
        {-1191, "File deletion error"},
        {-1192, "Write error"},
        {-1193, "Read error"},
        {-1194, "Seek error"},
        {-1195, "Can't open file"},
        {-1196, "Error renaming file"},
        {-1197, "Can't create storage object"},
        {-1198, "Can't create compression engine"},
        {-1199, "Memory allocation failure"},
        {-1200, "Can't allocate buffer"},
    };
    for (const auto& [code, name] : names) {
        ALStatus status;
        status.SetError(code, nullptr);
        EXPECT_STREQ(status.GetStatusString(), name) << code;
        EXPECT_STREQ(status.GetStatusDetail(), name) << code;
    }
    for (int code : {-2, -1173, -1201, 5}) EXPECT_STREQ(ALStatusName(code), "Unknown error");

    ALStatus status;
    EXPECT_EQ(status.SetError(AL_CRC_ERROR, "CRC32 was supposed to be %08lx, was %08lx", 0x1234UL, 0xABCDEF01UL),
              AL_CRC_ERROR);
    EXPECT_EQ((int)status, -1184);
    EXPECT_STREQ(status.GetStatusDetail(), "CRC32 was supposed to be 00001234, was abcdef01");
    status.Clear();
    EXPECT_EQ(status.GetStatusCode(), 0);
    EXPECT_STREQ(status.GetStatusDetail(), "Success");
}

TEST(Memory, OwnedBufferGrowsAndKeepsWhatWasWritten)
{
    ALMemory memory("grow");
    ASSERT_EQ(memory.Create(), 0);
    Bytes big = RandomBytes(100000, 21);
    EXPECT_EQ(memory.WriteBuffer(big.data(), big.size()), big.size());
    for (int i = 0; i < 5000; ++i) EXPECT_EQ(memory.WriteChar(i & 0xFF), i & 0xFF);
    EXPECT_EQ(memory.Tell(), 105000);
    EXPECT_EQ(memory.Close(), 0);
    ASSERT_EQ(memory.GetSize(), 105000);
    EXPECT_TRUE(std::equal(big.begin(), big.end(), memory.GetBuffer()));

    // Read back: single bytes, a buffer, then the end without an error.
    ASSERT_EQ(memory.Open(), 0);
    Bytes head(10);
    EXPECT_EQ(memory.ReadBuffer(head.data(), head.size()), 10u);
    EXPECT_EQ(head, Bytes(big.begin(), big.begin() + 10));
    EXPECT_EQ(memory.ReadChar(), big[10]);
    ASSERT_EQ(memory.Seek(104998), 0);
    Bytes tail(10);
    EXPECT_EQ(memory.ReadBuffer(tail.data(), tail.size()), 2u);
    EXPECT_EQ(memory.ReadBuffer(tail.data(), tail.size()), 0u);
    EXPECT_EQ(memory.ReadChar(), -1);
    EXPECT_EQ(memory.mStatus.GetStatusCode(), 0);

    // Seeking back and overwriting while writing keeps the size at what was reached.
    ASSERT_EQ(memory.Create(), 0);
    memory.WriteBuffer((const unsigned char*)"abcdef", 6);
    ASSERT_EQ(memory.Seek(2), 0);
    memory.WriteChar('X');
    EXPECT_EQ(memory.GetSize(), 6);
    memory.Close();
    EXPECT_EQ(std::string((const char*)memory.GetBuffer(), 6), "abXdef");
    EXPECT_NE(memory.Seek(0), 0); // not open
}

TEST(Memory, UserBufferIsNeverWrittenPastItsEnd)
{
    char buffer[8 + 4];
    std::memset(buffer, '#', sizeof buffer);
    ALMemory memory("fixed", buffer, 8);
    ASSERT_EQ(memory.Create(), 0);
    memory.WriteBuffer((const unsigned char*)"0123456789", 10);
    memory.Close();
    EXPECT_EQ(memory.mStatus.GetStatusCode(), AL_WRITE_ERROR);
    EXPECT_STREQ(memory.mStatus.GetStatusDetail(),
                 "Attempt to write past the end of a user owned buffer for ALMemory fixed");
    EXPECT_EQ(std::string(buffer, sizeof buffer), "01234567####");
    // After an error nothing more is read or written.
    EXPECT_EQ(memory.Open(), AL_WRITE_ERROR);
    EXPECT_EQ(memory.ReadChar(), -1);

    char data[] = "hello";
    ALMemory reader("r", data, 5);
    EXPECT_EQ(reader.GetSize(), 5);
    ASSERT_EQ(reader.Open(), 0);
    EXPECT_EQ(reader.Seek(6), AL_SEEK_ERROR);
}

TEST(Storage, Crc32CoversTheBytesThatPassThrough)
{
    char digits[] = "123456789";
    ALMemory memory("digits", digits, 9);
    ASSERT_EQ(memory.Open(), 0);
    memory.InitCrc32(0xFFFFFFFF);
    EXPECT_EQ(memory.ReadChar(), '1');
    unsigned char rest[8];
    EXPECT_EQ(memory.ReadBuffer(rest, 8), 8u);
    EXPECT_EQ(~memory.GetCrc32(), 0xCBF43926u);

    ALMemory written("written");
    ASSERT_EQ(written.Create(), 0);
    written.InitCrc32();
    written.WriteBuffer((const unsigned char*)digits, 9);
    EXPECT_EQ(~written.GetCrc32(), 0xCBF43926u);

    // Decompress keeps one over what it writes.
    Bytes input = StitchLikeBytes(30000, 22);
    Bytes stream = RunCompress(input, 4).output;
    ALMemory in("in", stream.data(), (long)stream.size());
    ALMemory out("out");
    ASSERT_EQ(ALGlDecompressor(4).Decompress(in, out), 0);
    EXPECT_EQ(~out.GetCrc32(), (uint32_t)crc32(0, input.data(), (unsigned)input.size()));
}

TEST(Storage, GlShortsAreBigEndian)
{
    ALMemory memory("shorts");
    ASSERT_EQ(memory.Create(), 0);
    memory.WriteGlShort(0x1234);
    memory.WriteGlShort(-2);
    memory.Close();
    EXPECT_EQ(Bytes(memory.GetBuffer(), memory.GetBuffer() + 4), (Bytes{0x12, 0x34, 0xFF, 0xFE}));
    ASSERT_EQ(memory.Open(), 0);
    short a = 0, b = 0, c = 7;
    EXPECT_EQ(memory.ReadGlShort(a), 0);
    EXPECT_EQ(memory.ReadGlShort(b), 0);
    EXPECT_EQ(memory.ReadGlShort(c), AL_END_OF_FILE);
    EXPECT_EQ(a, 0x1234);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(c, 7);
}

TEST(File, WritesReadsAndReportsOpenFailures)
{
    std::string path = TempPath("kw_file_storage");
    Bytes data = RandomBytes(50000, 23);
    {
        ALFile file(path.c_str());
        ASSERT_EQ(file.Create(), 0);
        EXPECT_EQ(file.WriteBuffer(data.data(), 1000), 1000u);
        for (size_t i = 1000; i < data.size(); ++i) file.WriteChar(data[i]);
        EXPECT_EQ(file.GetSize(), 50000);
        EXPECT_EQ(file.Close(), 0);
    }
    {
        ALFile file(path.c_str());
        EXPECT_EQ(file.GetSize(), 50000);
        ASSERT_EQ(file.Open(), 0);
        Bytes back(data.size() + 10);
        EXPECT_EQ(file.ReadBuffer(back.data(), back.size()), data.size());
        back.resize(data.size());
        EXPECT_EQ(back, data);
        ASSERT_EQ(file.Seek(49999), 0);
        EXPECT_EQ(file.ReadChar(), data[49999]);
        EXPECT_EQ(file.ReadChar(), -1);
        // Opened for reading only: a write fails and says so.
        ASSERT_EQ(file.Seek(0), 0);
        file.WriteBuffer(data.data(), 10);
        file.Close();
        EXPECT_EQ(file.mStatus.GetStatusCode(), AL_WRITE_ERROR);
    }
    std::remove(path.c_str());

    std::string missing = TempPath("kw_no_such_dir") + "/x.bin";
    ALFile absent(missing.c_str());
    EXPECT_EQ(absent.Open(), AL_CANT_OPEN_FILE);
    EXPECT_NE(std::string(absent.mStatus.GetStatusDetail()).find(missing), std::string::npos);
    EXPECT_FALSE(absent.IsOpen());
}

TEST(File, EngineRunsFileToFile)
{
    std::string plain = TempPath("kw_plain"), packed = TempPath("kw_packed"), back = TempPath("kw_back");
    Bytes data = StitchLikeBytes(300000, 24);
    std::ofstream(plain, std::ios::binary).write((const char*)data.data(), (std::streamsize)data.size());
    {
        ALFile in(plain.c_str()), out(packed.c_str());
        ASSERT_EQ(ALGlCompressor(0).Compress(in, out), 0);
    }
    {
        ALFile in(packed.c_str()), out(back.c_str());
        ASSERT_EQ(ALGlDecompressor(0).Decompress(in, out), 0);
    }
    std::ifstream result(back, std::ios::binary);
    Bytes got((std::istreambuf_iterator<char>(result)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(got == data);
    for (const auto& p : {plain, packed, back}) std::remove(p.c_str());
}

} // namespace
