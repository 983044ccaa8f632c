#include "sim/window/SimScaling.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>

namespace platform {
namespace {

struct Bitmaps {
    std::mutex lock;
    std::uintptr_t lastHandle = 0x9000000;
    std::map<BitmapHandle, sim::LoadedBitmap> live;
};

Bitmaps& TheBitmaps() {
    static Bitmaps bitmaps;
    return bitmaps;
}

std::atomic<unsigned> windowDpi{96};

} // namespace

BitmapHandle LoadImageA(int id, unsigned type, int width, int height) {
    if (type != IMAGE_BITMAP) {
        return nullptr;
    }
    Bitmaps& bitmaps = TheBitmaps();
    std::lock_guard hold(bitmaps.lock);
    bitmaps.lastHandle += 0x10;
    const auto handle = reinterpret_cast<BitmapHandle>(bitmaps.lastHandle);
    bitmaps.live[handle] = {id, width, height};
    return handle;
}

bool DeleteObject(BitmapHandle bitmap) {
    Bitmaps& bitmaps = TheBitmaps();
    std::lock_guard hold(bitmaps.lock);
    return bitmaps.live.erase(bitmap) == 1;
}

unsigned GetDpiForWindow(WindowHandle) {
    return windowDpi;
}

bool MapDialogRect(WindowHandle dialog, Rect* rect) {
    if (dialog == nullptr) {
        return false;
    }
    const int dpi = static_cast<int>(windowDpi.load());
    const auto across = [dpi](int units) { return units * 6 * dpi / (4 * 96); };
    const auto down = [dpi](int units) { return units * 13 * dpi / (8 * 96); };
    *rect = {across(rect->left), down(rect->top), across(rect->right), down(rect->bottom)};
    return true;
}

namespace sim {

void SetWindowDpi(unsigned dpi) {
    windowDpi = dpi;
}

LoadedBitmap BitmapOf(BitmapHandle bitmap) {
    Bitmaps& bitmaps = TheBitmaps();
    std::lock_guard hold(bitmaps.lock);
    const auto found = bitmaps.live.find(bitmap);
    return found == bitmaps.live.end() ? LoadedBitmap{} : found->second;
}

std::vector<LoadedBitmap> LiveBitmaps() {
    Bitmaps& bitmaps = TheBitmaps();
    std::lock_guard hold(bitmaps.lock);
    std::vector<LoadedBitmap> loaded;
    for (const auto& [handle, bitmap] : bitmaps.live) {
        loaded.push_back(bitmap);
    }
    return loaded;
}

} // namespace sim
} // namespace platform
