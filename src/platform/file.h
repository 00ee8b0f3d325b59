// Files: a POSIX file with the host framework's interface, and a growable memory file.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <string>

// Raised by CFile operations; the library catches it as a pointer and calls Delete(), as
// host code written for the framework does.
class CFileException {
public:
    enum { none = 0, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied,
           invalidFile, removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation,
           lockViolation, diskFull, endOfFile };

    CFileException(int cause = none, long osError = -1, const char* fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName ? fileName : "") {}
    virtual ~CFileException() = default;
    void Delete() { delete this; }
    static int OsErrorToCause(long osError);
    [[noreturn]] static void ThrowOsError(long osError, const char* fileName = nullptr);

    int m_cause;
    long m_lOsError;
    std::string m_strFileName;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        // Our own: a file opened for writing goes to a temporary file beside the target and
        // replaces the target only on a successful Close(); Abort() discards it.
        modeReplaceOnClose = 0x40000000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile();
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual long Seek(long offset, UINT from);
    virtual uint64_t GetLength() const;
    virtual uint64_t GetPosition() const;
    virtual void Flush();
    virtual void Close();
    virtual void Abort();
    virtual bool IsOpen() const { return m_fd >= 0; }
    virtual bool IsMemoryFile() const { return false; }
    const std::string& GetFilePath() const { return m_strPath; }

    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return (uint64_t)Seek(0, end); }
    static void Remove(const char* fileName);
    static void Rename(const char* oldName, const char* newName);

private:
    void FlushBuffer();
    void Discard();

    int m_fd = -1;
    std::string m_strPath;      // the name the caller gave
    std::string m_strTempPath;  // set while writing through a temporary file
    unsigned char* m_pWriteBuf = nullptr;
    size_t m_nWriteLen = 0;
    bool m_bWritable = false;
};

class CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024);
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
    BYTE* Detach();

    BOOL Open(const char*, UINT, CFileException* = nullptr) override { return TRUE; }
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    long Seek(long offset, UINT from) override;
    uint64_t GetLength() const override { return m_nFileSize; }
    uint64_t GetPosition() const override { return m_nPosition; }
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }
    bool IsOpen() const override { return true; }
    bool IsMemoryFile() const override { return true; }

    // The bytes written so far (valid until the next write).
    const BYTE* Data() const { return m_pBuffer; }
    void SetLength(uint64_t newLength);

private:
    void Grow(size_t newSize);

    UINT m_nGrowBytes;
    size_t m_nPosition = 0;
    size_t m_nBufferSize = 0;
    size_t m_nFileSize = 0;
    BYTE* m_pBuffer = nullptr;
    bool m_bAutoDelete = true;
};
