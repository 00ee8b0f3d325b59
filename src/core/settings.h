// The settings object: preferences the filters and design objects consult, the
// library-wide last error code and the reporting switches.
#pragma once

#include "platform/palette.h"

#include <string>

class CKwFilter {
public:
    CKwFilter();
    virtual ~CKwFilter() = default;

    int m_bShowMessages = 1;   // failures shown as message boxes; 0 appends them to the log
    int m_bMessageThread = 1;  // message boxes come from a worker thread
    std::string m_strErrorLog; // error log path; empty disables logging
    int m_nLastError = 0;      // last error code, 0 for none
    CPalette m_Palette;        // the drawing palette every drawing code selects

    int m_nSewColors = 35;
    int m_nSaveFormat = -1;
    int m_bMaximizeChild = 0;
    int m_bPfaffSplit = 1;
    int m_bVikingSplit = 1;
    int m_bNoScalivo = 1;
    int m_bPfaffCompatible = 1;
    int m_bPaletteBackground = 1;
    std::string m_strTempDir;
    std::string m_strCompanionPath;
    std::string m_strSavedCompanionPath;
    int m_nCompanionKind = 1;
    int m_bJunkStitch = 0;
    double m_dThreshold = 0;
    int m_bCorastitch = 0;
    int m_bStitchPoints = 0;
};

// The one settings object, made on first use whatever the order of static construction.
CKwFilter* GetSetup();
