// Entries of an archive's directory and the list that holds them, with marks that choose
// which entries an archive operation works on.
#pragma once

#include "archive/crypto.h"
#include "archive/toolkit.h"
#include "compress/engine.h"
#include "compress/storage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Progress reporting of the archive library; this system reports none.
class ALMonitor {
public:
    virtual ~ALMonitor() = default;
};

// A member's date and time as the archive records them (local time).
struct ALTimeDate {
    int miYear = 0;   // years since 1900
    int miMonth = 0;  // 0 to 11
    int miDate = 0;   // day of the month
    int miHour = 0;
    int miMinute = 0;
    int miSecond = 0;

    // From the packed MS-DOS fields of a ZIP header.
    void SetFromDos(unsigned time, unsigned date);
    // Seconds since 1970 for the local time zone; -1 when the fields name no time.
    long GetUnixTime() const;
};

struct ALFileAttributes {
    bool mbReadOnly = false;
    bool mbHidden = false;
    bool mbSystem = false;
    bool mbVolume = false;
    bool mbDirectory = false;
    bool mbArchive = false;

    // From the low byte of a ZIP member's external attributes (MS-DOS attribute bits).
    void SetFromDos(unsigned long attributes);
};

class ALEntryList;

class ALEntry {
public:
    ~ALEntry();
    ALEntry(const ALEntry&) = delete;
    ALEntry& operator=(const ALEntry&) = delete;

    // The storage's name, which is the member's name.
    const char* GetName() const;
    ALStorage* GetStorage() const { return mpStorage.get(); }
    // Replaces the storage that receives the member (e.g. with a memory storage of the same
    // name); the entry owns it from then on.
    void SetStorage(ALStorage* storage);
    ALEntry* GetNextEntry() const { return mpNext; }

    long GetCompressedSize() const { return mlCompressedSize; }
    long GetUncompressedSize() const { return mlUncompressedSize; }
    uint32_t GetCrc32() const { return mCrc32; }
    long GetOffset() const { return mlOffset; }
    const std::string& GetComment() const { return mComment; }
    int GetMethod() const { return miMethod; }
    int GetFlags() const { return miFlags; }
    int GetEngineType() const { return miEngineType; }
    bool IsEncrypted() const { return mbEncrypted; }
    // The member's sizes or offset need Zip64 records, which are not read.
    bool NeedsZip64() const { return mbZip64; }

    int GetMark() const { return miMark & 1; }
    void SetMark() { miMark |= 1; }
    void ClearMark() { miMark &= ~1; }

    ALCompressor* GetCompressor() const { return mpCompressor.get(); }
    ALDecompressor* GetDecompressor() const { return mpDecompressor.get(); }
    ALCryptoEngine* GetCryptoEngine() const { return mpCrypto.get(); }

    ALTimeDate mTimeDate;
    ALFileAttributes mAttributes;

private:
    friend class ALEntryList;
    friend class ALPkArchive;
    ALEntry() = default;

    std::unique_ptr<ALStorage> mpStorage;
    std::unique_ptr<ALCompressor> mpCompressor;
    std::unique_ptr<ALDecompressor> mpDecompressor;
    std::unique_ptr<ALCryptoEngine> mpCrypto;
    ALEntry* mpNext = nullptr;
    int miMark = 1; // entries start marked
    bool mbEncrypted = false;
    bool mbZip64 = false;
    bool mbKitStorage = false; // the storage is the kit's, named by the member
    int miMethod = 0;
    int miFlags = 0;
    int miEngineType = 0;
    long mlCompressedSize = 0;
    long mlUncompressedSize = 0;
    uint32_t mCrc32 = 0;
    long mlOffset = 0;
    std::string mComment;
};

class ALEntryList {
public:
    explicit ALEntryList(ALMonitor* monitor = nullptr, ALToolKit toolKit = PkDecompressTools());
    ~ALEntryList();
    ALEntryList(const ALEntryList&) = delete;
    ALEntryList& operator=(const ALEntryList&) = delete;

    ALEntry* GetFirstEntry() const { return mEntries.empty() ? nullptr : mEntries.front().get(); }
    int GetCount() const { return (int)mEntries.size(); }
    const ALToolKit& GetToolKit() const { return mToolKit; }
    ALMonitor* GetMonitor() const { return mpMonitor; }

    // Marks (state 1) or unmarks (0) every entry whose name matches the wildcard pattern,
    // every entry for a null pattern; returns the number of entries the pattern addressed.
    int SetMarkState(const char* pattern, short state);
    // Unmarks every marked entry for which another marked entry of the list has the same
    // name; with the list itself, of equal names only the last stays marked. A message sets
    // each unmarked entry's storage status to -1176 with that text. Returns how many were
    // unmarked.
    int UnmarkDuplicates(ALEntryList& list, const char* message = nullptr);
    // Deletes the unmarked entries; returns how many.
    int DeleteUnmarked();

private:
    friend class ALPkArchive;
    // Appends a new entry whose fields the archive fills; null when memory ran out.
    ALEntry* NewEntry();

    ALMonitor* mpMonitor;
    ALToolKit mToolKit;
    std::vector<std::unique_ptr<ALEntry>> mEntries;
};
