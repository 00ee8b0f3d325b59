#include "design/exp_object.h"

#include "core/endian.h"
#include "core/settings.h"
#include "core/thread_table.h"
#include "formats/format_table.h"
#include "platform/message.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
constexpr double kHalfPi = 1.57079632675;
constexpr int kMaxPolyline = 4096;
constexpr int kMaxMarkedPoints = 585; // 7 polyline points each

const char kMsgUnknownType[] = "Cannot save design %s. Unknown or unsupport file type.";
const char kMsgInvalid[] = "Cannot read design %s. Invalid file data or file not found.";
const char kMsgNoMemory[] = "Cannot read design %s. Cannot allocate enough memory to read the file.";
const char kMsgIncomplete[] = "Cannot read design %s. File appears to have incomplete or invalid data.";

bool HasFilter(int source)
{
    return source >= 1 && source <= 12 && source != 11;
}

const FormatInfo* FilterFormat(const char* name)
{
    const FormatInfo* f = FindFormat(name);
    return f && HasFilter(f->nSource) && f->create ? f : nullptr;
}

} // namespace

CExpObject::CExpObject()
{
    std::memset(m_Colors, 0, sizeof m_Colors);
}

CExpObject::~CExpObject()
{
    std::free(m_pPoints);
    std::free(m_pTypes);
}

bool CExpObject::Allocate(long nEntries, tagPOINT** ppPoints, unsigned char** ppTypes)
{
    *ppPoints = nullptr;
    *ppTypes = nullptr;
    if (nEntries < 1 || (unsigned long)nEntries > SIZE_MAX / sizeof(tagPOINT)) return false;
    *ppPoints = (tagPOINT*)std::calloc((size_t)nEntries, sizeof(tagPOINT));
    *ppTypes = (unsigned char*)std::calloc((size_t)nEntries, 1);
    if (*ppPoints && *ppTypes) return true;
    std::free(*ppPoints);
    std::free(*ppTypes);
    *ppPoints = nullptr;
    *ppTypes = nullptr;
    return false;
}

void CExpObject::Adopt(tagPOINT* pPoints, unsigned char* pTypes)
{
    std::free(m_pPoints);
    std::free(m_pTypes);
    m_pPoints = pPoints;
    m_pTypes = pTypes;
}

void CExpObject::ReportNoMemory()
{
    GetSetup()->m_nLastError = KW_ERR_NO_MEMORY;
    HandleError(FormatText(kMsgNoMemory, m_strFileName.c_str()).c_str(), "Error");
}

void CExpObject::FindBounds()
{
    if (m_nStitches <= 0 || !m_pPoints) {
        m_rcBounds.SetRectEmpty();
        return;
    }
    CRect r(m_pPoints[0].x, m_pPoints[0].y, m_pPoints[0].x, m_pPoints[0].y);
    for (long i = 1; i < m_nStitches; ++i) {
        const tagPOINT& p = m_pPoints[i];
        if (p.x < r.left) r.left = p.x;
        if (p.x > r.right) r.right = p.x;
        if (p.y > r.top) r.top = p.y;
        if (p.y < r.bottom) r.bottom = p.y;
    }
    m_rcBounds = r;
}

bool CExpObject::SetStitchList(int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints,
                               const unsigned char* pTypes)
{
    if (nColors < 0 || nColors > kMaxColorBlocks || nStitches < 0) return false;
    tagPOINT* points;
    unsigned char* types;
    if (!Allocate(nStitches + 16, &points, &types)) {
        ReportNoMemory();
        return false;
    }
    if (nStitches) {
        std::memcpy(points, pPoints, (size_t)nStitches * sizeof(tagPOINT));
        std::memcpy(types, pTypes, (size_t)nStitches);
    }
    Adopt(points, types);
    std::memset(m_Colors, 0, sizeof m_Colors);
    if (nColors) std::memcpy(m_Colors, pColors, (size_t)nColors * sizeof(COLORCHG));
    m_nColors = nColors;
    m_nStitches = m_nCapacity = nStitches;
    WriteClosingRecord(m_Colors, m_nColors, m_nStitches);
    m_nFirstColor = 0;
    m_nDrawColors = nColors;
    FindBounds();
    return true;
}

int CExpObject::ReadObject(const char* pszFileName, int bKeepHoop, CMemFile* pMemFile)
{
    m_rcBounds.SetRectEmpty();
    m_strFileName = pszFileName ? pszFileName : "";
    m_nEmbSource = GetEmbSource(pszFileName);
    const FormatInfo* format = FilterFormat(pszFileName);
    if (!format) {
        GetSetup()->m_nLastError = KW_ERR_UNKNOWN_TYPE;
        HandleError(FormatText(kMsgUnknownType, m_strFileName.c_str()).c_str(), "Error");
        return 0;
    }
    std::unique_ptr<CFilter> filter(format->create());
    if (pMemFile) filter->m_pFile = pMemFile;
    long capacity = filter->GetMaxNoStitches(pszFileName);
    if (capacity < 1) {
        GetSetup()->m_nLastError = KW_ERR_BAD_FILE;
        HandleError(FormatText(kMsgInvalid, m_strFileName.c_str()).c_str(), "Error");
        return 0;
    }
    tagPOINT* points;
    unsigned char* types;
    if (capacity > LONG_MAX - 16 || !Allocate(capacity + 16, &points, &types)) {
        ReportNoMemory();
        return 0;
    }
    // The design is read into new arrays and replaces the old one only when complete.
    std::vector<COLORCHG> colors(kMaxColorRecords, COLORCHG{0, 0, 0, 0});
    int nColors = 0;
    long nStitches = 0;
    if (!filter->ImportFile(pszFileName, &nColors, colors.data(), &nStitches, points, types)) {
        std::free(points);
        std::free(types);
        HandleError(FormatText(kMsgIncomplete, m_strFileName.c_str()).c_str(), "Error");
        return 0;
    }
    Adopt(points, types);
    std::memcpy(m_Colors, colors.data(), sizeof m_Colors);
    m_nColors = nColors;
    m_nStitches = nStitches;
    m_nCapacity = capacity;
    m_nFirstColor = 0;
    m_nDrawColors = m_nColors;
    if (!bKeepHoop) {
        m_nHoopWidth = filter->m_nHoopWidth;
        m_nHoopHeight = filter->m_nHoopHeight;
    }
    FindBounds();
    return 1;
}

int CExpObject::WriteObject(const char* pszFileName, CMemFile* pMemFile)
{
    m_strFileName = pszFileName ? pszFileName : "";
    const FormatInfo* format = FilterFormat(pszFileName);
    if (!format || !format->bWrites) {
        GetSetup()->m_nLastError = KW_ERR_UNKNOWN_TYPE;
        HandleError(FormatText(kMsgUnknownType, m_strFileName.c_str()).c_str(), "Error");
        return 0;
    }
    std::unique_ptr<CFilter> filter(format->create());
    if (pMemFile) filter->m_pFile = pMemFile;
    filter->m_nHoopWidth = m_nHoopWidth;
    filter->m_nHoopHeight = m_nHoopHeight;
    return filter->ExportFile(pszFileName, m_nColors, m_Colors, m_nStitches, m_pPoints, m_pTypes);
}

CExpObject* CExpObject::NewDerived(long nEntries) const
{
    auto* c = new (std::nothrow) CExpObject;
    if (c && !Allocate(nEntries, &c->m_pPoints, &c->m_pTypes)) {
        delete c;
        c = nullptr;
    }
    if (!c) {
        GetSetup()->m_nLastError = KW_ERR_NO_MEMORY;
        return nullptr;
    }
    c->m_nTag = m_nTag;
    c->m_nEmbSource = m_nEmbSource;
    return c;
}

CEmbObject* CExpObject::Copy()
{
    CExpObject* c = NewDerived(m_nCapacity + 16);
    if (!c) return nullptr;
    if (m_nCapacity > 0 && m_pPoints) {
        std::memcpy(c->m_pPoints, m_pPoints, (size_t)m_nCapacity * sizeof(tagPOINT));
        std::memcpy(c->m_pTypes, m_pTypes, (size_t)m_nCapacity);
    }
    c->m_rcBounds = m_rcBounds;
    c->m_nColors = m_nColors;
    c->m_nStitches = m_nStitches;
    c->m_nCapacity = m_nCapacity;
    std::memcpy(c->m_Colors, m_Colors, sizeof m_Colors);
    c->m_nFirstColor = m_nFirstColor;
    c->m_nDrawColors = m_nDrawColors;
    return c;
}

CEmbObject* CExpObject::CopyColor(int nColor)
{
    if (nColor < 0 || nColor >= m_nColors) return nullptr;
    long first = BlockStart(m_Colors, m_nColors, nColor, m_nStitches);
    long n = BlockEnd(m_Colors, m_nColors, nColor, m_nStitches) - first;
    long count = n < 1 ? 1 : n;
    CExpObject* c = NewDerived(count + 4);
    if (!c) return nullptr;
    // An empty block gives one placeholder point at the origin; a real point is kept.
    if (n >= 1) {
        std::memcpy(c->m_pPoints, m_pPoints + first, (size_t)n * sizeof(tagPOINT));
        std::memcpy(c->m_pTypes, m_pTypes + first, (size_t)n);
    }
    c->m_nColors = 1;
    c->m_Colors[0] = COLORCHG{0, m_Colors[nColor].nColor, 0, m_Colors[nColor].nExtra};
    c->m_Colors[1].nStitch = (int32_t)count;
    c->m_nStitches = count;
    c->m_nCapacity = count + 4;
    c->m_nFirstColor = 0;
    c->m_nDrawColors = 1;
    c->FindBounds();
    return c;
}

CEmbObject* CExpObject::ColorSplit(int nStitch)
{
    if (m_nStitches < 2 || !m_pPoints) return nullptr;
    // An argument of 1 or less splits after the first point: the source needs a point
    // before the split to repeat.
    long s = nStitch <= 1 ? 1 : (long)nStitch - 1;
    if (s > m_nStitches - 1) return nullptr;
    long m = m_nStitches - s;
    CExpObject* c = NewDerived(m + 6);
    if (!c) return nullptr;
    c->m_Colors[0] = COLORCHG{0, m_Colors[0].nColor, 0, m_Colors[0].nExtra};
    c->m_nColors = 1;
    c->m_nStitches = m + 2;
    c->m_Colors[1].nStitch = (int32_t)(m + 2);
    c->m_nCapacity = m + 4;
    c->m_nFirstColor = 0;
    c->m_nDrawColors = 1;
    c->m_pPoints[0] = c->m_pPoints[1] = m_pPoints[s];
    c->m_pTypes[0] = c->m_pTypes[1] = m_pTypes[0];
    std::memcpy(c->m_pPoints + 2, m_pPoints + s, (size_t)m * sizeof(tagPOINT));
    std::memcpy(c->m_pTypes + 2, m_pTypes + s, (size_t)m);
    // The source keeps what came before, ending on its last point twice more. Its arrays
    // always hold at least the stitch count + 4 entries, and s + 1 <= the stitch count.
    m_pPoints[s] = m_pPoints[s - 1];
    m_pPoints[s + 1] = m_pPoints[s - 1];
    m_pTypes[s] = m_pTypes[s + 1] = m_pTypes[s - 1];
    m_nStitches = s + 2;
    FindBounds();
    c->FindBounds();
    return c;
}

void CExpObject::ColorMerge(CEmbObject* pOther)
{
    if (!pOther || pOther == this) return;
    long n2 = pOther->GetNoStitches();
    tagPOINT* otherPoints = pOther->GetStitchData();
    unsigned char* otherTypes = pOther->GetStitchType();
    if (n2 <= 0 || !otherPoints || !otherTypes) return;
    long total = m_nStitches + n2;
    size_t entries = (size_t)total + 4;
    // Grown in place; on failure the design stays as it was.
    auto* points = (tagPOINT*)std::realloc(m_pPoints, entries * sizeof(tagPOINT));
    if (!points) {
        ReportNoMemory();
        return;
    }
    m_pPoints = points;
    auto* types = (unsigned char*)std::realloc(m_pTypes, entries);
    if (!types) {
        ReportNoMemory();
        return;
    }
    m_pTypes = types;
    std::memcpy(m_pPoints + m_nStitches, otherPoints, (size_t)n2 * sizeof(tagPOINT));
    std::memcpy(m_pTypes + m_nStitches, otherTypes, (size_t)n2);
    std::memset(m_pTypes + total, 0, 4);
    m_nStitches = total;
    m_nCapacity = total + 4;
    m_Colors[1].nStitch = (int32_t)total;
    FindBounds();
}

void CExpObject::MoveTo(tagPOINT ptOffset)
{
    for (long i = 0; i < m_nStitches; ++i) MovePoint(ptOffset, m_pPoints[i]);
    CEmbObject::MoveTo(ptOffset);
}

void CExpObject::ScaleBy(tagSIZE szFactors)
{
    m_nReserved[0] = m_nReserved[3];
    m_nReserved[1] = m_nReserved[4];
    m_nReserved[2] = m_nReserved[5];
    for (long i = 0; i < m_nStitches; ++i) ScalePoint(szFactors, m_pPoints[i]);
    // A negative factor turns the bounds over; they stay the points' extent.
    FindBounds();
}

void CExpObject::RotateBy(tagPOINT ptCenter, short nDegrees)
{
    double angle = nDegrees * kPi / 180.0;
    for (long i = 0; i < m_nStitches; ++i) RotatePoint(ptCenter, angle, m_pPoints[i]);
    // The rotated points lie around the origin; the bounds are their extent.
    FindBounds();
}

void CExpObject::MirrorH()
{
    int64_t sum = (int64_t)m_rcBounds.left + m_rcBounds.right;
    for (long i = 0; i < m_nStitches; ++i) m_pPoints[i].x = (int32_t)(sum - m_pPoints[i].x);
}

void CExpObject::MirrorV()
{
    int64_t sum = (int64_t)m_rcBounds.top + m_rcBounds.bottom;
    for (long i = 0; i < m_nStitches; ++i) m_pPoints[i].y = (int32_t)(sum - m_pPoints[i].y);
}

void CExpObject::MirrorH(int nAxisX)
{
    for (long i = 0; i < m_nStitches; ++i) {
        int64_t x = (int64_t)nAxisX - m_pPoints[i].x;
        m_pPoints[i].x = x > INT32_MAX ? INT32_MAX : x < INT32_MIN ? INT32_MIN : (int32_t)x;
    }
    FindBounds();
}

void CExpObject::MirrorV(int nAxisY)
{
    for (long i = 0; i < m_nStitches; ++i) {
        int64_t y = (int64_t)nAxisY - m_pPoints[i].y;
        m_pPoints[i].y = y > INT32_MAX ? INT32_MAX : y < INT32_MIN ? INT32_MIN : (int32_t)y;
    }
    FindBounds();
}

void CExpObject::CleanupJunkStitches()
{
    long n = m_nStitches;
    if (n - 1 < 2) return;
    double limit = GetSetup()->m_dThreshold;
    // One pass that keeps the points in place; a removed point's neighbour before it is the
    // last point kept, as when each removal closed the gap at once.
    std::vector<long> removed;
    long w = 1;
    for (long i = 1; i < n - 1; ++i) {
        const tagPOINT& prev = m_pPoints[w - 1];
        const tagPOINT& cur = m_pPoints[i];
        const tagPOINT& next = m_pPoints[i + 1];
        double d1x = (double)cur.x - prev.x, d1y = (double)cur.y - prev.y;
        bool remove = false;
        if (std::sqrt(d1x * d1x + d1y * d1y) < limit) {
            double a1 = std::atan2(d1y, d1x);
            double a2 = std::atan2((double)next.y - cur.y, (double)next.x - cur.x);
            double delta = a1 - a2;
            if (delta < -kPi) delta += kTwoPi;
            if (delta > kPi) delta -= kTwoPi;
            remove = -kHalfPi < delta && delta < kHalfPi;
        }
        if (remove) {
            removed.push_back(i);
            continue;
        }
        m_pPoints[w] = cur;
        m_pTypes[w] = m_pTypes[i];
        ++w;
    }
    if (removed.empty()) return;
    m_pPoints[w] = m_pPoints[n - 1];
    m_pTypes[w] = m_pTypes[n - 1];
    // A record at point r loses one for each removed point at r or before it.
    for (int k = 0; k <= m_nColors && k < kMaxColorRecords; ++k) {
        long r = m_Colors[k].nStitch;
        long before = (long)(std::upper_bound(removed.begin(), removed.end(), r) - removed.begin());
        m_Colors[k].nStitch = (int32_t)(r - before);
    }
    m_nStitches = n - (long)removed.size();
    FindBounds();
}

void CExpObject::Draw(CDC* pDC, int nZoom)
{
    if (!pDC || m_nStitches <= 0 || !m_pPoints) return;
    int gx = 2540 / (pDC->GetDeviceCaps(LOGPIXELSX) > 0 ? pDC->GetDeviceCaps(LOGPIXELSX) : 96);
    int gy = -2540 / (pDC->GetDeviceCaps(LOGPIXELSY) > 0 ? pDC->GetDeviceCaps(LOGPIXELSY) : 96);
    if (gx == 0) gx = 1;
    if (gy == 0) gy = -1;
    auto map = [&](const tagPOINT& p) {
        return tagPOINT{(int32_t)((int64_t)(p.x / gx) * nZoom / 100), (int32_t)((int64_t)(p.y / gy) * nZoom / 100)};
    };
    CKwFilter* setup = GetSetup();
    bool marks = setup->m_bStitchPoints != 0;
    int bits = pDC->GetDeviceCaps(BITSPIXEL) * pDC->GetDeviceCaps(PLANES);
    bool paletteDevice = bits >= 1 && bits <= 8;
    CPen* oldPen = pDC->GetCurrentPen();
    CPalette* oldPalette = pDC->GetCurrentPalette();
    BOOL oldForce = pDC->GetForceBackground();
    bool selected = false;
    std::vector<tagPOINT> line;
    line.reserve(kMaxPolyline);
    int first = m_nFirstColor < 0 ? 0 : m_nFirstColor;
    int end = m_nDrawColors > m_nColors ? m_nColors : m_nDrawColors;
    for (int k = first; k < end; ++k) {
        long start = BlockStart(m_Colors, m_nColors, k, m_nStitches);
        long stop = BlockEnd(m_Colors, m_nColors, k, m_nStitches);
        if (stop <= start) continue;
        COLORREF color = GetThreadColor(m_Colors[k].nColor);
        pDC->SelectPalette(&setup->m_Palette, setup->m_bPaletteBackground);
        pDC->RealizePalette();
        selected = true;
        if (paletteDevice && setup->m_Palette.GetEntryCount() > 0)
            color = PALETTEINDEX((WORD)setup->m_Palette.GetNearestPaletteIndex(color));
        CPen pen(PS_SOLID, 1, color);
        pDC->SelectObject(&pen);
        line.clear();
        for (long i = start; i < stop; ++i) {
            tagPOINT p = map(m_pPoints[i]);
            if (marks) {
                if (line.size() + 7 > (size_t)kMaxMarkedPoints * 7) {
                    pDC->Polyline(line.data(), (int)line.size());
                    line.clear();
                }
                static const int corners[5][2] = {{2, 2}, {-2, 2}, {-2, -2}, {2, -2}, {2, 2}};
                line.push_back(p);
                for (const auto& c : corners) line.push_back(tagPOINT{p.x + c[0], p.y + c[1]});
                line.push_back(p);
            } else {
                if (line.size() == (size_t)kMaxPolyline) {
                    pDC->Polyline(line.data(), (int)line.size());
                    // The next polyline starts where this one ended, so no stitch is lost.
                    tagPOINT last = line.back();
                    line.clear();
                    line.push_back(last);
                }
                line.push_back(p);
            }
        }
        if (line.size() >= 2) pDC->Polyline(line.data(), (int)line.size());
        pDC->SelectObject(oldPen);
        pen.DeleteObject();
    }
    if (selected) pDC->SelectPalette(oldPalette, oldForce);
}

void CExpObject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (int32_t)1;
        SerializeBase(ar);
        ar << (int32_t)m_nColors << (int32_t)m_nStitches << (int32_t)m_nStitches << (int32_t)m_nFirstColor
           << (int32_t)m_nDrawColors << (int32_t)m_nHoopWidth << (int32_t)m_nHoopHeight;
        for (const COLORCHG& c : m_Colors) ar << c.nStitch << c.nColor << c.nExtra;
        unsigned char rec[9];
        for (long i = 0; i < m_nStitches; ++i) {
            PutLE32Bytes(rec, (uint32_t)m_pPoints[i].x);
            PutLE32Bytes(rec + 4, (uint32_t)m_pPoints[i].y);
            rec[8] = m_pTypes[i];
            ar.Write(rec, 9);
        }
        return;
    }
    // Loading: everything is read into locals first, so that a short or corrupt archive
    // or a failed allocation leaves the design as it was.
    CExpObject loaded;
    tagPOINT* points = nullptr;
    unsigned char* types = nullptr;
    try {
        loaded.SerializeBase(ar);
        int32_t colors, stitches, capacity, firstColor, drawColors, hoopW, hoopH;
        ar >> colors >> stitches >> capacity >> firstColor >> drawColors >> hoopW >> hoopH;
        for (COLORCHG& c : loaded.m_Colors) ar >> c.nStitch >> c.nColor >> c.nExtra;
        CFile* file = ar.GetFile();
        uint64_t length = file ? file->GetLength() : 0;
        if (colors < 0 || colors > kMaxColorBlocks || stitches < 0 || capacity < stitches ||
            (uint64_t)stitches * 9 > length) {
            GetSetup()->m_nLastError = KW_ERR_BAD_FILE;
            HandleError(FormatText(kMsgIncomplete, file ? file->GetFilePath().c_str() : "").c_str(), "Error");
            return;
        }
        // The capacity is trusted only as far as the stored points reach.
        if (capacity > stitches) capacity = stitches;
        if (!Allocate((long)capacity + 16, &points, &types)) {
            ReportNoMemory();
            return;
        }
        unsigned char rec[9];
        for (int32_t i = 0; i < stitches; ++i) {
            if (ar.Read(rec, 9) != 9) throw new CArchiveException(CArchiveException::endOfFile);
            points[i] = tagPOINT{(int32_t)GetLE32Bytes(rec), (int32_t)GetLE32Bytes(rec + 4)};
            types[i] = rec[8];
        }
        m_rcBounds = loaded.m_rcBounds;
        m_nThousand = loaded.m_nThousand;
        m_nTag = loaded.m_nTag;
        m_nEmbSource = loaded.m_nEmbSource;
        std::memcpy(m_nReserved, loaded.m_nReserved, sizeof m_nReserved);
        m_nColors = colors;
        m_nStitches = stitches;
        m_nCapacity = capacity;
        m_nFirstColor = firstColor;
        m_nDrawColors = drawColors;
        m_nHoopWidth = hoopW;
        m_nHoopHeight = hoopH;
        std::memcpy(m_Colors, loaded.m_Colors, sizeof m_Colors);
        Adopt(points, types);
    } catch (CArchiveException* e) {
        e->Delete();
        std::free(points);
        std::free(types);
        GetSetup()->m_nLastError = KW_ERR_READ;
        HandleError("Error reading from file.", "Error");
    } catch (CFileException* e) {
        e->Delete();
        std::free(points);
        std::free(types);
        GetSetup()->m_nLastError = KW_ERR_READ;
        HandleError("Error reading from file.", "Error");
    }
}
