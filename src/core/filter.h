// CFilter: the base of every format filter. It owns the file a filter reads or writes,
// gives the formats a buffered reader, a writer and seek, the export frame, failure
// reporting and the thread colour map.
#pragma once

#include "core/stitch.h"
#include "core/thread_table.h"
#include "platform/file.h"

#include <cstring>
#include <functional>

// Reports a failure or warning: a message box (from a worker thread, with the caller
// pausing 1000 ms, when the settings ask for it or forceWorker is set) or, with messages
// off, a line "caption: message" appended to the error log. Returns true when a box was shown.
bool ReportToUser(const char* message, const char* caption, bool forceWorker = false);

class CFilter {
public:
    CFilter();
    virtual long GetMaxNoStitches(const char* pszFileName);
    virtual int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                           tagPOINT* pPoints, unsigned char* pTypes);
    virtual int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                           tagPOINT* pPoints, unsigned char* pTypes);
    // Filters are used through base pointers by the format table, so they are destroyed
    // through it too.
    virtual ~CFilter();

    CFilter(const CFilter&) = delete;
    CFilter& operator=(const CFilter&) = delete;

    int m_nHoopWidth = 0;  // millimetres
    int m_nHoopHeight = 0;
    CFile* m_pFile;        // the active file: m_File, or a caller's memory file
    CFile m_File;
    int m_nColorMap[kThreadCount];
    unsigned char m_ReadBuffer[4096];
    int m_nBufferCount = 0;
    int m_nBufferPos = 0;

    // Mode 0 opens for reading, 4097 (create, write) for writing. A caller's memory file is
    // only rewound. No message on failure.
    int OpenFile(const char* pszFileName, int nMode);
    // Reads served from the buffer stay inline: formats read 1- to 3-byte records.
    int Read(void* pDest, int nCount) { return FromBuffer(pDest, nCount) || BufferedRead(pDest, nCount, true); }
    int ReadNoEMsg(void* pDest, int nCount) { return FromBuffer(pDest, nCount) || BufferedRead(pDest, nCount, false); }
    int Write(const void* pSrc, int nCount);
    unsigned long SetFilePointer(long lOffset, unsigned long dwOrigin);
    // Closes the own file (a file being written is discarded: only the export frame
    // completes one) or rewinds a caller's memory file.
    void CloseHandle();
    void HandleError(const char* pszMessage, const char* pszCaption);
    void MapClrIndexes(int nFirst, int nEnd);
    // The colour map's entry for a block's colour; a colour beyond the master table (a file
    // may name any) maps like entry 0.
    int MappedColor(int nColor) const { return nColor >= 0 && nColor < kThreadCount ? m_nColorMap[nColor] : m_nColorMap[0]; }

    // ---- helpers for the formats

    bool UsesCallerFile() const { return m_pFile != &m_File; }
    // Length of a file for GetMaxNoStitches: opens it, measures and closes; -1 if it
    // cannot be opened.
    long MeasureFile(const char* pszFileName);
    // Sets the last error code and reports fmt (with the name for %s) with caption "Error".
    int Fail(int nCode, const char* pszFormat, const char* pszName);

    int ReadByte(uint8_t* v) { return Read(v, 1); }
    int ReadLE16(uint16_t* v);
    int ReadLE32(uint32_t* v);
    int ReadBE16(uint16_t* v);
    int ReadBE32(uint32_t* v);
    int WriteByte(uint8_t v) { return Write(&v, 1); }
    int WriteLE16(uint32_t v);
    int WriteLE32(uint32_t v);
    int WriteBE16(uint32_t v);
    int WriteBE32(uint32_t v);
    int WriteZeros(int nCount);

    // The export frame for one file: refuses an empty design (-17001), creates the file
    // (-17008), runs body, and on success completes the file; a failure in body or in
    // completing it is the write failure (-17009), and the unfinished file is discarded,
    // leaving whatever was there before untouched. The messages name pszShownName when it
    // is given: the name the caller passed to ExportFile, where the file written (a part,
    // or a set name's single file) has another.
    int RunExport(const char* pszFileName, long nStitches, const std::function<int()>& body,
                  const char* pszShownName = nullptr);
    // The same without the empty-design check, for each file of a part set.
    int RunExportFile(const char* pszFileName, const std::function<int()>& body, const char* pszShownName = nullptr);

private:
    int FlushWrites();
    int WriteThrough(const void* pSrc, int nCount);
    unsigned char m_WriteBuffer[4096];
    int m_nWriteCount = 0;
    bool FromBuffer(void* pDest, int nCount)
    {
        if (nCount < 0 || nCount > m_nBufferCount - m_nBufferPos) return false;
        std::memcpy(pDest, m_ReadBuffer + m_nBufferPos, (size_t)nCount);
        m_nBufferPos += nCount;
        return true;
    }
    int BufferedRead(void* pDest, int nCount, bool bReport);
    int FinishOutput();
    bool m_bWriting = false;
};
