// CEmbObject: the base of the design objects a host moves, rotates, scales, mirrors,
// splits and merges by colour, draws, reads and writes as files and stores in archives.
#pragma once

#include "core/stitch.h"
#include "platform/archive.h"
#include "platform/dc.h"
#include "platform/file.h"

class CEmbObject {
public:
    CEmbObject();
    virtual ~CEmbObject() = default;
    CEmbObject(const CEmbObject&) = delete;
    CEmbObject& operator=(const CEmbObject&) = delete;

    virtual void Serialize(CArchive& ar);

    virtual CEmbObject* Copy();
    virtual CEmbObject* CopyColor(int nColor);
    virtual CEmbObject* ColorSplit(int nStitch);
    virtual void ColorMerge(CEmbObject* pOther);
    virtual void Draw(CDC* pDC, int nZoom);
    virtual int ReadObject(const char* pszFileName, int bKeepHoop, CMemFile* pMemFile);
    virtual void CleanupJunkStitches();
    virtual void MirrorH(int nAxisX);
    virtual void MirrorH();
    virtual void MirrorV(int nAxisY);
    virtual void MirrorV();
    virtual void MoveTo(tagPOINT ptOffset);
    virtual void RotateBy(tagPOINT ptCenter, short nDegrees);
    virtual void ScaleBy(tagSIZE szFactors);
    virtual int GetNoColors();
    virtual long GetNoStitches();
    virtual tagPOINT* GetStitchData();
    virtual unsigned char* GetStitchType();
    virtual COLORCHG* GetColorData();
    virtual int WriteObject(const char* pszFileName, CMemFile* pMemFile);

    BOOL Intersects(const CRect& rect) const;
    // The design source of a file name's extension (0 for none).
    static int GetEmbSource(const char* pszFileName);
    // Reports a failure: a message box from a worker thread, or a line in the error log;
    // never touches a file.
    void HandleError(const char* pszMessage, const char* pszCaption);

    static void MovePoint(tagPOINT ptOffset, tagPOINT& pt);
    static void ScalePoint(tagSIZE szFactors, tagPOINT& pt);
    static void RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt);
    static double PointSqrt(tagPOINT pt);

    // Loads a design object stored with Serialize: reads the kind that leads it and
    // makes the object it names. Null (with the last error set) for an unknown kind or a
    // failed load.
    static CEmbObject* LoadObject(CArchive& ar);

    CRect m_rcBounds;      // left = smallest x, top = largest y, right = largest x, bottom = smallest y
    int32_t m_nThousand = 1000;
    int32_t m_nTag = 0;    // copied with the design by Copy, CopyColor and ColorSplit
    int32_t m_nEmbSource = 0;
    int32_t m_nReserved[6] = {0, 0, 0, 0, 0, 0};

protected:
    void SerializeBase(CArchive& ar);
};
