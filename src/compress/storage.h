// Byte streams the engines and the archive reader work on: the buffered base, memory
// storages and (file_storage.h) files.
#pragma once

#include "compress/status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How a storage's name is compared: upper- or lower-cased, without regard to case, or as is.
enum ALCase { AL_UPPER, AL_LOWER, AL_MIXED, AL_KEEP_CASE };

// Storage kinds a tool kit makes storages of by name; the default is a kit's first kind.
enum ALStorageType { AL_STORAGE_DEFAULT = -1, AL_MEMORY_OBJECT = 0, AL_FILE_OBJECT = 1 };

// A byte stream with a name, a size, a position and a status. Single bytes go through a
// buffer; a medium (memory, file) supplies and takes whole runs of bytes at an address.
// After an error every read yields nothing and every write fails, so a caller can run a
// whole operation and check the status once.
class ALStorage {
public:
    static constexpr size_t kDefaultBufferSize = 4096;

    explicit ALStorage(const char* name, size_t bufferSize = kDefaultBufferSize,
                       ALCase nameCase = AL_MIXED);
    virtual ~ALStorage();
    ALStorage(const ALStorage&) = delete;
    ALStorage& operator=(const ALStorage&) = delete;

    // Opens for reading from position 0.
    virtual int Open();
    // Opens for writing from the start; what was there is dropped.
    virtual int Create();
    virtual int Close();
    bool IsOpen() const { return mbOpen; }

    // The next byte, or -1 at the end of the data or after an error.
    int ReadChar()
    {
        if (!mbWriting && miBufferPosition < miBufferFill) {
            int c = mBuffer[miBufferPosition++];
            if (mbCrc) UpdateCrc((unsigned char)c);
            return c;
        }
        return ReadCharSlow();
    }
    // Returns c, or -1 when it could not be written.
    int WriteChar(int c)
    {
        if (mbWriting && miBufferPosition < mBuffer.size()) {
            mBuffer[miBufferPosition++] = (unsigned char)c;
            if (mbCrc) UpdateCrc((unsigned char)c);
            return c & 0xFF;
        }
        return WriteCharSlow(c);
    }
    // Returns the number of bytes read: fewer than asked, down to 0, only at the end of the
    // data or after an error.
    size_t ReadBuffer(unsigned char* buffer, size_t count);
    // Returns the number of bytes written; fewer than asked only after an error.
    size_t WriteBuffer(const unsigned char* buffer, size_t count);

    long Tell() const { return mlBufferBase + (long)miBufferPosition; }
    int Seek(long address);
    long GetSize() const;

    // Starts a CRC-32 over the bytes that pass through the storage from now on, read or
    // written. The register is kept as it stands: the usual CRC-32 of the bytes is its
    // complement when the seed is 0xFFFFFFFF.
    void InitCrc32(uint32_t seed = 0xFFFFFFFF);
    uint32_t GetCrc32() const { return mCrc; }

    // 16-bit big-endian values, as engine data are stored.
    int WriteGlShort(short value);
    int ReadGlShort(short& value);

    const char* GetName() const { return mName.c_str(); }
    ALCase GetNameCase() const { return mNameCase; }
    size_t GetBufferSize() const { return miBufferSize; }

    // A new, empty storage of the same kind and settings under another name, when this
    // kind serves the storage type asked for; else null. Tool kits make storages this way.
    virtual ALStorage* Clone(const char* name, int storageType) const;

    ALStatus mStatus;

protected:
    // The medium. ReadAt returns the number of bytes read (0 at the end) or -1 after it set
    // mStatus; WriteAt returns false after it set mStatus.
    virtual int OpenMedium(bool create) = 0;
    virtual void CloseMedium() = 0;
    virtual long MediumSize() const = 0;
    virtual long ReadAt(long address, unsigned char* buffer, size_t count) = 0;
    virtual bool WriteAt(long address, const unsigned char* buffer, size_t count) = 0;
    // Whether Seek may move to the address; sets mStatus when it may not.
    virtual bool SeekAllowed(long address);

private:
    int ReadCharSlow();
    int WriteCharSlow(int c);
    bool AllocateBuffer();
    bool FlushBuffer();
    // Leaves the buffer empty at the current position, writing what it holds.
    bool EmptyBuffer();
    void UpdateCrc(unsigned char c) { mCrc = skCrcTable[(mCrc ^ c) & 0xFF] ^ (mCrc >> 8); }
    void UpdateCrc(const unsigned char* bytes, size_t count);

    static const uint32_t skCrcTable[256];

    std::string mName;
    ALCase mNameCase;
    size_t miBufferSize;
    std::vector<unsigned char> mBuffer; // allocated when the storage is first opened
    long mlBufferBase = 0;          // address of mBuffer[0]
    size_t miBufferPosition = 0;    // current position within the buffer
    size_t miBufferFill = 0;        // bytes loaded while reading
    long mlSize = 0;                // size of the medium, including what was written
    bool mbWriting = false;         // the buffer holds bytes [0, position) not yet written
    bool mbOpen = false;
    bool mbCrc = false;
    uint32_t mCrc = 0;
};

// A storage in memory. Given a buffer, it reads and writes that caller-owned buffer of
// `size` bytes and never goes past its end; given a null buffer, it owns a buffer that grows
// while it is written, and its size is then the number of bytes written.
class ALMemory : public ALStorage {
public:
    explicit ALMemory(const char* name = "", void* buffer = nullptr, long size = 0,
                      ALCase nameCase = AL_MIXED);
    ~ALMemory() override;
    ALStorage* Clone(const char* name, int storageType) const override;

    // The bytes: the caller's buffer, or the owned one (GetSize() bytes of it are data).
    const unsigned char* GetBuffer() const;
    bool IsUserBuffer() const { return mpUserBuffer != nullptr; }

protected:
    int OpenMedium(bool create) override;
    void CloseMedium() override {}
    long MediumSize() const override;
    long ReadAt(long address, unsigned char* buffer, size_t count) override;
    bool WriteAt(long address, const unsigned char* buffer, size_t count) override;
    bool SeekAllowed(long address) override;

private:
    unsigned char* mpUserBuffer = nullptr;
    long mlUserSize = 0;
    // Grown bytes are left uninitialised: each is written before it is read.
    struct UninitialisedByte {
        unsigned char value;
        UninitialisedByte() {}
    };
    std::vector<UninitialisedByte> mOwned;
    long mlUsed = 0; // bytes of mOwned that are data
};
