#include "core/filter.h"

#include "core/colors.h"
#include "core/endian.h"
#include "core/settings.h"
#include "platform/message.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr int kReadBufferSize = 4096;
const char kMsgNoStitches[] = "Cannot save %s. Design does not have any stitch data.";
const char kMsgCannotOpen[] = "Cannot open design %s. Please check it for errors.";
const char kMsgWriteFailed[] = "Unknown error writing design %s. Deleting file.";

} // namespace

bool ReportToUser(const char* message, const char* caption, bool forceWorker)
{
    CKwFilter* setup = GetSetup();
    if (setup->m_bShowMessages) {
        if ((setup->m_bMessageThread || forceWorker) && !MessageBoxesSynchronous()) {
            KwMessageBoxOnWorker(message, caption);
            Sleep(1000);
        } else {
            KwMessageBox(message, caption, MB_OK);
        }
        return true;
    }
    if (!setup->m_strErrorLog.empty())
        AppendTextLine(setup->m_strErrorLog, FormatText("%s: %s\n", caption, message));
    return false;
}

CFilter::CFilter() : m_pFile(&m_File)
{
    std::memset(m_nColorMap, 0, sizeof m_nColorMap);
    GetSetup()->m_nLastError = 0;
}

CFilter::~CFilter() = default;

long CFilter::GetMaxNoStitches(const char*) { return 0; }

int CFilter::ImportFile(const char*, int*, COLORCHG*, long*, tagPOINT*, unsigned char*) { return 0; }

int CFilter::ExportFile(const char*, int, COLORCHG*, long, tagPOINT*, unsigned char*) { return 0; }

int CFilter::OpenFile(const char* pszFileName, int nMode)
{
    m_nBufferCount = m_nBufferPos = 0;
    m_nWriteCount = 0;
    m_bWriting = false;
    if (UsesCallerFile()) {
        try {
            m_pFile->Seek(0, CFile::begin);
        } catch (CFileException* e) {
            e->Delete();
            return 0;
        }
        return 1;
    }
    if (!pszFileName) return 0;
    UINT flags = (UINT)nMode | CFile::typeBinary | CFile::shareDenyWrite;
    if (nMode & CFile::modeWrite) flags |= CFile::modeReplaceOnClose;
    if (!m_File.Open(pszFileName, flags)) return 0;
    m_bWriting = (nMode & CFile::modeWrite) != 0;
    return 1;
}

int CFilter::BufferedRead(void* pDest, int nCount, bool bReport)
{
    auto fail = [&]() {
        m_nBufferCount = m_nBufferPos = 0;
        if (bReport) {
            GetSetup()->m_nLastError = KW_ERR_READ;
            HandleError("Error reading from file.", "Error");
        } else {
            CloseHandle();
        }
        return 0;
    };
    if (nCount < 0) return fail();
    unsigned char* dest = (unsigned char*)pDest;
    int left = m_nBufferCount - m_nBufferPos;
    if (nCount <= left) {
        std::memcpy(dest, m_ReadBuffer + m_nBufferPos, (size_t)nCount);
        m_nBufferPos += nCount;
        return 1;
    }
    if (left > 0) std::memcpy(dest, m_ReadBuffer + m_nBufferPos, (size_t)left);
    int rest = nCount - left;
    m_nBufferCount = m_nBufferPos = 0;
    try {
        if (rest < kReadBufferSize) {
            int got = (int)m_pFile->Read(m_ReadBuffer, kReadBufferSize);
            if (got <= 0 || got < rest) return fail();
            std::memcpy(dest + left, m_ReadBuffer, (size_t)rest);
            m_nBufferCount = got;
            m_nBufferPos = rest;
        } else {
            UINT got = m_pFile->Read(dest + left, (UINT)rest);
            if (got < (UINT)rest) return fail();
        }
    } catch (CFileException* e) {
        e->Delete();
        return fail();
    }
    return 1;
}

int CFilter::Write(const void* pSrc, int nCount)
{
    if (nCount <= 0) return 1;
    // Small records gather here, so that a format writing 2- or 3-byte records makes one
    // file call per few thousand bytes.
    if (nCount <= (int)sizeof m_WriteBuffer - m_nWriteCount) {
        std::memcpy(m_WriteBuffer + m_nWriteCount, pSrc, (size_t)nCount);
        m_nWriteCount += nCount;
        return 1;
    }
    if (!FlushWrites()) return 0;
    if (nCount < (int)sizeof m_WriteBuffer) {
        std::memcpy(m_WriteBuffer, pSrc, (size_t)nCount);
        m_nWriteCount = nCount;
        return 1;
    }
    return WriteThrough(pSrc, nCount);
}

int CFilter::FlushWrites()
{
    if (m_nWriteCount == 0) return 1;
    int n = m_nWriteCount;
    m_nWriteCount = 0;
    return WriteThrough(m_WriteBuffer, n);
}

int CFilter::WriteThrough(const void* pSrc, int nCount)
{
    try {
        m_pFile->Write(pSrc, (UINT)nCount);
    } catch (CFileException* e) {
        long osError = e->m_lOsError;
        e->Delete();
        GetSetup()->m_nLastError = KW_ERR_WRITE;
        HandleError(FormatText("Error(%ld) writing to file.", osError).c_str(), "Error");
        return 0;
    }
    return 1;
}

unsigned long CFilter::SetFilePointer(long lOffset, unsigned long dwOrigin)
{
    if (!FlushWrites()) return (unsigned long)-1;
    try {
        if (dwOrigin == CFile::current) {
            long cursor = (long)m_nBufferPos + lOffset;
            if (m_nBufferCount > 0 && cursor >= 0 && cursor < m_nBufferCount) {
                m_nBufferPos = (int)cursor;
                return (unsigned long)(m_pFile->GetPosition() - (uint64_t)(m_nBufferCount - m_nBufferPos));
            }
            long unread = (long)(m_nBufferCount - m_nBufferPos);
            m_nBufferCount = m_nBufferPos = 0;
            return (unsigned long)m_pFile->Seek(lOffset - unread, CFile::current);
        }
        m_nBufferCount = m_nBufferPos = 0;
        return (unsigned long)m_pFile->Seek(lOffset, dwOrigin == CFile::end ? CFile::end : CFile::begin);
    } catch (CFileException* e) {
        e->Delete();
        m_nBufferCount = m_nBufferPos = 0;
        return (unsigned long)-1;
    }
}

void CFilter::CloseHandle()
{
    m_nBufferCount = m_nBufferPos = 0;
    m_nWriteCount = 0; // a file closed here is not completed: what waits is dropped
    if (UsesCallerFile()) {
        try {
            m_pFile->Seek(0, CFile::begin);
        } catch (CFileException* e) {
            e->Delete();
        }
        return;
    }
    if (m_bWriting) {
        m_File.Abort();
        m_bWriting = false;
        return;
    }
    try {
        m_File.Close();
    } catch (CFileException* e) {
        e->Delete();
    }
}

void CFilter::HandleError(const char* pszMessage, const char* pszCaption)
{
    if (ReportToUser(pszMessage, pszCaption) && m_pFile->IsOpen()) CloseHandle();
}

void CFilter::MapClrIndexes(int nFirst, int nEnd)
{
    if (nFirst < 0) nFirst = 0;
    if (nEnd > kThreadCount) nEnd = kThreadCount;
    if (nFirst >= nEnd) {
        std::memset(m_nColorMap, 0, sizeof m_nColorMap);
        return;
    }
    for (int k = 0; k < kThreadCount; ++k) {
        if (k >= nFirst && k < nEnd) {
            m_nColorMap[k] = k - nFirst;
            continue;
        }
        m_nColorMap[k] = NearestThread(GetThreadColor(k), nFirst, nEnd) - nFirst;
    }
}

long CFilter::MeasureFile(const char* pszFileName)
{
    if (!OpenFile(pszFileName, 0)) return -1;
    long length = (long)m_pFile->GetLength();
    CloseHandle();
    return length;
}

int CFilter::Fail(int nCode, const char* pszFormat, const char* pszName)
{
    GetSetup()->m_nLastError = nCode;
    // The format holds exactly one %s, for the file name.
    std::string text = FormatText(pszFormat, pszName ? pszName : "");
    HandleError(text.c_str(), "Error");
    return 0;
}

namespace {

template <class T, int N, class Decode> int ReadField(CFilter& f, T* v, Decode decode)
{
    uint8_t b[N];
    if (!f.Read(b, N)) return 0;
    *v = (T)decode(b);
    return 1;
}

template <int N, class Encode> int WriteField(CFilter& f, uint32_t v, Encode encode)
{
    uint8_t b[N];
    encode(b, v);
    return f.Write(b, N);
}

} // namespace

int CFilter::ReadLE16(uint16_t* v) { return ReadField<uint16_t, 2>(*this, v, GetLE16); }
int CFilter::ReadLE32(uint32_t* v) { return ReadField<uint32_t, 4>(*this, v, GetLE32); }
int CFilter::ReadBE16(uint16_t* v) { return ReadField<uint16_t, 2>(*this, v, GetBE16); }
int CFilter::ReadBE32(uint32_t* v) { return ReadField<uint32_t, 4>(*this, v, GetBE32); }
int CFilter::WriteLE16(uint32_t v) { return WriteField<2>(*this, v, PutLE16); }
int CFilter::WriteLE32(uint32_t v) { return WriteField<4>(*this, v, PutLE32); }
int CFilter::WriteBE16(uint32_t v) { return WriteField<2>(*this, v, PutBE16); }
int CFilter::WriteBE32(uint32_t v) { return WriteField<4>(*this, v, PutBE32); }

int CFilter::WriteZeros(int nCount)
{
    static const uint8_t zeros[256] = {};
    while (nCount > 0) {
        int n = nCount < 256 ? nCount : 256;
        if (!Write(zeros, n)) return 0;
        nCount -= n;
    }
    return 1;
}

int CFilter::FinishOutput()
{
    if (!FlushWrites()) return 0;
    if (UsesCallerFile()) {
        try {
            m_pFile->Flush();
        } catch (CFileException* e) {
            e->Delete();
        }
        CloseHandle();
        return 1;
    }
    if (!m_bWriting) return 0; // already discarded by a failure report
    m_bWriting = false;
    m_nBufferCount = m_nBufferPos = 0;
    try {
        m_File.Close();
    } catch (CFileException* e) {
        long osError = e->m_lOsError;
        e->Delete();
        GetSetup()->m_nLastError = KW_ERR_WRITE;
        HandleError(FormatText("Error(%ld) writing to file.", osError).c_str(), "Error");
        return 0;
    }
    return 1;
}

int CFilter::RunExportFile(const char* pszFileName, const std::function<int()>& body, const char* pszShownName)
{
    const char* shown = pszShownName ? pszShownName : pszFileName;
    if (!OpenFile(pszFileName, CFile::modeCreate | CFile::modeWrite)) return Fail(KW_ERR_CREATE, kMsgCannotOpen, shown);
    int ok = 0;
    try {
        ok = body();
    } catch (CFileException* e) {
        e->Delete();
        ok = 0;
    } catch (const std::bad_alloc&) {
        ok = 0;
    }
    if (ok && FinishOutput()) return 1;
    GetSetup()->m_nLastError = KW_ERR_WRITE;
    std::string text = FormatText(kMsgWriteFailed, shown ? shown : "");
    HandleError(text.c_str(), "Error");
    // Deleting the file: the unfinished temporary file goes, the target stays as it was.
    if (!UsesCallerFile() && m_bWriting) {
        m_File.Abort();
        m_bWriting = false;
    }
    GetSetup()->m_nLastError = KW_ERR_WRITE;
    return 0;
}

int CFilter::RunExport(const char* pszFileName, long nStitches, const std::function<int()>& body,
                       const char* pszShownName)
{
    if (nStitches < 1) return Fail(KW_ERR_NO_STITCHES, kMsgNoStitches, pszShownName ? pszShownName : pszFileName);
    return RunExportFile(pszFileName, body, pszShownName);
}
