// A push button that shows a bitmap resource inside the library's button frames.
#pragma once

#include "platform/controls.h"
#include "platform/gdi.h"

class CBmButton : public CButton {
public:
    CBmButton() = default;

    // Loads the bitmap shown on the button (a library bitmap, else one the program
    // registered); false when there is none of that ID.
    BOOL LoadBitmap(int nResourceId);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    CBitmap m_Bitmap;

    DECLARE_DYNCREATE(CBmButton)
};
