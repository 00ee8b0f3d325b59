#include "core/settings.h"

#include "platform/message.h"
#include "platform/profile.h"
#include "platform/system.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#define E(rgb) PALETTEENTRY{(uint8_t)((rgb) >> 16), (uint8_t)((rgb) >> 8), (uint8_t)(rgb), 0}

PALETTEENTRY myEntries[kPaletteEntries] = {
    E(0x000000), E(0x800000), E(0x008000), E(0x808000), E(0x000080),
    E(0x800080), E(0x008080), E(0xC0C0C0), E(0xC0DCC0), E(0xA6CAF0),
    E(0x000084), E(0x001CDE), E(0x003114), E(0x007100), E(0x007772),
    E(0x008200), E(0x008284), E(0x0082FF), E(0x00924A), E(0x0096DE),
    E(0x00AA00), E(0x00FF84), E(0x071650), E(0x0875FF), E(0x0B2F84),
    E(0x0D217E), E(0x180894), E(0x1A842D), E(0x1E77AF), E(0x21455A),
    E(0x218A21), E(0x237336), E(0x2F5933), E(0x31AA21), E(0x33200A),
    E(0x368BA0), E(0x386A91), E(0x386CAE), E(0x424142), E(0x428610),
    E(0x481A05), E(0x4C330B), E(0x4C5612), E(0x4C881F), E(0x4CBF8F),
    E(0x4D3419), E(0x4F83AB), E(0x523A97), E(0x540571), E(0x595B61),
    E(0x5C941A), E(0x5DAE94), E(0x636163), E(0x63BEEF), E(0x65C2C8),
    E(0x6B2408), E(0x6BD38C), E(0x6BDB00), E(0x7FC21C), E(0x80004B),
    E(0x840000), E(0x840084), E(0x842000), E(0x848200), E(0x848284),
    E(0x889B9B), E(0x899856), E(0x94AA00), E(0x970533), E(0x984161),
    E(0x98692D), E(0x986C80), E(0x98D6BD), E(0xA0B8CC), E(0xA50000),
    E(0xA5A694), E(0xAB5A96), E(0xAC9CC7), E(0xB10525), E(0xB15818),
    E(0xB1704E), E(0xB2DD53), E(0xB2E1E3), E(0xB510CE), E(0xB59474),
    E(0xB5AE94), E(0xB5BE38), E(0xBD8200), E(0xBD9E5A), E(0xBDBEFF),
    E(0xC0C0C0), E(0xC3007E), E(0xC64100), E(0xC68ADE), E(0xC6AA42),
    E(0xC6C300), E(0xC6C3C6), E(0xC6DFC6), E(0xC6FFFF), E(0xC9A480),
    E(0xCAE0C0), E(0xCB8A07), E(0xCB8A1A), E(0xCBA21C), E(0xCE30CE),
    E(0xCE49AD), E(0xCE6929), E(0xCEBEA5), E(0xCEE773), E(0xDE00BD),
    E(0xDE1494), E(0xDE649E), E(0xDE86CE), E(0xDEDFDE), E(0xE1ADD4),
    E(0xE1CB00), E(0xE2A188), E(0xE3311F), E(0xE3AC81), E(0xE3C4B4),
    E(0xE4C35D), E(0xE4CF99), E(0xE4DC79), E(0xE5E5E5), E(0xE74100),
    E(0xE76121), E(0xE79A5A), E(0xE7AA42), E(0xE7DBB5), E(0xEF0000),
    E(0xEF0C84), E(0xEFCFFF), E(0xF0331F), E(0xF33689), E(0xF669A0),
    E(0xF78200), E(0xF7927B), E(0xF7F3F7), E(0xF9676B), E(0xF999A2),
    E(0xF999B7), E(0xFAB381), E(0xFCB257), E(0xFCF294), E(0xFF0063),
    E(0xFF597B), E(0xFF6600), E(0xFF6900), E(0xFF797B), E(0xFF8200),
    E(0xFF82FF), E(0xFF9805), E(0xFF9AD6), E(0xFFA2B5), E(0xFFA600),
    E(0xFFAADE), E(0xFFAE42), E(0xFFBA00), E(0xFFBE42), E(0xFFC7FF),
    E(0xFFCB10), E(0xFFCB63), E(0xFFCB94), E(0xFFCBCE), E(0xFFD3D6),
    E(0xFFD710), E(0xFFE3C6), E(0xFFE505), E(0xFFE700), E(0xFFF36B),
    E(0xFFF79C), E(0xFFFF17), E(0xFFFF84), E(0xFFFFA5), E(0xFFFFF2),
    E(0xFFFBF0), E(0xA0A0A4), E(0x808080), E(0xFF0000), E(0x00FF00),
    E(0xFFFF00), E(0x0000FF), E(0xFF00FF), E(0x00FFFF), E(0xFFFFFF),
};

#undef E

namespace {

bool CanRead(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

std::string InDirectory(const std::string& dir, const char* name)
{
    if (!dir.empty() && dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

} // namespace

IMPLEMENT_DYNAMIC(CKwFilter, CObject)

CKwFilter::CKwFilter() : m_strErrorLog(GetTempDirectory() + "/error.log"), m_LogPalette{}
{
    m_LogPalette.palVersion = 0x300;
}

CKwFilter::~CKwFilter() = default;

void CKwFilter::Setup()
{
    m_strTempDir = GetTempDirectory();

    m_LogPalette.palVersion = 0x300;
    m_LogPalette.palNumEntries = kPaletteEntries;
    std::memcpy(m_LogPalette.palPalEntry, myEntries, sizeof myEntries);
    m_Palette.DeleteObject();
    m_Palette.CreatePalette(m_LogPalette.Get());

    std::string dir = GetSystemDirectory();
    m_nCompanionKind = 2;
    m_strCompanionPath = InDirectory(dir, "KwSto.dll");
    if (!CanRead(m_strCompanionPath)) {
        m_nCompanionKind = 1;
        m_strCompanionPath = InDirectory(dir, "OEMXR.EXE");
        if (!CanRead(m_strCompanionPath)) m_strCompanionPath.clear();
    }
    m_strSavedCompanionPath = m_strCompanionPath;
}

void CKwFilter::ApplyNoScalivo()
{
    if (m_bNoScalivo) m_strCompanionPath.clear();
    else m_strCompanionPath = m_strSavedCompanionPath;
}

double ThresholdFromText(const char* pszText, size_t nMaxChars)
{
    if (!pszText) return 0;
    std::string t(pszText, strnlen(pszText, nMaxChars));
    const char* p = t.c_str();
    const char* end = p + t.size();
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    if (p < end && *p == '+') ++p;
    double v = 0;
    // The profile is written with a decimal point whatever the user's locale.
    auto r = std::from_chars(p, end, v, std::chars_format::fixed | std::chars_format::scientific);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0;
    return v * 100;
}

void CKwFilter::GetRegValues(CWinApp* pApp)
{
    if (!pApp) return;
    const char* s = "Options";
    m_nSaveFormat = (int)pApp->GetProfileInt(s, "SaveFormat", -1);
    m_bMaximizeChild = (int)pApp->GetProfileInt(s, "MaximizeChild", 0);
    m_bStitchPoints = (int)pApp->GetProfileInt(s, "StitchPoints", 0);
    m_bCorastitch = (int)pApp->GetProfileInt(s, "Corastitch", 1);
    m_bJunkStitch = (int)pApp->GetProfileInt(s, "JunkStitch", 0);
    m_dThreshold = ThresholdFromText(pApp->GetProfileString(s, "Threshold", "0.5").c_str(), 31);
    m_bPfaffSplit = (int)pApp->GetProfileInt(s, "PfaffSplit", 1);
    m_bVikingSplit = (int)pApp->GetProfileInt(s, "VikingSplit", 1);
    m_bPfaffCompatible = (int)pApp->GetProfileInt(s, "PfaffCompatible", 1);
    m_nSewColors = (int)pApp->GetProfileInt(s, "SewColors", 35);
    m_bNoScalivo = (int)pApp->GetProfileInt(s, "NoScalivo", 0);
    ApplyNoScalivo();
}

CKwFilter* GetSetup()
{
    // Made on first use, so that whatever static constructor asks first finds it ready.
    static CKwFilter setup;
    static const bool bSetUp = (setup.Setup(), true);
    (void)bSetUp;
    return &setup;
}
