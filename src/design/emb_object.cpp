#include "design/emb_object.h"

#include "core/filter.h"
#include "core/settings.h"
#include "design/cnd_object.h"
#include "design/exp_object.h"
#include "design/point_ops.h"
#include "formats/format_table.h"
#include "platform/message.h"

using pointops::Clamp32;

IMPLEMENT_DYNAMIC(CEmbObject, CObject)

CEmbObject::CEmbObject() = default;

void CEmbObject::SerializeBase(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_rcBounds.left << m_rcBounds.top << m_rcBounds.right << m_rcBounds.bottom;
        ar << m_nThousand << m_nTag << m_nEmbSource;
        for (int32_t v : m_nReserved) ar << v;
    } else {
        ar >> m_rcBounds.left >> m_rcBounds.top >> m_rcBounds.right >> m_rcBounds.bottom;
        ar >> m_nThousand >> m_nTag >> m_nEmbSource;
        for (int32_t& v : m_nReserved) ar >> v;
    }
}

void CEmbObject::Serialize(CArchive& ar)
{
    SerializeBase(ar);
}

CEmbObject* CEmbObject::Copy() { return nullptr; }
CEmbObject* CEmbObject::CopyColor(int) { return nullptr; }
CEmbObject* CEmbObject::ColorSplit(int) { return nullptr; }
void CEmbObject::ColorMerge(CEmbObject*) {}
void CEmbObject::Draw(CDC*, int) {}
int CEmbObject::ReadObject(const char*, int, CMemFile*) { return 0; }
void CEmbObject::CleanupJunkStitches() {}
void CEmbObject::MirrorH(int) {}
void CEmbObject::MirrorH() {}
void CEmbObject::MirrorV(int) {}
void CEmbObject::MirrorV() {}
void CEmbObject::RotateBy(tagPOINT, short) {}
int CEmbObject::GetNoColors() { return 0; }
long CEmbObject::GetNoStitches() { return 0; }
tagPOINT* CEmbObject::GetStitchData() { return nullptr; }
unsigned char* CEmbObject::GetStitchType() { return nullptr; }
COLORCHG* CEmbObject::GetColorData() { return nullptr; }
int CEmbObject::WriteObject(const char*, CMemFile*) { return 0; }

void CEmbObject::MoveTo(tagPOINT ptOffset)
{
    m_rcBounds.left = Clamp32((int64_t)m_rcBounds.left + ptOffset.x);
    m_rcBounds.right = Clamp32((int64_t)m_rcBounds.right + ptOffset.x);
    m_rcBounds.top = Clamp32((int64_t)m_rcBounds.top + ptOffset.y);
    m_rcBounds.bottom = Clamp32((int64_t)m_rcBounds.bottom + ptOffset.y);
}

void CEmbObject::ScaleBy(tagSIZE szFactors)
{
    tagPOINT a{m_rcBounds.left, m_rcBounds.top}, b{m_rcBounds.right, m_rcBounds.bottom};
    ScalePoint(szFactors, a);
    ScalePoint(szFactors, b);
    m_rcBounds = CRect(a.x, a.y, b.x, b.y);
}

BOOL CEmbObject::Intersects(const CRect& rect) const
{
    CRect a = m_rcBounds, b = rect;
    a.NormalizeRect();
    b.NormalizeRect();
    CRect i(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
            a.bottom < b.bottom ? a.bottom : b.bottom);
    return !i.IsRectEmpty();
}

int CEmbObject::GetEmbSource(const char* pszFileName)
{
    return GetEmbSourceOfName(pszFileName);
}

void CEmbObject::HandleError(const char* pszMessage, const char* pszCaption)
{
    ReportToUser(pszMessage, pszCaption, true);
}

void CEmbObject::MovePoint(tagPOINT ptOffset, tagPOINT& pt)
{
    pointops::MovePoint(ptOffset, pt);
}

void CEmbObject::ScalePoint(tagSIZE szFactors, tagPOINT& pt)
{
    // Far points scaled up stay at the edge of the 32-bit range rather than wrapping.
    pt.x = pointops::ScaleValue(pt.x, szFactors.cx);
    pt.y = pointops::ScaleValue(pt.y, szFactors.cy);
}

void CEmbObject::RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt)
{
    pointops::RotatePoint(ptCenter, dAngle, pt);
}

double CEmbObject::PointSqrt(tagPOINT pt)
{
    return pointops::PointSqrt(pt);
}

CEmbObject* CEmbObject::LoadObject(CArchive& ar)
{
    int32_t kind = 0;
    try {
        ar >> kind;
    } catch (CArchiveException* e) {
        e->Delete();
        GetSetup()->m_nLastError = KW_ERR_BAD_FILE;
        return nullptr;
    }
    CEmbObject* obj;
    if (kind == 1)
        obj = new CExpObject;
    else if (kind == 2)
        obj = new CCndObject;
    else {
        GetSetup()->m_nLastError = KW_ERR_UNKNOWN_TYPE;
        return nullptr;
    }
    GetSetup()->m_nLastError = 0;
    obj->Serialize(ar);
    if (GetSetup()->m_nLastError < 0) {
        delete obj;
        return nullptr;
    }
    return obj;
}
