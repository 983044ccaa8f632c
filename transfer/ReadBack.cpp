#include "transfer/ReadBack.h"

#include "platform/Volumes.h"
#include "transfer/PassingHold.h"

#include <algorithm>

namespace {

// Reading back is bound by calls, not by the medium; much larger buffers measured slower (a fresh
// mapping faulted in on every verify), and no buffer here is zeroed, as each is filled before use.
constexpr std::uint32_t kChunkBytes = 64u << 10;
// Windows wants an unbuffered read's buffer aligned to the physical sector, which can be larger
// than the sector size the volume gives (4 KiB on a 512-byte-emulating disk).
constexpr std::uint32_t kLeastAlignment = 4096;

std::uint32_t RoundUp(std::uint32_t bytes, std::uint32_t step) {
    return (bytes + step - 1) / step * step;
}

// The sector size of the volume that holds `path` ("X:\..."), or 0 when there is none to be had.
std::uint32_t SectorBytesOf(const std::string& path) {
    std::uint32_t bytesPerSector = 0;
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\' ||
        !platform::GetDiskFreeSpaceA(path.substr(0, 3).c_str(), nullptr, &bytesPerSector, nullptr, nullptr)) {
        return 0;
    }
    return bytesPerSector;
}

} // namespace

ReadBack::ReadBack(const std::string& path) {
    const std::uint32_t sectorBytes = SectorBytesOf(path);
    if (sectorBytes != 0 && OpenPlayerFile(file_, path, platform::File::Mode::ReadUnbuffered)) {
        sectorBytes_ = sectorBytes;
    } else {
        // Through the cache, which proves only what was sent: the volume will not be read past it.
        OpenPlayerFileOrThrow(file_, path, platform::File::Mode::ReadShared);
    }
    chunkBytes_ = RoundUp(kChunkBytes, sectorBytes_);
    const std::uint32_t alignment = std::max(sectorBytes_, kLeastAlignment);
    storage_ = std::make_unique_for_overwrite<char[]>(chunkBytes_ + alignment);
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.get());
    buffer_ = storage_.get() + (alignment - address % alignment) % alignment;
}

std::span<const char> ReadBack::Read(std::uint32_t count) {
    // Asked for up to the end of a sector; at the end of the file the system gives what there is.
    const std::uint32_t read = file_.Read(buffer_, RoundUp(count, sectorBytes_));
    return {buffer_, std::min(read, count)};
}
