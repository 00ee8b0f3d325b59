// Reading the central directory: fields, engine types, the end record's search, and every
// way a directory can be wrong.
#include "archive_helpers.h"

#include "archive/pk_engines.h"
#include "compress/file_storage.h"

#include <gtest/gtest.h>

using namespace ziptest;

namespace {

uint32_t DirectoryOffset(const Bytes& zip)
{
    const uint8_t* end = zip.data() + zip.size() - 22; // an archive without a comment
    return (uint32_t)end[16] | (uint32_t)end[17] << 8 | (uint32_t)end[18] << 16 | (uint32_t)end[19] << 24;
}

Archive ThreeMembers()
{
    Archive a;
    Member rose{"Rose.PES", Pattern(3000)};
    rose.flags = 0x0006;
    rose.external = 0x21;
    rose.comment = "the red one";
    Member folder{"designs/", {}};
    folder.method = 0;
    folder.external = 0x10;
    Member bz{"lily.dst", Pattern(500, 7)};
    bz.method = 12;
    bz.date = (0 << 9) | (1 << 5) | 1; // 1980-01-01
    bz.time = 0;
    a.members = {rose, folder, bz};
    a.comment = "kwfilter test";
    return a;
}

TEST(ReadDirectory, EntriesCarryTheirFields)
{
    Archive a = ThreeMembers();
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read()) << zip.Archive().mStatus.GetStatusDetail();
    EXPECT_EQ("kwfilter test", zip.Archive().GetComment());
    auto entries = zip.Entries();
    ASSERT_EQ(3u, entries.size());

    const ALEntry* rose = entries[0];
    EXPECT_STREQ("Rose.PES", rose->GetName());
    EXPECT_EQ(Crc(a.members[0].data), rose->GetCrc32());
    EXPECT_EQ((long)Deflate(a.members[0].data).size(), rose->GetCompressedSize());
    EXPECT_EQ(3000, rose->GetUncompressedSize());
    EXPECT_EQ(0, rose->GetOffset());
    EXPECT_EQ("the red one", rose->GetComment());
    EXPECT_EQ(AL_PK_DEFLATE_SUPER_FAST, rose->GetEngineType()); // method 8, flags 0x0006
    EXPECT_NE(nullptr, rose->GetDecompressor());
    EXPECT_EQ(nullptr, rose->GetCompressor()); // the decompressing kit has no compressors
    EXPECT_FALSE(rose->IsEncrypted());
    EXPECT_EQ(1, rose->GetMark()); // entries start marked
    EXPECT_EQ(124, rose->mTimeDate.miYear);
    EXPECT_EQ(2, rose->mTimeDate.miMonth);
    EXPECT_EQ(17, rose->mTimeDate.miDate);
    EXPECT_EQ(14, rose->mTimeDate.miHour);
    EXPECT_EQ(30, rose->mTimeDate.miMinute);
    EXPECT_EQ(10, rose->mTimeDate.miSecond);
    EXPECT_TRUE(rose->mAttributes.mbReadOnly);
    EXPECT_TRUE(rose->mAttributes.mbArchive);
    EXPECT_FALSE(rose->mAttributes.mbDirectory);
    EXPECT_NE(nullptr, dynamic_cast<ALFile*>(rose->GetStorage())); // the kit's default storage
    EXPECT_EQ(AL_MIXED, rose->GetStorage()->GetNameCase());

    EXPECT_TRUE(entries[1]->mAttributes.mbDirectory);
    EXPECT_EQ(AL_PK_STORED, entries[1]->GetEngineType());
    EXPECT_EQ(112, entries[2]->GetEngineType()); // listed, but no engine reads it
    EXPECT_EQ(nullptr, entries[2]->GetDecompressor());
    EXPECT_EQ(80, entries[2]->mTimeDate.miYear);
    EXPECT_EQ(0, entries[2]->mTimeDate.miMonth);
}

TEST(ReadDirectory, EngineTypesFromMethodAndFlags)
{
    const struct {
        int method, flags, type;
    } cases[] = {{0, 0, 100}, {0, 6, 100}, {8, 0, 108}, {8, 2, 109}, {8, 4, 110}, {8, 6, 111},
                 {8, 0x0809, 108}, {12, 0, 112}, {14, 0, 114}, {99, 1, 199}};
    for (const auto& c : cases) EXPECT_EQ(c.type, ALPkEngineTypeOf(c.method, c.flags)) << c.method << "/" << c.flags;

    MemoryZip full(Build(ThreeMembers()), FullTools());
    ASSERT_EQ(AL_SUCCESS, full.Read());
    auto entries = full.Entries();
    EXPECT_NE(nullptr, entries[0]->GetCompressor()); // the full kit has both ways
    EXPECT_NE(nullptr, entries[1]->GetCompressor());
    EXPECT_EQ(nullptr, entries[2]->GetCompressor());
}

TEST(ReadDirectory, TheEndRecordIsSoughtInTheLast66000Bytes)
{
    // Trailing data of every length around the 256-byte chunks, so that the signature lies
    // across a chunk's border too.
    for (size_t trailing : {0, 1, 3, 230, 231, 232, 233, 234, 255, 256, 257, 512, 65978}) {
        Archive a;
        a.members = {Member{"a.dst", Pattern(100)}};
        a.trailing = Bytes(trailing, 'x');
        MemoryZip zip(Build(a));
        EXPECT_EQ(AL_SUCCESS, zip.Read()) << trailing << ": " << zip.Archive().mStatus.GetStatusDetail();
        EXPECT_EQ(1u, zip.Entries().size());
    }
    for (size_t trailing : {65979, 70000}) {
        Archive a;
        a.members = {Member{"a.dst", Pattern(100)}};
        a.trailing = Bytes(trailing, 0);
        MemoryZip zip(Build(a));
        EXPECT_EQ(AL_INVALID_ARCHIVE, zip.Read()) << trailing;
        EXPECT_STREQ("Can't locate end of central directory in ZIP file test.zip",
                     zip.Archive().mStatus.GetStatusDetail());
    }
    MemoryZip empty(Bytes{});
    EXPECT_EQ(AL_INVALID_ARCHIVE, empty.Read());
}

TEST(ReadDirectory, DamagedDirectoriesAreInvalid)
{
    Archive two;
    two.members = {Member{"a.dst", Pattern(100)}, Member{"b.dst", Pattern(200)}};
    const Bytes good = Build(two);
    const uint32_t directory = DirectoryOffset(good);

    struct Damage {
        const char* what;
        Bytes zip;
    };
    std::vector<Damage> damages;
    {
        Archive a = two;
        a.count = 3;
        damages.push_back({"the end record counts more records", Build(a)});
        a.count = 1;
        damages.push_back({"the end record counts fewer records", Build(a)});
    }
    {
        Archive a = two;
        a.directoryOffset = (uint32_t)good.size() + 100;
        damages.push_back({"the directory lies beyond the file", Build(a)});
        a.directoryOffset = 5;
        damages.push_back({"the directory offset points into member data", Build(a)});
        a.directoryOffset.reset();
        a.directorySize = 0x00FFFFFF;
        damages.push_back({"the directory is larger than the file", Build(a)});
    }
    {
        Bytes z = good;
        z[directory + 28] = 0xFF; // the first record's name length
        z[directory + 29] = 0x0F;
        damages.push_back({"a name longer than its record", z});
        z = good;
        z[directory + 32] = 200; // the first record's comment length
        damages.push_back({"a comment that runs into the next record", z});
        z = good;
        z[directory + 1] = 'X';
        damages.push_back({"a record without its signature", z});
    }
    {
        Archive a = two;
        a.commentLength = 40;
        damages.push_back({"an archive comment longer than the file", Build(a)});
        Bytes z = good;
        z.resize(z.size() - 10);
        damages.push_back({"an end record cut short", z});
    }
    for (const auto& d : damages) {
        MemoryZip zip(d.zip);
        EXPECT_EQ(AL_INVALID_ARCHIVE, zip.Read()) << d.what;
        EXPECT_STREQ("Bad record in central directory of ZIP file test.zip", zip.Archive().mStatus.GetStatusDetail())
            << d.what;
    }
}

TEST(ReadDirectory, Zip64IsRefusedNeverMisread)
{
    Archive a;
    a.members = {Member{"a.dst", Pattern(100)}, Member{"big.dst", Pattern(100)}, Member{"c.dst", Pattern(50)}};
    a.members[1].uncompressedSize = 0xFFFFFFFF;
    a.members[1].centralExtra = {0x01, 0x00, 0x08, 0x00, 100, 0, 0, 0, 0, 0, 0, 0};
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    auto entries = zip.Entries();
    ASSERT_EQ(3u, entries.size()); // still listed
    EXPECT_TRUE(entries[1]->NeedsZip64());
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, zip.ExtractToMemory());
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, StatusOf(entries[1]));
    EXPECT_EQ(a.members[0].data, Content(entries[0]));
    EXPECT_EQ(a.members[2].data, Content(entries[2]));

    Archive saturated = a;
    saturated.count = 0xFFFF;
    MemoryZip big(Build(saturated));
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, big.Read());
    EXPECT_STREQ("ZIP file test.zip needs Zip64 records, which are not read", big.Archive().mStatus.GetStatusDetail());

    // A Zip64 end record after the directory ends it like the plain one.
    Archive marked;
    marked.members = {Member{"a.dst", Pattern(100)}};
    marked.afterDirectory = {'P', 'K', 6, 6, 0, 0, 0, 0};
    MemoryZip withZip64End(Build(marked));
    EXPECT_EQ(AL_SUCCESS, withZip64End.Read());
    EXPECT_EQ(1u, withZip64End.Entries().size());
}

TEST(ReadDirectory, EmptyArchivesAndMissingPieces)
{
    MemoryZip empty(Build(Archive{}));
    EXPECT_EQ(AL_SUCCESS, empty.Read());
    EXPECT_EQ(nullptr, empty.List().GetFirstEntry());

    Archive one;
    one.members = {Member{"a.dst", Pattern(10)}};
    MemoryZip noStorages(Build(one), ALToolKit());
    EXPECT_EQ(AL_CANT_CREATE_STORAGE, noStorages.Read());
    EXPECT_STREQ("Failure creating storage object in ZIP file test.zip", noStorages.Archive().mStatus.GetStatusDetail());

    ALPkArchive missing("/nonexistent/folder/none.zip");
    ALEntryList list;
    EXPECT_EQ(AL_CANT_OPEN_FILE, missing.ReadDirectory(list));
    EXPECT_EQ(AL_CANT_OPEN_FILE, missing.Extract(list));
}

} // namespace
