#pragma once
// The simulated window system's DPI, dialog units and bitmaps. A bitmap handle stands for the
// program's bitmap `id` at the size it was asked for; which bitmaps the program carries is checked
// on the real program under Wine.
#include "platform/Window.h"

#include <vector>

namespace platform::sim {

// The DPI every window is laid out for from now on; 96 until a test sets it. Dialog units map
// to 6 × 13 pixels per 4 × 8 at 96 DPI, and in proportion at others.
void SetWindowDpi(unsigned dpi);

struct LoadedBitmap {
    int id = 0;                // 0 for a deleted or unknown handle
    int width = 0, height = 0; // as asked for; 0 × 0 for the bitmap's own size
};
LoadedBitmap BitmapOf(BitmapHandle bitmap);
// Bitmaps loaded and not yet deleted.
std::vector<LoadedBitmap> LiveBitmaps();

} // namespace platform::sim
