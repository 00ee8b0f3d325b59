#include "platform/png.h"

#include <png.h>

#include <cstdio>
#include <csetjmp>

namespace {

void OnPngError(png_structp png, png_const_charp)
{
    std::longjmp(png_jmpbuf(png), 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// The libpng part lives alone, so that nothing with a destructor lies between setjmp
// and a longjmp out of libpng.
bool Encode(std::FILE* out, int w, int h, const uint8_t* rgb)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &OnPngError, &OnPngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, (png_uint_32)w, (png_uint_32)h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, rgb + (size_t)y * (size_t)w * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePngRgb(const char* path, int w, int h, const uint8_t* rgb)
{
    if (!path || !rgb || w <= 0 || h <= 0 || w > 0x7FFF || h > 0x7FFF) return false;
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    bool ok = Encode(out, w, h, rgb);
    if (std::fclose(out) != 0) ok = false;
    if (!ok) std::remove(path);
    return ok;
}
