// kwfilter zip ARCHIVE [PATTERN...] [--extract DIR] [--key KEY]: lists the members of a ZIP
// archive, or extracts them into a folder, deciphering the members of a ".gzp" with KEY.
#include "cli.h"
#include "design_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <utime.h>
#include <vector>

namespace {

constexpr const char* kPartSuffix = ".kwpart";

int Run(int argc, char** argv);
const cli::Command kZip{"zip", "zip ARCHIVE [PATTERN...] [--extract DIR] [--key KEY]",
                        "list the members of a ZIP archive matching the patterns (default all), or extract them "
                        "into DIR, deciphering with KEY",
                        &Run};
cli::Register reg(kZip);

const char* MethodName(const ALEntry& e)
{
    static char other[32];
    if (e.NeedsZip64()) return "zip64";
    switch (e.GetEngineType()) {
    case AL_PK_STORED: return "stored";
    case AL_PK_DEFLATE_NORMAL: return "deflate";
    case AL_PK_DEFLATE_MAXIMUM: return "deflate-max";
    case AL_PK_DEFLATE_FAST: return "deflate-fast";
    case AL_PK_DEFLATE_SUPER_FAST: return "deflate-superfast";
    }
    std::snprintf(other, sizeof other, "method %d", e.GetMethod());
    return other;
}

// Keeps the entries that match any of the patterns (all without patterns); false when a
// pattern matches nothing.
bool Select(ALEntryList& list, const std::vector<const char*>& patterns)
{
    if (patterns.empty()) return true;
    list.SetMarkState(nullptr, 0);
    bool ok = true;
    for (const char* p : patterns)
        if (list.SetMarkState(p, 1) == 0) {
            std::fprintf(stderr, "kwfilter zip: no member matches '%s'\n", p);
            ok = false;
        }
    list.DeleteUnmarked();
    return ok;
}

void List(ALEntryList& list)
{
    std::printf("%10s  %10s  %-17s  %-19s  %-3s  %s\n", "Length", "Compressed", "Method", "Date", "Key", "Name");
    long length = 0, compressed = 0;
    int count = 0;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) {
        const ALTimeDate& t = e->mTimeDate;
        std::printf("%10ld  %10ld  %-17s  %04d-%02d-%02d %02d:%02d:%02d  %-3s  %s\n", e->GetUncompressedSize(),
                    e->GetCompressedSize(), MethodName(*e), t.miYear + 1900, t.miMonth + 1, t.miDate, t.miHour,
                    t.miMinute, t.miSecond, e->IsEncrypted() ? "yes" : "no", e->GetName());
        length += e->GetUncompressedSize();
        compressed += e->GetCompressedSize();
        ++count;
    }
    std::printf("%10ld  %10ld  %d member%s\n", length, compressed, count, count == 1 ? "" : "s");
}

bool MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

bool IsFolderEntry(const ALEntry& e)
{
    size_t n = std::strlen(e.GetName());
    return n > 0 && (e.GetName()[n - 1] == '/' || e.GetName()[n - 1] == '\\');
}

int Extract(ALPkArchive& archive, ALEntryList& list, const std::string& dir)
{
    if (!MakeFolders(dir)) {
        std::fprintf(stderr, "kwfilter zip: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    list.UnmarkDuplicates(list); // of equal names the last one is extracted
    list.DeleteUnmarked();
    int status = 0;
    struct Target {
        ALEntry* entry;
        std::string name, path;
    };
    std::vector<Target> files;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) {
        std::string name = e->GetName();
        if (!ALIsSafeMemberPath(name.c_str())) {
            std::fprintf(stderr, "kwfilter zip: %s: not extracted, the name leads outside %s\n", name.c_str(), dir.c_str());
            e->ClearMark();
            status = 1;
            continue;
        }
        for (auto& c : name)
            if (c == '\\') c = '/';
        std::string path = dir + "/" + name;
        if (IsFolderEntry(*e)) {
            e->ClearMark();
            if (!MakeFolders(path.substr(0, path.size() - 1))) {
                std::fprintf(stderr, "kwfilter zip: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
                status = 1;
            }
            continue;
        }
        size_t slash = path.rfind('/');
        if (!MakeFolders(path.substr(0, slash))) {
            std::fprintf(stderr, "kwfilter zip: cannot create the folder of %s: %s\n", path.c_str(), std::strerror(errno));
            e->ClearMark();
            status = 1;
            continue;
        }
        // Each member goes to a file beside its place, renamed over it once it is complete, so
        // that a member that fails harms no file that was there.
        e->SetStorage(new ALFile((path + kPartSuffix).c_str()));
        files.push_back({e, name, path});
    }
    // An enciphered member without a key (or with an empty one) ends an extraction; the
    // members after it are still extracted by the next round.
    for (;;) {
        int result = archive.Extract(list);
        if (result != AL_MISSING_CRYPTO_ENGINE && result != AL_INVALID_KEY && result != AL_CANT_CREATE_ENGINE) break;
        for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) {
            if (!e->GetMark()) continue;
            e->ClearMark();
            if (e->GetStorage()->mStatus == result) break;
        }
    }
    for (const auto& [e, name, path] : files) {
        const ALStatus& s = e->GetStorage()->mStatus;
        const char* part = e->GetName();
        if (s >= 0 && std::rename(part, path.c_str()) != 0) {
            std::fprintf(stderr, "kwfilter zip: %s: cannot rename %s: %s\n", name.c_str(), part, std::strerror(errno));
            status = 1;
        } else if (s < 0) {
            std::string detail = s.GetStatusDetail();
            for (size_t at; (at = detail.find(part)) != std::string::npos;) detail.replace(at, std::strlen(part), name);
            std::fprintf(stderr, "kwfilter zip: %s: %s (%s)\n", name.c_str(), detail.c_str(), s.GetStatusString());
            std::remove(part);
            status = 1;
            continue;
        }
        long when = e->mTimeDate.GetUnixTime();
        if (when >= 0) {
            struct utimbuf times = {(time_t)when, (time_t)when};
            ::utime(path.c_str(), &times);
        }
        std::printf("extracted %s (%ld bytes)\n", path.c_str(), e->GetUncompressedSize());
    }
    return status;
}

int Run(int argc, char** argv)
{
    DesignReadOptions options;
    std::string why;
    if (!TakeDesignOptions(argc, argv, options, why)) return cli::UsageError(kZip, why.c_str());
    const char* archivePath = nullptr;
    const char* dir = nullptr;
    std::vector<const char*> patterns;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--extract")) {
            if (++i >= argc) return cli::UsageError(kZip, "--extract needs a folder");
            dir = argv[i];
        } else if (!std::strncmp(a, "--extract=", 10)) {
            dir = a + 10;
        } else if (a[0] == '-' && a[1] == '-') {
            return cli::UsageError(kZip, (std::string("unknown option '") + a + "'").c_str());
        } else if (!archivePath) {
            archivePath = a;
        } else {
            patterns.push_back(a);
        }
    }
    if (!archivePath) return cli::UsageError(kZip, "no archive given");
    if (dir && !*dir) return cli::UsageError(kZip, "--extract needs a folder");

    ALPkArchive archive(archivePath);
    // Listing needs no engines to work; extracting takes the reading kit with the key.
    ALEntryList list(nullptr, dir ? ArchiveTools(options) : FullTools());
    if (archive.ReadDirectory(list) < 0) {
        std::fprintf(stderr, "kwfilter zip: %s: %s (%s)\n", archivePath, archive.mStatus.GetStatusDetail(),
                     archive.mStatus.GetStatusString());
        return 1;
    }
    bool matched = Select(list, patterns);
    if (!dir) {
        List(list);
        return matched ? 0 : 1;
    }
    int status = Extract(archive, list, dir);
    return matched ? status : 1;
}

} // namespace
