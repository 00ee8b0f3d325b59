#include "design/emb_object.h"

#include "core/filter.h"
#include "core/settings.h"
#include "design/exp_object.h"
#include "formats/format_table.h"
#include "platform/message.h"

#include <cmath>

namespace {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;

int32_t Clamp32(int64_t v)
{
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
}

} // namespace

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
    const FormatInfo* f = FindFormat(pszFileName);
    return f ? f->nSource : 0;
}

void CEmbObject::HandleError(const char* pszMessage, const char* pszCaption)
{
    ReportToUser(pszMessage, pszCaption, true);
}

void CEmbObject::MovePoint(tagPOINT ptOffset, tagPOINT& pt)
{
    pt.x = Clamp32((int64_t)pt.x + ptOffset.x);
    pt.y = Clamp32((int64_t)pt.y + ptOffset.y);
}

void CEmbObject::ScalePoint(tagSIZE szFactors, tagPOINT& pt)
{
    // Far points scaled up stay at the edge of the 32-bit range rather than wrapping.
    pt.x = Clamp32((int64_t)pt.x * szFactors.cx / 1000);
    pt.y = Clamp32((int64_t)pt.y * szFactors.cy / 1000);
}

void CEmbObject::RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt)
{
    double dx = (double)pt.x - ptCenter.x, dy = (double)pt.y - ptCenter.y;
    double r = std::sqrt(dx * dx + dy * dy);
    double theta = std::atan2(dy, dx) + dAngle;
    if (theta < -kPi) theta += kTwoPi;
    if (theta > kPi) theta -= kTwoPi;
    double x = r * std::cos(theta), y = r * std::sin(theta);
    pt.x = Clamp32((int64_t)std::trunc(x));
    pt.y = Clamp32((int64_t)std::trunc(y));
}

double CEmbObject::PointSqrt(tagPOINT pt)
{
    return std::sqrt((double)pt.x * pt.x + (double)pt.y * pt.y);
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
    if (kind != 1) {
        GetSetup()->m_nLastError = KW_ERR_UNKNOWN_TYPE;
        return nullptr;
    }
    auto* obj = new CExpObject;
    GetSetup()->m_nLastError = 0;
    obj->Serialize(ar);
    if (GetSetup()->m_nLastError < 0) {
        delete obj;
        return nullptr;
    }
    return obj;
}
