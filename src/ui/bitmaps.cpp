// The design browser's navigation pictures, small arrows on the button face, held as data.
#include "ui/resources.h"

#include "platform/dc.h"

namespace {

const std::vector<std::pair<char, COLORREF>> kKey = {{'#', RGB(0, 0, 0)}, {'.', RGB(192, 192, 192)}};

const BitmapTemplate kFirstPage = {
    .nID = IDB_FIRST_PAGE,
    .cx = 13,
    .cy = 9,
    .rows = {
        ".#....#....#.",
        ".#...##...##.",
        ".#..###..###.",
        ".#.####.####.",
        ".###########.",
        ".#.####.####.",
        ".#..###..###.",
        ".#...##...##.",
        ".#....#....#.",
    },
    .key = kKey,
};

const BitmapTemplate kPreviousPage = {
    .nID = IDB_PREVIOUS_PAGE,
    .cx = 12,
    .cy = 9,
    .rows = {
        ".....#....#.",
        "....##...##.",
        "...###..###.",
        "..####.####.",
        ".##########.",
        "..####.####.",
        "...###..###.",
        "....##...##.",
        ".....#....#.",
    },
    .key = kKey,
};

const BitmapTemplate kPreviousItem = {
    .nID = IDB_PREVIOUS_ITEM,
    .cx = 12,
    .cy = 9,
    .rows = {
        ".......#....",
        "......##....",
        ".....###....",
        "....####....",
        "...#####....",
        "....####....",
        ".....###....",
        "......##....",
        ".......#....",
    },
    .key = kKey,
};

const BitmapTemplate kNextItem = {
    .nID = IDB_NEXT_ITEM,
    .cx = 12,
    .cy = 9,
    .rows = {
        "...#........",
        "...##.......",
        "...###......",
        "...####.....",
        "...#####....",
        "...####.....",
        "...###......",
        "...##.......",
        "...#........",
    },
    .key = kKey,
};

const BitmapTemplate kNextPage = {
    .nID = IDB_NEXT_PAGE,
    .cx = 12,
    .cy = 9,
    .rows = {
        ".#....#.....",
        ".##...##....",
        ".###..###...",
        ".####.####..",
        ".##########.",
        ".####.####..",
        ".###..###...",
        ".##...##....",
        ".#....#.....",
    },
    .key = kKey,
};

const BitmapTemplate kLastPage = {
    .nID = IDB_LAST_PAGE,
    .cx = 13,
    .cy = 9,
    .rows = {
        ".#....#....#.",
        ".##...##...#.",
        ".###..###..#.",
        ".####.####.#.",
        ".###########.",
        ".####.####.#.",
        ".###..###..#.",
        ".##...##...#.",
        ".#....#....#.",
    },
    .key = kKey,
};
const BitmapTemplate* const kBitmaps[] = {&kFirstPage, &kPreviousPage, &kPreviousItem,
                                          &kNextItem,  &kNextPage,     &kLastPage};

} // namespace

const BitmapTemplate* GetLibraryBitmapTemplate(UINT nID)
{
    for (const BitmapTemplate* t : kBitmaps)
        if (t->nID == nID) return t;
    return nullptr;
}

std::vector<const BitmapTemplate*> GetLibraryBitmapTemplates()
{
    return std::vector<const BitmapTemplate*>(std::begin(kBitmaps), std::end(kBitmaps));
}
