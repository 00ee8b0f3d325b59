#include "compress/status.h"

#include <cstdarg>
#include <cstdio>
#include <iterator>

namespace {

struct StatusName {
    int code;
    const char* name;
};

const StatusName kStatusNames[] = {
    {AL_SUCCESS, "Success"},
    {AL_END_OF_FILE, "End of file"},
    {AL_MISSING_CRYPTO_ENGINE, "Missing Crypto engine"},
    {AL_INVALID_KEY, "Invalid key"},
    {AL_DUPLICATE_ENTRY, "Duplicate entry"},
    {AL_LIST_BOX_SELECTION_ERROR, "Error getting selections from list box"},
    {AL_BACKUP_FAILURE, "Could not create backup"},
    {AL_LOGIC_ERROR, "Logic error"},
    {AL_INVALID_ARCHIVE, "Invalid archive"},
    {AL_UNKNOWN_STORAGE_TYPE, "Unknown type of storage object"},
    {AL_UNKNOWN_COMPRESSION_TYPE, "Unknown compression type"},
    {AL_COMPARISON_ERROR, "Comparison error"},
    {AL_CRC_ERROR, "CRC Error"},
    {AL_MISSING_LENGTH, "Missing length parameter"},
    {AL_COMPRESSION_TYPE_MISMATCH, "Mismatch in compression type"},
    {AL_SERVER_NOT_PRESENT, "Server not present"},
    {AL_USER_ABORT, "User abort"},
    {AL_INTERNAL_ERROR, "Internal error"},
    {AL_ILLEGAL_PARAMETER, "Illegal parameter"},
    {AL_FILE_DELETION_ERROR, "File deletion error"},
    {AL_WRITE_ERROR, "Write error"},
    {AL_READ_ERROR, "Read error"},
    {AL_SEEK_ERROR, "Seek error"},
    {AL_CANT_OPEN_FILE, "Can't open file"},
    {AL_RENAME_ERROR, "Error renaming file"},
    {AL_CANT_CREATE_STORAGE, "Can't create storage object"},
    {AL_CANT_CREATE_ENGINE, "Can't create compression engine"},
    {AL_MEMORY_ALLOCATION_FAILURE, "Memory allocation failure"},
    {AL_CANT_ALLOCATE_BUFFER, "Can't allocate buffer"},
};

} // namespace

const char* ALStatusName(int code)
{
    for (const auto& entry : kStatusNames)
        if (entry.code == code) return entry.name;
    return "Unknown error";
}

int ALStatus::SetError(int code, const char* format, ...)
{
    miStatus = code;
    mDetail.clear();
    if (format) {
        va_list args;
        va_start(args, format);
        va_list again;
        va_copy(again, args);
        int length = std::vsnprintf(nullptr, 0, format, args);
        va_end(args);
        if (length > 0) {
            mDetail.resize((size_t)length + 1);
            std::vsnprintf(mDetail.data(), mDetail.size(), format, again);
            mDetail.resize((size_t)length);
        }
        va_end(again);
    }
    return miStatus;
}

void ALStatus::Clear()
{
    miStatus = AL_SUCCESS;
    mDetail.clear();
}

const char* ALStatus::GetStatusDetail() const
{
    return mDetail.empty() ? GetStatusString() : mDetail.c_str();
}
