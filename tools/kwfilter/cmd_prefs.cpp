// kwfilter prefs [set KEY VALUE]: the preferences in the profile section "Options".
#include "cli.h"
#include "kwfilter.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// What each key may hold when written as the preferences dialog writes it.
enum class Kind { Flag, SaveFormat, SewColors, Threshold };

struct PrefKey {
    const char* pszKey;
    Kind kind;
    int CKwFilter::*pField; // where GetRegValues puts it; the threshold is a double
    const char* pszMeaning;
};

const PrefKey kKeys[] = {
    {"SaveFormat", Kind::SaveFormat, &CKwFilter::m_nSaveFormat, "default save format, 0 EXP to 8 XXX, -1 none"},
    {"MaximizeChild", Kind::Flag, &CKwFilter::m_bMaximizeChild, "open design windows maximized"},
    {"StitchPoints", Kind::Flag, &CKwFilter::m_bStitchPoints, "mark each needle point when drawing"},
    {"Corastitch", Kind::Flag, &CKwFilter::m_bCorastitch, "smoothed satin lines in condensed designs"},
    {"JunkStitch", Kind::Flag, &CKwFilter::m_bJunkStitch, "remove junk stitches from expanded designs"},
    {"Threshold", Kind::Threshold, nullptr, "junk-stitch length limit in mm"},
    {"PfaffSplit", Kind::Flag, &CKwFilter::m_bPfaffSplit, "split PCS/PCM designs at 16 colours"},
    {"VikingSplit", Kind::Flag, &CKwFilter::m_bVikingSplit, "split HUS designs at 12 colour changes"},
    {"PfaffCompatible", Kind::Flag, &CKwFilter::m_bPfaffCompatible, "write fully compatible PCS/PCM files"},
    {"SewColors", Kind::SewColors, &CKwFilter::m_nSewColors, "Janome thread palette: 12, 35 or 78"},
    {"NoScalivo", Kind::Flag, &CKwFilter::m_bNoScalivo, "do not scale expanded designs with the companion component"},
};

int Run(int argc, char** argv);
const cli::Command kPrefs{"prefs", "prefs [set KEY VALUE]",
                          "show the preferences of the profile, or write one as the preferences dialog does", &Run};
cli::Register reg(kPrefs);

bool ParseInt(const char* s, long& v)
{
    char* end = nullptr;
    errno = 0;
    v = std::strtol(s, &end, 10);
    return *s && end && !*end && errno == 0 && v >= INT_MIN && v <= INT_MAX;
}

bool Valid(const PrefKey& k, const char* value)
{
    long v;
    switch (k.kind) {
    case Kind::Flag: return ParseInt(value, v) && (v == 0 || v == 1);
    case Kind::SaveFormat: return ParseInt(value, v) && v >= -1 && v <= 8;
    case Kind::SewColors: return ParseInt(value, v) && (v == 12 || v == 35 || v == 78);
    case Kind::Threshold: {
        char* end = nullptr;
        double d = std::strtod(value, &end);
        return *value && end && !*end && d >= 0 && d < 1e6;
    }
    }
    return false;
}

void Show(CWinApp& app)
{
    CKwFilter* s = GetSetup();
    s->GetRegValues(&app);
    std::printf("profile: %s\n", app.GetProfileFile().c_str());
    for (const PrefKey& k : kKeys) {
        if (!k.pField)
            std::printf("%-16s %-8s limit %g (0.01 mm)  %s\n", k.pszKey,
                        app.GetProfileString("Options", "Threshold", "0.5").c_str(), s->m_dThreshold, k.pszMeaning);
        else
            std::printf("%-16s %-8d %s\n", k.pszKey, s->*k.pField, k.pszMeaning);
    }
    std::printf("companion        %s\n", s->m_strCompanionPath.empty() ? "(none)" : s->m_strCompanionPath.c_str());
}

int Run(int argc, char** argv)
{
    CWinApp app("kwfilter");
    if (argc == 1) {
        Show(app);
        return 0;
    }
    if (argc != 4 || std::strcmp(argv[1], "set")) return cli::UsageError(kPrefs);
    for (const PrefKey& k : kKeys) {
        if (strcasecmp(k.pszKey, argv[2])) continue;
        if (!Valid(k, argv[3])) {
            std::fprintf(stderr, "kwfilter prefs: %s takes %s\n", k.pszKey, k.pszMeaning);
            return 2;
        }
        // Integers go in as the dialog writes them, the threshold as the text typed.
        BOOL ok = k.kind == Kind::Threshold
                      ? app.WriteProfileString("Options", k.pszKey, argv[3])
                      : app.WriteProfileInt("Options", k.pszKey, (int)std::strtol(argv[3], nullptr, 10));
        if (!ok) {
            std::fprintf(stderr, "kwfilter prefs: cannot write %s\n", app.GetProfileFile().c_str());
            return 1;
        }
        std::printf("%s = %s\n", k.pszKey, argv[3]);
        return 0;
    }
    std::fprintf(stderr, "kwfilter prefs: unknown key '%s'; keys:", argv[2]);
    for (const PrefKey& k : kKeys) std::fprintf(stderr, " %s", k.pszKey);
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace
