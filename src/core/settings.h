// The settings object: preferences the filters and design objects consult, the
// library-wide last error code and the reporting switches, and the drawing palette.
#pragma once

#include "platform/gdi.h"
#include "platform/object.h"

#include <cstddef>
#include <string>

class CWinApp;

constexpr int kPaletteEntries = 185;

// The drawing palette: the system palette's static colours at both ends and the thread colours,
// ascending as RRGGBB, between them.
extern PALETTEENTRY myEntries[kPaletteEntries];

class CKwFilter : public CObject {
public:
    CKwFilter();
    ~CKwFilter() override;

    // Load-time set-up: the temporary directory, the drawing palette and the companion
    // component. GetSetup runs it once before the object is first used.
    void Setup();
    // Reads the preferences of the application's profile section "Options".
    void GetRegValues(CWinApp* pApp);

    int m_bShowMessages = 1;   // failures shown as message boxes; 0 appends them to the log
    int m_bMessageThread = 1;  // message boxes come from a worker thread
    std::string m_strErrorLog; // error log path; empty disables logging
    int m_nLastError = 0;      // last error code, 0 for none
    CPalette m_Palette;        // the drawing palette, made by Setup
    LogPaletteOf<kPaletteEntries> m_LogPalette; // what the palette was made from

    int m_nSewColors = 35;     // size of the Janome thread palette: 12, 35 or 78
    int m_nSaveFormat = -1;    // position in the save list, -1 for none
    int m_bMaximizeChild = 0;
    int m_bPfaffSplit = 1;
    int m_bVikingSplit = 1;
    int m_bNoScalivo = 1;      // while set, the companion path is empty
    int m_bPfaffCompatible = 1;
    int m_bPaletteBackground = 1; // force-background argument when the palette is selected
    std::string m_strTempDir;  // without a trailing separator
    std::string m_strCompanionPath;
    std::string m_strSavedCompanionPath; // as Setup found it
    int m_nCompanionKind = 1;  // 2 when the KwSto.dll companion was found
    int m_bJunkStitch = 0;
    double m_dThreshold = 0;   // junk-stitch limit in 0.01 mm
    int m_bCorastitch = 0;
    int m_bStitchPoints = 0;

    // The companion path follows "NoScalivo": empty while it is set, else as Setup found it.
    void ApplyNoScalivo();

    DECLARE_DYNAMIC(CKwFilter)
};

// The one settings object, made and set up on first use whatever the order of static
// construction.
CKwFilter* GetSetup();

// A profile "Threshold" text in millimetres as the junk-stitch limit in 0.01 mm: the leading
// decimal number of at most its first 31 characters, times 100; 0 for text that is not a number.
double ThresholdFromText(const char* pszText, size_t nMaxChars = 31);
