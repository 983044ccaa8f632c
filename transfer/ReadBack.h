#pragma once
// Reading a copy back from the player that holds it. The system's cache still holds the pages just
// written, and a read through it proves only what was sent: the copy is read unbuffered, in whole
// sectors of its volume, into a buffer aligned to them.
#include "platform/File.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class ReadBack {
public:
    // Opens `path` ("E:\tolvr500.tmp"). Where the volume's sector size cannot be read or it refuses
    // an unbuffered open, the file is read through the cache, as the copy was before. Throws
    // platform::FileError when the file cannot be opened.
    explicit ReadBack(const std::string& path);

    std::uint64_t GetLength() const { return file_.GetLength(); }
    // How many bytes each read but the last gives: a whole number of sectors.
    std::uint32_t ChunkBytes() const { return chunkBytes_; }
    // The next `count` bytes (at most ChunkBytes()), fewer at the end of the file; valid until the
    // next call. A count short of ChunkBytes() is the last read. Throws platform::FileError.
    std::span<const char> Read(std::uint32_t count);

private:
    platform::File file_;
    std::uint32_t sectorBytes_ = 1;
    std::uint32_t chunkBytes_ = 0;
    std::unique_ptr<char[]> storage_;
    char* buffer_ = nullptr; // inside storage_, aligned
};
