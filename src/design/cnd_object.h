// CCndObject: the condensed design, an ordered list of elements that renders its stitches
// into an expanded design it owns and answers every stitch-level request from it.
#pragma once

#include "design/emb_data.h"
#include "design/exp_object.h"

#include <vector>

// Process-wide switches of satin rendering, exported as they stand.
extern int bForceFill;
extern int bLongSatins;
extern int bLettering;

class CCndObject : public CEmbObject {
public:
    // Rendering stops here and reports -17003: no real design comes near, a hostile file
    // must not exhaust memory.
    static constexpr long kMaxRenderedStitches = 5000000;
    static constexpr long kGrowStitches = 10000;

    CCndObject();
    ~CCndObject() override;

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
    int GetNoColors() override;
    long GetNoStitches() override;
    tagPOINT* GetStitchData() override;
    unsigned char* GetStitchType() override;
    COLORCHG* GetColorData() override;
    int WriteObject(const char* pszFileName, CMemFile* pMemFile) override;

    // ---- the element list and the rendered design
    CExpObject* GetRenderedDesign() const { return m_pRendered; }
    int GetElementCount() const { return (int)m_Elements.size(); }
    CEmbData* GetElement(int i) const;
    // The design owns the element from now on.
    void AppendElement(CEmbData* pElement);

    // ---- accumulation and geometry
    int RendorStitches(int nFirstColor);
    void AddStitches(int x, int y, SpecStTypes nType);
    void AddSatinLine(tagPOINT p1, tagPOINT p2, int nFlag);
    void AddSatinReturn(tagPOINT p, int nFlag);
    void AddFilledLine(int nOffsetStep, int nStitchLength, tagPOINT ptFrom, tagPOINT ptTo, int nCycle, tagPOINT ptRef,
                       tagPOINT ptRefDir);
    int GetSlidingDensity(int nWidth, int nDensity, int nScaleLength);
    int GetInterceptPoint(tagPOINT p, tagPOINT d, tagPOINT q, tagPOINT e, tagPOINT& ptOut);
    int GetCenter(tagPOINT p0, tagPOINT p1, tagPOINT p2, tagPOINT& ptOut);
    void GetPointOnCurve(const tagPOINT pts[4], double t, tagPOINT& ptOut);
    int ValidPoint(tagPOINT a, tagPOINT b, tagPOINT c, tagPOINT d, int x, int y);

    // ---- modes: the base's six further integers hold the current jump, trim and triple
    // modes and then the start modes.
    enum Mode { kJumpMode = 0, kTrimMode = 1, kTripleMode = 2 };
    int32_t& CurrentMode(Mode m) { return m_nReserved[m]; }
    int32_t& StartMode(Mode m) { return m_nReserved[3 + m]; }

    int32_t m_nColorCounter = 1;
    int16_t m_nDensity = 1000;
    int32_t m_bApplyColors = 1;
    tagPOINT m_ptLastStitch{0, 0};

    // The stagger counters of AddSatinLine, AddSatinReturn and AddFilledLine: process-wide
    // and never reset, so generated stitches depend on what was generated before.
    static int32_t s_nSatinLineStagger;
    static int32_t s_nSatinReturnStagger;
    static int32_t s_nFillRowStagger;

    // Set when AddStitches met the stitch limit or could not grow the rendered design:
    // the generators stop early, and rendering reports -17003.
    bool IsRenderFull() const { return m_bRenderFull != 0; }
    // One step of a generator's loop (a crossing, a fill row, a stitch). Hostile values can
    // make loops whose steps sew nothing (empty fill rows, satin crossings too short to
    // sew); a rendering that takes more steps than a design at the stitch limit could need
    // counts as full as well. Returns false when rendering is to stop.
    bool RenderStep()
    {
        if (++m_nRenderSteps > kMaxRenderSteps) m_bRenderFull = 1;
        return m_bRenderFull == 0;
    }
    static constexpr long kMaxRenderSteps = 4 * kMaxRenderedStitches;

    DECLARE_DYNAMIC(CCndObject)

private:
    CCndObject* NewDerived() const;
    void EmptyRendered();
    bool GrowRendered();
    void SetBoundsFromStitches();
    int FinishRendering();
    void DeleteElements();

    CExpObject* m_pRendered = nullptr;
    std::vector<CEmbData*> m_Elements;
    int32_t m_bRenderFull = 0;
    long m_nRenderSteps = 0;
};
