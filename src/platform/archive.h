// CArchive: little-endian binary store and load over a CFile, with the framework's
// counted-string form.
#pragma once

#include "platform/file.h"

#include <string>

class CArchiveException {
public:
    enum { none = 0, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none) : m_cause(cause) {}
    virtual ~CArchiveException() = default;
    void Delete() { delete this; }
    int m_cause;
};

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return !(m_nMode & load); }
    bool IsLoading() const { return (m_nMode & load) != 0; }
    CFile* GetFile() const { return m_pFile; }

    // Loading past the end raises CArchiveException(endOfFile); file errors raise
    // CFileException, both as pointers.
    UINT Read(void* pBuf, UINT nCount);
    void Write(const void* pBuf, UINT nCount);
    void Flush();
    void Close();
    void Abort();

    CArchive& operator<<(int8_t v) { return Put(&v, 1); }
    CArchive& operator<<(uint8_t v) { return Put(&v, 1); }
    CArchive& operator<<(int16_t v) { return PutLE((uint64_t)(uint16_t)v, 2); }
    CArchive& operator<<(uint16_t v) { return PutLE(v, 2); }
    CArchive& operator<<(int32_t v) { return PutLE((uint64_t)(uint32_t)v, 4); }
    CArchive& operator<<(uint32_t v) { return PutLE(v, 4); }
    CArchive& operator<<(int64_t v) { return PutLE((uint64_t)v, 8); }
    CArchive& operator<<(uint64_t v) { return PutLE(v, 8); }
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const std::string& s);

    CArchive& operator>>(int8_t& v) { return Get(&v, 1); }
    CArchive& operator>>(uint8_t& v) { return Get(&v, 1); }
    CArchive& operator>>(int16_t& v) { v = (int16_t)GetLE(2); return *this; }
    CArchive& operator>>(uint16_t& v) { v = (uint16_t)GetLE(2); return *this; }
    CArchive& operator>>(int32_t& v) { v = (int32_t)(uint32_t)GetLE(4); return *this; }
    CArchive& operator>>(uint32_t& v) { v = (uint32_t)GetLE(4); return *this; }
    CArchive& operator>>(int64_t& v) { v = (int64_t)GetLE(8); return *this; }
    CArchive& operator>>(uint64_t& v) { v = GetLE(8); return *this; }
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(std::string& s);

    // The counted-string form: a length byte; 0xFF then a 16-bit length; 0xFF 0xFFFF then a
    // 32-bit length.
    void WriteCount(uint32_t n);
    uint32_t ReadCount();

private:
    CArchive& Put(const void* p, UINT n)
    {
        Write(p, n);
        return *this;
    }
    CArchive& Get(void* p, UINT n);
    CArchive& PutLE(uint64_t v, int bytes);
    uint64_t GetLE(int bytes);
    void Fill();

    CFile* m_pFile;
    UINT m_nMode;
    unsigned char* m_pBuf;
    UINT m_nBufSize;
    UINT m_nCur = 0; // storing: bytes waiting; loading: read cursor
    UINT m_nMax = 0; // loading: bytes held
    bool m_bClosed = false;
};
