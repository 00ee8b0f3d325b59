#include "platform/png.h"

#include <cstdio>
#include <png.h>

bool WritePngRgb(const char* path, int w, int h, const uint8_t* rgb)
{
    if (w <= 0 || h <= 0 || !rgb) return false;
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        std::fclose(f);
        return false;
    }
    // libpng reports failures by long jump; nothing here needs unwinding.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::remove(path);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, (png_uint_32)w, (png_uint_32)h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, (png_const_bytep)(rgb + (size_t)y * (size_t)w * 3));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}
