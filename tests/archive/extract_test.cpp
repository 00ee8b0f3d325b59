// Extracting members: stored and deflated data, enciphered members, CRC checks, the bounds
// on what a member may write, damaged local headers, marks and duplicates.
#include "archive_helpers.h"

#include "archive/crypto.h"
#include "archive/name.h"
#include "archive/pk_engines.h"
#include "compress/file_storage.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

using namespace ziptest;

namespace {

ALXorCrypto Key(const char* key)
{
    return ALXorCrypto(key);
}

TEST(Extract, StoredAndDeflatedMembersAtEverySpeed)
{
    Archive a;
    a.members = {Member{"stored.dst", Pattern(5000)}, Member{"empty.exp", {}}, Member{"normal.pes", Pattern(70000, 2)}};
    a.members[0].method = 0;
    // Bytes after a deflate stream's end belong to no one; the next member starts afresh.
    Member padded{"padded.dst", Pattern(2000, 8)};
    padded.stored = Deflate(padded.data);
    padded.stored->insert(padded.stored->end(), 50, 0xA5);
    a.members.push_back(padded);
    for (int flags : {2, 4, 6}) {
        Member m{"speed" + std::to_string(flags) + ".sew", Pattern(9000, (uint32_t)flags), 8, flags};
        a.members.push_back(m);
    }
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_SUCCESS, zip.ExtractToMemory()) << zip.Archive().mStatus.GetStatusDetail();
    auto entries = zip.Entries();
    ASSERT_EQ(a.members.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(AL_SUCCESS, StatusOf(entries[i])) << a.members[i].name << ": " << DetailOf(entries[i]);
        EXPECT_EQ(a.members[i].data, Content(entries[i])) << a.members[i].name;
    }
    EXPECT_EQ(AL_PK_DEFLATE_SUPER_FAST, entries.back()->GetEngineType());
}

TEST(Extract, ACrcMismatchMarksOnlyThatMember)
{
    Archive a;
    a.members = {Member{"a.dst", Pattern(1000, 1)}, Member{"b.dst", Pattern(2000, 2)}, Member{"c.dst", Pattern(3000, 3)}};
    a.members[1].crc = 0x12345678;
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_CRC_ERROR, zip.ExtractToMemory());
    auto e = zip.Entries();
    EXPECT_EQ(AL_SUCCESS, StatusOf(e[0]));
    EXPECT_EQ(AL_CRC_ERROR, StatusOf(e[1]));
    char expected[80];
    std::snprintf(expected, sizeof expected, "CRC32 was supposed to be 12345678, was %08lx",
                  (unsigned long)Crc(a.members[1].data));
    EXPECT_EQ(expected, DetailOf(e[1]));
    EXPECT_STREQ("CRC Error", e[1]->GetStorage()->mStatus.GetStatusString());
    EXPECT_EQ(a.members[1].data, Content(e[1])); // extracted in full all the same
    EXPECT_EQ(AL_SUCCESS, StatusOf(e[2]));
    EXPECT_EQ(a.members[2].data, Content(e[2]));
    EXPECT_EQ(expected, std::string(zip.Archive().mStatus.GetStatusDetail()));
}

TEST(Extract, EncipheredMembersOfAGzpArchive)
{
    const Bytes key = ToBytes("k3y");
    Archive a;
    Member zeros{"zeros.dst", Bytes(7, 0), 0};
    zeros.key = key;
    Member design{"rose.pes", Pattern(4000), 0};
    design.key = key;
    Member deflated{"lily.exp", Pattern(6000, 5), 8};
    deflated.key = key;
    Member plain{"readme.txt", ToBytes("not enciphered"), 0};
    a.members = {zeros, design, deflated, plain};
    const Bytes bytes = Build(a);
    // XOR over the stored bytes: the first and the fourth byte both meet the key's first.
    EXPECT_EQ('k', bytes[30 + 9]);
    EXPECT_EQ('k', bytes[30 + 9 + 3]);

    {
        MemoryZip zip(bytes, PkDecompressTools(Key("k3y")));
        ASSERT_EQ(AL_SUCCESS, zip.Read());
        auto e = zip.Entries();
        EXPECT_TRUE(e[0]->IsEncrypted());
        EXPECT_FALSE(e[3]->IsEncrypted());
        ASSERT_NE(nullptr, e[0]->GetCryptoEngine());
        EXPECT_STREQ("Xor Encryption", e[0]->GetCryptoEngine()->GetName());
        EXPECT_EQ(AL_SUCCESS, zip.ExtractToMemory()) << zip.Archive().mStatus.GetStatusDetail();
        for (size_t i = 0; i < e.size(); ++i) EXPECT_EQ(a.members[i].data, Content(e[i])) << i;
    }
    {
        MemoryZip zip(bytes, PkDecompressTools(Key("key")));
        ASSERT_EQ(AL_SUCCESS, zip.Read());
        zip.ExtractToMemory();
        auto e = zip.Entries();
        EXPECT_EQ(AL_CRC_ERROR, StatusOf(e[0])); // a wrong key deciphers to other bytes
        EXPECT_EQ(AL_CRC_ERROR, StatusOf(e[1]));
        EXPECT_NE(AL_SUCCESS, StatusOf(e[2]));
        EXPECT_EQ(AL_SUCCESS, StatusOf(e[3]));
    }
    {
        MemoryZip zip(bytes); // no key: the first enciphered member ends the extraction
        ASSERT_EQ(AL_SUCCESS, zip.Read());
        EXPECT_EQ(nullptr, zip.Entries()[0]->GetCryptoEngine());
        EXPECT_EQ(AL_MISSING_CRYPTO_ENGINE, zip.ExtractToMemory());
        EXPECT_STREQ("Attempt to extract an object without decryption engine", zip.Archive().mStatus.GetStatusDetail());
        EXPECT_EQ(AL_MISSING_CRYPTO_ENGINE, StatusOf(zip.Entries()[0]));
        EXPECT_TRUE(Content(zip.Entries()[3]).empty());
    }
    {
        MemoryZip zip(bytes, PkDecompressTools(ALXorCrypto(nullptr, 0)));
        ASSERT_EQ(AL_SUCCESS, zip.Read());
        EXPECT_EQ(AL_INVALID_KEY, zip.ExtractToMemory());
        EXPECT_STREQ("Invalid key", zip.Archive().mStatus.GetStatusString());
    }
}

TEST(Extract, XorCipherRewindsForEveryMember)
{
    const unsigned char key[] = {1, 2, 3};
    ALXorCrypto crypto(key, 3);
    unsigned char data[7] = {0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(AL_SUCCESS, crypto.StartEncrypt());
    crypto.Encrypt(data, 2);
    crypto.Encrypt(data + 2, 5); // the key position carries over between calls
    const unsigned char expected[7] = {1, 2, 3, 1, 2, 3, 1};
    EXPECT_EQ(0, std::memcmp(expected, data, 7));
    ASSERT_EQ(AL_SUCCESS, crypto.StartDecrypt()); // a new member starts at the first key byte
    std::unique_ptr<ALCryptoEngine> copy(crypto.Clone());
    copy->StartDecrypt();
    copy->Decrypt(data, 7);
    EXPECT_EQ(std::vector<unsigned char>(7, 0), std::vector<unsigned char>(data, data + 7));
    ALXorCrypto text("ab");
    EXPECT_EQ(2u, text.GetKeyLength());
}

TEST(Extract, UnknownMethodsFailTheirMemberOnly)
{
    Archive a;
    a.members = {Member{"a.dst", Pattern(100)}, Member{"bzip.dst", Pattern(100), 12}, Member{"aes.dst", Pattern(100), 99},
                 Member{"d.dst", Pattern(100)}};
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, zip.ExtractToMemory());
    auto e = zip.Entries();
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, StatusOf(e[1]));
    EXPECT_EQ("Unknown compression method 12 of bzip.dst in ZIP file test.zip", DetailOf(e[1]));
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, StatusOf(e[2]));
    EXPECT_EQ(a.members[0].data, Content(e[0]));
    EXPECT_EQ(a.members[3].data, Content(e[3]));
}

TEST(Extract, AKitWithoutTheEngineEndsTheExtraction)
{
    ALToolKit copyOnly;
    copyOnly.AddDecompressor(std::make_unique<ALPkCopyDecompressor>());
    copyOnly.AddStorage(std::make_unique<ALMemory>());
    Archive a;
    a.members = {Member{"a.dst", Pattern(100)}, Member{"b.dst", Pattern(100), 0}};
    MemoryZip zip(Build(a), copyOnly);
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_CANT_CREATE_ENGINE, zip.ExtractToMemory());
    EXPECT_STREQ("Attempt to decompress without a decompressor", zip.Archive().mStatus.GetStatusDetail());
    EXPECT_TRUE(Content(zip.Entries()[1]).empty());
}

TEST(Extract, NoMemberWritesBeyondItsBounds)
{
    Archive a;
    Member liar{"liar.dst", Pattern(100000)};
    liar.uncompressedSize = 100;
    Member storedLiar{"stored.dst", Pattern(500), 0};
    storedLiar.uncompressedSize = 499;
    Member huge{"huge.dst", Pattern(10)};
    huge.uncompressedSize = (uint32_t)ALPkArchive::kMemoryLimit + 1;
    a.members = {liar, storedLiar, huge, Member{"fine.dst", Pattern(300)}};
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_CRC_ERROR, zip.ExtractToMemory());
    auto e = zip.Entries();
    EXPECT_EQ(AL_CRC_ERROR, StatusOf(e[0]));
    EXPECT_EQ("liar.dst inflates beyond its size of 100 bytes in the directory of ZIP file test.zip", DetailOf(e[0]));
    EXPECT_EQ(100u, Content(e[0]).size());
    EXPECT_EQ(AL_CRC_ERROR, StatusOf(e[1]));
    EXPECT_EQ(499u, Content(e[1]).size());
    EXPECT_EQ(AL_CRC_ERROR, StatusOf(e[2]));
    EXPECT_EQ("huge.dst is larger than the 67108864 bytes a member may take in memory", DetailOf(e[2]));
    EXPECT_TRUE(Content(e[2]).empty());
    EXPECT_EQ(a.members[3].data, Content(e[3]));

    // A member whose stated size passes the memory ceiling is refused before it inflates.
    Archive bomb;
    Member zeros{"zeros.dst", Bytes(3u << 20, 0)};
    bomb.members = {zeros};
    MemoryZip small(Build(bomb));
    small.Archive().SetMemoryLimit(1 << 20);
    ASSERT_EQ(AL_SUCCESS, small.Read());
    EXPECT_EQ(AL_CRC_ERROR, small.ExtractToMemory());
    EXPECT_EQ("zeros.dst is larger than the 1048576 bytes a member may take in memory", DetailOf(small.Entries()[0]));
}

TEST(Extract, DamagedLocalHeadersAndData)
{
    Archive a;
    Member badSignature{"bad.dst", Pattern(100)};
    badSignature.localSignature = 0x04034b51;
    Member extra{"extra.dst", Pattern(800)};
    extra.localExtra = Bytes(37, 0xEE); // only the local header has it: its own length must be used
    Member outside{"outside.dst", Pattern(100)};
    outside.offset = 0x00FFFFFF;
    Member pastEnd{"past.dst", Pattern(100), 0};
    pastEnd.compressedSize = 0x00FFFFFF;
    pastEnd.uncompressedSize = 0x00FFFFFF;
    Member cut{"cut.dst", Pattern(5000)};
    Bytes full = Deflate(cut.data);
    cut.stored = Bytes(full.begin(), full.begin() + (long)full.size() / 2);
    Member garbage{"garbage.dst", Pattern(100)};
    garbage.stored = Bytes(64, 0xFF);
    a.members = {badSignature, extra, outside, pastEnd, cut, garbage, Member{"last.dst", Pattern(50)}};
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_INVALID_ARCHIVE, zip.ExtractToMemory());
    auto e = zip.Entries();
    EXPECT_EQ(AL_INVALID_ARCHIVE, StatusOf(e[0]));
    EXPECT_EQ("Invalid local header for bad.dst in ZIP file test.zip", DetailOf(e[0]));
    EXPECT_EQ(AL_SUCCESS, StatusOf(e[1])) << DetailOf(e[1]);
    EXPECT_EQ(a.members[1].data, Content(e[1]));
    EXPECT_EQ(AL_INVALID_ARCHIVE, StatusOf(e[2]));
    EXPECT_EQ(AL_INVALID_ARCHIVE, StatusOf(e[3]));
    EXPECT_EQ("The data of past.dst run past the end of ZIP file test.zip", DetailOf(e[3]));
    EXPECT_EQ(AL_INVALID_ARCHIVE, StatusOf(e[4]));
    EXPECT_EQ("The deflate data of cut.dst end before the stream does", DetailOf(e[4]));
    EXPECT_EQ(AL_INVALID_ARCHIVE, StatusOf(e[5]));
    EXPECT_EQ(0u, DetailOf(e[5]).find("Invalid deflate data in garbage.dst")) << DetailOf(e[5]);
    EXPECT_EQ(a.members[6].data, Content(e[6]));
}

TEST(Extract, MembersThatShareBytesAreRefused)
{
    // Two directory records for one local header: the pattern of bombs that inflate the
    // same bytes many times over.
    Archive a;
    Member first{"one.dst", Pattern(4000)};
    Member second{"two.dst", Pattern(4000)};
    second.offset = 0;
    a.members = {first, second, Member{"three.dst", Pattern(100)}};
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(AL_INVALID_ARCHIVE, zip.ExtractToMemory());
    auto e = zip.Entries();
    EXPECT_EQ("one.dst overlaps another member of ZIP file test.zip", DetailOf(e[0]));
    EXPECT_EQ(AL_INVALID_ARCHIVE, StatusOf(e[1]));
    EXPECT_EQ(AL_SUCCESS, StatusOf(e[2]));

    // Marked alone, either one extracts.
    zip.List().SetMarkState(nullptr, 0);
    zip.List().SetMarkState("two.dst", 1);
    EXPECT_EQ(AL_SUCCESS, zip.Archive().Extract(zip.List()));
    EXPECT_EQ(a.members[0].data, Content(e[1]));
}

TEST(EntryList, MarksWildcardsDuplicatesAndDeletion)
{
    Archive a;
    a.members = {Member{"A.DST", Pattern(10, 1)}, Member{"b.pes", Pattern(10, 2)}, Member{"a.dst", Pattern(10, 3)},
                 Member{"dir\\c.pes", Pattern(10, 4)}, Member{"A.dst", Pattern(10, 5)}};
    MemoryZip zip(Build(a));
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    ALEntryList& list = zip.List();
    EXPECT_EQ(5, list.SetMarkState(nullptr, 0));
    EXPECT_EQ(2, list.SetMarkState("*.pes", 1));
    EXPECT_EQ(1, list.SetMarkState("dir/?.PES", 0));
    std::vector<int> marks;
    for (ALEntry* e : zip.Entries()) marks.push_back(e->GetMark());
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 0}), marks);

    // Names of the kit's storages are compared without regard to case: of the three
    // spellings of a.dst only the last stays marked.
    list.SetMarkState(nullptr, 1);
    EXPECT_EQ(2, list.UnmarkDuplicates(list, "Duplicate of a later member"));
    marks.clear();
    for (ALEntry* e : zip.Entries()) marks.push_back(e->GetMark());
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1, 1}), marks);
    EXPECT_EQ(AL_DUPLICATE_ENTRY, StatusOf(zip.Entries()[0]));
    EXPECT_EQ("Duplicate of a later member", DetailOf(zip.Entries()[0]));
    EXPECT_EQ(AL_SUCCESS, StatusOf(zip.Entries()[1]));

    // Only marked entries are extracted.
    EXPECT_EQ(AL_SUCCESS, zip.ExtractToMemory());
    EXPECT_TRUE(Content(zip.Entries()[0]).empty());
    EXPECT_EQ(a.members[4].data, Content(zip.Entries()[4]));

    EXPECT_EQ(2, list.DeleteUnmarked());
    EXPECT_EQ((std::vector<std::string>{"b.pes", "dir\\c.pes", "A.dst"}), zip.Names());

    // Against another list: an entry is unmarked when that list has it marked.
    MemoryZip other(Build(a));
    ASSERT_EQ(AL_SUCCESS, other.Read());
    other.List().SetMarkState("b.pes", 0);
    EXPECT_EQ(2, list.UnmarkDuplicates(other.List()));
    EXPECT_EQ(1, zip.Entries()[0]->GetMark()); // b.pes: unmarked in the other list
    EXPECT_EQ(0, zip.Entries()[1]->GetMark());
    EXPECT_EQ(0, zip.Entries()[2]->GetMark());
}

TEST(EntryList, CaseKeepingNamesAreDistinct)
{
    Archive a;
    a.members = {Member{"Rose.dst", Pattern(10)}, Member{"rose.dst", Pattern(10)}};
    ALToolKit keepCase;
    keepCase.AddDecompressor(std::make_unique<ALPkDecompressor>());
    keepCase.AddStorage(std::make_unique<ALMemory>("", nullptr, 0, AL_KEEP_CASE));
    MemoryZip zip(Build(a), keepCase);
    ASSERT_EQ(AL_SUCCESS, zip.Read());
    EXPECT_EQ(0, zip.List().UnmarkDuplicates(zip.List()));
    EXPECT_EQ(1, zip.List().SetMarkState("rose.*", 0));
}

TEST(Extract, TheKitsFileStoragesWriteIntoTheCurrentFolderOnly)
{
    testutil::TempDir dir;
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    ASSERT_EQ(0, chdir(dir.Path().c_str()));
    {
        Archive a;
        a.members = {Member{"rose.dst", Pattern(3000)}, Member{"../escape.dst", Pattern(10)},
                     Member{"/tmp/absolute.dst", Pattern(10)}, Member{"lily.exp", Pattern(30), 0}};
        testutil::WriteBytes("designs.zip", Build(a));
        ALPkArchive archive("designs.zip");
        ALEntryList list;
        ASSERT_EQ(AL_SUCCESS, archive.ReadDirectory(list));
        EXPECT_EQ(AL_ILLEGAL_PARAMETER, archive.Extract(list));
        auto entries = std::vector<ALEntry*>{};
        for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) entries.push_back(e);
        EXPECT_EQ(AL_ILLEGAL_PARAMETER, StatusOf(entries[1]));
        EXPECT_EQ("../escape.dst would be written outside the current folder", DetailOf(entries[1]));
        EXPECT_EQ(AL_ILLEGAL_PARAMETER, StatusOf(entries[2]));
        EXPECT_EQ(a.members[0].data, testutil::ReadBytes("rose.dst"));
        EXPECT_EQ(a.members[3].data, testutil::ReadBytes("lily.exp"));
    }
    EXPECT_NE(0, access((dir.Path() + "/../escape.dst").c_str(), F_OK));
    ASSERT_EQ(0, chdir(previous));

    EXPECT_TRUE(ALIsSafeMemberPath("a/b/c.dst"));
    EXPECT_TRUE(ALIsSafeMemberPath("a..b.dst"));
    for (const char* unsafe : {"", "/etc/x", "\\x", "C:x", "a/../../b", "..\\b", ".."})
        EXPECT_FALSE(ALIsSafeMemberPath(unsafe)) << unsafe;
}

TEST(Engines, DeflateAndCopyRoundTripsAndClones)
{
    const Bytes data = Pattern(50000, 9);
    for (int type : {AL_PK_DEFLATE_NORMAL, AL_PK_DEFLATE_MAXIMUM, AL_PK_DEFLATE_FAST, AL_PK_DEFLATE_SUPER_FAST, AL_PK_STORED}) {
        std::unique_ptr<ALCompressor> compressor(FullTools().CreateCompressor(type));
        std::unique_ptr<ALDecompressor> decompressor(PkDecompressTools().CreateDecompressor(type));
        ASSERT_TRUE(compressor && decompressor) << type;
        Bytes copy = data;
        ALMemory in("in", copy.data(), (long)copy.size());
        ALMemory packed("packed");
        ASSERT_EQ(AL_SUCCESS, compressor->Compress(in, packed)) << type;
        EXPECT_EQ(Crc(data), ~in.GetCrc32());
        Bytes stream(packed.GetBuffer(), packed.GetBuffer() + packed.GetSize());
        if (type != AL_PK_STORED) {
            EXPECT_LT(stream.size(), data.size() / 2) << type;
        }
        ALMemory packedIn("packed", stream.data(), (long)stream.size());
        ALMemory out("out");
        ASSERT_EQ(AL_SUCCESS, decompressor->Decompress(packedIn, out, (long)stream.size())) << type;
        EXPECT_EQ(data, Bytes(out.GetBuffer(), out.GetBuffer() + out.GetSize())) << type;
    }
    EXPECT_EQ(nullptr, PkDecompressTools().CreateDecompressor(112));
    EXPECT_EQ(nullptr, PkDecompressTools().CreateCompressor(AL_PK_DEFLATE_NORMAL));
    EXPECT_EQ(nullptr, PkDecompressTools().CreateCryptoEngine());
    std::unique_ptr<ALStorage> memory(PkDecompressTools().CreateStorageObject("m.dst", AL_MEMORY_OBJECT));
    EXPECT_NE(nullptr, dynamic_cast<ALMemory*>(memory.get()));
    EXPECT_STREQ("m.dst", memory->GetName());
    std::unique_ptr<ALStorage> file(PkDecompressTools().CreateStorageObject("f.dst"));
    EXPECT_NE(nullptr, dynamic_cast<ALFile*>(file.get()));
    std::unique_ptr<ALDecompressor> gl(FullTools().CreateDecompressor(AL_ENGINE_GL));
    EXPECT_NE(nullptr, gl.get());
}

} // namespace
