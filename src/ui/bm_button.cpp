#include "ui/bm_button.h"

#include "platform/dc.h"
#include "ui/button_frames.h"
#include "ui/resources.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CBmButton, CButton)

BOOL CBmButton::LoadBitmap(int nResourceId)
{
    const BitmapTemplate* t = GetLibraryBitmapTemplate((UINT)nResourceId);
    if (!t) t = AfxFindBitmapTemplate((UINT)nResourceId);
    if (!t) return FALSE;
    m_Bitmap.DeleteObject();
    if (!m_Bitmap.LoadBitmap(t)) return FALSE;
    Invalidate();
    return TRUE;
}

void CBmButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    DrawingPaletteScope palette(pDC);
    DrawButtonFrames(pDC, lpDIS, GetState(), [&](const CRect& face) {
        pDC->FillSolidRect(&face, GetSysColor(COLOR_BTNFACE));
        if (!m_Bitmap.IsCreated()) return;
        // The picture sits in the middle of the face and moves a pixel when pressed.
        int w = std::min(m_Bitmap.Width(), face.Width()), h = std::min(m_Bitmap.Height(), face.Height());
        int shift = (lpDIS->itemState & ODS_SELECTED) ? 1 : 0;
        int x = face.left + (face.Width() - w) / 2 + shift, y = face.top + (face.Height() - h) / 2 + shift;
        w = std::min(w, face.right - x);
        h = std::min(h, face.bottom - y);
        CDC memory;
        memory.CreateCompatibleDC(pDC);
        CBitmap* old = memory.SelectObject(&m_Bitmap);
        pDC->BitBlt(x, y, w, h, &memory, (m_Bitmap.Width() - w) / 2, (m_Bitmap.Height() - h) / 2, SRCCOPY);
        memory.SelectObject(old);
    });
}
