// The elements of a condensed design: outlines with stitch parameters (runs, satin columns,
// fills), colour changes and mode switches. A condensed design renders them in list order
// through its accumulation operations (cnd_object.h).
#pragma once

#include "core/stitch.h"
#include "platform/archive.h"
#include "platform/object.h"

#include <cstdint>
#include <string>
#include <vector>

class CCndObject;

// Mode switches and machine functions; AddStitches takes the same values as stitch types.
enum SpecStTypes : int32_t {
    SpecStNormal = 0,
    SpecStCode2 = 2,
    SpecStTriple = 3,
    SpecStJump = 6,
    SpecStTrim = 7,
    SpecStCode8 = 8,
};

// Archive tags of the element classes (6 names no class).
enum CndElementTag : uint32_t {
    kTagEnd = 0,
    kTagColorChange = 1,
    kTagFill = 2,
    kTagRun = 3,
    kTagSatin = 4,
    kTagSpecial = 5,
    kTagFillParms = 7,
    kTagRunParms = 8,
    kTagSatinParms = 9,
};

class CEmbData : public CObject {
public:
    ~CEmbData() override = default;

    // Writes the tag and the fields; on load the tag has been read already.
    virtual void Serialize(CArchive& ar);
    virtual CEmbData* Copy();
    virtual void MoveTo(tagPOINT ptOffset);
    virtual void ScaleBy(tagSIZE szFactors);
    virtual void RotateBy(tagPOINT ptCenter, short nDegrees);
    virtual void MirrorH(int nAxisSum);
    virtual void MirrorV(int nAxisSum);
    virtual int RendorStitches(CCndObject* pDesign);

    // The same point operations as the design objects have (one implementation).
    static void MovePoint(tagPOINT ptOffset, tagPOINT& pt);
    static void ScalePoint(tagSIZE szFactors, tagPOINT& pt);
    static void ScalePoint(tagSIZE szFactors, tagSIZE& sz);
    static void RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt);
    static double PointSqrt(tagPOINT pt);

    DECLARE_DYNAMIC(CEmbData)

protected:
    CEmbData() = default;
};

class CColorChange : public CEmbData {
public:
    CColorChange(short nColor = 0, int nExtra = 0);
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    int RendorStitches(CCndObject* pDesign) override;

    uint16_t m_nColor = 0;  // master thread index for the new block
    int32_t m_nExtra = 0;   // carried into COLORCHG::nExtra

    DECLARE_DYNAMIC(CColorChange)
};

class CSpecialStitch : public CEmbData {
public:
    CSpecialStitch(SpecStTypes nType = SpecStNormal, int nParam = 0);
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    int RendorStitches(CCndObject* pDesign) override;

    SpecStTypes m_nType = SpecStNormal;
    int32_t m_nParam = 0;

    DECLARE_DYNAMIC(CSpecialStitch)
};

// Design-wide parameter records: carried and archived, read by nothing here.
class CGRunStitchParms : public CEmbData {
public:
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    int16_t m_nRunLength = 380;
    int16_t m_nRunValue = 1000;
    DECLARE_DYNAMIC(CGRunStitchParms)
};

class CGSatinStitchParms : public CEmbData {
public:
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    int16_t m_nSatinValue = 1000;
    DECLARE_DYNAMIC(CGSatinStitchParms)
};

class CGFillStitchParms : public CEmbData {
public:
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    int16_t m_nValues[3] = {1000, 1000, 1000};
    DECLARE_DYNAMIC(CGFillStitchParms)
};

// A polyline sewn as running stitches. The arrays are sized to the capacity; the first
// m_nPoints entries are in use.
class CRunStitch : public CEmbData {
public:
    CRunStitch();
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    void MoveTo(tagPOINT ptOffset) override;
    void ScaleBy(tagSIZE szFactors) override;
    void RotateBy(tagPOINT ptCenter, short nDegrees) override;
    void MirrorH(int nAxisSum) override;
    void MirrorV(int nAxisSum) override;
    int RendorStitches(CCndObject* pDesign) override;

    // Appends a point: kind 0 straight, 1 arc middle point; the arrays grow by nGrow
    // entries when full.
    void AddPoint(tagPOINT pt, int32_t nKind, int16_t nLength, int nGrow = 100);
    int32_t GetCapacity() const { return (int32_t)m_Points.size(); }

    tagSIZE m_szScale{1000, 1000};
    int16_t m_nRunLength = 380;
    int16_t m_nRunValue = 1000;
    std::vector<tagPOINT> m_Points;
    std::vector<int32_t> m_Kinds;
    std::vector<int16_t> m_Lengths;
    int32_t m_nPoints = 0;

    DECLARE_DYNAMIC(CRunStitch)
};

// A satin column of segments; segment i runs from its start pair of rail points to its end
// pair and bends through its middle pair when its arc flag is set. Arrays are sized to the
// capacity; the first m_nSegments entries are in use.
class CSatinStitch : public CEmbData {
public:
    CSatinStitch();
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    void MoveTo(tagPOINT ptOffset) override;
    void ScaleBy(tagSIZE szFactors) override;
    void RotateBy(tagPOINT ptCenter, short nDegrees) override;
    void MirrorH(int nAxisSum) override;
    void MirrorV(int nAxisSum) override;
    int RendorStitches(CCndObject* pDesign) override;
    virtual int RendorArcSatinStitches(CCndObject* pDesign, int nSegment, int bWide);
    virtual int RendorSatinStitches(CCndObject* pDesign, int nSegment, int bWide);

    int AddLineSegment(CCndObject* pDesign, int nFlag, int nCount, int nMode, double dRatio, double dA, double dB,
                       tagPOINT p1, tagPOINT p2, tagPOINT& ptPrev1, tagPOINT& ptPrev2);
    int FixupAngle(tagPOINT p1, tagPOINT p2, tagPOINT p3, tagPOINT ptCenter, double& dSweep, double& dRadius,
                   double& dStart);
    double GetLength(tagPOINT p1, tagPOINT p2, tagPOINT& ptDiff);

    // Sets the capacity (all arrays) to nCapacity entries, keeping what is in use.
    void SetCapacity(int32_t nCapacity);
    int32_t GetCapacity() const { return (int32_t)m_Densities.size(); }

    tagSIZE m_szScale{1000, 1000};
    int32_t m_nScaleLength = 1000;
    int32_t m_nSegments = 0;
    std::vector<int16_t> m_Densities;
    std::vector<tagPOINT> m_StartA, m_StartB, m_MiddleA, m_EndA, m_EndB, m_MiddleB;
    std::vector<int32_t> m_ArcFlags;

    DECLARE_DYNAMIC(CSatinStitch)
};

// A fill region: a frame P0..P4 (P0, P1 the near edge, P3, P2 the far edge, P4 repeats P0
// as read) and two side outlines (A from P1 towards P2, B from the P3 end towards P0).
class CFillStitch : public CEmbData {
public:
    CFillStitch();
    void Serialize(CArchive& ar) override;
    CEmbData* Copy() override;
    void MoveTo(tagPOINT ptOffset) override;
    void ScaleBy(tagSIZE szFactors) override;
    void RotateBy(tagPOINT ptCenter, short nDegrees) override;
    void MirrorH(int nAxisSum) override;
    void MirrorV(int nAxisSum) override;
    int RendorStitches(CCndObject* pDesign) override;

    void AddMod23Pt(tagPOINT pt);
    void AddMod23Pt(int x, int y) { AddMod23Pt(tagPOINT{x, y}); }
    void AddMod41Pt(tagPOINT pt);
    void AddMod41Pt(int x, int y) { AddMod41Pt(tagPOINT{x, y}); }

    tagSIZE m_szScale{1000, 1000};
    int16_t m_nFillType = 2;
    int16_t m_nAngle = 450;        // hundredths of a degree
    int16_t m_nSpacing = 420;
    int16_t m_nStitchLength = 380;
    int16_t m_nFillValue = 1000;
    std::string m_strName;
    tagPOINT m_Frame[5] = {};
    // Outlines: arrays sized to the capacity (20 at first, growing by 20), counts in use.
    std::vector<tagPOINT> m_OutlineA;
    int32_t m_nOutlineA = 0;
    std::vector<tagPOINT> m_OutlineB;
    int32_t m_nOutlineB = 0;

    DECLARE_DYNAMIC(CFillStitch)
};

// A fill with several boundaries; it is carried but sews nothing and is not archived.
class CComplexFillStitch : public CEmbData {
public:
    struct Boundary {
        std::vector<tagPOINT> points;  // sized to the capacity
        std::vector<int32_t> flags;
        int32_t count = 0;
        int32_t index = 0;  // the boundary index the points were added under
    };

    CComplexFillStitch() = default;
    CEmbData* Copy() override;
    void MoveTo(tagPOINT ptOffset) override;
    void ScaleBy(tagSIZE szFactors) override;
    void RotateBy(tagPOINT ptCenter, short nDegrees) override;
    void MirrorH(int nAxisSum) override;
    void MirrorV(int nAxisSum) override;
    int RendorStitches(CCndObject* pDesign) override;

    void AddBoundryPoint(int nBoundary, int x, int y, int nFlag);

    tagSIZE m_szScale{1000, 1000};
    int16_t m_nFillTypes[2] = {2, 2};
    int16_t m_nAngles[2] = {450, 450};
    int16_t m_nSpacings[2] = {420, 4200};
    int16_t m_nStitchLengths[2] = {380, 380};
    int16_t m_nValue = 0;
    int32_t m_nValue1 = 0;
    int32_t m_nValue2 = 0;
    tagPOINT m_RefPoints[4] = {};
    std::vector<Boundary> m_Boundaries;  // the boundary count is its size

    DECLARE_DYNAMIC(CComplexFillStitch)
};
