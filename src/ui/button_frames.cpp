#include "ui/button_frames.h"

#include "core/settings.h"

DrawingPaletteScope::DrawingPaletteScope(CDC* pDC) : m_pDC(pDC), m_pOld(nullptr), m_bOldBackground(FALSE)
{
    if (!m_pDC) return;
    CKwFilter* setup = GetSetup();
    m_bOldBackground = m_pDC->GetForceBackground();
    m_pOld = m_pDC->SelectPalette(&setup->m_Palette, setup->m_bPaletteBackground);
    m_pDC->RealizePalette();
}

DrawingPaletteScope::~DrawingPaletteScope()
{
    if (m_pDC) m_pDC->SelectPalette(m_pOld, m_bOldBackground);
}

bool DrawsButtonFace(const DRAWITEMSTRUCT* lpDIS)
{
    return lpDIS && (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;
}

bool IsDrawnPressed(const DRAWITEMSTRUCT* lpDIS)
{
    return DrawsButtonFace(lpDIS) && (lpDIS->itemState & ODS_SELECTED) != 0;
}

void DrawButtonFrames(CDC* pDC, const DRAWITEMSTRUCT* lpDIS, UINT nButtonState,
                      const std::function<void(const CRect& rcFace)>& drawFace)
{
    if (!pDC || !lpDIS) return;
    CRect item = lpDIS->rcItem;
    if (DrawsButtonFace(lpDIS)) {
        CRect frame = item;
        frame.left += 3;
        frame.top += 3;
        frame.right -= 3;
        frame.bottom -= 3;
        pDC->DrawEdge(&frame, (lpDIS->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        CRect face(frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1);
        if (drawFace && !face.IsRectEmpty()) drawFace(face);
    }
    if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))
        pDC->DrawEdge(&item, (nButtonState & BST_FOCUS) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}
