// Status of a storage, an engine or an archive: a code (0 or negative) and a detail text.
#pragma once

#include <string>

enum ALStatusCode {
    AL_SUCCESS = 0,
    AL_END_OF_FILE = -1,
    AL_MISSING_CRYPTO_ENGINE = -1174,
    AL_INVALID_KEY = -1175,
    AL_DUPLICATE_ENTRY = -1176,
    AL_LIST_BOX_SELECTION_ERROR = -1177,
    AL_BACKUP_FAILURE = -1178,
    AL_LOGIC_ERROR = -1179,
    AL_INVALID_ARCHIVE = -1180,
    AL_UNKNOWN_STORAGE_TYPE = -1181,
    AL_UNKNOWN_COMPRESSION_TYPE = -1182,
    AL_COMPARISON_ERROR = -1183,
    AL_CRC_ERROR = -1184,
    AL_MISSING_LENGTH = -1185,
    AL_COMPRESSION_TYPE_MISMATCH = -1186,
    AL_SERVER_NOT_PRESENT = -1187,
    AL_USER_ABORT = -1188,
    AL_INTERNAL_ERROR = -1189,
    AL_ILLEGAL_PARAMETER = -1190,
    AL_FILE_DELETION_ERROR = -1191,
    AL_WRITE_ERROR = -1192,
    AL_READ_ERROR = -1193,
    AL_SEEK_ERROR = -1194,
    AL_CANT_OPEN_FILE = -1195,
    AL_RENAME_ERROR = -1196,
    AL_CANT_CREATE_STORAGE = -1197,
    AL_CANT_CREATE_ENGINE = -1198,
    AL_MEMORY_ALLOCATION_FAILURE = -1199,
    AL_CANT_ALLOCATE_BUFFER = -1200,
};

// The fixed name of a status code; "Unknown error" for a code outside the table.
const char* ALStatusName(int code);

class ALStatus {
public:
    ALStatus() = default;

    // Sets the code and, from a printf format, the detail text; returns the code.
    int SetError(int code, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void Clear();

    int GetStatusCode() const { return miStatus; }
    // The code's fixed name.
    const char* GetStatusString() const { return ALStatusName(miStatus); }
    // The detail text given with the error, or the name when none was given.
    const char* GetStatusDetail() const;

    operator int() const { return miStatus; }

private:
    int miStatus = AL_SUCCESS;
    std::string mDetail;
};
