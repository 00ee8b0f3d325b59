// The library's dialog templates and control IDs.
#pragma once

#include "platform/dialog.h"
#include "platform/gdi.h"

#include <vector>

enum : UINT {
    IDD_COLOR = 201,             // the colour dialog
    IDD_ADVANCED = 202,          // the advanced density settings
    IDD_ROTATE = 203,            // the rotate dialog
    IDD_HOOP_SIZE = 204,         // the hoop size dialog
    IDD_DENSITY = 206,           // the density settings
    IDD_PREFERENCES = 207,       // the preferences dialog
    IDD_PREFERENCES_SMALL = 208, // a smaller layout of it, which the library does not use
    IDD_FILE_BROWSE = 210,       // a strip a host may add to its file dialogs
};

enum : int {
    IDC_PALETTE_LABEL = 1000,
    IDC_PALETTE_TYPE = 2200,
    IDC_COLOR_FIRST = 2201,      // the 80 colour buttons, 2201 to 2280
    IDC_COLOR_LAST = 2280,
    IDC_NEW_COLOR = 2298,
    IDC_CHANGE_TO = 2299,
    IDC_COLUMN_DENSITY = 2315,
    IDC_FILL_DENSITY = 2316,
    IDC_FILL_LENGTH = 2317,
    IDC_RUN_LENGTH = 2318,
    IDC_MAX_LENGTH = 2319,
    IDC_DEGREES = 2320,
    IDC_HOOP_FIRST = 2321,       // the hoop radio buttons, 2321 to 2335
    IDC_HOOP_CUSTOM = 2335,
    IDC_HOOP_ROUTED_LAST = 2353, // the end of the IDs the hoop dialog routes as hoop clicks
    IDC_CUSTOM_X = 2354,
    IDC_CUSTOM_Y = 2355,
    IDC_CUSTOM_TIMES = 2356,
    IDC_WEIGHT_FIRST = 2358,     // the thread weight radio buttons, 2358 to 2362
    IDC_ADVANCED = 2363,
    IDC_PERCENT = 2364,
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

// The browser's navigation bitmaps: first page, previous page, previous item, next item,
// next page, last page.
enum : UINT {
    IDB_FIRST_PAGE = 2309,
    IDB_PREVIOUS_PAGE = 2310,
    IDB_PREVIOUS_ITEM = 2311,
    IDB_NEXT_ITEM = 2312,
    IDB_NEXT_PAGE = 2313,
    IDB_LAST_PAGE = 2314,
};

// The library's template with that ID, or nullptr. All of them are also registered, so
// that a dialog made from the ID alone finds them.
const DialogTemplate* GetLibraryDialogTemplate(UINT nID);
// The library's bitmap with that ID, or nullptr; registered as well.
const BitmapTemplate* GetLibraryBitmapTemplate(UINT nID);
// All of the library's bitmaps.
std::vector<const BitmapTemplate*> GetLibraryBitmapTemplates();
