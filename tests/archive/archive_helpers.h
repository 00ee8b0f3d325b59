// An archive read from bytes in memory, and its members extracted into memory storages.
#pragma once

#include "zip_builder.h"

#include "archive/entry.h"
#include "archive/pk_archive.h"
#include "archive/toolkit.h"
#include "compress/storage.h"

#include <string>
#include <vector>

namespace ziptest {

class MemoryZip {
public:
    explicit MemoryZip(Bytes bytes, ALToolKit kit = PkDecompressTools())
        : mBytes(std::move(bytes)), mStorage("test.zip", mBytes.empty() ? nullptr : mBytes.data(), (long)mBytes.size()),
          mArchive(mStorage), mList(nullptr, std::move(kit))
    {
    }

    int Read() { return mArchive.ReadDirectory(mList); }
    // Gives every entry a memory storage of its name and extracts the marked ones.
    int ExtractToMemory()
    {
        for (ALEntry* e = mList.GetFirstEntry(); e; e = e->GetNextEntry()) e->SetStorage(new ALMemory(e->GetName()));
        return mArchive.Extract(mList);
    }
    std::vector<ALEntry*> Entries() const
    {
        std::vector<ALEntry*> all;
        for (ALEntry* e = mList.GetFirstEntry(); e; e = e->GetNextEntry()) all.push_back(e);
        return all;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (ALEntry* e : Entries()) names.push_back(e->GetName());
        return names;
    }
    ALPkArchive& Archive() { return mArchive; }
    ALEntryList& List() { return mList; }

private:
    Bytes mBytes;
    ALMemory mStorage;
    ALPkArchive mArchive;
    ALEntryList mList;
};

// What an entry's memory storage holds.
inline Bytes Content(const ALEntry* e)
{
    auto* memory = dynamic_cast<ALMemory*>(e->GetStorage());
    if (!memory) return {};
    return Bytes(memory->GetBuffer(), memory->GetBuffer() + memory->GetSize());
}

inline int StatusOf(const ALEntry* e)
{
    return e->GetStorage()->mStatus.GetStatusCode();
}

inline std::string DetailOf(const ALEntry* e)
{
    return e->GetStorage()->mStatus.GetStatusDetail();
}

// Bytes that deflate well and are not all alike.
inline Bytes Pattern(size_t n, uint32_t seed = 1)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        b[i] = (uint8_t)("ABCDEFGH"[(seed >> 16) & 7] + (i % 64 == 0));
    }
    return b;
}

} // namespace ziptest
