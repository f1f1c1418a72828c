// SPropertyCtrl: the eight pictures of its buttons, drawn here as character maps
// and turned into 32-bit ARGB pixel arrays: 0 toggle, 1 drop-down, 2 dialog,
// 3 system colours, 4 default, 5 edit (14 x 14); 6 expanded, 7 collapsed (16 x 16).
#include "SPropertyCtrl.h"
#include <vector>

namespace
{
const char* const TOGGLE[] = {
    ".oooooooooooo.", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwww#wo", "owwwwwwwww##wo",
    "owwwwwwww##wwo", "ow#wwwww##wwwo", "ow##www##wwwwo", "owww####wwwwwo", "owwww##wwwwwwo",
    "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", ".oooooooooooo."};
const char* const DROPDOWN[] = {
    ".oooooooooooo.", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo",
    "owww######wwwo", "owwww####wwwwo", "owwwww##wwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo",
    "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", ".oooooooooooo."};
const char* const DIALOG[] = {
    ".oooooooooooo.", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo",
    "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "oww##w##w##wwo",
    "oww##w##w##wwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", ".oooooooooooo."};
const char* const SYSTEM_COLORS[] = {
    ".oooooooooooo.", "owwwwwwwwwwwwo", "owrrrrwwggggwo", "owrrrrwwggggwo", "owrrrrwwggggwo",
    "owrrrrwwggggwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owbbbbwwyyyywo", "owbbbbwwyyyywo",
    "owbbbbwwyyyywo", "owbbbbwwyyyywo", "owwwwwwwwwwwwo", ".oooooooooooo."};
const char* const DEFAULT[] = {
    ".oooooooooooo.", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwxxwwwwxxwwo", "owwwxxwwxxwwwo",
    "owwwwxxxxwwwwo", "owwwwwxxwwwwwo", "owwwwwxxwwwwwo", "owwwwxxxxwwwwo", "owwwxxwwxxwwwo",
    "owwxxwwwwxxwwo", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", ".oooooooooooo."};
const char* const EDIT[] = {
    ".oooooooooooo.", "owwwwwwwwwwwwo", "owwwwwwwwwwwwo", "owwwwwwwww##wo", "owwwwwwww###wo",
    "owwwwwww###wwo", "owwwwww###wwwo", "owwwww###wwwwo", "owwww###wwwwwo", "owww###wwwwwwo",
    "owww##wwwwwwwo", "owwowwwwwwwwwo", "owwwwwwwwwwwwo", ".oooooooooooo."};
const char* const EXPANDED[] = {
    "................", "................", "................", "...ooooooooo....",
    "...owwwwwwwo....", "...owwwwwwwo....", "...owwwwwwwo....", "...ow#####wo....",
    "...owwwwwwwo....", "...owwwwwwwo....", "...owwwwwwwo....", "...ooooooooo....",
    "................", "................", "................", "................"};
const char* const COLLAPSED[] = {
    "................", "................", "................", "...ooooooooo....",
    "...owwwwwwwo....", "...owww#wwwo....", "...owww#wwwo....", "...ow#####wo....",
    "...owww#wwwo....", "...owww#wwwo....", "...owwwwwwwo....", "...ooooooooo....",
    "................", "................", "................", "................"};

Gdiplus::ARGB PaletteColor(char c)
{
    switch (c)
    {
    case 'o': return 0xFF808080;
    case 'w': return 0xFFF8F8F8;
    case '#': return 0xFF202020;
    case 'x': return 0xFFC02020;
    case 'r': return 0xFFE03030;
    case 'g': return 0xFF30B030;
    case 'b': return 0xFF3050E0;
    case 'y': return 0xFFE0C020;
    default: return 0x00000000;
    }
}

void LoadPicture(SImage* image, const char* const* rows, int size)
{
    std::vector<Gdiplus::ARGB> pixels(static_cast<size_t>(size * size));
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++)
            pixels[static_cast<size_t>(y * size + x)] = PaletteColor(rows[y][x]);
    LoadImageFromPixelArray(image, pixels.data(), size, size);
}
} // namespace

void SPropertyCtrl::MakeImages()
{
    const char* const* const pictures[IMAGE_COUNT] = {TOGGLE, DROPDOWN, DIALOG, SYSTEM_COLORS,
                                                      DEFAULT, EDIT, EXPANDED, COLLAPSED};
    for (int i = 0; i < IMAGE_COUNT; i++)
        LoadPicture(&m_images[i], pictures[i], i < 6 ? BUTTON_WIDTH : TOGGLE_WIDTH);
}
