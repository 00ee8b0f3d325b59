#include "compress/storage.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t CrcEntry(uint32_t n)
{
    for (int k = 0; k < 8; ++k) n = (n & 1) ? 0xEDB88320u ^ (n >> 1) : n >> 1;
    return n;
}

} // namespace

const uint32_t ALStorage::skCrcTable[256] = {
#define KW_CRC4(n) CrcEntry(n), CrcEntry(n + 1), CrcEntry(n + 2), CrcEntry(n + 3)
#define KW_CRC16(n) KW_CRC4(n), KW_CRC4(n + 4), KW_CRC4(n + 8), KW_CRC4(n + 12)
#define KW_CRC64(n) KW_CRC16(n), KW_CRC16(n + 16), KW_CRC16(n + 32), KW_CRC16(n + 48)
    KW_CRC64(0), KW_CRC64(64), KW_CRC64(128), KW_CRC64(192)
#undef KW_CRC64
#undef KW_CRC16
#undef KW_CRC4
};

ALStorage::ALStorage(const char* name, size_t bufferSize, ALCase nameCase)
    : mName(name ? name : ""), mNameCase(nameCase), miBufferSize(bufferSize ? bufferSize : 1)
{
    if (nameCase == AL_UPPER)
        for (auto& c : mName) c = (char)std::toupper((unsigned char)c);
    else if (nameCase == AL_LOWER)
        for (auto& c : mName) c = (char)std::tolower((unsigned char)c);
}

ALStorage::~ALStorage() = default;

bool ALStorage::AllocateBuffer()
{
    if (!mBuffer.empty()) return true;
    try {
        mBuffer.resize(miBufferSize);
    } catch (const std::bad_alloc&) {
        mStatus.SetError(AL_CANT_ALLOCATE_BUFFER, "Can't allocate a buffer of %zu bytes for %s",
                         miBufferSize, GetName());
        return false;
    }
    return true;
}

int ALStorage::Open()
{
    if (mStatus < 0) return mStatus;
    if (mbOpen) return Seek(0);
    if (!AllocateBuffer() || OpenMedium(false) < 0) return mStatus;
    mbOpen = true;
    mbWriting = false;
    mlBufferBase = 0;
    miBufferPosition = miBufferFill = 0;
    mlSize = MediumSize();
    mbCrc = false;
    return mStatus;
}

int ALStorage::Create()
{
    if (mStatus < 0) return mStatus;
    if (mbOpen) Close();
    if (mStatus < 0 || !AllocateBuffer() || OpenMedium(true) < 0) return mStatus;
    mbOpen = true;
    mbWriting = true;
    mlBufferBase = 0;
    miBufferPosition = miBufferFill = 0;
    mlSize = MediumSize();
    mbCrc = false;
    return mStatus;
}

int ALStorage::Close()
{
    if (!mbOpen) return mStatus;
    if (mbWriting) FlushBuffer();
    CloseMedium();
    mbOpen = false;
    mbWriting = false;
    mlBufferBase = 0;
    miBufferPosition = miBufferFill = 0;
    // A closed storage keeps no buffer: lists of many extracted members hold only their data.
    std::vector<unsigned char>().swap(mBuffer);
    return mStatus;
}

bool ALStorage::FlushBuffer()
{
    if (miBufferPosition == 0) return true;
    bool ok = WriteAt(mlBufferBase, mBuffer.data(), miBufferPosition);
    mlBufferBase += (long)miBufferPosition;
    miBufferPosition = 0;
    if (ok)
        mlSize = std::max(mlSize, mlBufferBase);
    else
        mbWriting = false; // keeps later writes off the fast path, where the status is not seen
    return ok;
}

bool ALStorage::EmptyBuffer()
{
    bool ok = true;
    if (mbWriting)
        ok = FlushBuffer();
    else
        mlBufferBase += (long)miBufferPosition;
    miBufferPosition = miBufferFill = 0;
    mbWriting = false;
    return ok;
}

int ALStorage::ReadCharSlow()
{
    if (mStatus < 0 || !mbOpen || !EmptyBuffer()) return -1;
    long got = ReadAt(mlBufferBase, mBuffer.data(), mBuffer.size());
    if (got <= 0) return -1;
    miBufferFill = (size_t)got;
    int c = mBuffer[miBufferPosition++];
    if (mbCrc) UpdateCrc((unsigned char)c);
    return c;
}

int ALStorage::WriteCharSlow(int c)
{
    if (mStatus < 0 || !mbOpen) return -1;
    if (mbWriting) {
        if (!FlushBuffer()) return -1;
    } else {
        EmptyBuffer();
        mbWriting = true;
    }
    mBuffer[miBufferPosition++] = (unsigned char)c;
    if (mbCrc) UpdateCrc((unsigned char)c);
    return c & 0xFF;
}

size_t ALStorage::ReadBuffer(unsigned char* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        if (!mbWriting && miBufferPosition < miBufferFill) {
            size_t take = std::min(count - total, miBufferFill - miBufferPosition);
            std::memcpy(buffer + total, mBuffer.data() + miBufferPosition, take);
            if (mbCrc) UpdateCrc(buffer + total, take);
            miBufferPosition += take;
            total += take;
            continue;
        }
        if (mStatus < 0 || !mbOpen || !EmptyBuffer()) break;
        size_t want = count - total;
        if (want >= mBuffer.size()) {
            long got = ReadAt(mlBufferBase, buffer + total, want);
            if (got <= 0) break;
            if (mbCrc) UpdateCrc(buffer + total, (size_t)got);
            mlBufferBase += got;
            total += (size_t)got;
            continue;
        }
        long got = ReadAt(mlBufferBase, mBuffer.data(), mBuffer.size());
        if (got <= 0) break;
        miBufferFill = (size_t)got;
    }
    return total;
}

size_t ALStorage::WriteBuffer(const unsigned char* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        // A run of a whole buffer or more into an empty buffer goes straight to the medium.
        bool direct = miBufferPosition == 0 && count - total >= mBuffer.size();
        if (mbWriting && miBufferPosition < mBuffer.size() && !direct) {
            size_t take = std::min(count - total, mBuffer.size() - miBufferPosition);
            std::memcpy(mBuffer.data() + miBufferPosition, buffer + total, take);
            if (mbCrc) UpdateCrc(buffer + total, take);
            miBufferPosition += take;
            total += take;
            continue;
        }
        if (mStatus < 0 || !mbOpen) break;
        if (mbWriting) {
            if (!FlushBuffer()) break;
        } else {
            EmptyBuffer();
            mbWriting = true;
        }
        size_t want = count - total;
        if (want >= mBuffer.size()) {
            if (!WriteAt(mlBufferBase, buffer + total, want)) {
                mbWriting = false;
                break;
            }
            if (mbCrc) UpdateCrc(buffer + total, want);
            mlBufferBase += (long)want;
            mlSize = std::max(mlSize, mlBufferBase);
            total += want;
        }
    }
    return total;
}

int ALStorage::Seek(long address)
{
    if (mStatus < 0) return mStatus;
    if (!mbOpen)
        return mStatus.SetError(AL_SEEK_ERROR, "Attempt to seek in %s, which is not open", GetName());
    // Within the bytes already read, the buffer is kept: a reader that hops over a header
    // to the data behind it reads the medium once.
    if (!mbWriting && address >= mlBufferBase && address <= mlBufferBase + (long)miBufferFill) {
        miBufferPosition = (size_t)(address - mlBufferBase);
        return AL_SUCCESS;
    }
    if (!EmptyBuffer()) return mStatus;
    if (address < 0)
        return mStatus.SetError(AL_SEEK_ERROR, "Attempt to seek to %ld in %s", address, GetName());
    if (!SeekAllowed(address)) return mStatus;
    mlBufferBase = address;
    return AL_SUCCESS;
}

bool ALStorage::SeekAllowed(long)
{
    return true;
}

ALStorage* ALStorage::Clone(const char*, int) const
{
    return nullptr;
}

long ALStorage::GetSize() const
{
    if (!mbOpen) return MediumSize();
    return mbWriting ? std::max(mlSize, Tell()) : mlSize;
}

void ALStorage::InitCrc32(uint32_t seed)
{
    mCrc = seed;
    mbCrc = true;
}

void ALStorage::UpdateCrc(const unsigned char* bytes, size_t count)
{
    mCrc = ~(uint32_t)crc32_z(~mCrc & 0xFFFFFFFFu, bytes, count);
}

int ALStorage::WriteGlShort(short value)
{
    WriteChar(((unsigned short)value >> 8) & 0xFF);
    WriteChar((unsigned short)value & 0xFF);
    return mStatus;
}

int ALStorage::ReadGlShort(short& value)
{
    int high = ReadChar();
    int low = ReadChar();
    if (high < 0 || low < 0) return mStatus < 0 ? (int)mStatus : (int)AL_END_OF_FILE;
    value = (short)(unsigned short)((high << 8) | low);
    return AL_SUCCESS;
}

// ALMemory

ALMemory::ALMemory(const char* name, void* buffer, long size, ALCase nameCase)
    : ALStorage(name, kDefaultBufferSize, nameCase)
{
    if (buffer) {
        mpUserBuffer = static_cast<unsigned char*>(buffer);
        mlUserSize = size > 0 ? size : 0;
    }
}

ALMemory::~ALMemory()
{
    Close();
}

ALStorage* ALMemory::Clone(const char* name, int storageType) const
{
    if (storageType != AL_STORAGE_DEFAULT && storageType != AL_MEMORY_OBJECT) return nullptr;
    return new (std::nothrow) ALMemory(name, nullptr, 0, GetNameCase());
}

const unsigned char* ALMemory::GetBuffer() const
{
    return mpUserBuffer ? mpUserBuffer : reinterpret_cast<const unsigned char*>(mOwned.data());
}

int ALMemory::OpenMedium(bool create)
{
    if (create && !mpUserBuffer) mlUsed = 0;
    return AL_SUCCESS;
}

long ALMemory::MediumSize() const
{
    return mpUserBuffer ? mlUserSize : mlUsed;
}

long ALMemory::ReadAt(long address, unsigned char* buffer, size_t count)
{
    long size = MediumSize();
    if (address >= size) return 0;
    size_t take = std::min(count, (size_t)(size - address));
    std::memcpy(buffer, GetBuffer() + address, take);
    return (long)take;
}

bool ALMemory::WriteAt(long address, const unsigned char* buffer, size_t count)
{
    if (mpUserBuffer) {
        if (address > mlUserSize || count > (size_t)(mlUserSize - address)) {
            if (address < mlUserSize)
                std::memcpy(mpUserBuffer + address, buffer, (size_t)(mlUserSize - address));
            mStatus.SetError(AL_WRITE_ERROR,
                             "Attempt to write past the end of a user owned buffer for ALMemory %s",
                             GetName());
            return false;
        }
        std::memcpy(mpUserBuffer + address, buffer, count);
        return true;
    }
    if (count > (size_t)(LONG_MAX - address)) {
        mStatus.SetError(AL_WRITE_ERROR, "Attempt to write past the largest size of ALMemory %s",
                         GetName());
        return false;
    }
    size_t end = (size_t)address + count;
    if (end > mOwned.size()) {
        try {
            // The vector grows its capacity geometrically; only the bytes about to be
            // written are cleared first.
            mOwned.resize(end);
        } catch (const std::bad_alloc&) {
            mStatus.SetError(AL_MEMORY_ALLOCATION_FAILURE,
                             "Memory allocation failure when writing ALMemory %s", GetName());
            return false;
        }
    }
    std::memcpy(reinterpret_cast<unsigned char*>(mOwned.data()) + address, buffer, count);
    mlUsed = std::max(mlUsed, (long)end);
    return true;
}

bool ALMemory::SeekAllowed(long address)
{
    if (address <= MediumSize()) return true;
    mStatus.SetError(AL_SEEK_ERROR, "Attempt to seek past the end of ALMemory %s", GetName());
    return false;
}
