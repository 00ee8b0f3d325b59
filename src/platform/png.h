// PNG output through libpng, for anything that ends as a picture (thumbnails, rasters).
#pragma once

#include <cstdint>

// Writes w x h pixels of 8-bit RGB, row by row from the top (3 * w bytes a row), as an
// RGB PNG file. False, with no file left behind, when the picture or the file fails.
bool WritePngRgb(const char* path, int w, int h, const uint8_t* rgb);
