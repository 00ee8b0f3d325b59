#include "ui/resources.h"

namespace {

using K = ControlKind;

// The colour dialog: 80 colour buttons in 10 rows of 8; OK waits for a colour.
const DialogTemplate kColor = {
    .nID = IDD_COLOR,
    .pszCaption = "Select Color",
    .cx = 240,
    .cy = 162,
    .items = {
        {.nID = IDC_PALETTE_LABEL, .kind = K::Label, .pszText = "Palette Type:", .x = 7, .y = 9, .cx = 45, .cy = 8},
        {.nID = IDC_PALETTE_TYPE, .kind = K::DropDownList, .x = 55, .y = 7, .cx = 110, .cy = 80, .bGroup = true,
         .items = {"Default", "Babylock/Bernina/Brother", "Husqavarna/Viking", "Elna/Janome/New Home", "Pfaff"}},
        {.nID = IDC_COLOR_FIRST + 0, .kind = K::OwnerDrawButton, .x = 7, .y = 26, .cx = 15, .cy = 11, .bGroup = true},
        {.nID = IDC_COLOR_FIRST + 1, .kind = K::OwnerDrawButton, .x = 24, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 2, .kind = K::OwnerDrawButton, .x = 41, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 3, .kind = K::OwnerDrawButton, .x = 58, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 4, .kind = K::OwnerDrawButton, .x = 75, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 5, .kind = K::OwnerDrawButton, .x = 92, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 6, .kind = K::OwnerDrawButton, .x = 109, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 7, .kind = K::OwnerDrawButton, .x = 126, .y = 26, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 8, .kind = K::OwnerDrawButton, .x = 7, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 9, .kind = K::OwnerDrawButton, .x = 24, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 10, .kind = K::OwnerDrawButton, .x = 41, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 11, .kind = K::OwnerDrawButton, .x = 58, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 12, .kind = K::OwnerDrawButton, .x = 75, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 13, .kind = K::OwnerDrawButton, .x = 92, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 14, .kind = K::OwnerDrawButton, .x = 109, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 15, .kind = K::OwnerDrawButton, .x = 126, .y = 39, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 16, .kind = K::OwnerDrawButton, .x = 7, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 17, .kind = K::OwnerDrawButton, .x = 24, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 18, .kind = K::OwnerDrawButton, .x = 41, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 19, .kind = K::OwnerDrawButton, .x = 58, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 20, .kind = K::OwnerDrawButton, .x = 75, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 21, .kind = K::OwnerDrawButton, .x = 92, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 22, .kind = K::OwnerDrawButton, .x = 109, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 23, .kind = K::OwnerDrawButton, .x = 126, .y = 52, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 24, .kind = K::OwnerDrawButton, .x = 7, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 25, .kind = K::OwnerDrawButton, .x = 24, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 26, .kind = K::OwnerDrawButton, .x = 41, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 27, .kind = K::OwnerDrawButton, .x = 58, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 28, .kind = K::OwnerDrawButton, .x = 75, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 29, .kind = K::OwnerDrawButton, .x = 92, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 30, .kind = K::OwnerDrawButton, .x = 109, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 31, .kind = K::OwnerDrawButton, .x = 126, .y = 65, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 32, .kind = K::OwnerDrawButton, .x = 7, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 33, .kind = K::OwnerDrawButton, .x = 24, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 34, .kind = K::OwnerDrawButton, .x = 41, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 35, .kind = K::OwnerDrawButton, .x = 58, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 36, .kind = K::OwnerDrawButton, .x = 75, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 37, .kind = K::OwnerDrawButton, .x = 92, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 38, .kind = K::OwnerDrawButton, .x = 109, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 39, .kind = K::OwnerDrawButton, .x = 126, .y = 78, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 40, .kind = K::OwnerDrawButton, .x = 7, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 41, .kind = K::OwnerDrawButton, .x = 24, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 42, .kind = K::OwnerDrawButton, .x = 41, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 43, .kind = K::OwnerDrawButton, .x = 58, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 44, .kind = K::OwnerDrawButton, .x = 75, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 45, .kind = K::OwnerDrawButton, .x = 92, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 46, .kind = K::OwnerDrawButton, .x = 109, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 47, .kind = K::OwnerDrawButton, .x = 126, .y = 91, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 48, .kind = K::OwnerDrawButton, .x = 7, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 49, .kind = K::OwnerDrawButton, .x = 24, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 50, .kind = K::OwnerDrawButton, .x = 41, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 51, .kind = K::OwnerDrawButton, .x = 58, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 52, .kind = K::OwnerDrawButton, .x = 75, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 53, .kind = K::OwnerDrawButton, .x = 92, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 54, .kind = K::OwnerDrawButton, .x = 109, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 55, .kind = K::OwnerDrawButton, .x = 126, .y = 104, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 56, .kind = K::OwnerDrawButton, .x = 7, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 57, .kind = K::OwnerDrawButton, .x = 24, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 58, .kind = K::OwnerDrawButton, .x = 41, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 59, .kind = K::OwnerDrawButton, .x = 58, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 60, .kind = K::OwnerDrawButton, .x = 75, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 61, .kind = K::OwnerDrawButton, .x = 92, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 62, .kind = K::OwnerDrawButton, .x = 109, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 63, .kind = K::OwnerDrawButton, .x = 126, .y = 117, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 64, .kind = K::OwnerDrawButton, .x = 7, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 65, .kind = K::OwnerDrawButton, .x = 24, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 66, .kind = K::OwnerDrawButton, .x = 41, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 67, .kind = K::OwnerDrawButton, .x = 58, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 68, .kind = K::OwnerDrawButton, .x = 75, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 69, .kind = K::OwnerDrawButton, .x = 92, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 70, .kind = K::OwnerDrawButton, .x = 109, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 71, .kind = K::OwnerDrawButton, .x = 126, .y = 130, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 72, .kind = K::OwnerDrawButton, .x = 7, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 73, .kind = K::OwnerDrawButton, .x = 24, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 74, .kind = K::OwnerDrawButton, .x = 41, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 75, .kind = K::OwnerDrawButton, .x = 58, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 76, .kind = K::OwnerDrawButton, .x = 75, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 77, .kind = K::OwnerDrawButton, .x = 92, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 78, .kind = K::OwnerDrawButton, .x = 109, .y = 143, .cx = 15, .cy = 11},
        {.nID = IDC_COLOR_FIRST + 79, .kind = K::OwnerDrawButton, .x = 126, .y = 143, .cx = 15, .cy = 11},
        {.kind = K::Label, .pszText = "New Color:", .x = 150, .y = 30, .cx = 50, .cy = 8},
        {.nID = IDC_NEW_COLOR, .kind = K::Edit, .x = 150, .y = 40, .cx = 83, .cy = 12, .bGroup = true},
        {.kind = K::Label, .pszText = "Change To:", .x = 150, .y = 60, .cx = 50, .cy = 8},
        {.nID = IDC_CHANGE_TO, .kind = K::Edit, .x = 150, .y = 70, .cx = 83, .cy = 12},
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 150, .y = 121, .cx = 50, .cy = 14,
         .bEnabled = false, .bGroup = true},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 150, .y = 140, .cx = 50, .cy = 14},
    },
};

// The advanced density settings.
const DialogTemplate kAdvanced = {
    .nID = IDD_ADVANCED,
    .pszCaption = "Advanced Density Settings",
    .cx = 241,
    .cy = 104,
    .items = {
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 184, .y = 7, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 184, .y = 24, .cx = 50, .cy = 14},
        {.kind = K::GroupBox, .pszText = "Processing Options:", .x = 7, .y = 7, .cx = 170, .cy = 90},
        {.kind = K::Label, .pszText = "Column Stitch Density:", .x = 14, .y = 20, .cx = 88, .cy = 8},
        {.nID = IDC_COLUMN_DENSITY, .kind = K::Edit, .x = 106, .y = 18, .cx = 30, .cy = 12, .bGroup = true},
        {.kind = K::Label, .pszText = "%", .x = 139, .y = 20, .cx = 10, .cy = 8},
        {.kind = K::Label, .pszText = "Fill Stitch Density:", .x = 14, .y = 36, .cx = 88, .cy = 8},
        {.nID = IDC_FILL_DENSITY, .kind = K::Edit, .x = 106, .y = 34, .cx = 30, .cy = 12},
        {.kind = K::Label, .pszText = "%", .x = 139, .y = 36, .cx = 10, .cy = 8},
        {.kind = K::Label, .pszText = "Fill Stitch Length:", .x = 14, .y = 52, .cx = 88, .cy = 8},
        {.nID = IDC_FILL_LENGTH, .kind = K::Edit, .x = 106, .y = 50, .cx = 30, .cy = 12},
        {.kind = K::Label, .pszText = "%", .x = 139, .y = 52, .cx = 10, .cy = 8},
        {.kind = K::Label, .pszText = "Run Stitch Length:", .x = 14, .y = 68, .cx = 88, .cy = 8},
        {.nID = IDC_RUN_LENGTH, .kind = K::Edit, .x = 106, .y = 66, .cx = 30, .cy = 12},
        {.kind = K::Label, .pszText = "%", .x = 139, .y = 68, .cx = 10, .cy = 8},
        {.kind = K::Label, .pszText = "Maximum Stitch Length:", .x = 14, .y = 82, .cx = 88, .cy = 8},
        {.nID = IDC_MAX_LENGTH, .kind = K::Edit, .x = 106, .y = 80, .cx = 30, .cy = 12},
        {.kind = K::Label, .pszText = "mm", .x = 139, .y = 82, .cx = 12, .cy = 8},
    },
};

// The rotate dialog.
const DialogTemplate kRotate = {
    .nID = IDD_ROTATE,
    .pszCaption = "Rotate Design",
    .cx = 152,
    .cy = 45,
    .items = {
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 95, .y = 7, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 95, .y = 24, .cx = 50, .cy = 14},
        {.kind = K::Label, .pszText = "Degrees:", .x = 7, .y = 9, .cx = 35, .cy = 8},
        {.nID = IDC_DEGREES, .kind = K::Edit, .x = 45, .y = 7, .cx = 40, .cy = 12, .bGroup = true},
    },
};

// The hoop size dialog. The radio buttons follow one another, so that they make one group;
// the custom hoop and its edits are shown only when the host allows custom sizes.
const DialogTemplate kHoopSize = {
    .nID = IDD_HOOP_SIZE,
    .pszCaption = "Choose Hoop Size",
    .cx = 258,
    .cy = 164,
    .items = {
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 201, .y = 7, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 201, .y = 24, .cx = 50, .cy = 14},
        {.kind = K::GroupBox, .pszText = "Bernina Deco/Viking:", .x = 7, .y = 7, .cx = 90, .cy = 24},
        {.kind = K::GroupBox, .pszText = "Babylock/Brother:", .x = 7, .y = 35, .cx = 90, .cy = 72},
        {.kind = K::GroupBox, .pszText = "Elna/Kenmore Janome/New Home:", .x = 7, .y = 111, .cx = 90, .cy = 36},
        {.kind = K::GroupBox, .pszText = "Pfaff:", .x = 104, .y = 7, .cx = 90, .cy = 36},
        {.kind = K::GroupBox, .pszText = "Singer EU/Poem Husygram:", .x = 104, .y = 47, .cx = 90, .cy = 24},
        {.kind = K::GroupBox, .pszText = "Singer:", .x = 104, .y = 75, .cx = 90, .cy = 48},
        {.kind = K::GroupBox, .pszText = "Custom:", .x = 104, .y = 127, .cx = 147, .cy = 30},
        {.nID = 2321, .kind = K::RadioButton, .pszText = "100x100", .x = 14, .y = 17, .cx = 60, .cy = 10, .bGroup = true},
        {.nID = 2322, .kind = K::RadioButton, .pszText = "100x100", .x = 14, .y = 45, .cx = 60, .cy = 10},
        {.nID = 2323, .kind = K::RadioButton, .pszText = "130x180", .x = 14, .y = 57, .cx = 60, .cy = 10},
        {.nID = 2324, .kind = K::RadioButton, .pszText = "180x130", .x = 14, .y = 69, .cx = 60, .cy = 10},
        {.nID = 2325, .kind = K::RadioButton, .pszText = "160x260", .x = 14, .y = 81, .cx = 60, .cy = 10},
        {.nID = 2326, .kind = K::RadioButton, .pszText = "260x160", .x = 14, .y = 93, .cx = 60, .cy = 10},
        {.nID = 2327, .kind = K::RadioButton, .pszText = "122x88", .x = 14, .y = 121, .cx = 60, .cy = 10},
        {.nID = 2328, .kind = K::RadioButton, .pszText = "80x70", .x = 14, .y = 133, .cx = 60, .cy = 10},
        {.nID = 2329, .kind = K::RadioButton, .pszText = "115x120", .x = 111, .y = 17, .cx = 60, .cy = 10},
        {.nID = 2330, .kind = K::RadioButton, .pszText = "80x80", .x = 111, .y = 29, .cx = 60, .cy = 10},
        {.nID = 2331, .kind = K::RadioButton, .pszText = "88x88", .x = 111, .y = 57, .cx = 60, .cy = 10},
        {.nID = 2332, .kind = K::RadioButton, .pszText = "130x240", .x = 111, .y = 85, .cx = 60, .cy = 10},
        {.nID = 2333, .kind = K::RadioButton, .pszText = "114x114", .x = 111, .y = 97, .cx = 60, .cy = 10},
        {.nID = 2334, .kind = K::RadioButton, .pszText = "55x55", .x = 111, .y = 109, .cx = 60, .cy = 10},
        {.nID = IDC_HOOP_CUSTOM, .kind = K::RadioButton, .x = 111, .y = 139, .cx = 10, .cy = 10, .bVisible = false},
        {.nID = IDC_CUSTOM_X, .kind = K::Edit, .x = 124, .y = 138, .cx = 30, .cy = 12, .bVisible = false,
         .bGroup = true},
        {.nID = IDC_CUSTOM_TIMES, .kind = K::Label, .pszText = "x", .x = 157, .y = 140, .cx = 6, .cy = 8,
         .bVisible = false},
        {.nID = IDC_CUSTOM_Y, .kind = K::Edit, .x = 166, .y = 138, .cx = 30, .cy = 12, .bVisible = false},
    },
};

// The density settings; "Advanced" is offered by the host.
const DialogTemplate kDensity = {
    .nID = IDD_DENSITY,
    .pszCaption = "Density Settings",
    .cx = 187,
    .cy = 120,
    .items = {
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 130, .y = 7, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 130, .y = 24, .cx = 50, .cy = 14},
        {.nID = IDC_WEIGHT_FIRST, .kind = K::RadioButton, .pszText = "60 wt", .x = 14, .y = 10, .cx = 50, .cy = 10,
         .bGroup = true},
        {.nID = IDC_WEIGHT_FIRST + 1, .kind = K::RadioButton, .pszText = "50 wt", .x = 14, .y = 22, .cx = 50, .cy = 10},
        {.nID = IDC_WEIGHT_FIRST + 2, .kind = K::RadioButton, .pszText = "40 wt", .x = 14, .y = 34, .cx = 50, .cy = 10},
        {.nID = IDC_WEIGHT_FIRST + 3, .kind = K::RadioButton, .pszText = "30 wt", .x = 14, .y = 46, .cx = 50, .cy = 10},
        {.nID = IDC_WEIGHT_FIRST + 4, .kind = K::RadioButton, .pszText = "Yarn", .x = 14, .y = 58, .cx = 50, .cy = 10},
        {.kind = K::Label, .pszText = "Adjust stitch density by:", .x = 7, .y = 78, .cx = 90, .cy = 8, .bGroup = true},
        {.nID = IDC_PERCENT, .kind = K::Edit, .x = 100, .y = 76, .cx = 30, .cy = 12},
        {.kind = K::Label, .pszText = "%", .x = 133, .y = 78, .cx = 10, .cy = 8},
        {.nID = IDC_ADVANCED, .kind = K::PushButton, .pszText = "Advanced", .x = 7, .y = 98, .cx = 50, .cy = 14,
         .bVisible = false, .bEnabled = false},
    },
};

const DialogTemplate kPreferences = {
    .nID = IDD_PREFERENCES,
    .pszCaption = "System Preferences",
    .cx = 250,
    .cy = 192,
    .items = {
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 130, .y = 170, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 190, .y = 170, .cx = 50, .cy = 14},
        {.kind = K::GroupBox, .pszText = "For Viking/Husqvarna", .x = 7, .y = 7, .cx = 115, .cy = 28},
        {.nID = IDC_VIKING_SPLIT, .kind = K::CheckBox, .pszText = "Split at 12 Color Changes", .x = 14, .y = 18,
         .cx = 104, .cy = 10, .bGroup = true},
        {.kind = K::GroupBox, .pszText = "For Janome/New Home/Elna", .x = 7, .y = 40, .cx = 115, .cy = 40},
        {.nID = IDC_SEW_COLORS_12, .kind = K::CheckBox, .pszText = "Scan-n-Sew PC v1.x", .x = 14, .y = 51,
         .cx = 104, .cy = 10, .bGroup = true},
        {.nID = IDC_SEW_COLORS_78, .kind = K::CheckBox, .pszText = "DreamVision/Customizer 2000 ", .x = 14, .y = 64,
         .cx = 104, .cy = 10},
        {.kind = K::GroupBox, .pszText = "For Pfaff PCS", .x = 7, .y = 85, .cx = 115, .cy = 40},
        {.nID = IDC_PFAFF_COMPATIBLE, .kind = K::CheckBox, .pszText = "100% Pfaff PCS Compatible", .x = 14, .y = 96,
         .cx = 104, .cy = 10, .bGroup = true},
        {.nID = IDC_PFAFF_SPLIT, .kind = K::CheckBox, .pszText = "Split at 16 Colors", .x = 14, .y = 109, .cx = 104,
         .cy = 10},
        {.nID = IDC_SAVE_FORMAT_GROUP, .kind = K::GroupBox, .pszText = "Default \"Save As\" format:", .x = 130,
         .y = 7, .cx = 113, .cy = 30, .bVisible = false},
        {.nID = IDC_SAVE_FORMAT, .kind = K::DropDownList, .x = 137, .y = 18, .cx = 99, .cy = 100, .bVisible = false,
         .bGroup = true,
         .items = {"Melco Dos Expanded", "Tajima", "Babylock/Bernina/Brother", "Pfaff - Windows", "Pfaff Macintosh",
                   "Viking/Husqavarna", "Elna/Janome/New Home", "Poem/Singer EU", "Singer PSW/XXX"}},
        {.nID = IDC_SYSTEM_GROUP, .kind = K::GroupBox, .pszText = "System Options", .x = 130, .y = 42, .cx = 113,
         .cy = 120, .bVisible = false},
        {.nID = IDC_MAXIMIZE_CHILD, .kind = K::CheckBox, .pszText = "Maximize Design on Opening", .x = 137, .y = 53,
         .cx = 102, .cy = 10, .bVisible = false, .bGroup = true},
        {.nID = IDC_CORASTITCH, .kind = K::CheckBox, .pszText = "Enable Corastitch", .x = 137, .y = 66, .cx = 102,
         .cy = 10, .bVisible = false},
        {.nID = IDC_JUNK_STITCH, .kind = K::CheckBox, .pszText = "Cleanup \"Junk\" Stitches", .x = 137, .y = 79,
         .cx = 102, .cy = 10, .bVisible = false},
        {.nID = IDC_THRESHOLD_LABEL, .kind = K::Label, .pszText = "Threshold:", .x = 147, .y = 93, .cx = 35, .cy = 8,
         .bVisible = false},
        {.nID = IDC_THRESHOLD, .kind = K::Edit, .x = 185, .y = 91, .cx = 30, .cy = 12, .bVisible = false,
         .bEnabled = false},
        {.nID = IDC_NO_SCALIVO, .kind = K::CheckBox,
         .pszText = "Do not use Scalivo for Scaling \"Expanded\" designs", .x = 137, .y = 107, .cx = 102, .cy = 20,
         .bVisible = false},
        {.nID = IDC_NO_MERGE, .kind = K::CheckBox, .pszText = "Do not Automatically Merge Designs back together.",
         .x = 137, .y = 130, .cx = 102, .cy = 20, .bVisible = false, .bEnabled = false},
    },
};

const DialogTemplate kPreferencesSmall = {
    .nID = IDD_PREFERENCES_SMALL,
    .pszCaption = "System Preferences",
    .cx = 130,
    .cy = 190,
    .items = {
        {.nID = IDOK, .kind = K::DefPushButton, .pszText = "OK", .x = 10, .y = 170, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = K::PushButton, .pszText = "Cancel", .x = 70, .y = 170, .cx = 50, .cy = 14},
        {.nID = IDC_SAVE_FORMAT_GROUP, .kind = K::GroupBox, .pszText = "Default \"Save As\" format:", .x = 7, .y = 7,
         .cx = 116, .cy = 30, .bVisible = false},
        {.nID = IDC_SAVE_FORMAT, .kind = K::DropDownList, .x = 14, .y = 18, .cx = 102, .cy = 60, .bVisible = false,
         .bGroup = true, .items = {"Melco Dos Expanded", "Tajima"}},
        {.nID = IDC_SYSTEM_GROUP, .kind = K::GroupBox, .pszText = "System Options", .x = 7, .y = 42, .cx = 116,
         .cy = 120, .bVisible = false},
        {.nID = IDC_MAXIMIZE_CHILD, .kind = K::CheckBox, .pszText = "Maximize Design on Opening", .x = 14, .y = 53,
         .cx = 105, .cy = 10, .bVisible = false, .bGroup = true},
        {.nID = IDC_CORASTITCH, .kind = K::CheckBox, .pszText = "Enable Corastitch", .x = 14, .y = 66, .cx = 105,
         .cy = 10, .bVisible = false},
        {.nID = IDC_JUNK_STITCH, .kind = K::CheckBox, .pszText = "Cleanup \"Junk\" Stitches", .x = 14, .y = 79,
         .cx = 105, .cy = 10, .bVisible = false},
        {.nID = IDC_THRESHOLD_LABEL, .kind = K::Label, .pszText = "Threshold:", .x = 24, .y = 93, .cx = 35, .cy = 8,
         .bVisible = false},
        {.nID = IDC_THRESHOLD, .kind = K::Edit, .x = 62, .y = 91, .cx = 30, .cy = 12, .bVisible = false,
         .bEnabled = false},
        {.nID = IDC_NO_SCALIVO, .kind = K::CheckBox,
         .pszText = "Do not use Scalivo for Scaling \"Expanded\" designs", .x = 14, .y = 107, .cx = 105, .cy = 20,
         .bVisible = false},
        {.nID = IDC_NO_MERGE, .kind = K::CheckBox, .pszText = "Do not Automatically Merge Designs back together.",
         .x = 14, .y = 130, .cx = 105, .cy = 20, .bVisible = false, .bEnabled = false},
    },
};

// A strip below a file dialog's own controls.
const DialogTemplate kFileBrowse = {
    .nID = IDD_FILE_BROWSE,
    .pszCaption = "",
    .cx = 279,
    .cy = 19,
    .bChild = true,
    .items = {
        {.nID = IDC_BROWSE, .kind = K::PushButton, .pszText = "Browse", .x = 222, .y = 2, .cx = 50, .cy = 14},
    },
};

const DialogTemplate* const kLibraryTemplates[] = {&kColor,       &kAdvanced,         &kRotate,   &kHoopSize,
                                                   &kDensity,     &kPreferences,      &kPreferencesSmall,
                                                   &kFileBrowse};

struct Registrar {
    Registrar()
    {
        for (const DialogTemplate* t : kLibraryTemplates) AfxRegisterDialogTemplate(t);
        for (const BitmapTemplate* b : GetLibraryBitmapTemplates()) AfxRegisterBitmapTemplate(b);
    }
};
const Registrar registrar;

} // namespace

const DialogTemplate* GetLibraryDialogTemplate(UINT nID)
{
    for (const DialogTemplate* t : kLibraryTemplates)
        if (t->nID == nID) return t;
    return nullptr;
}
