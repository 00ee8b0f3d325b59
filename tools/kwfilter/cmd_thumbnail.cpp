// kwfilter thumbnail IN OUT.png: the thumbnails a PEC, PES or SEW file carries, enlarged
// side by side in one picture.
#include "cli.h"
#include "kwfilter.h"
#include "platform/png.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kScale = 5;      // screen pixels per thumbnail pixel
constexpr int kGap = 12;       // around each thumbnail
constexpr int kMaxRowWidth = 1000;

bool ReadThumbnails(const char* path, std::vector<CIconImage>& out)
{
    const FormatInfo* f = FindFormat(path);
    int source = f ? f->nSource : 0;
    if (source == FindFormat("x.pec")->nSource) return CPec().ReadThumbnails(path, out);
    if (source == FindFormat("x.pes")->nSource) return CPes().ReadThumbnails(path, out);
    if (source == FindFormat("x.sew")->nSource) return CSew().ReadThumbnails(path, out);
    std::fprintf(stderr, "kwfilter: %s: only PEC, PES and SEW files carry thumbnails\n", path);
    return false;
}

struct Picture {
    int w, h;
    std::vector<uint8_t> rgb;
    Picture(int width, int height) : w(width), h(height), rgb((size_t)width * (size_t)height * 3, 0xE8) {}
    void Fill(int x0, int y0, int cw, int ch, uint8_t v)
    {
        for (int y = y0; y < y0 + ch; ++y)
            for (int x = x0; x < x0 + cw; ++x)
                if (x >= 0 && y >= 0 && x < w && y < h)
                    for (int c = 0; c < 3; ++c) rgb[((size_t)y * (size_t)w + (size_t)x) * 3 + (size_t)c] = v;
    }
};

int Run(int argc, char** argv);
const cli::Command kThumbnail{"thumbnail", "thumbnail IN OUT.png",
                              "write the thumbnails a PEC, PES or SEW file carries, enlarged, as one PNG", &Run};
cli::Register reg(kThumbnail);

int Run(int argc, char** argv)
{
    if (argc != 3) return cli::UsageError(kThumbnail, "needs a design file and a PNG file");
    std::vector<CIconImage> thumbs;
    if (!ReadThumbnails(argv[1], thumbs) || thumbs.empty()) {
        std::fprintf(stderr, "kwfilter: %s: no thumbnails could be read\n", argv[1]);
        return 1;
    }
    // Left to right, a new row when one grows too wide; each thumbnail white in a frame.
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = kGap, y = kGap, rowHeight = 0, width = 0;
    for (const CIconImage& t : thumbs) {
        int cw = t.nWidth * kScale + 2, ch = t.nHeight * kScale + 2;
        if (x > kGap && x + cw + kGap > kMaxRowWidth) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += cw + kGap;
        if (x > width) width = x;
        if (ch > rowHeight) rowHeight = ch;
    }
    Picture pic(width, y + rowHeight + kGap);
    std::printf("%s: %zu thumbnails\n", argv[1], thumbs.size());
    for (size_t k = 0; k < thumbs.size(); ++k) {
        const CIconImage& t = thumbs[k];
        Place p = places[k];
        pic.Fill(p.x, p.y, t.nWidth * kScale + 2, t.nHeight * kScale + 2, 0x90);
        pic.Fill(p.x + 1, p.y + 1, t.nWidth * kScale, t.nHeight * kScale, 0xFF);
        for (int ty = 0; ty < t.nHeight; ++ty)
            for (int tx = 0; tx < t.nWidth; ++tx)
                if (t.Pixel(tx, ty)) pic.Fill(p.x + 1 + tx * kScale, p.y + 1 + ty * kScale, kScale, kScale, 0x20);
        std::printf("  %-24s %3d x %-3d\n", t.strTitle.c_str(), t.nWidth, t.nHeight);
    }
    if (!WritePngRgb(argv[2], pic.w, pic.h, pic.rgb.data())) {
        std::fprintf(stderr, "kwfilter: %s: the picture could not be written\n", argv[2]);
        return 1;
    }
    return 0;
}

} // namespace
