#include "test_util.h"

#include <gtest/gtest.h>

using namespace testutil;

TEST(File, BufferedWritesOfEverySizeArriveInOrder)
{
    TempDir dir;
    std::string path = dir.File("w.bin");
    std::vector<unsigned char> expected;
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        unsigned char v = 0;
        for (size_t n : {3u, 1u, 65533u, 2u, 70000u, 3u, 1u}) {
            std::vector<unsigned char> chunk(n);
            for (auto& c : chunk) c = v++;
            f.Write(chunk.data(), (UINT)n);
            expected.insert(expected.end(), chunk.begin(), chunk.end());
        }
        EXPECT_EQ(expected.size(), f.GetLength());
        f.Close();
    }
    EXPECT_EQ(expected, ReadBytes(path));
}

TEST(File, ReplaceOnCloseKeepsTheTargetUntilCommitted)
{
    TempDir dir;
    std::string path = dir.File("t.bin");
    WriteBytes(path, {1});
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::modeReplaceOnClose));
        f.Write("abc", 3);
        f.Flush();
        EXPECT_EQ(std::vector<unsigned char>{1}, ReadBytes(path));
        f.Abort();
    }
    EXPECT_EQ(std::vector<unsigned char>{1}, ReadBytes(path));
    {
        CFile f; // destroyed without Close: discarded
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::modeReplaceOnClose));
        f.Write("abc", 3);
    }
    EXPECT_EQ(std::set<std::string>{"t.bin"}, dir.List());
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::modeReplaceOnClose));
    f.Write("abc", 3);
    f.Close();
    EXPECT_EQ((std::vector<unsigned char>{'a', 'b', 'c'}), ReadBytes(path));
    EXPECT_EQ(std::set<std::string>{"t.bin"}, dir.List());
}

TEST(File, OpenFailureCarriesTheOsError)
{
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open("/nonexistent-dir/x", CFile::modeRead, &e));
    EXPECT_EQ(ENOENT, e.m_lOsError);
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
}

TEST(MemFile, GrowsSeeksAndAttaches)
{
    CMemFile m(16);
    m.Write("hello", 5);
    m.Seek(10, CFile::begin);
    m.Write("!", 1);
    EXPECT_EQ(11u, m.GetLength());
    EXPECT_EQ(0, m.Data()[7]); // the gap reads as zeros
    m.SeekToBegin();
    char buf[20] = {};
    EXPECT_EQ(11u, m.Read(buf, 20));
    EXPECT_STREQ("hello", buf);
    EXPECT_EQ(0u, m.Read(buf, 1));

    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile a(fixed, 4);
    EXPECT_EQ(4u, a.GetLength());
    a.Seek(4, CFile::begin);
    try {
        a.Write("x", 1); // a fixed buffer cannot grow
        ADD_FAILURE();
    } catch (CFileException* e) {
        e->Delete();
    }
    EXPECT_EQ(fixed, a.Detach());
}
