// Stitch generation on any element values: runs, satin columns, fills, mode switches and
// colour changes built straight from the bytes (coordinates near and far, lengths, spacings
// and densities of every sign), rendered with the process-wide switches the bytes choose.
// Rendering must end within the stitch limit with no undefined behaviour.
#include "fuzz_common.h"

#include "design/cnd_object.h"
#include "design/emb_data.h"

#include <cstring>

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_p(data), m_end(data + size) {}
    bool Empty() const { return m_p >= m_end; }
    uint8_t U8() { return Empty() ? 0 : *m_p++; }
    int16_t I16()
    {
        uint16_t lo = U8();
        return (int16_t)(lo | U8() << 8);
    }
    int32_t I32()
    {
        uint32_t lo = (uint16_t)I16();
        return (int32_t)(lo | (uint32_t)(uint16_t)I16() << 16);
    }
    // Mostly design-sized coordinates, sometimes anything at all.
    int32_t Coord()
    {
        uint8_t kind = U8();
        if (kind < 0xF0) return I16() / 2;
        return I32();
    }
    tagPOINT Point() { return tagPOINT{Coord(), Coord()}; }
    // A stitch parameter (length, spacing, density): mostly one a design would hold, so
    // that most inputs render quickly; sometimes any 16-bit value.
    int16_t Param()
    {
        uint8_t kind = U8();
        if (kind < 0xE0) return (int16_t)(20 + U8() * 4);
        return I16();
    }

private:
    const uint8_t* m_p;
    const uint8_t* m_end;
};

void AddRun(CCndObject& d, Bytes& b)
{
    auto* run = new CRunStitch();
    int n = b.U8() % 24 + 1;
    for (int i = 0; i < n; ++i) run->AddPoint(b.Point(), b.U8() % 3, b.Param());
    d.AppendElement(run);
}

void AddSatin(CCndObject& d, Bytes& b)
{
    auto* satin = new CSatinStitch();
    int n = b.U8() % 12 + 1;
    satin->SetCapacity(n);
    satin->m_nSegments = n;
    satin->m_nScaleLength = b.U8() < 0xF0 ? 1000 : b.I32();
    for (size_t i = 0; i < (size_t)n; ++i) {
        satin->m_Densities[i] = b.Param();
        satin->m_StartA[i] = b.Point();
        satin->m_StartB[i] = b.Point();
        satin->m_EndA[i] = b.Point();
        satin->m_EndB[i] = b.Point();
        satin->m_ArcFlags[i] = b.U8() & 1;
        satin->m_MiddleA[i] = b.Point();
        satin->m_MiddleB[i] = b.Point();
    }
    d.AppendElement(satin);
}

void AddFill(CCndObject& d, Bytes& b)
{
    auto* fill = new CFillStitch();
    for (auto& p : fill->m_Frame) p = b.Point();
    if (b.U8() & 1) fill->m_Frame[4] = fill->m_Frame[3];
    fill->m_nFillType = (int16_t)(b.U8() < 0xF0 ? b.U8() % 9 : b.I16());
    fill->m_nAngle = b.I16();
    fill->m_nSpacing = b.Param();
    fill->m_nStitchLength = b.Param();
    int na = b.U8() % 8, nb = b.U8() % 8;
    for (int i = 0; i < na; ++i) fill->AddMod23Pt(b.Point());
    for (int i = 0; i < nb; ++i) fill->AddMod41Pt(b.Point());
    d.AppendElement(fill);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    Bytes b(data, size);
    uint8_t flags = b.U8();
    GetSetup()->m_bCorastitch = flags & 1;
    bForceFill = (flags >> 1) & 1;
    bLettering = (flags >> 2) & 1;
    CCndObject d;
    d.m_nDensity = (flags & 8) ? b.I16() : 1000;
    for (int k = 0; k < 64 && !b.Empty(); ++k) {
        switch (b.U8() % 6) {
        case 0: AddRun(d, b); break;
        case 1: AddSatin(d, b); break;
        case 2: AddFill(d, b); break;
        case 3: d.AppendElement(new CSpecialStitch((SpecStTypes)(b.U8() % 9), 1)); break;
        case 4: d.AppendElement(new CColorChange((short)b.U8(), 0)); break;
        default: {
            // The geometry the host may call directly.
            tagPOINT out{}, q[4] = {b.Point(), b.Point(), b.Point(), b.Point()};
            d.GetCenter(q[0], q[1], q[2], out);
            d.GetInterceptPoint(q[0], q[1], q[2], q[3], out);
            d.GetPointOnCurve(q, b.U8() / 255.0, out);
            d.ValidPoint(q[0], q[1], q[2], q[3], b.Coord(), b.Coord());
            break;
        }
        }
    }
    d.RendorStitches(0);
    if (d.GetNoStitches() < 0 || d.GetNoStitches() > CCndObject::kMaxRenderedStitches) std::abort();
    if (d.GetNoColors() < 1 || d.GetNoColors() > kMaxColorBlocks) std::abort();
    bForceFill = bLettering = bLongSatins = 0;
    return 0;
}
