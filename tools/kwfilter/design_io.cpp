#include "design_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

StitchList LoadedDesign::List()
{
    CEmbObject& o = Object();
    StitchList l;
    l.nColors = std::max(o.GetNoColors(), 0);
    l.nStitches = std::max(o.GetNoStitches(), 0L);
    if (COLORCHG* c = o.GetColorData()) std::copy(c, c + kMaxColorRecords, l.colors.begin());
    if (l.nStitches > 0) {
        l.points.assign(o.GetStitchData(), o.GetStitchData() + l.nStitches);
        l.types.assign(o.GetStitchType(), o.GetStitchType() + l.nStitches);
    }
    return l;
}

bool TakeDesignOptions(int& argc, char** argv, DesignReadOptions& options, std::string& why)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--key")) {
            if (i + 1 >= argc) {
                why = "--key needs a value";
                return false;
            }
            options.bHasKey = true;
            options.key = argv[++i];
        } else if (!std::strncmp(a, "--key=", 6)) {
            options.bHasKey = true;
            options.key = a + 6;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return true;
}

bool SplitArchivePath(const char* path, std::string& archive, std::string& member)
{
    struct stat info;
    if (::stat(path, &info) == 0) return false;
    for (const char* p = path; (p = std::strchr(p, ':')) != nullptr; ++p) {
        if (p - path < 5 || (strncasecmp(p - 4, ".zip", 4) && strncasecmp(p - 4, ".gzp", 4))) continue;
        archive.assign(path, (size_t)(p - path));
        member = p + 1;
        return !member.empty();
    }
    return false;
}

ALToolKit ArchiveTools(const DesignReadOptions& options)
{
    if (!options.bHasKey) return PkDecompressTools();
    return PkDecompressTools(ALXorCrypto((const unsigned char*)options.key.data(), (int)options.key.size()));
}

namespace {

void ReportArchive(const std::string& archive, const ALStatus& status)
{
    std::fprintf(stderr, "kwfilter: %s: %s (%s)\n", archive.c_str(), status.GetStatusDetail(), status.GetStatusString());
}

// Extracts one member into memory: its exact name (without regard to case, as the archive's
// kit compares names) or else a pattern that matches one member's name.
bool ReadArchiveMember(const std::string& path, const std::string& wanted, const DesignReadOptions& options,
                       LoadedDesign& out)
{
    ALPkArchive archive(path.c_str());
    ALEntryList list(nullptr, ArchiveTools(options));
    if (archive.ReadDirectory(list) < 0) {
        ReportArchive(path, archive.mStatus);
        return false;
    }
    list.SetMarkState(nullptr, 0);
    bool exact = false;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry())
        if (ALName(e->GetName()).SameName(wanted.c_str())) {
            e->SetMark();
            exact = true;
        }
    if (!exact) list.SetMarkState(wanted.c_str(), 1);
    list.UnmarkDuplicates(list); // of equal names the last one counts
    list.DeleteUnmarked();
    if (list.GetCount() != 1) {
        std::fprintf(stderr, "kwfilter: %s: %s\n", path.c_str(),
                     list.GetCount() ? ("'" + wanted + "' matches " + std::to_string(list.GetCount()) + " members").c_str()
                                     : ("no member '" + wanted + "'").c_str());
        return false;
    }
    ALEntry* entry = list.GetFirstEntry();
    auto* memory = new ALMemory(entry->GetName());
    entry->SetStorage(memory);
    if (archive.Extract(list) < 0) {
        ReportArchive(path, archive.mStatus);
        return false;
    }
    out.member = entry->GetName();
    out.memory = std::make_unique<CMemFile>();
    if (memory->GetSize() > 0) out.memory->Write(memory->GetBuffer(), (UINT)memory->GetSize());
    out.memory->SeekToBegin();
    return true;
}

} // namespace

namespace {

bool ReadFailed(const char* path)
{
    std::fprintf(stderr, "kwfilter: %s: the design could not be read (error %d)\n", path, GetSetup()->m_nLastError);
    return false;
}

// A condensed design reads its file and renders it; the reader says nothing of a file it
// cannot open, so that is checked here first.
bool LoadCondensed(const char* path, LoadedDesign& out, CMemFile* pMemFile)
{
    if (!pMemFile) {
        std::FILE* f = std::fopen(path, "rb");
        if (!f) {
            std::fprintf(stderr, "kwfilter: %s: cannot open: %s\n", path, std::strerror(errno));
            return false;
        }
        std::fclose(f);
    }
    out.condensed = std::make_unique<CCndObject>();
    out.condensed->ReadObject(path, 0, pMemFile);
    if (GetSetup()->m_nLastError < 0 || !out.condensed->GetRenderedDesign()) return ReadFailed(path);
    return true;
}

} // namespace

bool LoadDesign(const char* path, LoadedDesign& out, const DesignReadOptions& options)
{
    std::string archive, member;
    if (SplitArchivePath(path, archive, member) && !ReadArchiveMember(archive, member, options, out)) return false;
    const char* name = out.FileName(path);
    out.format = FindFormat(name);
    if (out.format && IsCondensedSource(out.format->nSource)) return LoadCondensed(name, out, out.memory.get());
    if (!out.design.ReadObject(name, 0, out.memory.get())) return ReadFailed(path);
    return true;
}

bool SaveDesign(const char* path, CEmbObject& design)
{
    if (!design.WriteObject(path, nullptr)) {
        std::fprintf(stderr, "kwfilter: %s: the design could not be written (error %d)\n", path,
                     GetSetup()->m_nLastError);
        return false;
    }
    return true;
}

bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight)
{
    CExpObject design;
    if (!design.SetStitchList(list.nColors, list.colors.data(), list.nStitches, list.points.data(), list.types.data()))
        return false;
    design.m_nHoopWidth = hoopWidth;
    design.m_nHoopHeight = hoopHeight;
    return SaveDesign(path, design);
}
