#include "archive/pk_archive.h"

#include "archive/member_io.h"
#include "archive/pk_engines.h"
#include "compress/file_storage.h"
#include "core/endian.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr long kEcdSearch = 66000;
constexpr long kEcdChunk = 256;
constexpr long kEcdSize = 22;
constexpr long kCentralSize = 46;
constexpr long kLocalSize = 30;
constexpr uint32_t kLocalSignature = 0x04034b50;   // "PK" 3 4
constexpr uint32_t kCentralSignature = 0x02014b50; // "PK" 1 2
constexpr uint32_t kEcdSignature = 0x06054b50;     // "PK" 5 6
constexpr uint32_t kZip64EcdSignature = 0x06064b50;
constexpr uint32_t kSaturated32 = 0xFFFFFFFF;
constexpr uint16_t kSaturated16 = 0xFFFF;

const char kNoEcd[] = "Can't locate end of central directory in ZIP file %s";
const char kBadRecord[] = "Bad record in central directory of ZIP file %s";

} // namespace

// Opens the archive storage for one operation unless the caller holds it open.
class ALPkArchive::Opened {
public:
    explicit Opened(ALStorage& storage) : mStorage(storage), mbOpened(!storage.IsOpen())
    {
        if (mbOpened) {
            storage.mStatus.Clear(); // a failure of an earlier operation is not this one's
            storage.Open();
        }
    }
    ~Opened()
    {
        if (mbOpened) mStorage.Close();
    }

private:
    ALStorage& mStorage;
    bool mbOpened;
};

ALPkArchive::ALPkArchive(const char* name)
    : mOwned(new ALFile(name, ALStorage::kDefaultBufferSize, AL_MIXED)), mpArchive(mOwned.get())
{
}

ALPkArchive::ALPkArchive(ALStorage& storage) : mpArchive(&storage) {}

ALPkArchive::~ALPkArchive() = default;

bool ALPkArchive::ReadAt(long address, unsigned char* buffer, size_t count)
{
    if (mpArchive->Seek(address) < 0) return false;
    return mpArchive->ReadBuffer(buffer, count) == count;
}

long ALPkArchive::LocateEcd()
{
    const long length = mpArchive->GetSize();
    const long floor = length - std::min(length, kEcdSearch);
    // Chunks are read from the end backwards; the first three bytes of the chunk after each
    // one stay behind it, so that a signature across their border is seen.
    unsigned char chunk[kEcdChunk + 3];
    size_t carried = 0;
    for (long high = length; high > floor;) {
        long low = std::max(floor, high - kEcdChunk);
        size_t count = (size_t)(high - low);
        std::memmove(chunk + count, chunk, carried);
        if (!ReadAt(low, chunk, count)) break;
        size_t filled = count + carried;
        for (size_t p = count; p-- > 0;)
            if (p + 4 <= filled && GetLE32(chunk + p) == kEcdSignature) return low + (long)p;
        carried = std::min<size_t>(3, count);
        high = low;
    }
    if (mpArchive->mStatus < 0) return mStatus = mpArchive->mStatus;
    return mStatus.SetError(AL_INVALID_ARCHIVE, kNoEcd, GetName());
}

int ALPkArchive::ReadDirectory(ALEntryList& list)
{
    mStatus.Clear();
    mComment.clear();
    Opened opened(*mpArchive);
    if (mpArchive->mStatus < 0) return mStatus = mpArchive->mStatus;
    const long length = mpArchive->GetSize();
    const long ecd = LocateEcd();
    if (ecd < 0) return mStatus;

    unsigned char end[kEcdSize];
    if (ecd + kEcdSize > length || !ReadAt(ecd, end, sizeof end)) return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());
    const unsigned countHere = GetLE16(end + 8);
    const unsigned countTotal = GetLE16(end + 10);
    const uint32_t directorySize = GetLE32(end + 12);
    const uint32_t directoryOffset = GetLE32(end + 16);
    const long commentLength = GetLE16(end + 20);
    if (commentLength > length - ecd - kEcdSize) return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());
    mComment.resize((size_t)commentLength);
    if (commentLength && !ReadAt(ecd + kEcdSize, (unsigned char*)mComment.data(), mComment.size()))
        return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());
    if (countHere == kSaturated16 || countTotal == kSaturated16 || directorySize == kSaturated32 ||
        directoryOffset == kSaturated32)
        return mStatus.SetError(AL_UNKNOWN_COMPRESSION_TYPE, "ZIP file %s needs Zip64 records, which are not read",
                                GetName());
    if ((long)directoryOffset > ecd || (long)directorySize > ecd - (long)directoryOffset)
        return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());

    // The directory up to and including the end record's signature, read at once: its size
    // is bounded by the file's.
    std::vector<unsigned char> directory;
    try {
        directory.resize((size_t)(ecd + 4 - (long)directoryOffset));
    } catch (const std::bad_alloc&) {
        return mStatus.SetError(AL_MEMORY_ALLOCATION_FAILURE, "Memory allocation failure reading ZIP file %s", GetName());
    }
    if (!ReadAt((long)directoryOffset, directory.data(), directory.size()))
        return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());

    const long records = (long)directory.size() - 4; // the end record's signature follows them
    const ALToolKit& kit = list.GetToolKit();
    long position = 0;
    unsigned found = 0;
    for (;;) {
        if (position + 4 > (long)directory.size()) return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());
        const unsigned char* record = directory.data() + position;
        uint32_t signature = GetLE32(record);
        if (signature == kEcdSignature || signature == kZip64EcdSignature) {
            // Every record the end record counts must have been there, and no more.
            if (countHere != found || countTotal != found)
                return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());
            return mStatus;
        }
        if (signature != kCentralSignature || position + kCentralSize > records)
            return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());
        const long nameLength = GetLE16(record + 28);
        const long extraLength = GetLE16(record + 30);
        const long entryCommentLength = GetLE16(record + 32);
        const long recordEnd = position + kCentralSize + nameLength + extraLength + entryCommentLength;
        if (recordEnd > records) return mStatus.SetError(AL_INVALID_ARCHIVE, kBadRecord, GetName());

        std::string name((const char*)record + kCentralSize, (size_t)nameLength);
        std::unique_ptr<ALStorage> storage(kit.CreateStorageObject(name.c_str()));
        if (!storage)
            return mStatus.SetError(AL_CANT_CREATE_STORAGE, "Failure creating storage object in ZIP file %s", GetName());
        ALEntry* entry = list.NewEntry();
        if (!entry)
            return mStatus.SetError(AL_MEMORY_ALLOCATION_FAILURE,
                                    "Failure creating ALEntry object when reading directory in ZIP file %s", GetName());
        entry->mpStorage = std::move(storage);
        entry->mbKitStorage = true;
        entry->miFlags = GetLE16(record + 8);
        entry->miMethod = GetLE16(record + 10);
        entry->mTimeDate.SetFromDos(GetLE16(record + 12), GetLE16(record + 14));
        entry->mCrc32 = GetLE32(record + 16);
        uint32_t compressed = GetLE32(record + 20);
        uint32_t uncompressed = GetLE32(record + 24);
        entry->mAttributes.SetFromDos(GetLE32(record + 38));
        uint32_t offset = GetLE32(record + 42);
        entry->mlCompressedSize = (long)compressed;
        entry->mlUncompressedSize = (long)uncompressed;
        entry->mlOffset = (long)offset;
        entry->mbZip64 = compressed == kSaturated32 || uncompressed == kSaturated32 || offset == kSaturated32;
        entry->mbEncrypted = entry->miFlags & 1;
        entry->miEngineType = ALPkEngineTypeOf(entry->miMethod, entry->miFlags);
        entry->mpDecompressor.reset(kit.CreateDecompressor(entry->miEngineType));
        entry->mpCompressor.reset(kit.CreateCompressor(entry->miEngineType));
        if (entry->mbEncrypted) entry->mpCrypto.reset(kit.CreateCryptoEngine());
        entry->mComment.assign((const char*)record + kCentralSize + nameLength + extraLength, (size_t)entryCommentLength);
        ++found;
        position = recordEnd;
    }
}

int ALPkArchive::FailEntry(ALEntry& entry, int code, const char* format, ...)
{
    char detail[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(detail, sizeof detail, format, args);
    va_end(args);
    entry.GetStorage()->mStatus.SetError(code, "%s", detail);
    if (miFirstFailure == AL_SUCCESS) {
        miFirstFailure = code;
        mStatus.SetError(code, "%s", detail);
    }
    return code;
}

int ALPkArchive::Extract(ALEntryList& list)
{
    mStatus.Clear();
    miFirstFailure = AL_SUCCESS;
    Opened opened(*mpArchive);
    if (mpArchive->mStatus < 0) return mStatus = mpArchive->mStatus;
    const long length = mpArchive->GetSize();

    // Members whose bytes overlap are refused: honest archives never share bytes, and a bomb
    // that lets many entries inflate the same data would multiply what one member may make.
    std::vector<ALEntry*> marked;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry())
        if (e->GetMark()) marked.push_back(e);
    // Members that do not fit in the file take no part: they fail on their own.
    std::vector<ALEntry*> byOffset;
    for (ALEntry* e : marked)
        if (e->GetOffset() <= length - kLocalSize - e->GetCompressedSize()) byOffset.push_back(e);
    std::stable_sort(byOffset.begin(), byOffset.end(),
                     [](const ALEntry* a, const ALEntry* b) { return a->GetOffset() < b->GetOffset(); });
    std::vector<const ALEntry*> overlapping;
    const ALEntry* reach = nullptr; // the entry reaching furthest so far
    for (ALEntry* e : byOffset) {
        long start = e->GetOffset();
        if (reach && start < reach->GetOffset() + kLocalSize + reach->GetCompressedSize()) {
            overlapping.push_back(e);
            overlapping.push_back(reach);
        }
        if (!reach || start + kLocalSize + e->GetCompressedSize() > reach->GetOffset() + kLocalSize + reach->GetCompressedSize())
            reach = e;
    }
    std::sort(overlapping.begin(), overlapping.end());

    for (ALEntry* e : marked) {
        if (!e->GetStorage())
            return mStatus.SetError(AL_CANT_CREATE_STORAGE, "An entry of ZIP file %s has no storage object", GetName());
        bool overlaps = std::binary_search(overlapping.begin(), overlapping.end(), e);
        int status = ExtractEntry(*e, overlaps, length);
        if (status == AL_CANT_CREATE_ENGINE || status == AL_MISSING_CRYPTO_ENGINE || status == AL_INVALID_KEY) {
            e->GetStorage()->mStatus = mStatus;
            return mStatus;
        }
    }
    return miFirstFailure != AL_SUCCESS ? mStatus : (mStatus = mpArchive->mStatus);
}

int ALPkArchive::ExtractEntry(ALEntry& entry, bool overlaps, long fileLength)
{
    ALStorage& storage = *entry.GetStorage();
    const char* name = entry.GetName();
    storage.mStatus.Clear();
    if (entry.NeedsZip64())
        return FailEntry(entry, AL_UNKNOWN_COMPRESSION_TYPE, "%s needs Zip64 records, which are not read (ZIP file %s)",
                         name, GetName());
    ALDecompressor* decompressor = entry.GetDecompressor();
    if (!decompressor && !ALPkIsKnownType(entry.GetEngineType()))
        return FailEntry(entry, AL_UNKNOWN_COMPRESSION_TYPE, "Unknown compression method %d of %s in ZIP file %s",
                         entry.GetMethod(), name, GetName());
    if (overlaps)
        return FailEntry(entry, AL_INVALID_ARCHIVE, "%s overlaps another member of ZIP file %s", name, GetName());

    unsigned char local[kLocalSize];
    if (entry.GetOffset() > fileLength - kLocalSize || !ReadAt(entry.GetOffset(), local, sizeof local) ||
        GetLE32(local) != kLocalSignature) {
        mpArchive->mStatus.Clear();
        return FailEntry(entry, AL_INVALID_ARCHIVE, "Invalid local header for %s in ZIP file %s", name, GetName());
    }
    const long dataStart = entry.GetOffset() + kLocalSize + GetLE16(local + 26) + GetLE16(local + 28);
    if (entry.GetCompressedSize() > fileLength - dataStart)
        return FailEntry(entry, AL_INVALID_ARCHIVE, "The data of %s run past the end of ZIP file %s", name, GetName());

    if (!decompressor) return mStatus.SetError(AL_CANT_CREATE_ENGINE, "Attempt to decompress without a decompressor");
    ALCryptoEngine* crypto = nullptr;
    if (entry.IsEncrypted()) {
        crypto = entry.GetCryptoEngine();
        if (!crypto)
            return mStatus.SetError(AL_MISSING_CRYPTO_ENGINE, "Attempt to extract an object without decryption engine");
        if (crypto->StartDecrypt() < 0) return mStatus = crypto->mStatus;
    }
    if (entry.mbKitStorage && dynamic_cast<ALFile*>(&storage) && !ALIsSafeMemberPath(name))
        return FailEntry(entry, AL_ILLEGAL_PARAMETER, "%s would be written outside the current folder", name);

    // Nothing is written beyond the size the directory gives, nor beyond the memory ceiling
    // for anything but a file.
    const bool inMemory = dynamic_cast<ALFile*>(&storage) == nullptr;
    const long size = entry.GetUncompressedSize();
    if (inMemory && size > mlMemoryLimit)
        return FailEntry(entry, AL_CRC_ERROR, "%s is larger than the %ld bytes a member may take in memory", name,
                         mlMemoryLimit);
    char detail[512];
    std::snprintf(detail, sizeof detail, "%s inflates beyond its size of %ld bytes in the directory of ZIP file %s",
                  name, size, GetName());

    ALMemberInput input(name, *mpArchive, dataStart, entry.GetCompressedSize(), crypto);
    ALBoundedOutput output(storage, size, detail);
    int status = decompressor->Decompress(input, output, entry.GetCompressedSize());
    if (mpArchive->mStatus < 0) {
        // A read failure of the archive belongs to this member; the next one tries afresh.
        int code = mpArchive->mStatus;
        std::string why = mpArchive->mStatus.GetStatusDetail();
        mpArchive->mStatus.Clear();
        return FailEntry(entry, code, "%s", why.c_str());
    }
    if (output.LimitReached()) return FailEntry(entry, AL_CRC_ERROR, "%s", detail);
    if (storage.mStatus < 0) {
        std::string why = storage.mStatus.GetStatusDetail();
        return FailEntry(entry, storage.mStatus, "%s", why.c_str());
    }
    if (status < 0) return FailEntry(entry, status, "%s", decompressor->mStatus.GetStatusDetail());
    uint32_t crc = ~output.GetCrc32();
    if (crc != entry.GetCrc32())
        return FailEntry(entry, AL_CRC_ERROR, "CRC32 was supposed to be %08lx, was %08lx", (unsigned long)entry.GetCrc32(),
                         (unsigned long)crc);
    return AL_SUCCESS;
}

bool ALIsSafeMemberPath(const char* name)
{
    if (!name || !*name) return false;
    if (name[0] == '/' || name[0] == '\\') return false;
    if (std::isalpha((unsigned char)name[0]) && name[1] == ':') return false;
    const char* part = name;
    for (const char* p = name;; ++p) {
        if (*p == '/' || *p == '\\' || *p == 0) {
            if (p - part == 2 && part[0] == '.' && part[1] == '.') return false;
            if (*p == 0) break;
            part = p + 1;
        }
    }
    return true;
}
