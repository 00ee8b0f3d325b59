// What every owner-drawn button of the library draws around its face (colour buttons,
// toolbar swatches, bitmap buttons, design buttons): with the settings' drawing palette
// selected and realized, for the draw-entire and selection actions a two-pixel 3D frame
// three pixels inside the item, sunken while the button is pressed, with the face one pixel
// further in; for those and the focus action the button's outer frame, sunken while it has
// the focus.
#pragma once

#include "platform/controls.h"
#include "platform/dc.h"

#include <functional>

// Selects the settings' drawing palette into a device context, realized, for its lifetime.
class DrawingPaletteScope {
public:
    explicit DrawingPaletteScope(CDC* pDC);
    ~DrawingPaletteScope();
    DrawingPaletteScope(const DrawingPaletteScope&) = delete;
    DrawingPaletteScope& operator=(const DrawingPaletteScope&) = delete;

private:
    CDC* m_pDC;
    CPalette* m_pOld;
    BOOL m_bOldBackground;
};

// True when the action draws the pressed or raised look: draw-entire or selection.
bool DrawsButtonFace(const DRAWITEMSTRUCT* lpDIS);
// True when the button is drawn pressed: the pressed look with the selected state.
bool IsDrawnPressed(const DRAWITEMSTRUCT* lpDIS);

// Draws the frames for lpDIS; drawFace paints the face rectangle when the action asks for it.
// nButtonState is the button's BM_GETSTATE.
void DrawButtonFrames(CDC* pDC, const DRAWITEMSTRUCT* lpDIS, UINT nButtonState,
                      const std::function<void(const CRect& rcFace)>& drawFace);
