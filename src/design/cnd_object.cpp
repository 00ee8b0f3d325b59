#include "design/cnd_object.h"

#include "core/settings.h"
#include "design/cnd.h"
#include "design/point_ops.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <new>

int bForceFill = 0;
int bLongSatins = 0;
int bLettering = 0;

int32_t CCndObject::s_nSatinLineStagger = 0;
int32_t CCndObject::s_nSatinReturnStagger = 0;
int32_t CCndObject::s_nFillRowStagger = 0;

IMPLEMENT_DYNAMIC(CCndObject, CEmbObject)

namespace {

const char kMsgNoMemory[] = "Cannot allocate enough memory to process file.";
const char kMsgRead[] = "Error reading from file.";

// The rendered design's arrays always hold its capacity plus these entries, so that the
// type byte of the next point can be marked even when the capacity is reached.
constexpr long kSpare = 4;

// The element class of an archive tag, or null for a tag that names none.
CEmbData* NewElementForTag(uint32_t tag)
{
    switch (tag) {
    case kTagColorChange: return new CColorChange;
    case kTagFill: return new CFillStitch;
    case kTagRun: return new CRunStitch;
    case kTagSatin: return new CSatinStitch;
    case kTagSpecial: return new CSpecialStitch;
    case kTagFillParms: return new CGFillStitchParms;
    case kTagRunParms: return new CGRunStitchParms;
    case kTagSatinParms: return new CGSatinStitchParms;
    default: return nullptr;
    }
}

} // namespace

CCndObject::CCndObject()
{
    m_nTag = 1;
    auto* r = new (std::nothrow) CExpObject;
    if (r) {
        r->m_pPoints = (tagPOINT*)std::calloc((size_t)(kGrowStitches + kSpare), sizeof(tagPOINT));
        r->m_pTypes = (unsigned char*)std::calloc((size_t)(kGrowStitches + kSpare), 1);
    }
    if (!r || !r->m_pPoints || !r->m_pTypes) {
        delete r;
        GetSetup()->m_nLastError = KW_ERR_NO_MEMORY;
        HandleError(kMsgNoMemory, "Error");
        return;
    }
    r->m_nCapacity = kGrowStitches;
    r->m_nStitches = 0;
    r->m_nColors = 1;
    r->m_Colors[0] = COLORCHG{0, 0, 0, 0};
    m_pRendered = r;
}

CCndObject::~CCndObject()
{
    DeleteElements();
    delete m_pRendered;
}

void CCndObject::DeleteElements()
{
    for (CEmbData* e : m_Elements) delete e;
    m_Elements.clear();
}

CEmbData* CCndObject::GetElement(int i) const
{
    return i >= 0 && i < (int)m_Elements.size() ? m_Elements[(size_t)i] : nullptr;
}

void CCndObject::AppendElement(CEmbData* pElement)
{
    if (pElement) m_Elements.push_back(pElement);
}

// ---- the rendered design

void CCndObject::EmptyRendered()
{
    m_bRenderFull = 0;
    m_nRenderSteps = 0;
    CExpObject* r = m_pRendered;
    if (!r) return;
    // Designs copied or loaded from an archive carry arrays of another size; from here on
    // they hold exactly the capacity plus the spare entries.
    if (r->m_nCapacity < 0) r->m_nCapacity = 0;
    size_t entries = (size_t)r->m_nCapacity + kSpare;
    auto* points = (tagPOINT*)std::realloc(r->m_pPoints, entries * sizeof(tagPOINT));
    if (points) r->m_pPoints = points;
    auto* types = (unsigned char*)std::realloc(r->m_pTypes, entries);
    if (types) r->m_pTypes = types;
    if (!points || !types) {
        // Shrinking or keeping the size cannot really fail; should it, render nothing.
        r->m_nCapacity = 0;
        m_bRenderFull = 1;
    }
    std::memset(r->m_pTypes, 0, (size_t)r->m_nCapacity + kSpare);
    r->m_nStitches = 0;
    r->m_nColors = 1;
}

namespace {

// Makes room for at least nEntries elements of nSize bytes. The design's capacity steps by
// 10 000 stitches, but the block beneath grows by half again when it must move, so that a
// rendering of n stitches copies O(n) bytes rather than O(n² / 10 000).
template <class T> bool Reserve(T*& p, size_t nEntries)
{
#ifdef __GLIBC__
    if (p && malloc_usable_size(p) >= nEntries * sizeof(T)) return true;
    size_t have = p ? malloc_usable_size(p) / sizeof(T) : 0;
    size_t want = std::max(nEntries, have + have / 2);
#else
    size_t want = nEntries;
#endif
    auto* q = (T*)std::realloc(p, want * sizeof(T));
    if (!q) return false;
    p = q;
    return true;
}

} // namespace

bool CCndObject::GrowRendered()
{
    CExpObject* r = m_pRendered;
    long capacity = r->m_nCapacity + kGrowStitches;
    size_t entries = (size_t)capacity + kSpare;
    if (!Reserve(r->m_pPoints, entries) || !Reserve(r->m_pTypes, entries)) {
        m_bRenderFull = 1;
        return false;
    }
    size_t old = (size_t)r->m_nCapacity + kSpare;
    std::memset(r->m_pTypes + old, 0, entries - old);
    r->m_nCapacity = capacity;
    return true;
}

void CCndObject::AddStitches(int x, int y, SpecStTypes nType)
{
    m_ptLastStitch = tagPOINT{x, y};
    CExpObject* r = m_pRendered;
    if (!r || m_bRenderFull) return;
    long n = r->m_nStitches;
    long added = nType == SpecStNormal ? 1 : nType == SpecStTriple ? 3 : 0;
    if (n + added > kMaxRenderedStitches) {
        m_bRenderFull = 1;
        return;
    }
    switch ((int32_t)nType) {
    case SpecStNormal:
        if (n >= r->m_nCapacity && !GrowRendered()) return;
        r->m_pPoints[n] = tagPOINT{x, y};
        r->m_nStitches = n + 1;
        break;
    case SpecStTriple: {
        tagPOINT prev = n > 0 ? r->m_pPoints[n - 1] : tagPOINT{0, 0};
        if (r->m_nCapacity <= n + 3 && !GrowRendered()) return;
        r->m_pPoints[n] = tagPOINT{x, y};
        r->m_pPoints[n + 1] = prev;
        r->m_pPoints[n + 2] = tagPOINT{x, y};
        r->m_nStitches = n + 3;
        break;
    }
    case SpecStJump:
    case SpecStTrim:
        r->m_pTypes[n] = kTrimType;
        break;
    default:
        break;
    }
}

void CCndObject::SetBoundsFromStitches()
{
    if (!m_pRendered) return;
    m_pRendered->FindBounds();
    m_rcBounds = m_pRendered->m_rcBounds;
}

int CCndObject::FinishRendering()
{
    if (!m_bRenderFull) return 1;
    GetSetup()->m_nLastError = KW_ERR_NO_MEMORY;
    HandleError(kMsgNoMemory, "Error");
    return 0;
}

int CCndObject::RendorStitches(int nFirstColor)
{
    for (int m = kJumpMode; m <= kTripleMode; ++m) CurrentMode((Mode)m) = StartMode((Mode)m);
    m_ptLastStitch = tagPOINT{0, 0};
    m_rcBounds = CRect(0, 0, 0, 0);
    if (!m_pRendered) return 0;
    EmptyRendered();
    for (CEmbData* e : m_Elements) {
        if (m_bRenderFull) break;
        e->RendorStitches(this);
    }
    CExpObject* r = m_pRendered;
    r->m_Colors[r->m_nColors].nStitch = (int32_t)r->m_nStitches;
    SetBoundsFromStitches();
    r->m_nFirstColor = 0;
    r->m_nDrawColors = r->m_nColors;
    r->m_Colors[0].nColor = (uint16_t)nFirstColor;
    return FinishRendering();
}

// ---- archive form

void CCndObject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (uint32_t)2;
        SerializeBase(ar);
        ar << m_nColorCounter << m_bApplyColors << m_nDensity << m_ptLastStitch.x << m_ptLastStitch.y;
        if (m_pRendered) {
            m_pRendered->Serialize(ar);
        } else {
            CExpObject empty;
            empty.Serialize(ar);
        }
        for (CEmbData* e : m_Elements) e->Serialize(ar);
        ar << (uint32_t)kTagEnd;
        return;
    }
    // Loaded into a separate design first, so that a short or corrupt archive leaves this
    // one as it was.
    CCndObject loaded;
    std::vector<std::unique_ptr<CEmbData>> elements;
    std::unique_ptr<CExpObject> rendered;
    try {
        loaded.SerializeBase(ar);
        ar >> loaded.m_nColorCounter >> loaded.m_bApplyColors >> loaded.m_nDensity >> loaded.m_ptLastStitch.x >>
            loaded.m_ptLastStitch.y;
        uint32_t kind;
        ar >> kind;
        rendered = std::make_unique<CExpObject>();
        GetSetup()->m_nLastError = 0;
        rendered->Serialize(ar);
        if (GetSetup()->m_nLastError < 0) return; // the expanded design has reported it
        for (;;) {
            uint32_t tag;
            ar >> tag;
            if (tag == kTagEnd) break;
            std::unique_ptr<CEmbData> e(NewElementForTag(tag));
            if (!e) continue;
            e->Serialize(ar);
            elements.push_back(std::move(e));
        }
    } catch (CArchiveException* e) {
        e->Delete();
        GetSetup()->m_nLastError = KW_ERR_READ;
        HandleError(kMsgRead, "Error");
        return;
    } catch (CFileException* e) {
        e->Delete();
        GetSetup()->m_nLastError = KW_ERR_READ;
        HandleError(kMsgRead, "Error");
        return;
    }
    m_rcBounds = loaded.m_rcBounds;
    m_nThousand = loaded.m_nThousand;
    m_nTag = loaded.m_nTag;
    m_nEmbSource = loaded.m_nEmbSource;
    std::memcpy(m_nReserved, loaded.m_nReserved, sizeof m_nReserved);
    m_nColorCounter = loaded.m_nColorCounter;
    m_bApplyColors = loaded.m_bApplyColors;
    m_nDensity = loaded.m_nDensity;
    m_ptLastStitch = loaded.m_ptLastStitch;
    delete m_pRendered;
    m_pRendered = rendered.release();
    DeleteElements();
    for (auto& e : elements) m_Elements.push_back(e.release());
}

// ---- copies, colours, splitting and merging

CCndObject* CCndObject::NewDerived() const
{
    auto* c = new CCndObject;
    c->m_nTag = m_nTag;
    c->m_nEmbSource = m_nEmbSource;
    c->m_nDensity = m_nDensity;
    c->m_bApplyColors = 0;
    c->m_nColorCounter = 1;
    return c;
}

CEmbObject* CCndObject::Copy()
{
    auto* c = new CCndObject;
    c->m_rcBounds = m_rcBounds;
    c->m_nTag = m_nTag;
    c->m_nEmbSource = m_nEmbSource;
    for (int m = kJumpMode; m <= kTripleMode; ++m) c->StartMode((Mode)m) = StartMode((Mode)m);
    c->m_nColorCounter = m_nColorCounter;
    c->m_nDensity = m_nDensity;
    c->m_bApplyColors = m_bApplyColors;
    c->m_ptLastStitch = tagPOINT{0, 0};
    for (CEmbData* e : m_Elements) c->AppendElement(e->Copy());
    delete c->m_pRendered;
    c->m_pRendered = m_pRendered ? (CExpObject*)m_pRendered->Copy() : nullptr;
    return c;
}

CEmbObject* CCndObject::CopyColor(int nColor)
{
    CCndObject* c = NewDerived();
    // The modes in force where block n begins, found by walking the elements as rendering
    // does; the current modes are scratch outside rendering.
    int32_t saved[3];
    for (int m = kJumpMode; m <= kTripleMode; ++m) {
        saved[m] = CurrentMode((Mode)m);
        CurrentMode((Mode)m) = StartMode((Mode)m);
    }
    size_t i = 0;
    int count = 0;
    for (; count < nColor && i < m_Elements.size(); ++i) {
        CEmbData* e = m_Elements[i];
        if (e->IsKindOf(RUNTIME_CLASS(CColorChange)))
            ++count;
        else if (e->IsKindOf(RUNTIME_CLASS(CSpecialStitch)))
            e->RendorStitches(this);
    }
    for (int m = kJumpMode; m <= kTripleMode; ++m) {
        c->StartMode((Mode)m) = CurrentMode((Mode)m);
        CurrentMode((Mode)m) = saved[m];
    }
    if (nColor < 0) return c;
    for (; i < m_Elements.size() && !m_Elements[i]->IsKindOf(RUNTIME_CLASS(CColorChange)); ++i)
        c->AppendElement(m_Elements[i]->Copy());
    int first = m_pRendered && nColor < kMaxColorRecords ? m_pRendered->m_Colors[nColor].nColor : 0;
    c->RendorStitches(first);
    return c;
}

CEmbObject* CCndObject::ColorSplit(int nStitch)
{
    if (nStitch < 1) nStitch = 1;
    int first = m_pRendered ? m_pRendered->m_Colors[0].nColor : 0;
    CCndObject* c = NewDerived();
    EmptyRendered();
    for (int m = kJumpMode; m <= kTripleMode; ++m) CurrentMode((Mode)m) = StartMode((Mode)m);
    m_ptLastStitch = tagPOINT{0, 0};
    size_t split = m_Elements.size(); // none
    for (size_t i = 0; i < m_Elements.size(); ++i) {
        m_Elements[i]->RendorStitches(this);
        if (m_pRendered && m_pRendered->m_nStitches >= (long)nStitch - 1) {
            split = i;
            break;
        }
    }
    // Both parts meet at the needle position of the split with a two-point run.
    CRunStitch join;
    join.AddPoint(m_ptLastStitch, 0, 0);
    join.AddPoint(m_ptLastStitch, 0, 0);
    c->AppendElement(join.Copy());
    for (int m = kJumpMode; m <= kTripleMode; ++m) c->StartMode((Mode)m) = CurrentMode((Mode)m);
    c->m_ptLastStitch = tagPOINT{0, 0};
    if (split < m_Elements.size()) {
        for (size_t i = split + 1; i < m_Elements.size(); ++i) {
            c->AppendElement(m_Elements[i]);
        }
        m_Elements.resize(split + 1);
    }
    AppendElement(join.Copy());
    RendorStitches(first);
    c->RendorStitches(first);
    return c;
}

void CCndObject::ColorMerge(CEmbObject* pOther)
{
    if (!pOther || !pOther->IsKindOf(RUNTIME_CLASS(CCndObject))) return;
    auto* other = static_cast<CCndObject*>(pOther);
    EmptyRendered();
    size_t n = other->m_Elements.size();
    for (size_t i = 0; i < n; ++i) AppendElement(other->m_Elements[i]->Copy());
    for (int m = kJumpMode; m <= kTripleMode; ++m) CurrentMode((Mode)m) = StartMode((Mode)m);
    if (!m_pRendered) return;
    for (CEmbData* e : m_Elements) {
        if (m_bRenderFull) break;
        if (!e->IsKindOf(RUNTIME_CLASS(CColorChange))) e->RendorStitches(this);
    }
    m_pRendered->m_Colors[1].nStitch = (int32_t)m_pRendered->m_nStitches;
    SetBoundsFromStitches();
    FinishRendering();
}

// ---- what the rendered design answers

void CCndObject::Draw(CDC* pDC, int nZoom)
{
    if (m_pRendered) m_pRendered->Draw(pDC, nZoom);
}

int CCndObject::WriteObject(const char* pszFileName, CMemFile* pMemFile)
{
    return m_pRendered ? m_pRendered->WriteObject(pszFileName, pMemFile) : 0;
}

void CCndObject::CleanupJunkStitches()
{
    if (m_pRendered) m_pRendered->CleanupJunkStitches();
}

int CCndObject::GetNoColors() { return m_pRendered ? m_pRendered->m_nColors : -1; }
long CCndObject::GetNoStitches() { return m_pRendered ? m_pRendered->m_nStitches : -1; }
tagPOINT* CCndObject::GetStitchData() { return m_pRendered ? m_pRendered->m_pPoints : nullptr; }
unsigned char* CCndObject::GetStitchType() { return m_pRendered ? m_pRendered->m_pTypes : nullptr; }
COLORCHG* CCndObject::GetColorData() { return m_pRendered ? m_pRendered->m_Colors : nullptr; }

int CCndObject::ReadObject(const char* pszFileName, int, CMemFile* pMemFile)
{
    CCnd reader;
    if (pMemFile) reader.m_pFile = pMemFile;
    reader.ImportFile(pszFileName, this);
    RendorStitches(reader.m_nFirstColor);
    m_bApplyColors = 0;
    return 1;
}

// ---- geometry: the elements change, the rendered design follows

void CCndObject::MoveTo(tagPOINT ptOffset)
{
    for (CEmbData* e : m_Elements) e->MoveTo(ptOffset);
    if (m_pRendered) m_pRendered->MoveTo(ptOffset);
    CEmbObject::MoveTo(ptOffset);
}

void CCndObject::RotateBy(tagPOINT ptCenter, short nDegrees)
{
    for (CEmbData* e : m_Elements) e->RotateBy(ptCenter, nDegrees);
    if (!m_pRendered) return;
    m_pRendered->RotateBy(ptCenter, nDegrees);
    m_rcBounds = m_pRendered->m_rcBounds;
}

void CCndObject::ScaleBy(tagSIZE szFactors)
{
    for (CEmbData* e : m_Elements) e->ScaleBy(szFactors);
    RendorStitches(m_pRendered ? m_pRendered->m_Colors[0].nColor : 0);
}

void CCndObject::MirrorH()
{
    int s = pointops::Clamp32((int64_t)m_rcBounds.left + m_rcBounds.right);
    for (CEmbData* e : m_Elements) e->MirrorH(s);
    if (m_pRendered) m_pRendered->MirrorH();
}

void CCndObject::MirrorH(int nAxisX)
{
    for (CEmbData* e : m_Elements) e->MirrorH(nAxisX);
    if (m_pRendered) m_pRendered->MirrorH(nAxisX);
}

void CCndObject::MirrorV()
{
    int s = pointops::Clamp32((int64_t)m_rcBounds.top + m_rcBounds.bottom);
    for (CEmbData* e : m_Elements) e->MirrorV(s);
    if (m_pRendered) m_pRendered->MirrorV();
}

void CCndObject::MirrorV(int nAxisY)
{
    for (CEmbData* e : m_Elements) e->MirrorV(nAxisY);
    if (m_pRendered) m_pRendered->MirrorV(nAxisY);
}
