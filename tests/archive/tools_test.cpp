// Archives written by the programs people use: Info-ZIP's zip, Python's zipfile, bsdtar and
// 7-Zip. A test skips only when its program is not installed (CI installs them all).
#include "archive_helpers.h"

#include "test_util.h"

#include <gtest/gtest.h>

#include <map>

using namespace ziptest;

namespace {

bool Have(const std::string& program)
{
    return testutil::RunShell("command -v " + program + " >/dev/null 2>&1").status == 0;
}

std::string SevenZip()
{
    for (const char* name : {"7zz", "7z", "7za"})
        if (Have(name)) return name;
    return "";
}

// Files to archive: designs-like bytes of several sizes, an empty file and one in a folder.
std::map<std::string, Bytes> WriteSources(const testutil::TempDir& dir)
{
    std::map<std::string, Bytes> files = {
        {"rose.dst", Pattern(30000, 1)}, {"lily.pes", Pattern(70000, 2)}, {"empty.exp", {}},
        {"designs/tulip.sew", Pattern(5000, 3)}, {"readme.txt", ToBytes("Designs for the spring show.\n")},
    };
    testutil::RunShell("mkdir -p '" + dir.File("src/designs") + "'");
    for (const auto& [name, bytes] : files) testutil::WriteBytes(dir.File("src/" + name), bytes);
    return files;
}

std::string Quoted(const std::string& s)
{
    return "'" + s + "'";
}

// Reads the archive and extracts every member into memory; every file member must come out
// as it went in, with its name, and nothing else may be there but folders.
void ExpectArchiveHolds(const std::string& path, const std::map<std::string, Bytes>& files, const std::string& what)
{
    ALMemory storage("archive");
    {
        Bytes bytes = testutil::ReadBytes(path);
        ASSERT_FALSE(bytes.empty()) << what << ": no archive written";
        storage.Create();
        storage.WriteBuffer(bytes.data(), bytes.size());
        storage.Close();
    }
    ALPkArchive archive(storage);
    ALEntryList list;
    ASSERT_EQ(AL_SUCCESS, archive.ReadDirectory(list)) << what << ": " << archive.mStatus.GetStatusDetail();
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) e->SetStorage(new ALMemory(e->GetName()));
    EXPECT_EQ(AL_SUCCESS, archive.Extract(list)) << what << ": " << archive.mStatus.GetStatusDetail();
    std::map<std::string, Bytes> found;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) {
        std::string name = e->GetName();
        if (!name.empty() && name.back() == '/') continue;
        EXPECT_EQ(AL_SUCCESS, StatusOf(e)) << what << ": " << name << ": " << DetailOf(e);
        found[name] = Content(e);
    }
    EXPECT_EQ(files.size(), found.size()) << what;
    for (const auto& [name, bytes] : files) {
        auto it = found.find(name);
        ASSERT_NE(found.end(), it) << what << ": " << name << " missing";
        EXPECT_EQ(bytes, it->second) << what << ": " << name;
    }
}

// The status each member's extraction ends in, by name.
std::map<std::string, int> Statuses(const std::string& path, ALToolKit kit = PkDecompressTools())
{
    ALPkArchive archive(path.c_str());
    ALEntryList list(nullptr, std::move(kit));
    std::map<std::string, int> statuses;
    if (archive.ReadDirectory(list) < 0) return {{"", archive.mStatus.GetStatusCode()}};
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) e->SetStorage(new ALMemory(e->GetName()));
    // An enciphered member without an engine ends the extraction: take them one by one.
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) {
        list.SetMarkState(nullptr, 0);
        e->SetMark();
        archive.Extract(list);
        statuses[e->GetName()] = StatusOf(e);
    }
    return statuses;
}

TEST(Tools, InfoZipArchives)
{
    if (!Have("zip")) GTEST_SKIP() << "Info-ZIP zip is not installed (scripts/install-deps installs it)";
    testutil::TempDir dir;
    auto files = WriteSources(dir);
    const std::string src = "cd " + Quoted(dir.File("src")) + " && ";
    for (const char* level : {"-0", "-1", "-6", "-9"}) {
        std::string zip = dir.File(std::string("zip") + level + ".zip");
        ASSERT_EQ(0, testutil::RunShell(src + "zip -q -r " + level + " " + Quoted(zip) + " .").status);
        ExpectArchiveHolds(zip, files, std::string("zip ") + level);
    }
    // From a pipe: the sizes follow the data (a data descriptor) and the member is named "-".
    std::string piped = dir.File("piped.zip");
    ASSERT_EQ(0, testutil::RunShell("cat " + Quoted(dir.File("src/rose.dst")) + " | zip -q " + Quoted(piped) + " -").status);
    ExpectArchiveHolds(piped, {{"-", files["rose.dst"]}}, "zip from a pipe");
    // Info-ZIP's own cipher is not this library's: an enciphered member needs the key engine.
    std::string secret = dir.File("secret.zip");
    ASSERT_EQ(0, testutil::RunShell(src + "zip -q -P pass " + Quoted(secret) + " rose.dst readme.txt").status);
    auto statuses = Statuses(secret);
    EXPECT_EQ(AL_MISSING_CRYPTO_ENGINE, statuses["rose.dst"]);
    EXPECT_EQ(AL_MISSING_CRYPTO_ENGINE, statuses["readme.txt"]);
}

TEST(Tools, PythonZipfileArchives)
{
    if (!Have("python3")) GTEST_SKIP() << "python3 is not installed";
    testutil::TempDir dir;
    auto files = WriteSources(dir);
    const std::string script =
        "import sys, os, zipfile\n"
        "src, out, how = sys.argv[1], sys.argv[2], sys.argv[3]\n"
        "kinds = {'stored': (zipfile.ZIP_STORED, None), 'fast': (zipfile.ZIP_DEFLATED, 1),\n"
        "         'best': (zipfile.ZIP_DEFLATED, 9), 'bzip2': (zipfile.ZIP_BZIP2, None), 'lzma': (zipfile.ZIP_LZMA, None)}\n"
        "method, level = kinds[how.replace('-stream', '')]\n"
        "class Unseekable:\n"
        "    def __init__(self, f): self.f = f\n"
        "    def write(self, b): return self.f.write(b)\n"
        "    def flush(self): self.f.flush()\n"
        "target = open(out, 'wb')\n"
        "sink = Unseekable(target) if how.endswith('-stream') else target\n"
        "with zipfile.ZipFile(sink, 'w', compression=method, compresslevel=level) as z:\n"
        "    for root, dirs, names in os.walk(src):\n"
        "        for n in sorted(names):\n"
        "            p = os.path.join(root, n)\n"
        "            z.write(p, os.path.relpath(p, src))\n"
        "target.close()\n";
    testutil::WriteBytes(dir.File("make.py"), ToBytes(script));
    auto make = [&](const std::string& how) {
        std::string out = dir.File(how + ".zip");
        EXPECT_EQ(0, testutil::RunShell("python3 " + Quoted(dir.File("make.py")) + " " + Quoted(dir.File("src")) + " " +
                                        Quoted(out) + " " + how)
                         .status)
            << how;
        return out;
    };
    for (const char* how : {"stored", "fast", "best", "fast-stream"}) ExpectArchiveHolds(make(how), files, how);
    // Other methods are listed but not read, never misread.
    for (const char* how : {"bzip2", "lzma"}) {
        auto statuses = Statuses(make(how));
        EXPECT_EQ(files.size(), statuses.size()) << how;
        EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, statuses["rose.dst"]) << how;
    }
}

TEST(Tools, BsdtarArchives)
{
    if (!Have("bsdtar")) GTEST_SKIP() << "bsdtar is not installed (Debian package libarchive-tools)";
    testutil::TempDir dir;
    auto files = WriteSources(dir);
    const std::string src = "cd " + Quoted(dir.File("src")) + " && ";
    std::string deflated = dir.File("bsdtar.zip");
    ASSERT_EQ(0, testutil::RunShell(src + "bsdtar --format zip -cf " + Quoted(deflated) + " *").status);
    ExpectArchiveHolds(deflated, files, "bsdtar deflate");
    std::string stored = dir.File("bsdtar-store.zip");
    ASSERT_EQ(0, testutil::RunShell(src + "bsdtar --format zip --options zip:compression=store -cf " + Quoted(stored) + " *").status);
    ExpectArchiveHolds(stored, files, "bsdtar store");
    // Written to a pipe, the sizes follow each member's data.
    std::string piped = dir.File("bsdtar-pipe.zip");
    ASSERT_EQ(0, testutil::RunShell(src + "bsdtar --format zip -cf - * | cat > " + Quoted(piped)).status);
    ExpectArchiveHolds(piped, files, "bsdtar to a pipe");
}

TEST(Tools, SevenZipArchives)
{
    std::string seven = SevenZip();
    if (seven.empty()) GTEST_SKIP() << "7-Zip is not installed (Debian package 7zip)";
    testutil::TempDir dir;
    auto files = WriteSources(dir);
    const std::string src = "cd " + Quoted(dir.File("src")) + " && ";
    for (const char* level : {"-mx0", "-mx1", "-mx5", "-mx9"}) {
        std::string zip = dir.File(std::string("7z") + level + ".zip");
        ASSERT_EQ(0, testutil::RunShell(src + seven + " a -tzip -bso0 -bsp0 " + level + " " + Quoted(zip) + " *").status);
        ExpectArchiveHolds(zip, files, std::string("7-Zip ") + level);
    }
    std::string aes = dir.File("aes.zip");
    ASSERT_EQ(0, testutil::RunShell(src + seven + " a -tzip -bso0 -bsp0 -psecret -mem=AES256 " + Quoted(aes) + " rose.dst").status);
    auto statuses = Statuses(aes, PkDecompressTools(ALXorCrypto("secret")));
    EXPECT_EQ(AL_UNKNOWN_COMPRESSION_TYPE, statuses["rose.dst"]); // AES: method 99
}

} // namespace
