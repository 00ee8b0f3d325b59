#include "compress/file_storage.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

ALFile::ALFile(const char* name, size_t bufferSize, ALCase nameCase)
    : ALStorage(name, bufferSize, nameCase)
{
}

ALFile::~ALFile()
{
    Close();
}

ALStorage* ALFile::Clone(const char* name, int storageType) const
{
    if (storageType != AL_STORAGE_DEFAULT && storageType != AL_FILE_OBJECT) return nullptr;
    return new (std::nothrow) ALFile(name, GetBufferSize(), GetNameCase());
}

int ALFile::OpenMedium(bool create)
{
    // Reading needs no write permission: archives and designs are often read-only.
    int flags = create ? O_RDWR | O_CREAT | O_TRUNC : O_RDONLY;
    do miHandle = ::open(GetName(), flags | O_CLOEXEC, 0666);
    while (miHandle < 0 && errno == EINTR);
    if (miHandle < 0)
        return mStatus.SetError(AL_CANT_OPEN_FILE, "Failure opening file %s: %s", GetName(),
                                std::strerror(errno));
    return AL_SUCCESS;
}

void ALFile::CloseMedium()
{
    if (miHandle < 0) return;
    if (::close(miHandle) != 0 && errno != EINTR && mStatus == AL_SUCCESS)
        mStatus.SetError(AL_WRITE_ERROR, "Failure closing file %s: %s", GetName(),
                         std::strerror(errno));
    miHandle = -1;
}

long ALFile::MediumSize() const
{
    struct stat info;
    int result = miHandle >= 0 ? ::fstat(miHandle, &info) : ::stat(GetName(), &info);
    return result == 0 ? (long)info.st_size : 0;
}

long ALFile::ReadAt(long address, unsigned char* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        ssize_t got = ::pread(miHandle, buffer + total, count - total, (off_t)address + (off_t)total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            mStatus.SetError(AL_READ_ERROR, "Failure reading file %s: %s", GetName(),
                             std::strerror(errno));
            return -1;
        }
        if (got == 0) break;
        total += (size_t)got;
    }
    return (long)total;
}

bool ALFile::WriteAt(long address, const unsigned char* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        ssize_t put = ::pwrite(miHandle, buffer + total, count - total, (off_t)address + (off_t)total);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            mStatus.SetError(AL_WRITE_ERROR, "Failure writing file %s: %s", GetName(),
                             put < 0 ? std::strerror(errno) : "nothing written");
            return false;
        }
        total += (size_t)put;
    }
    return true;
}
