#include "compress/limited_memory.h"

#include <algorithm>
#include <cstring>

ALLimitedMemory::ALLimitedMemory(const char* name, long limit, bool keepBytes)
    : ALStorage(name), mlLimit(limit < 0 ? 0 : limit), mbKeep(keepBytes)
{
}

ALLimitedMemory::~ALLimitedMemory()
{
    Close();
}

int ALLimitedMemory::OpenMedium(bool create)
{
    if (create) {
        mlUsed = 0;
        mbLimitReached = false;
        mBytes.clear();
    }
    return AL_SUCCESS;
}

long ALLimitedMemory::ReadAt(long address, unsigned char* buffer, size_t count)
{
    if (!mbKeep || address >= mlUsed) return 0;
    size_t n = std::min(count, (size_t)(mlUsed - address));
    std::memcpy(buffer, mBytes.data() + address, n);
    return (long)n;
}

bool ALLimitedMemory::WriteAt(long address, const unsigned char* buffer, size_t count)
{
    long end = address + (long)count;
    if (address < 0 || end > mlLimit) {
        // Keep what fits, so the caller has the first limit bytes.
        if (address >= 0 && address < mlLimit) WriteAt(address, buffer, (size_t)(mlLimit - address));
        mbLimitReached = true;
        mStatus.SetError(AL_WRITE_ERROR, "Storage %s is full at %ld bytes", GetName(), mlLimit);
        return false;
    }
    if (mbKeep) {
        if ((long)mBytes.size() < end) mBytes.resize((size_t)end);
        std::memcpy(mBytes.data() + address, buffer, count);
    }
    if (end > mlUsed) mlUsed = end;
    return true;
}
