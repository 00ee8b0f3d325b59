#include "test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace testutil;

namespace {

// A memory file that counts the reads the filter makes of it.
class CountingMemFile : public CMemFile {
public:
    explicit CountingMemFile(const std::vector<unsigned char>& bytes)
    {
        Write(bytes.data(), (UINT)bytes.size());
        SeekToBegin();
    }
    UINT Read(void* buffer, UINT count) override
    {
        ++reads;
        return CMemFile::Read(buffer, count);
    }
    int reads = 0;
};

std::vector<unsigned char> Pattern(size_t n)
{
    std::vector<unsigned char> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = (unsigned char)(i * 7 + i / 251);
    return v;
}

// A filter whose export writes a given number of bytes in small records.
class ByteFilter : public CFilter {
public:
    explicit ByteFilter(size_t bytes) : m_bytes(bytes) {}
    int ExportFile(const char* name, int, COLORCHG*, long nStitches, tagPOINT*, unsigned char*) override
    {
        return RunExport(name, nStitches, [&] {
            std::vector<unsigned char> rec(3, 0x55);
            for (size_t i = 0; i < m_bytes; i += 3)
                if (!Write(rec.data(), 3)) return 0;
            return 1;
        });
    }
    size_t m_bytes;
};

} // namespace

TEST(FilterRead, BufferServesReadsAndSpansItsEnd)
{
    auto bytes = Pattern(20000);
    for (int first : {1, 100, 4095, 4096}) {
        for (int second : {1, 2, 3000, 4095, 4096, 9000}) {
            SCOPED_TRACE(testing::Message() << first << " then " << second);
            CountingMemFile mem(bytes);
            CFilter f;
            f.m_pFile = &mem;
            ASSERT_TRUE(f.OpenFile("unused", 0));
            std::vector<unsigned char> a((size_t)first), b((size_t)second);
            ASSERT_EQ(1, f.Read(a.data(), first));
            ASSERT_EQ(1, f.Read(b.data(), second));
            EXPECT_TRUE(std::equal(a.begin(), a.end(), bytes.begin()));
            EXPECT_TRUE(std::equal(b.begin(), b.end(), bytes.begin() + first));
        }
    }
}

TEST(FilterRead, ExactRemainderTakesNothingFromTheFile)
{
    CountingMemFile mem(Pattern(10000));
    CFilter f;
    f.m_pFile = &mem;
    f.OpenFile(nullptr, 0);
    unsigned char buf[4096];
    ASSERT_EQ(1, f.Read(buf, 96));
    EXPECT_EQ(1, mem.reads);
    ASSERT_EQ(1, f.Read(buf, 4000)); // exactly what the buffer still holds
    EXPECT_EQ(1, mem.reads);
    EXPECT_EQ(buf[3999], Pattern(10000)[4095]);
}

TEST(FilterRead, ShortReadIsReportedOrSilent)
{
    TempDir dir;
    std::string path = dir.File("short.bin");
    WriteBytes(path, Pattern(10));
    {
        MessageCapture boxes;
        CFilter f;
        ASSERT_TRUE(f.OpenFile(path.c_str(), 0));
        unsigned char buf[16];
        EXPECT_EQ(0, f.Read(buf, 16));
        EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError);
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ("Error reading from file.", boxes.Boxes()[0].text);
        EXPECT_EQ("Error", boxes.Boxes()[0].caption);
        EXPECT_FALSE(f.m_File.IsOpen()); // a shown message closes the file
    }
    {
        MessageCapture boxes;
        CFilter f;
        ASSERT_TRUE(f.OpenFile(path.c_str(), 0));
        unsigned char buf[16];
        ASSERT_EQ(1, f.ReadNoEMsg(buf, 10));
        EXPECT_EQ(0, f.ReadNoEMsg(buf, 1));
        EXPECT_EQ(0, GetSetup()->m_nLastError);
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_FALSE(f.m_File.IsOpen());
    }
}

TEST(FilterRead, CallerMemoryFileIsRewoundNotClosed)
{
    CMemFile mem;
    auto bytes = Pattern(50);
    mem.Write(bytes.data(), 50);
    CFilter f;
    f.m_pFile = &mem;
    ASSERT_EQ(1, f.OpenFile("ignored.dst", 0));
    EXPECT_EQ(0u, mem.GetPosition());
    unsigned char b[5];
    ASSERT_EQ(1, f.Read(b, 5));
    f.CloseHandle();
    EXPECT_EQ(0u, mem.GetPosition());
    EXPECT_EQ(50u, mem.GetLength());
    ASSERT_EQ(1, f.OpenFile("ignored.dst", 0));
    ASSERT_EQ(1, f.Read(b, 5));
    EXPECT_EQ(bytes[4], b[4]);
}

TEST(FilterRead, SeekFromCurrentMovesWithinTheBuffer)
{
    auto bytes = Pattern(10000);
    CountingMemFile mem(bytes);
    CFilter f;
    f.m_pFile = &mem;
    f.OpenFile(nullptr, 0);
    unsigned char b;
    f.Read(&b, 1);
    EXPECT_EQ(101u, f.SetFilePointer(100, 1));
    EXPECT_EQ(1, mem.reads);
    f.Read(&b, 1);
    EXPECT_EQ(bytes[101], b);
    EXPECT_EQ(6000u, f.SetFilePointer(5898, 1)); // beyond the buffer
    f.Read(&b, 1);
    EXPECT_EQ(bytes[6000], b);
    EXPECT_EQ(20u, f.SetFilePointer(20, 0));
    f.Read(&b, 1);
    EXPECT_EQ(bytes[20], b);
    EXPECT_EQ(9990u, f.SetFilePointer(-10, 2));
}

TEST(Filter, MapClrIndexesMapsTheRangeAndTiesToTheLowest)
{
    CFilter f;
    f.MapClrIndexes(30, 95);
    EXPECT_EQ(0, f.m_nColorMap[30]);
    EXPECT_EQ(64, f.m_nColorMap[94]);
    EXPECT_EQ(49 - 30, f.m_nColorMap[0]);   // black
    EXPECT_EQ(48 - 30, f.m_nColorMap[6]);   // Grey is Pewter's colour
    // Black outside 1..110 equals both 49 and 95 inside it: the lower wins.
    f.MapClrIndexes(1, 111);
    EXPECT_EQ(48, f.m_nColorMap[111]);
    EXPECT_EQ(48, f.m_nColorMap[0]);
}

TEST(Filter, ConstructorResetsTheLastError)
{
    GetSetup()->m_nLastError = -17011;
    CFilter f;
    EXPECT_EQ(0, GetSetup()->m_nLastError);
}

TEST(HandleError, MessageBoxLogAndNothing)
{
    TempDir dir;
    {
        MessageCapture boxes(true, false);
        CFilter f;
        f.HandleError("Broken.", "Error");
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(std::this_thread::get_id(), boxes.Boxes()[0].thread);
    }
    {
        MessageCapture boxes(false);
        GetSetup()->m_strErrorLog = dir.File("error.log");
        CFilter f;
        f.HandleError("First.", "Error");
        f.HandleError("Second.", "Warning");
        EXPECT_TRUE(boxes.Boxes().empty());
        auto log = ReadBytes(dir.File("error.log"));
        EXPECT_EQ("Error: First.\nWarning: Second.\n", std::string(log.begin(), log.end()));
    }
    {
        MessageCapture boxes(false);
        GetSetup()->m_strErrorLog = "";
        CFilter f;
        f.HandleError("Nothing.", "Error");
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    EXPECT_EQ(std::set<std::string>{"error.log"}, dir.List());
}

TEST(HandleError, WorkerThreadGetsItsOwnCopiesAndTheCallerWaits)
{
    MessageCapture boxes(true, true);
    CFilter f;
    auto start = std::chrono::steady_clock::now();
    {
        std::string text = "Shown later.";
        f.HandleError(text.c_str(), "Error");
        text.assign(text.size(), 'x'); // the caller's text may change at once
    }
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(990));
    for (int i = 0; i < 100 && boxes.Boxes().empty(); ++i) Sleep(10);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Shown later.", boxes.Boxes()[0].text);
    EXPECT_NE(std::this_thread::get_id(), boxes.Boxes()[0].thread);
}

TEST(ExportFrame, EmptyDesignAndUncreatableFile)
{
    TempDir dir;
    MessageCapture boxes;
    ByteFilter f(30);
    std::string path = dir.File("a.dst");
    EXPECT_EQ(0, f.ExportFile(path.c_str(), 1, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(KW_ERR_NO_STITCHES, GetSetup()->m_nLastError);
    EXPECT_TRUE(dir.List().empty());
    std::string bad = dir.File("missing/b.dst");
    ByteFilter g(30);
    EXPECT_EQ(0, g.ExportFile(bad.c_str(), 1, nullptr, 5, nullptr, nullptr));
    EXPECT_EQ(KW_ERR_CREATE, GetSetup()->m_nLastError);
    EXPECT_EQ((std::vector<std::string>{"Cannot save " + path + ". Design does not have any stitch data.",
                                        "Cannot open design " + bad + ". Please check it for errors."}),
              boxes.Texts());
}

TEST(ExportFrame, SuccessReplacesTheOldFileAndLeavesNothingElse)
{
    TempDir dir;
    std::string path = dir.File("a.dst");
    WriteBytes(path, {1, 2, 3});
    ByteFilter f(300000);
    ASSERT_EQ(1, f.ExportFile(path.c_str(), 1, nullptr, 5, nullptr, nullptr));
    EXPECT_EQ(300000u, ReadBytes(path).size());
    EXPECT_EQ(std::set<std::string>{"a.dst"}, dir.List());
}

// A write failure at any point, here from a file-size limit, keeps the old file as it was.
TEST(ExportFrame, FailedWriteKeepsTheOldFile)
{
    for (size_t limit : {100u, 70000u, 299999u}) {
        SCOPED_TRACE(limit);
        TempDir dir;
        std::string path = dir.File("a.dst");
        std::vector<unsigned char> old = {9, 8, 7, 6};
        WriteBytes(path, old);
        pid_t pid = fork();
        if (pid == 0) {
            signal(SIGXFSZ, SIG_IGN);
            rlimit rl{limit, limit};
            setrlimit(RLIMIT_FSIZE, &rl);
            MessageCapture boxes;
            ByteFilter f(300000);
            int r = f.ExportFile(path.c_str(), 1, nullptr, 5, nullptr, nullptr);
            auto texts = boxes.Texts();
            bool ok = r == 0 && GetSetup()->m_nLastError == KW_ERR_WRITE && texts.size() == 2 &&
                      texts[0] == "Error(27) writing to file." &&
                      texts[1] == "Unknown error writing design " + path + ". Deleting file.";
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(old, ReadBytes(path));
        EXPECT_EQ(std::set<std::string>{"a.dst"}, dir.List());
    }
}

TEST(ExportFrame, CallerMemoryFileIsWrittenInPlace)
{
    CMemFile mem;
    ByteFilter f(9);
    f.m_pFile = &mem;
    ASSERT_EQ(1, f.ExportFile("any.dst", 1, nullptr, 5, nullptr, nullptr));
    EXPECT_EQ(9u, mem.GetLength());
    EXPECT_EQ(0x55, mem.Data()[8]);
}
