#include "design/emb_data.h"

#include "core/endian.h"
#include "design/cnd_object.h"
#include "design/point_ops.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CEmbData, CObject)
IMPLEMENT_DYNAMIC(CColorChange, CEmbData)
IMPLEMENT_DYNAMIC(CSpecialStitch, CEmbData)
IMPLEMENT_DYNAMIC(CGRunStitchParms, CEmbData)
IMPLEMENT_DYNAMIC(CGSatinStitchParms, CEmbData)
IMPLEMENT_DYNAMIC(CGFillStitchParms, CEmbData)
IMPLEMENT_DYNAMIC(CRunStitch, CEmbData)
IMPLEMENT_DYNAMIC(CSatinStitch, CEmbData)
IMPLEMENT_DYNAMIC(CFillStitch, CEmbData)
IMPLEMENT_DYNAMIC(CComplexFillStitch, CEmbData)

namespace {

constexpr int32_t kOutlineStep = 20;
constexpr int32_t kBoundaryFirst = 10;
constexpr int32_t kBoundaryStep = 20;

[[noreturn]] void ThrowShort()
{
    throw new CArchiveException(CArchiveException::endOfFile);
}

// A stored count and capacity checked against what the archive can hold at all: a count
// above its capacity or beyond the archive fails the load; a capacity the archive could
// not fill is not trusted to size memory, the count is used instead.
int32_t CheckedCapacity(CArchive& ar, uint32_t count, uint32_t capacity, size_t recordSize)
{
    CFile* file = ar.GetFile();
    uint64_t length = file ? file->GetLength() : 0;
    if (count > capacity || count > (uint32_t)INT32_MAX || (uint64_t)count * recordSize > length) ThrowShort();
    if (capacity > (uint32_t)INT32_MAX || (uint64_t)capacity * recordSize > length) return (int32_t)count;
    return (int32_t)capacity;
}

// Reads count records of recordSize bytes in one piece (the count has been checked against
// the archive's length).
std::vector<uint8_t> ReadRecords(CArchive& ar, uint32_t count, size_t recordSize)
{
    std::vector<uint8_t> bytes((size_t)count * recordSize);
    size_t done = 0;
    while (done < bytes.size()) {
        UINT piece = (UINT)std::min<size_t>(bytes.size() - done, 1u << 20);
        if (ar.Read(bytes.data() + done, piece) != piece) ThrowShort();
        done += piece;
    }
    return bytes;
}

void WriteBytes(CArchive& ar, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        UINT piece = (UINT)std::min<size_t>(bytes.size() - done, 1u << 20);
        ar.Write(bytes.data() + done, piece);
        done += piece;
    }
}

tagPOINT GetPoint(const uint8_t* p)
{
    return tagPOINT{(int32_t)GetLE32(p), (int32_t)GetLE32(p + 4)};
}

void PutPoint(uint8_t* p, tagPOINT pt)
{
    PutLE32(p, (uint32_t)pt.x);
    PutLE32(p + 4, (uint32_t)pt.y);
}

void SerializeScale(CArchive& ar, tagSIZE& sz)
{
    if (ar.IsStoring())
        ar << sz.cx << sz.cy;
    else
        ar >> sz.cx >> sz.cy;
}

void ScaleSize(tagSIZE szFactors, tagSIZE& sz)
{
    sz.cx = pointops::ScaleValue(sz.cx, szFactors.cx);
    sz.cy = pointops::ScaleValue(sz.cy, szFactors.cy);
}

// The geometric operations over a set of points, shared by the outline elements.
template <class Each> void MoveAll(tagPOINT ptOffset, Each each)
{
    each([&](tagPOINT& pt) { pointops::MovePoint(ptOffset, pt); });
}

template <class Each> void ScaleAll(tagSIZE szFactors, Each each)
{
    each([&](tagPOINT& pt) { CEmbData::ScalePoint(szFactors, pt); });
}

template <class Each> void RotateAll(tagPOINT ptCenter, short nDegrees, Each each)
{
    double angle = pointops::DegreesToRadians(nDegrees);
    each([&](tagPOINT& pt) { pointops::RotatePoint(ptCenter, angle, pt); });
}

template <class Each> void MirrorAllH(int nAxisSum, Each each)
{
    each([&](tagPOINT& pt) { pt.x = pointops::Mirror(nAxisSum, pt.x); });
}

template <class Each> void MirrorAllV(int nAxisSum, Each each)
{
    each([&](tagPOINT& pt) { pt.y = pointops::Mirror(nAxisSum, pt.y); });
}

// The operations that only visit the points, for an element class whose points Visit walks.
#define KW_POINT_OPERATIONS(Class, Visit) \
    void Class::MoveTo(tagPOINT ptOffset) { MoveAll(ptOffset, Visit(*this)); } \
    void Class::RotateBy(tagPOINT ptCenter, short nDegrees) { RotateAll(ptCenter, nDegrees, Visit(*this)); } \
    void Class::MirrorH(int nAxisSum) { MirrorAllH(nAxisSum, Visit(*this)); } \
    void Class::MirrorV(int nAxisSum) { MirrorAllV(nAxisSum, Visit(*this)); }

template <class T> std::vector<T> FirstEntries(const std::vector<T>& v, int32_t n)
{
    return std::vector<T>(v.begin(), v.begin() + n);
}

} // namespace

// ---- CEmbData

void CEmbData::Serialize(CArchive&) {}
CEmbData* CEmbData::Copy() { return nullptr; }
void CEmbData::MoveTo(tagPOINT) {}
void CEmbData::ScaleBy(tagSIZE) {}
void CEmbData::RotateBy(tagPOINT, short) {}
void CEmbData::MirrorH(int) {}
void CEmbData::MirrorV(int) {}
int CEmbData::RendorStitches(CCndObject*) { return 0; }

void CEmbData::MovePoint(tagPOINT ptOffset, tagPOINT& pt)
{
    pointops::MovePoint(ptOffset, pt);
}

void CEmbData::ScalePoint(tagSIZE szFactors, tagPOINT& pt)
{
    pt.x = pointops::ScaleValue(pt.x, szFactors.cx);
    pt.y = pointops::ScaleValue(pt.y, szFactors.cy);
}

void CEmbData::ScalePoint(tagSIZE szFactors, tagSIZE& sz)
{
    ScaleSize(szFactors, sz);
}

void CEmbData::RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt)
{
    pointops::RotatePoint(ptCenter, dAngle, pt);
}

double CEmbData::PointSqrt(tagPOINT pt)
{
    return pointops::PointSqrt(pt);
}

// ---- CColorChange

CColorChange::CColorChange(short nColor, int nExtra) : m_nColor((uint16_t)nColor), m_nExtra(nExtra) {}

void CColorChange::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << (uint32_t)kTagColorChange << m_nColor << m_nExtra;
    else
        ar >> m_nColor >> m_nExtra;
}

CEmbData* CColorChange::Copy()
{
    return new CColorChange((short)m_nColor, m_nExtra);
}

int CColorChange::RendorStitches(CCndObject* pDesign)
{
    CExpObject* r = pDesign ? pDesign->GetRenderedDesign() : nullptr;
    if (!r) return 1;
    int k = r->m_nColors;
    // Past 254 blocks the change is dropped and its stitches stay in the last block, so
    // nothing is written beyond the colour records.
    if (k < 0 || k >= kMaxColorBlocks) return 1;
    if (pDesign->m_bApplyColors) r->m_Colors[k].nColor = m_nColor;
    r->m_Colors[k].nStitch = (int32_t)r->m_nStitches;
    r->m_Colors[k].nExtra = m_nExtra;
    r->m_nColors = k + 1;
    return 1;
}

// ---- CSpecialStitch

CSpecialStitch::CSpecialStitch(SpecStTypes nType, int nParam) : m_nType(nType), m_nParam(nParam) {}

void CSpecialStitch::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (uint32_t)kTagSpecial << (int32_t)m_nType << m_nParam;
    } else {
        int32_t type;
        ar >> type >> m_nParam;
        m_nType = (SpecStTypes)type;
    }
}

CEmbData* CSpecialStitch::Copy()
{
    return new CSpecialStitch(m_nType, m_nParam);
}

int CSpecialStitch::RendorStitches(CCndObject* pDesign)
{
    if (!pDesign) return 1;
    int32_t& jump = pDesign->CurrentMode(CCndObject::kJumpMode);
    int32_t& trim = pDesign->CurrentMode(CCndObject::kTrimMode);
    int32_t& triple = pDesign->CurrentMode(CCndObject::kTripleMode);
    switch ((int32_t)m_nType) {
    case SpecStNormal:
        jump = trim = triple = 0;
        break;
    case SpecStTriple:
        triple = 1;
        jump = trim = 0;
        break;
    case SpecStJump:
        jump = 1;
        break;
    case SpecStTrim:
        trim = 1;
        break;
    default:
        break;
    }
    return 1;
}

// ---- the parameter records

void CGRunStitchParms::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << (uint32_t)kTagRunParms << m_nRunLength << m_nRunValue;
    else
        ar >> m_nRunLength >> m_nRunValue;
}

CEmbData* CGRunStitchParms::Copy()
{
    auto* c = new CGRunStitchParms;
    c->m_nRunLength = m_nRunLength;
    c->m_nRunValue = m_nRunValue;
    return c;
}

void CGSatinStitchParms::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << (uint32_t)kTagSatinParms << m_nSatinValue;
    else
        ar >> m_nSatinValue;
}

CEmbData* CGSatinStitchParms::Copy()
{
    auto* c = new CGSatinStitchParms;
    c->m_nSatinValue = m_nSatinValue;
    return c;
}

void CGFillStitchParms::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (uint32_t)kTagFillParms;
        for (int16_t v : m_nValues) ar << v;
    } else {
        for (int16_t& v : m_nValues) ar >> v;
    }
}

CEmbData* CGFillStitchParms::Copy()
{
    auto* c = new CGFillStitchParms;
    std::memcpy(c->m_nValues, m_nValues, sizeof m_nValues);
    return c;
}

// ---- CRunStitch

CRunStitch::CRunStitch() = default;

void CRunStitch::AddPoint(tagPOINT pt, int32_t nKind, int16_t nLength, int nGrow)
{
    if (m_nPoints >= GetCapacity()) {
        size_t cap = (size_t)GetCapacity() + (size_t)(nGrow < 1 ? 1 : nGrow);
        m_Points.resize(cap);
        m_Kinds.resize(cap);
        m_Lengths.resize(cap);
    }
    m_Points[(size_t)m_nPoints] = pt;
    m_Kinds[(size_t)m_nPoints] = nKind;
    m_Lengths[(size_t)m_nPoints] = nLength;
    ++m_nPoints;
}

void CRunStitch::Serialize(CArchive& ar)
{
    constexpr size_t kRecord = 14; // x, y, kind, length
    if (ar.IsStoring()) {
        ar << (uint32_t)kTagRun;
        SerializeScale(ar, m_szScale);
        ar << m_nRunLength << m_nRunValue << m_nPoints << m_nPoints;
        std::vector<uint8_t> bytes((size_t)m_nPoints * kRecord);
        for (int32_t i = 0; i < m_nPoints; ++i) {
            uint8_t* p = bytes.data() + (size_t)i * kRecord;
            PutPoint(p, m_Points[(size_t)i]);
            PutLE32(p + 8, (uint32_t)m_Kinds[(size_t)i]);
            PutLE16(p + 12, (uint16_t)m_Lengths[(size_t)i]);
        }
        WriteBytes(ar, bytes);
        return;
    }
    SerializeScale(ar, m_szScale);
    uint32_t count, capacity;
    ar >> m_nRunLength >> m_nRunValue >> count >> capacity;
    int32_t cap = CheckedCapacity(ar, count, capacity, kRecord);
    std::vector<uint8_t> bytes = ReadRecords(ar, count, kRecord);
    m_Points.assign((size_t)cap, tagPOINT{0, 0});
    m_Kinds.assign((size_t)cap, 0);
    m_Lengths.assign((size_t)cap, 0);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + (size_t)i * kRecord;
        m_Points[i] = GetPoint(p);
        m_Kinds[i] = (int32_t)GetLE32(p + 8);
        m_Lengths[i] = (int16_t)GetLE16(p + 12);
    }
    m_nPoints = (int32_t)count;
}

CEmbData* CRunStitch::Copy()
{
    auto* c = new CRunStitch;
    c->m_szScale = m_szScale;
    c->m_nRunLength = m_nRunLength;
    c->m_nRunValue = m_nRunValue;
    c->m_Points = FirstEntries(m_Points, m_nPoints);
    c->m_Kinds = FirstEntries(m_Kinds, m_nPoints);
    c->m_Lengths = FirstEntries(m_Lengths, m_nPoints);
    c->m_nPoints = m_nPoints;
    return c;
}

namespace {
auto RunPoints(CRunStitch& r)
{
    return [&r](auto f) {
        for (int32_t i = 0; i < r.m_nPoints; ++i) f(r.m_Points[(size_t)i]);
    };
}
} // namespace

KW_POINT_OPERATIONS(CRunStitch, RunPoints)
void CRunStitch::ScaleBy(tagSIZE szFactors)
{
    ScaleSize(szFactors, m_szScale);
    ScaleAll(szFactors, RunPoints(*this));
}

// ---- CSatinStitch

CSatinStitch::CSatinStitch() = default;

void CSatinStitch::SetCapacity(int32_t nCapacity)
{
    size_t cap = (size_t)(nCapacity < 0 ? 0 : nCapacity);
    m_Densities.resize(cap);
    for (auto* v : {&m_StartA, &m_StartB, &m_MiddleA, &m_EndA, &m_EndB, &m_MiddleB}) v->resize(cap);
    m_ArcFlags.resize(cap);
    if (m_nSegments > (int32_t)cap) m_nSegments = (int32_t)cap;
}

void CSatinStitch::Serialize(CArchive& ar)
{
    constexpr size_t kRecord = 2 + 6 * 8 + 4; // density, six points, arc flag
    if (ar.IsStoring()) {
        ar << (uint32_t)kTagSatin;
        SerializeScale(ar, m_szScale);
        ar << m_nScaleLength << m_nSegments << m_nSegments;
        std::vector<uint8_t> bytes((size_t)m_nSegments * kRecord);
        for (int32_t i = 0; i < m_nSegments; ++i) {
            uint8_t* p = bytes.data() + (size_t)i * kRecord;
            size_t k = (size_t)i;
            PutLE16(p, (uint16_t)m_Densities[k]);
            PutPoint(p + 2, m_StartA[k]);
            PutPoint(p + 10, m_StartB[k]);
            PutPoint(p + 18, m_MiddleA[k]);
            PutPoint(p + 26, m_EndA[k]);
            PutPoint(p + 34, m_EndB[k]);
            PutPoint(p + 42, m_MiddleB[k]);
            PutLE32(p + 50, (uint32_t)m_ArcFlags[k]);
        }
        WriteBytes(ar, bytes);
        return;
    }
    SerializeScale(ar, m_szScale);
    uint32_t count, capacity;
    ar >> m_nScaleLength >> count >> capacity;
    int32_t cap = CheckedCapacity(ar, count, capacity, kRecord);
    std::vector<uint8_t> bytes = ReadRecords(ar, count, kRecord);
    m_nSegments = 0;
    m_Densities.clear();
    for (auto* v : {&m_StartA, &m_StartB, &m_MiddleA, &m_EndA, &m_EndB, &m_MiddleB}) v->clear();
    m_ArcFlags.clear();
    SetCapacity(cap);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + (size_t)i * kRecord;
        m_Densities[i] = (int16_t)GetLE16(p);
        m_StartA[i] = GetPoint(p + 2);
        m_StartB[i] = GetPoint(p + 10);
        m_MiddleA[i] = GetPoint(p + 18);
        m_EndA[i] = GetPoint(p + 26);
        m_EndB[i] = GetPoint(p + 34);
        m_MiddleB[i] = GetPoint(p + 42);
        m_ArcFlags[i] = (int32_t)GetLE32(p + 50);
    }
    m_nSegments = (int32_t)count;
}

CEmbData* CSatinStitch::Copy()
{
    auto* c = new CSatinStitch;
    c->m_szScale = m_szScale;
    c->m_nScaleLength = m_nScaleLength;
    int32_t n = m_nSegments;
    c->m_Densities = FirstEntries(m_Densities, n);
    c->m_StartA = FirstEntries(m_StartA, n);
    c->m_StartB = FirstEntries(m_StartB, n);
    c->m_MiddleA = FirstEntries(m_MiddleA, n);
    c->m_EndA = FirstEntries(m_EndA, n);
    c->m_EndB = FirstEntries(m_EndB, n);
    c->m_MiddleB = FirstEntries(m_MiddleB, n);
    c->m_ArcFlags = FirstEntries(m_ArcFlags, n);
    c->m_nSegments = n;
    return c;
}

namespace {
// The rail points of every segment, and the middle pair of arc segments only.
auto SatinPoints(CSatinStitch& s)
{
    return [&s](auto f) {
        for (int32_t i = 0; i < s.m_nSegments; ++i) {
            size_t k = (size_t)i;
            f(s.m_StartA[k]);
            f(s.m_StartB[k]);
            f(s.m_EndA[k]);
            f(s.m_EndB[k]);
            if (s.m_ArcFlags[k]) {
                f(s.m_MiddleA[k]);
                f(s.m_MiddleB[k]);
            }
        }
    };
}
} // namespace

KW_POINT_OPERATIONS(CSatinStitch, SatinPoints)
void CSatinStitch::ScaleBy(tagSIZE szFactors)
{
    ScaleSize(szFactors, m_szScale);
    ScaleAll(szFactors, SatinPoints(*this));
    m_nScaleLength = pointops::Clamp32((int64_t)PointSqrt(tagPOINT{m_szScale.cx, m_szScale.cy}));
}

// ---- CFillStitch

CFillStitch::CFillStitch() : m_OutlineA((size_t)kOutlineStep), m_OutlineB((size_t)kOutlineStep) {}

namespace {
void AddOutlinePoint(std::vector<tagPOINT>& outline, int32_t& count, tagPOINT pt)
{
    if ((size_t)count + 1 >= outline.size()) outline.resize(outline.size() + kOutlineStep);
    outline[(size_t)count++] = pt;
}
} // namespace

void CFillStitch::AddMod23Pt(tagPOINT pt) { AddOutlinePoint(m_OutlineA, m_nOutlineA, pt); }
void CFillStitch::AddMod41Pt(tagPOINT pt) { AddOutlinePoint(m_OutlineB, m_nOutlineB, pt); }

void CFillStitch::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (uint32_t)kTagFill;
        SerializeScale(ar, m_szScale);
        ar << m_nFillType << m_nAngle << m_nSpacing << m_nStitchLength << m_nFillValue << m_strName;
        for (const tagPOINT& pt : m_Frame) ar << pt.x << pt.y;
        ar << m_nOutlineA << m_nOutlineA << m_nOutlineB << m_nOutlineB;
        std::vector<uint8_t> bytes((size_t)(m_nOutlineA + m_nOutlineB) * 8);
        for (int32_t i = 0; i < m_nOutlineA; ++i) PutPoint(bytes.data() + (size_t)i * 8, m_OutlineA[(size_t)i]);
        for (int32_t i = 0; i < m_nOutlineB; ++i)
            PutPoint(bytes.data() + (size_t)(m_nOutlineA + i) * 8, m_OutlineB[(size_t)i]);
        WriteBytes(ar, bytes);
        return;
    }
    SerializeScale(ar, m_szScale);
    ar >> m_nFillType >> m_nAngle >> m_nSpacing >> m_nStitchLength >> m_nFillValue >> m_strName;
    for (tagPOINT& pt : m_Frame) ar >> pt.x >> pt.y;
    uint32_t countA, capA, countB, capB;
    ar >> countA >> capA >> countB >> capB;
    int32_t keepA = CheckedCapacity(ar, countA, capA, 8);
    int32_t keepB = CheckedCapacity(ar, countB, capB, 8);
    if ((uint64_t)countA + countB > (uint64_t)INT32_MAX) ThrowShort();
    std::vector<uint8_t> a = ReadRecords(ar, countA, 8);
    std::vector<uint8_t> b = ReadRecords(ar, countB, 8);
    m_OutlineA.assign((size_t)keepA, tagPOINT{0, 0});
    m_OutlineB.assign((size_t)keepB, tagPOINT{0, 0});
    for (uint32_t i = 0; i < countA; ++i) m_OutlineA[i] = GetPoint(a.data() + (size_t)i * 8);
    for (uint32_t i = 0; i < countB; ++i) m_OutlineB[i] = GetPoint(b.data() + (size_t)i * 8);
    m_nOutlineA = (int32_t)countA;
    m_nOutlineB = (int32_t)countB;
}

CEmbData* CFillStitch::Copy()
{
    auto* c = new CFillStitch;
    c->m_szScale = m_szScale;
    c->m_nFillType = m_nFillType;
    c->m_nAngle = m_nAngle;
    c->m_nSpacing = m_nSpacing;
    c->m_nStitchLength = m_nStitchLength;
    c->m_nFillValue = m_nFillValue;
    c->m_strName = m_strName;
    std::memcpy(c->m_Frame, m_Frame, sizeof m_Frame);
    c->m_OutlineA = FirstEntries(m_OutlineA, m_nOutlineA);
    c->m_nOutlineA = m_nOutlineA;
    c->m_OutlineB = FirstEntries(m_OutlineB, m_nOutlineB);
    c->m_nOutlineB = m_nOutlineB;
    return c;
}

namespace {
// Frame points P0 to P3 and both outlines; P4 stays as read.
auto FillPoints(CFillStitch& s)
{
    return [&s](auto f) {
        for (int i = 0; i < 4; ++i) f(s.m_Frame[i]);
        for (int32_t i = 0; i < s.m_nOutlineA; ++i) f(s.m_OutlineA[(size_t)i]);
        for (int32_t i = 0; i < s.m_nOutlineB; ++i) f(s.m_OutlineB[(size_t)i]);
    };
}
} // namespace

KW_POINT_OPERATIONS(CFillStitch, FillPoints)
void CFillStitch::ScaleBy(tagSIZE szFactors)
{
    ScaleSize(szFactors, m_szScale);
    ScaleAll(szFactors, FillPoints(*this));
}

// ---- CComplexFillStitch

void CComplexFillStitch::AddBoundryPoint(int nBoundary, int x, int y, int nFlag)
{
    // Boundaries are made only for indexes that get points, in the order they first get
    // one, so an index far ahead never creates a run of empty boundaries.
    Boundary* b = nullptr;
    for (size_t i = m_Boundaries.size(); i-- > 0;)
        if (m_Boundaries[i].index == nBoundary) {
            b = &m_Boundaries[i];
            break;
        }
    if (!b) {
        b = &m_Boundaries.emplace_back();
        b->index = nBoundary;
        b->points.resize(kBoundaryFirst);
        b->flags.resize(kBoundaryFirst);
    }
    if ((size_t)b->count + 1 >= b->points.size()) {
        b->points.resize(b->points.size() + kBoundaryStep);
        b->flags.resize(b->points.size());
    }
    b->points[(size_t)b->count] = tagPOINT{x, y};
    b->flags[(size_t)b->count] = nFlag;
    ++b->count;
}

CEmbData* CComplexFillStitch::Copy()
{
    auto* c = new CComplexFillStitch;
    c->m_szScale = m_szScale;
    std::memcpy(c->m_nFillTypes, m_nFillTypes, sizeof m_nFillTypes);
    std::memcpy(c->m_nAngles, m_nAngles, sizeof m_nAngles);
    std::memcpy(c->m_nSpacings, m_nSpacings, sizeof m_nSpacings);
    std::memcpy(c->m_nStitchLengths, m_nStitchLengths, sizeof m_nStitchLengths);
    c->m_nValue = m_nValue;
    c->m_nValue1 = m_nValue1;
    c->m_nValue2 = m_nValue2;
    std::memcpy(c->m_RefPoints, m_RefPoints, sizeof m_RefPoints);
    for (const Boundary& b : m_Boundaries) {
        Boundary& d = c->m_Boundaries.emplace_back();
        d.points = FirstEntries(b.points, b.count);
        d.flags = FirstEntries(b.flags, b.count);
        d.count = b.count;
        d.index = b.index;
    }
    return c;
}

namespace {
auto ComplexPoints(CComplexFillStitch& s)
{
    return [&s](auto f) {
        for (tagPOINT& pt : s.m_RefPoints) f(pt);
        for (auto& b : s.m_Boundaries)
            for (int32_t i = 0; i < b.count; ++i) f(b.points[(size_t)i]);
    };
}
} // namespace

KW_POINT_OPERATIONS(CComplexFillStitch, ComplexPoints)
void CComplexFillStitch::ScaleBy(tagSIZE szFactors)
{
    ScaleSize(szFactors, m_szScale);
    ScaleAll(szFactors, ComplexPoints(*this));
}

// Complex fills are carried for the host; they sew nothing here.
int CComplexFillStitch::RendorStitches(CCndObject*) { return 1; }
