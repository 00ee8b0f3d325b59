#include "platform/archive.h"

#include <cstring>

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize < 128 ? 128u : (UINT)nBufSize)
{
    m_pBuf = new unsigned char[m_nBufSize];
}

CArchive::~CArchive()
{
    if (!m_bClosed && IsStoring() && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Flush();
        } catch (CFileException* e) {
            e->Delete();
        }
    }
    delete[] m_pBuf;
}

void CArchive::Write(const void* pBuf, UINT nCount)
{
    if (IsLoading()) throw new CArchiveException(CArchiveException::readOnly);
    const unsigned char* src = (const unsigned char*)pBuf;
    while (nCount > 0) {
        if (m_nCur == m_nBufSize) Flush();
        UINT n = m_nBufSize - m_nCur;
        if (n > nCount) n = nCount;
        std::memcpy(m_pBuf + m_nCur, src, n);
        m_nCur += n;
        src += n;
        nCount -= n;
    }
}

void CArchive::Flush()
{
    if (IsStoring()) {
        if (m_nCur) {
            UINT n = m_nCur;
            m_nCur = 0;
            m_pFile->Write(m_pBuf, n);
        }
        m_pFile->Flush();
    }
}

void CArchive::Fill()
{
    m_nCur = 0;
    m_nMax = m_pFile->Read(m_pBuf, m_nBufSize);
}

UINT CArchive::Read(void* pBuf, UINT nCount)
{
    if (IsStoring()) throw new CArchiveException(CArchiveException::writeOnly);
    unsigned char* dst = (unsigned char*)pBuf;
    UINT done = 0;
    while (done < nCount) {
        if (m_nCur == m_nMax) {
            Fill();
            if (m_nMax == 0) break;
        }
        UINT n = m_nMax - m_nCur;
        if (n > nCount - done) n = nCount - done;
        std::memcpy(dst + done, m_pBuf + m_nCur, n);
        m_nCur += n;
        done += n;
    }
    return done;
}

CArchive& CArchive::Get(void* p, UINT n)
{
    if (Read(p, n) != n) throw new CArchiveException(CArchiveException::endOfFile);
    return *this;
}

CArchive& CArchive::PutLE(uint64_t v, int bytes)
{
    unsigned char b[8];
    for (int i = 0; i < bytes; ++i) b[i] = (unsigned char)(v >> (8 * i));
    return Put(b, (UINT)bytes);
}

uint64_t CArchive::GetLE(int bytes)
{
    unsigned char b[8];
    Get(b, (UINT)bytes);
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= (uint64_t)b[i] << (8 * i);
    return v;
}

CArchive& CArchive::operator<<(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return PutLE(u, 4);
}

CArchive& CArchive::operator<<(double v)
{
    uint64_t u;
    std::memcpy(&u, &v, 8);
    return PutLE(u, 8);
}

CArchive& CArchive::operator>>(float& v)
{
    uint32_t u = (uint32_t)GetLE(4);
    std::memcpy(&v, &u, 4);
    return *this;
}

CArchive& CArchive::operator>>(double& v)
{
    uint64_t u = GetLE(8);
    std::memcpy(&v, &u, 8);
    return *this;
}

void CArchive::WriteCount(uint32_t n)
{
    if (n < 0xFF) {
        *this << (uint8_t)n;
    } else if (n < 0xFFFF) {
        *this << (uint8_t)0xFF << (uint16_t)n;
    } else {
        *this << (uint8_t)0xFF << (uint16_t)0xFFFF << n;
    }
}

uint32_t CArchive::ReadCount()
{
    uint8_t b;
    *this >> b;
    if (b < 0xFF) return b;
    uint16_t w;
    *this >> w;
    if (w < 0xFFFF) return w;
    uint32_t d;
    *this >> d;
    return d;
}

CArchive& CArchive::operator<<(const std::string& s)
{
    WriteCount((uint32_t)s.size());
    Write(s.data(), (UINT)s.size());
    return *this;
}

CArchive& CArchive::operator>>(std::string& s)
{
    uint32_t n = ReadCount();
    std::string out;
    // Read in pieces so that a corrupt count cannot size memory by itself.
    char piece[4096];
    while (n > 0) {
        UINT k = n < sizeof piece ? n : (UINT)sizeof piece;
        Get(piece, k);
        out.append(piece, k);
        n -= k;
    }
    s.swap(out);
    return *this;
}

void CArchive::Close()
{
    if (m_bClosed) return;
    if (IsStoring()) Flush();
    m_bClosed = true;
}

void CArchive::Abort()
{
    m_nCur = m_nMax = 0;
    m_bClosed = true;
}
