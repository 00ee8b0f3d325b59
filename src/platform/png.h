// PNG output of an RGB raster.
#pragma once

#include <cstdint>

// Writes w x h pixels of 3 bytes each (red, green, blue), rows top to bottom.
bool WritePngRgb(const char* path, int w, int h, const uint8_t* rgb);
