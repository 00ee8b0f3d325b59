// The library's dialog templates and control IDs.
#pragma once

#include "platform/dialog.h"

enum : UINT {
    IDD_PREFERENCES = 207,       // the preferences dialog
    IDD_PREFERENCES_SMALL = 208, // a smaller layout of it, which the library does not use
    IDD_FILE_BROWSE = 210,       // a strip a host may add to its file dialogs
};

enum : int {
    IDC_VIKING_SPLIT = 2365,
    IDC_PFAFF_COMPATIBLE = 2366,
    IDC_SAVE_FORMAT = 2367,
    IDC_PFAFF_SPLIT = 2368,
    IDC_SEW_COLORS_12 = 2369,
    IDC_CORASTITCH = 2370,
    IDC_JUNK_STITCH = 2371,
    IDC_NO_SCALIVO = 2372,
    IDC_THRESHOLD = 2373,
    IDC_MAXIMIZE_CHILD = 2374,
    IDC_NO_MERGE = 2375,
    IDC_SAVE_FORMAT_GROUP = 2376,
    IDC_THRESHOLD_LABEL = 2377,
    IDC_SYSTEM_GROUP = 2378,
    IDC_SEW_COLORS_78 = 2379,
    IDC_BROWSE = 32999,
    IDC_FILE_NAME_BOX = 1152,    // the file name box of the system's file dialogs
};

// The library's template with that ID, or nullptr. All of them are also registered, so
// that a dialog made from the ID alone finds them.
const DialogTemplate* GetLibraryDialogTemplate(UINT nID);
