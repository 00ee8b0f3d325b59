// A ZIP archive read through its central directory: the directory becomes an entry list,
// and the marked entries are extracted, inflated and deciphered into their storages.
#pragma once

#include "archive/entry.h"
#include "compress/status.h"
#include "compress/storage.h"

#include <memory>
#include <string>

class ALPkArchive {
public:
    // The most one member may take when it is extracted into anything but a file: no design
    // comes near it, and it keeps a member that inflates enormously from exhausting memory.
    static constexpr long kMemoryLimit = 64L << 20;

    // An archive over a file storage of that name.
    explicit ALPkArchive(const char* name);
    // An archive over a storage the caller owns (e.g. an ALMemory holding the archive).
    explicit ALPkArchive(ALStorage& storage);
    ~ALPkArchive();
    ALPkArchive(const ALPkArchive&) = delete;
    ALPkArchive& operator=(const ALPkArchive&) = delete;

    // Appends one entry per central directory record; 0 or a negative status (also in
    // mStatus, with its detail text).
    int ReadDirectory(ALEntryList& list);
    // Extracts every marked entry into its storage. A member that fails (bad local header,
    // unknown method, bound passed, CRC) has that status on its storage and the others are
    // still extracted; the first such status is returned. A missing decompressor or cipher
    // engine, or a cipher that will not start, ends the extraction with that status.
    int Extract(ALEntryList& list);
    // The offset of the end of central directory record, found in the last 66000 bytes;
    // else a negative status.
    long LocateEcd();

    const char* GetName() const { return mpArchive->GetName(); }
    // The archive comment of the last directory read.
    const std::string& GetComment() const { return mComment; }
    // The ceiling for members extracted into memory (kMemoryLimit unless set).
    void SetMemoryLimit(long bytes) { mlMemoryLimit = bytes; }
    long GetMemoryLimit() const { return mlMemoryLimit; }

    ALStatus mStatus;

private:
    class Opened;
    bool ReadAt(long address, unsigned char* buffer, size_t count);
    int ExtractEntry(ALEntry& entry, bool overlaps, long fileLength);
    int FailEntry(ALEntry& entry, int code, const char* format, ...) __attribute__((format(printf, 4, 5)));

    std::unique_ptr<ALStorage> mOwned;
    ALStorage* mpArchive;
    std::string mComment;
    long mlMemoryLimit = kMemoryLimit;
    int miFirstFailure = AL_SUCCESS;
};

// Whether a member's name stays inside the folder it is extracted into: not absolute, no
// drive, no ".." step (either slash separates).
bool ALIsSafeMemberPath(const char* name);
