#include "design/cnd.h"

#include "core/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
constexpr double kHalfPi = 1.57079632675;

// The file is read whole in pieces of this size (its length is not trusted to size memory).
constexpr size_t kReadChunk = 65536;

bool IsCommand(const uint8_t* r) { return (r[0] & 0x0F) == 7; }
int RecordValue(const uint8_t* r) { return r[3] * 256 + r[4]; }

tagPOINT RecordPoint(const uint8_t* r) { return CCnd::TranslateCords(r[0] & 0xF8, r[1] * 256 + r[2], r[3] * 256 + r[4]); }

int16_t SpacingOf(int n) { return (int16_t)(n < 28 ? 280 : 10 * n); }

// The fill parameters of command 0x07 (sub-code b2), shared by plain and complex fills.
// False for a sub-code that sets nothing.
bool ApplyFillParams(int b2, int v, int16_t& nSpacing, int16_t& nType, int16_t& nLength, int16_t& nAngle)
{
    int n = CCnd::TranslateNumber(v);
    if (b2 < 0x10) {
        nSpacing = SpacingOf(n);
        int t = (b2 & 7) + 1;
        nType = (int16_t)t;
        nLength = t >= 4 ? 600 : 380;
        nAngle = (t == 2 || t == 3) ? 300 : 900;
        return true;
    }
    switch (b2) {
    case 0x12: nSpacing = SpacingOf(n); return true;
    case 0x14:
        if (n > 0) nLength = (int16_t)n;
        return true;
    case 0x15: nAngle = (int16_t)(10 * CCnd::TranslateAngle(v)); return true;
    default: return false;
    }
}

// The commands that end a satin column (the main loop then reads them).
bool EndsColumn(const uint8_t* r)
{
    switch (r[1]) {
    case 0x06: case 0x07: case 0x09: case 0x0A: case 0x0B: case 0x0D: case 0x14: case 0x15:
    case 0x18: case 0x19: case 0x1D: case 0x2D: case 0x80: return true;
    case 0x1A: return !(r[2] <= 1 && r[3] <= 2);
    default: return false;
    }
}

// The commands that drop a fill that has not reached its end.
bool EndsFill(int code)
{
    switch (code) {
    case 0x06: case 0x09: case 0x0A: case 0x0B: case 0x0D: case 0x1D: case 0x2D: case 0x80: return true;
    default: return false;
    }
}

// The direction of a rail pair, in 0 to 2 pi, with vertical pairs at plus or minus pi/2.
double PairAngle(tagPOINT a, tagPOINT b)
{
    double dx = (double)b.x - a.x, dy = (double)b.y - a.y;
    if (dx == 0) return dy > 0 ? kHalfPi : -kHalfPi;
    double angle = std::atan(dy / dx);
    if (dx < 0) angle += kPi;
    else if (dy < 0) angle += kTwoPi;
    return angle;
}

double PairWidth(tagPOINT a, tagPOINT b)
{
    double dx = (double)b.x - a.x, dy = (double)b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// A segment that bends through one middle point: the middle pair lies across it, half as
// wide as the column's two ends on average, turned halfway between their directions.
void MiddlePairFromPoint(CSatinStitch& s, int n)
{
    double w1 = PairWidth(s.m_StartA[n], s.m_StartB[n]);
    double w2 = PairWidth(s.m_EndA[n], s.m_EndB[n]);
    double a1 = PairAngle(s.m_StartA[n], s.m_StartB[n]);
    double a2 = PairAngle(s.m_EndA[n], s.m_EndB[n]);
    double h = (w1 + w2) / 4;
    double a = (a1 + a2) / 2;
    if (std::fabs(a - a1) > kHalfPi || std::fabs(a - a2) > kHalfPi) a -= kPi;
    int32_t dx = (int32_t)(std::cos(a) * h);
    int32_t dy = (int32_t)(std::sin(a) * h);
    tagPOINT m = s.m_MiddleA[n];
    s.m_MiddleB[n] = tagPOINT{m.x + dx, m.y + dy};
    s.m_MiddleA[n] = tagPOINT{m.x - dx, m.y - dy};
}

// P2 and P3 of a fill frame run the same way as P0 to P1 along the edge's longer axis.
void OrderFrame(tagPOINT* P)
{
    int64_t ax = std::llabs((int64_t)P[0].x - P[1].x), ay = std::llabs((int64_t)P[0].y - P[1].y);
    bool keep;
    if (ax <= ay)
        keep = (P[1].y < P[0].y && P[2].y <= P[3].y) || (P[1].y >= P[0].y && P[3].y <= P[2].y);
    else
        keep = (P[1].x < P[0].x && P[2].x <= P[3].x) || (P[1].x >= P[0].x && P[3].x <= P[2].x);
    if (!keep) std::swap(P[2], P[3]);
}

std::string LowerExtension(const char* pszFileName)
{
    if (!pszFileName) return "";
    size_t n = std::strlen(pszFileName);
    if (n < 4) return "";
    std::string ext(pszFileName + n - 4);
    for (char& c : ext) c = (char)std::tolower((unsigned char)c);
    return ext;
}

} // namespace

CCnd::CCnd() = default;

long CCnd::GetMaxNoStitches(const char*) { return -1; }

int CCnd::ImportFile(const char*, int*, COLORCHG*, long*, tagPOINT*, unsigned char*) { return 0; }

int CCnd::ExportFile(const char*, int, COLORCHG*, long, tagPOINT*, unsigned char*) { return 0; }

int CCnd::TranslateNumber(int v)
{
    // Each step takes 128 off the value and adds 128 to the counter until the counter
    // reaches the value: (v + 127) / 256 steps in all.
    if (v > 128) v -= 128 * ((v + 127) / 256);
    return v;
}

tagPOINT CCnd::TranslateCords(int nFlags, int x, int y)
{
    x = TranslateNumber(x);
    y = TranslateNumber(y);
    if (nFlags & 0x10) x += 0x4000;
    if (nFlags & 0x08) y += 0x4000;
    x = (x + 3) / 6;
    y = (y + 3) / 6;
    switch (nFlags & 0x60) {
    case 0x20: y = -y; break;
    case 0x40: x = -x; break;
    case 0x60: x = -x, y = -y; break;
    default: break;
    }
    return tagPOINT{x * 10, y * 10};
}

int CCnd::TranslateAngle(int v)
{
    int k = 0;
    for (int j = 1; j <= 26; ++j)
        if (v >= 259 + 258 * (j - 1)) ++k;
    v -= 128 * k;
    if (v > 900) v -= 128;
    if (v > 2700) v -= 128;
    return v;
}

int CCnd::ReadRecord(uint8_t rec[5])
{
    if (m_bClosed || m_nPos + 5 > m_Data.size()) return 0;
    std::memcpy(rec, &m_Data[m_nPos], 5);
    if (m_bScrambled)
        for (int k = 0; k < 5; ++k) rec[k] ^= (uint8_t)((m_nFilePos + k) & 0xFF);
    m_nPos += 5;
    m_nFilePos += 5;
    if (rec[0] == 0) m_bClosed = true;
    return 1;
}

void CCnd::StepBack()
{
    if (m_bClosed || m_nPos < 5) return;
    m_nPos -= 5;
    m_nFilePos -= 5;
}

int CCnd::GetNextMark1(tagPOINT& pt)
{
    uint8_t r[5];
    if (!ReadRecord(r)) return -1;
    if (!IsCommand(r) && (r[0] & 7) == 1) {
        pt = RecordPoint(r);
        return 1;
    }
    StepBack();
    return r[0] & 7;
}

void CCnd::FlushRun(CCndObject* pDesign)
{
    if (m_pRun->m_nPoints <= 0) return;
    m_pRun->m_nRunLength = m_nRunLength;
    m_pRun->m_nRunValue = m_nRunValue;
    pDesign->AppendElement(m_pRun->Copy());
    m_pRun->m_nPoints = 0;
}

void CCnd::ColorChange(CCndObject* pDesign, int& nMode)
{
    nMode = 1;
    int counter = pDesign->m_nColorCounter;
    int colour = counter;
    // The table has 256 entries; beyond it the colour is the counter itself.
    if (m_bMapInUse && counter >= -1 && counter < 255) colour = m_ColorMap[counter + 1];
    pDesign->AppendElement(new CColorChange((short)colour, 0));
    pDesign->m_nColorCounter = (int32_t)((int64_t)counter + 1);
    if (pDesign->CurrentMode(CCndObject::kJumpMode)) pDesign->AppendElement(new CSpecialStitch(SpecStJump, 1));
    if (pDesign->CurrentMode(CCndObject::kTrimMode)) pDesign->AppendElement(new CSpecialStitch(SpecStTrim, 1));
    if (pDesign->CurrentMode(CCndObject::kTripleMode)) pDesign->AppendElement(new CSpecialStitch(SpecStTriple, 1));
}

int CCnd::ImportFile(const char* pszFileName, CCndObject* pDesign)
{
    if (!pDesign || !OpenFile(pszFileName, 0)) return 0;
    m_Data.clear();
    try {
        for (;;) {
            size_t have = m_Data.size();
            m_Data.resize(have + kReadChunk);
            UINT got = m_pFile->Read(m_Data.data() + have, (UINT)kReadChunk);
            m_Data.resize(have + got);
            if (got == 0) break;
        }
    } catch (CFileException* e) {
        // What could be read stands, as a file cut short would.
        e->Delete();
    }
    CloseHandle();

    std::string ext = LowerExtension(pszFileName);
    m_bScrambled = ext == ".dem";
    m_bMapInUse = false;
    m_nPos = 0;
    if (ext == ".kwc" || ext == ".dem") {
        m_bMapInUse = true;
        m_ColorMap[0] = 0;
        for (int i = 1; i < 256; ++i) m_ColorMap[i] = i - 1;
        // The colour table follows the end record near the end of the file; the search
        // starts on a record boundary within the last 128 bytes.
        size_t len = m_Data.size();
        size_t p = len > 128 ? len - 128 : 0;
        p = (p / 5) * 5 + 1;
        size_t got = p < len ? std::min<size_t>(256, len - p) : 0;
        if (got == 0) return Fail(KW_ERR_BAD_FILE, "Error reading from file.", pszFileName);
        uint8_t tail[256];
        for (size_t i = 0; i < got; ++i)
            tail[i] = (uint8_t)(m_Data[p + i] ^ (m_bScrambled ? (uint8_t)((p + i) & 0xFF) : 0));
        size_t i = 0;
        while (i < got && tail[i] != 0) i += 5;
        if (i + 5 < got) {
            size_t m = std::min<size_t>(got - i - 5, 256);
            for (size_t j = 0; j < m; ++j) m_ColorMap[j] = tail[i + 5 + j];
            if (m_ColorMap[0] == 0)
                for (size_t j = 1; j < m; ++j) m_ColorMap[j] = (int)j - 1;
        }
        m_nFirstColor = m_ColorMap[1];
        if (m_Data[0] != 1) return Fail(KW_ERR_BAD_FILE, "%s is not a vaild KW Scaleable file.", pszFileName);
        m_nPos = 1;
    }
    m_nFilePos = 1;
    m_bClosed = false;
    m_ptLastRun = tagPOINT{0, 0};
    m_nRunLength = 380;
    m_nRunValue = 1000;
    short nSatinDensity = 42;
    int nMode = 5;
    m_pRun = std::make_unique<CRunStitch>();
    m_pRun->m_Points.resize(40);
    m_pRun->m_Kinds.resize(40);
    m_pRun->m_Lengths.resize(40);

    auto addRunPoint = [&](tagPOINT pt, int kind) {
        m_pRun->AddPoint(pt, kind, m_nRunLength, 100);
        m_ptLastRun = pt;
        nMode = 0;
    };
    auto special = [&](SpecStTypes type, int param) { pDesign->AppendElement(new CSpecialStitch(type, param)); };

    uint8_t r[5];
    for (;;) {
        if (!ReadRecord(r) || r[0] == 0) break;
        if (!IsCommand(r)) {
            switch (r[0] & 7) {
            case 1: addRunPoint(RecordPoint(r), 0); break;
            case 3: addRunPoint(RecordPoint(r), 1); break;
            case 2:
                FlushRun(pDesign);
                LoadSatinStitch(pDesign, nSatinDensity);
                nMode = 0;
                break;
            case 4: nMode = 0; break;
            default: break;
            }
            continue;
        }
        const int v = RecordValue(r);
        const int code = r[1], sub = r[2];
        // Every command but the run length and run value ends the run being collected.
        if (code != 0x14 && code != 0x19) FlushRun(pDesign);
        switch (code) {
        case 0x0A:
        case 0x0B:
            if (nMode != 4) {
                nMode = 4;
                special(SpecStNormal, 1);
            }
            pDesign->CurrentMode(CCndObject::kJumpMode) = 0;
            pDesign->CurrentMode(CCndObject::kTrimMode) = 0;
            pDesign->CurrentMode(CCndObject::kTripleMode) = 0;
            break;
        case 0x0D:
            if ((sub == 4 && r[3] == 0x0E) || sub == 8) {
                if (nMode != 1) ColorChange(pDesign, nMode);
            } else if (sub == 7) {
                nMode = 5;
            }
            break;
        case 0x2D:
            if (nMode != 1) ColorChange(pDesign, nMode);
            break;
        case 0x07:
            nMode = 0;
            LoadFillStitch(pDesign);
            break;
        case 0x13: {
            nMode = 5;
            int n = TranslateNumber(v);
            nSatinDensity = (short)(n < 28 ? 280 : 10 * n);
            break;
        }
        case 0x14: {
            nMode = 5;
            int n = TranslateNumber(v);
            if (n > 0) m_nRunLength = (int16_t)n;
            if (n >= 900) m_nRunLength = 380;
            break;
        }
        case 0x19:
            nMode = 5;
            m_nRunValue = (int16_t)TranslateNumber(v);
            break;
        case 0x06:
            nMode = 3;
            special(SpecStTrim, 1);
            pDesign->CurrentMode(CCndObject::kTrimMode) = 1;
            break;
        case 0x09:
            if (nMode != 2) {
                nMode = 2;
                special(SpecStJump, 1);
                pDesign->CurrentMode(CCndObject::kJumpMode) = 1;
            }
            break;
        case 0x15:
            if (sub == 0) {
                nMode = 5;
                special(SpecStTriple, 1);
                pDesign->CurrentMode(CCndObject::kTripleMode) = 1;
            }
            break;
        case 0x1A:
            nMode = 5;
            if (sub == 0 && r[3] == 0x17 && r[4] <= 1) special(SpecStCode8, r[4]);
            else special(SpecStNormal, 1);
            break;
        case 0x1D:
            nMode = 5;
            special(SpecStCode2, 1);
            break;
        case 0x80:
            if (sub == 0) {
                nMode = 0;
                if (!LoadCFillStitch(pDesign)) m_bClosed = true;
            }
            break;
        default: break;
        }
    }
    FlushRun(pDesign);
    m_pRun.reset();
    return 1;
}

int CCnd::LoadSatinStitch(CCndObject* pDesign, short& nDensity)
{
    StepBack();
    auto s = std::make_unique<CSatinStitch>();
    s->SetCapacity(10);
    s->m_Densities[0] = nDensity;
    s->m_ArcFlags[0] = 0;
    bool bFirst = true;
    int nRail = 2, nArcs = 0, n = 0;
    auto finish = [&](int nWhenEmpty) {
        if (n <= 0) return nWhenEmpty;
        s->m_nSegments = n;
        pDesign->AppendElement(s.release());
        return 1;
    };
    uint8_t r[5];
    for (;;) {
        if (!ReadRecord(r) || r[0] == 0) return finish(0);
        if (IsCommand(r)) {
            if (r[1] == 0x13) {
                int t = TranslateNumber(RecordValue(r));
                nDensity = (short)(t < 28 ? 280 : 10 * t);
                s->m_Densities[n] = nDensity;
            } else if (EndsColumn(r)) {
                StepBack();
                return finish(0);
            }
            continue;
        }
        const int kind = r[0] & 7;
        if (kind == 1) {
            StepBack();
            return finish(1);
        }
        const tagPOINT q = RecordPoint(r);
        if (kind == 2) {
            if (bFirst) {
                s->m_StartA[0] = m_ptLastRun;
                s->m_StartB[0] = q;
                bFirst = false;
                nRail = 2;
            } else if (nRail == 2) {
                s->m_EndA[n] = q;
                nRail = 3;
            } else if (nRail == 3) {
                s->m_EndB[n] = q;
                s->m_Densities[n] = nDensity;
                if (s->m_ArcFlags[n] && nArcs < 2) MiddlePairFromPoint(*s, n);
                ++n;
                s->m_nSegments = n;
                if (s->GetCapacity() <= n + 2) s->SetCapacity(s->GetCapacity() + 10);
                s->m_ArcFlags[n] = 0;
                s->m_Densities[n] = nDensity;
                s->m_StartA[n] = s->m_EndA[n - 1];
                s->m_StartB[n] = s->m_EndB[n - 1];
                nRail = 2;
                nArcs = 0;
            }
        } else if (kind == 3) {
            // Counting stops at 3: every count past 2 is handled alike.
            nArcs = std::min(nArcs + 1, 3);
            if (nArcs == 2) {
                s->m_MiddleB[n] = q;
            } else {
                if (nRail != 2) {
                    nRail = 2;
                    s->m_StartA[n] = s->m_StartB[n];
                    s->m_StartB[n] = s->m_EndA[n];
                }
                s->m_MiddleA[n] = q;
                s->m_ArcFlags[n] = 1;
            }
        }
    }
}

int CCnd::LoadFillStitch(CCndObject* pDesign)
{
    StepBack();
    auto f = std::make_unique<CFillStitch>();
    int s = 0;
    uint8_t r[5];
    for (;;) {
        if (!ReadRecord(r) || r[0] == 0) return 0;
        if (IsCommand(r)) {
            if (r[1] == 0x07) {
                if (ApplyFillParams(r[2], RecordValue(r), f->m_nSpacing, f->m_nFillType, f->m_nStitchLength,
                                    f->m_nAngle))
                    s = 0;
            } else if (r[1] == 0x19) {
                f->m_nFillValue = (int16_t)TranslateNumber(RecordValue(r));
            } else if (EndsFill(r[1])) {
                StepBack();
                return 0;
            }
            continue;
        }
        switch (r[0] & 7) {
        case 1: {
            tagPOINT q = RecordPoint(r);
            if (s == 0) {
                tagPOINT* P = f->m_Frame;
                P[0] = P[4] = q;
                for (int j = 1; j <= 3; ++j)
                    if (GetNextMark1(P[j]) != 1) return 0;
                OrderFrame(P);
            } else if (s == 1) {
                f->AddMod23Pt(q);
            } else if (s == 3) {
                f->AddMod41Pt(q);
            }
            break;
        }
        case 2:
            // Every section past the third drops its points alike.
            s = std::min(s + 1, 4);
            break;
        case 3: pDesign->AppendElement(f.release()); return 1;
        default: break;
        }
    }
}

int CCnd::LoadCFillStitch(CCndObject* pDesign)
{
    StepBack();
    auto c = std::make_unique<CComplexFillStitch>();
    int p = 0;
    int nBoundary = 0;
    uint8_t r[5];
    for (;;) {
        if (!ReadRecord(r) || r[0] == 0) return 0;
        if (r[0] == 0x86) {
            if (r[1] == 7)
                ApplyFillParams(r[2], RecordValue(r), c->m_nSpacings[p], c->m_nFillTypes[p], c->m_nStitchLengths[p],
                                c->m_nAngles[p]);
            continue;
        }
        if (r[0] == 0x87) {
            switch (r[1]) {
            case 0x06:
                pDesign->AppendElement(new CSpecialStitch(SpecStTrim, 1));
                pDesign->CurrentMode(CCndObject::kTrimMode) = 1;
                return 1;
            case 0x09:
                pDesign->AppendElement(new CSpecialStitch(SpecStJump, 1));
                pDesign->CurrentMode(CCndObject::kJumpMode) = 1;
                return 1;
            case 0x0A:
                pDesign->AppendElement(new CSpecialStitch(SpecStNormal, 1));
                pDesign->CurrentMode(CCndObject::kJumpMode) = 0;
                pDesign->CurrentMode(CCndObject::kTrimMode) = 0;
                pDesign->CurrentMode(CCndObject::kTripleMode) = 0;
                return 1;
            case 0x80:
                if (r[2] == 1) nBoundary = RecordValue(r);
                break;
            case 0x81: p = 1; break;
            case 0x83: {
                // The selector is the sub-code: 0x79 reference point 1, 0x7A point 2,
                // 0x7B points 3 and 4 from the next two records.
                int first = r[2] == 0x79 ? 0 : r[2] == 0x7A ? 1 : r[2] == 0x7B ? 2 : -1;
                int count = r[2] == 0x7B ? 2 : 1;
                for (int k = 0; first >= 0 && k < count; ++k) {
                    if (!ReadRecord(r) || r[0] == 0) return 0;
                    c->m_RefPoints[first + k] = RecordPoint(r);
                }
                break;
            }
            case 0x84: pDesign->AppendElement(c.release()); return 1;
            default: break;
            }
            continue;
        }
        const int kind = r[0] & 7;
        if (kind < 1 || kind > 4) continue;
        tagPOINT q = RecordPoint(r);
        c->AddBoundryPoint(nBoundary, q.x, q.y, 0);
    }
}
