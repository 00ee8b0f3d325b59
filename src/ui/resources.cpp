#include "ui/resources.h"

namespace {

using K = ControlKind;

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

const DialogTemplate* const kLibraryTemplates[] = {&kPreferences, &kPreferencesSmall, &kFileBrowse};

struct Registrar {
    Registrar()
    {
        for (const DialogTemplate* t : kLibraryTemplates) AfxRegisterDialogTemplate(t);
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
