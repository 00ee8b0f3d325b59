// Drawing a whole design fitted into a square raster, for previews and the render command.
#pragma once

#include "design/emb_object.h"

// Draws the design with its own Draw onto white, scaled to fit size x size pixels with a
// small margin and centred. Returns false when there is nothing to draw.
bool RenderDesign(CEmbObject& design, CRasterDC& dc);
bool RenderDesignToPng(CEmbObject& design, int nSize, const char* pszPath);
