// kwfilter dump FILE [--elements]: the design's stitch list as the library holds it, as JSON.
#include "cli.h"
#include "design_io.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Builds the JSON text in memory; written out once.
class Json {
public:
    Json& Raw(const char* s)
    {
        m_out += s;
        return *this;
    }
    Json& Num(long long v)
    {
        char buf[24];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        m_out.append(buf, r.ptr);
        return *this;
    }
    Json& Str(const std::string& s)
    {
        m_out += '"';
        for (unsigned char c : s) {
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += (char)c;
            } else if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                m_out += buf;
            } else {
                m_out += (char)c;
            }
        }
        m_out += '"';
        return *this;
    }
    Json& Key(const char* k)
    {
        m_out += ", \"";
        m_out += k;
        m_out += "\": ";
        return *this;
    }
    Json& Point(const tagPOINT& p) { return Raw("[").Num(p.x).Raw(", ").Num(p.y).Raw("]"); }
    template <class T> Json& Points(const T* p, long n)
    {
        Raw("[");
        for (long i = 0; i < n; ++i) {
            if (i) Raw(", ");
            Point(p[i]);
        }
        return Raw("]");
    }
    template <class T> Json& Pair(const T (&v)[2]) { return Raw("[").Num(v[0]).Raw(", ").Num(v[1]).Raw("]"); }
    const std::string& Text() const { return m_out; }

private:
    std::string m_out;
};

void Scale(Json& j, const tagSIZE& s) { j.Key("scale").Raw("[").Num(s.cx).Raw(", ").Num(s.cy).Raw("]"); }

// One element: its class and fields, named as the element classes name them.
void Element(Json& j, CEmbData* e)
{
    j.Raw("{\"class\": ").Str(e->GetRuntimeClass()->m_lpszClassName);
    if (auto* c = dynamic_cast<CColorChange*>(e)) {
        j.Key("color").Num(c->m_nColor).Key("extra").Num(c->m_nExtra);
    } else if (auto* s = dynamic_cast<CSpecialStitch*>(e)) {
        j.Key("type").Num(s->m_nType).Key("param").Num(s->m_nParam);
    } else if (auto* r = dynamic_cast<CRunStitch*>(e)) {
        Scale(j, r->m_szScale);
        j.Key("runLength").Num(r->m_nRunLength).Key("runValue").Num(r->m_nRunValue).Key("points").Raw("[");
        for (int i = 0; i < r->m_nPoints; ++i) {
            if (i) j.Raw(", ");
            j.Raw("[").Num(r->m_Points[(size_t)i].x).Raw(", ").Num(r->m_Points[(size_t)i].y);
            j.Raw(", ").Num(r->m_Kinds[(size_t)i]).Raw(", ").Num(r->m_Lengths[(size_t)i]).Raw("]");
        }
        j.Raw("]");
    } else if (auto* sa = dynamic_cast<CSatinStitch*>(e)) {
        Scale(j, sa->m_szScale);
        j.Key("scaleLength").Num(sa->m_nScaleLength).Key("segments").Raw("[");
        for (int i = 0; i < sa->m_nSegments; ++i) {
            size_t k = (size_t)i;
            if (i) j.Raw(", ");
            j.Raw("{\"density\": ").Num(sa->m_Densities[k]);
            j.Key("startA").Point(sa->m_StartA[k]).Key("startB").Point(sa->m_StartB[k]);
            j.Key("middleA").Point(sa->m_MiddleA[k]).Key("endA").Point(sa->m_EndA[k]);
            j.Key("endB").Point(sa->m_EndB[k]).Key("middleB").Point(sa->m_MiddleB[k]);
            j.Key("arc").Num(sa->m_ArcFlags[k]).Raw("}");
        }
        j.Raw("]");
    } else if (auto* f = dynamic_cast<CFillStitch*>(e)) {
        Scale(j, f->m_szScale);
        j.Key("fillType").Num(f->m_nFillType).Key("angle").Num(f->m_nAngle).Key("spacing").Num(f->m_nSpacing);
        j.Key("stitchLength").Num(f->m_nStitchLength).Key("fillValue").Num(f->m_nFillValue);
        j.Key("name").Str(f->m_strName).Key("frame").Points(f->m_Frame, 5);
        j.Key("outlineA").Points(f->m_OutlineA.data(), f->m_nOutlineA);
        j.Key("outlineB").Points(f->m_OutlineB.data(), f->m_nOutlineB);
    } else if (auto* x = dynamic_cast<CComplexFillStitch*>(e)) {
        Scale(j, x->m_szScale);
        j.Key("fillTypes").Pair(x->m_nFillTypes).Key("angles").Pair(x->m_nAngles);
        j.Key("spacings").Pair(x->m_nSpacings).Key("stitchLengths").Pair(x->m_nStitchLengths);
        j.Key("refPoints").Points(x->m_RefPoints, 4).Key("boundaries").Raw("[");
        for (size_t b = 0; b < x->m_Boundaries.size(); ++b) {
            if (b) j.Raw(", ");
            j.Points(x->m_Boundaries[b].points.data(), x->m_Boundaries[b].count);
        }
        j.Raw("]");
    } else if (auto* rp = dynamic_cast<CGRunStitchParms*>(e)) {
        j.Key("runLength").Num(rp->m_nRunLength).Key("runValue").Num(rp->m_nRunValue);
    } else if (auto* sp = dynamic_cast<CGSatinStitchParms*>(e)) {
        j.Key("satinValue").Num(sp->m_nSatinValue);
    } else if (auto* fp = dynamic_cast<CGFillStitchParms*>(e)) {
        j.Key("values").Raw("[").Num(fp->m_nValues[0]).Raw(", ").Num(fp->m_nValues[1]);
        j.Raw(", ").Num(fp->m_nValues[2]).Raw("]");
    }
    j.Raw("}");
}

int Run(int argc, char** argv);
const cli::Command kDump{"dump", "dump FILE [--elements] [--key KEY]",
                         "print the stitch list as JSON (of FILE or ARCHIVE.zip:MEMBER); --elements adds a condensed "
                         "design's elements",
                         &Run};
cli::Register reg(kDump);

int Run(int argc, char** argv)
{
    DesignReadOptions options;
    std::string why;
    if (!TakeDesignOptions(argc, argv, options, why)) return cli::UsageError(kDump, why.c_str());
    const char* in = nullptr;
    bool elements = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--elements")) elements = true;
        else if (!in) in = argv[i];
        else return cli::UsageError(kDump, "too many arguments");
    }
    if (!in) return cli::UsageError(kDump, "no file given");
    LoadedDesign d;
    if (!LoadDesign(in, d, options)) return 1;
    StitchList l = d.List();
    Json j;
    j.Raw("{\"stitches\": [");
    for (long i = 0; i < l.nStitches; ++i) {
        const tagPOINT& p = l.points[(size_t)i];
        j.Raw(i ? ",\n  [" : "\n  [").Num(p.x).Raw(", ").Num(p.y).Raw(", ").Num(l.types[(size_t)i]).Raw("]");
    }
    j.Raw(l.nStitches ? "\n],\n\"colors\": [" : "],\n\"colors\": [");
    for (int k = 0; k < l.nColors; ++k) {
        const COLORCHG& c = l.colors[(size_t)k];
        j.Raw(k ? ",\n  " : "\n  ").Raw("{\"start\": ").Num(c.nStitch).Key("color").Num(c.nColor);
        j.Key("extra").Num(c.nExtra).Raw("}");
    }
    j.Raw(l.nColors ? "\n]" : "]");
    if (elements && d.condensed) {
        j.Raw(",\n\"elements\": [");
        int n = d.condensed->GetElementCount();
        for (int i = 0; i < n; ++i) {
            j.Raw(i ? ",\n  " : "\n  ");
            Element(j, d.condensed->GetElement(i));
        }
        j.Raw(n ? "\n]" : "]");
    } else if (elements) {
        std::fprintf(stderr, "kwfilter dump: %s is not a condensed design; it has no elements\n", in);
    }
    j.Raw("}\n");
    const std::string& text = j.Text();
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::perror("kwfilter dump");
        return 1;
    }
    return 0;
}

} // namespace
