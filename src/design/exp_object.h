// CExpObject: the expanded design, a stitch list the object owns, read from and written
// to every machine format through the filters.
#pragma once

#include "design/emb_object.h"

#include <string>

class CExpObject : public CEmbObject {
public:
    CExpObject();
    ~CExpObject() override;

    void Serialize(CArchive& ar) override;
    CEmbObject* Copy() override;
    CEmbObject* CopyColor(int nColor) override;
    CEmbObject* ColorSplit(int nStitch) override;
    void ColorMerge(CEmbObject* pOther) override;
    void Draw(CDC* pDC, int nZoom) override;
    int ReadObject(const char* pszFileName, int bKeepHoop, CMemFile* pMemFile) override;
    void CleanupJunkStitches() override;
    void MirrorH(int nAxisX) override;
    void MirrorH() override;
    void MirrorV(int nAxisY) override;
    void MirrorV() override;
    void MoveTo(tagPOINT ptOffset) override;
    void RotateBy(tagPOINT ptCenter, short nDegrees) override;
    void ScaleBy(tagSIZE szFactors) override;
    int GetNoColors() override { return m_nColors; }
    long GetNoStitches() override { return m_nStitches; }
    tagPOINT* GetStitchData() override { return m_pPoints; }
    unsigned char* GetStitchType() override { return m_pTypes; }
    COLORCHG* GetColorData() override { return m_Colors; }
    int WriteObject(const char* pszFileName, CMemFile* pMemFile) override;

    // Replaces the design with a copy of a stitch list (for hosts that build one).
    bool SetStitchList(int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints,
                       const unsigned char* pTypes);
    // The bounds become the extent of the points (empty at the origin without points).
    void FindBounds();

    int m_nColors = 0;
    long m_nStitches = 0;
    long m_nCapacity = 0;
    COLORCHG m_Colors[kMaxColorRecords];
    tagPOINT* m_pPoints = nullptr;
    unsigned char* m_pTypes = nullptr;
    int m_nFirstColor = 0;
    int m_nDrawColors = 0;
    int m_nHoopWidth = 0;
    int m_nHoopHeight = 0;

private:
    static bool Allocate(long nEntries, tagPOINT** ppPoints, unsigned char** ppTypes);
    // A new design with arrays of nEntries entries and this design's tag and source; null
    // (with -17003) when memory runs out.
    CExpObject* NewDerived(long nEntries) const;
    void Adopt(tagPOINT* pPoints, unsigned char* pTypes);
    void ReportNoMemory();
    std::string m_strFileName; // the last file read or written, for messages
};
