// Under Wine: throughput of the safe copy onto one volume against the platform's durable copy
// (CopyFileA, then FlushFileBuffers on the target), for images of 1, 16 and 64 MiB, each the
// median of several runs; ends with the ratios (throughput of ours / durable copy).
//   win32_bench [UNIX_FOLDER [RUNS]]   (default /tmp/updater-bench-win, 7 runs)
// The folder is mapped as removable drive E:, so the image and every copy share one volume.
#include <windows.h>

#include "PollBench.h"
#include "WineDrive.h"
#include "app/UpdaterContext.h"
#include "transfer/SafeCopy.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMiB = 1 << 20;

bool WriteImage(const std::string& path, std::size_t mebibytes) {
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<char> chunk(kMiB);
    std::uint32_t state = 12345;
    bool written = true;
    for (std::size_t i = 0; i < mebibytes && written; ++i) {
        for (char& byte : chunk) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<char>(state >> 24);
        }
        DWORD done = 0;
        written = ::WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr) &&
                  done == chunk.size();
    }
    written = written && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    return written;
}

bool DurableCopy(const std::string& image, const std::string& target) {
    if (!::CopyFileA(image.c_str(), target.c_str(), FALSE)) {
        return false;
    }
    const HANDLE file = ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool flushed = file != INVALID_HANDLE_VALUE && ::FlushFileBuffers(file);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
    }
    return flushed;
}

// Median milliseconds of `runs` runs of `copy`, each starting with no `target` (removed untimed,
// as the safe copy starts by removing a leftover file); negative when a run fails.
double MedianMs(int runs, const std::string& target, const std::function<bool()>& copy) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        ::DeleteFileA(target.c_str());
        const auto start = std::chrono::steady_clock::now();
        if (!copy()) {
            return -1;
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp/updater-bench-win";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    ::CreateDirectoryA(WinePath(folder).c_str(), nullptr);
    if (!DefineWineDrive('E', folder, DRIVE_REMOVABLE)) {
        std::fprintf(stderr, "cannot map E: to %s\n", folder.c_str());
        return 1;
    }
    UpdaterContext context;
    std::printf("folder: %s as E:, median of %d runs\n", folder.c_str(), runs);
    std::printf("%-8s %12s %14s %14s %20s %12s\n", "image", "safe copy", "write+flush", "CopyFile+flush",
                "write+flush / durable", "whole / durable");
    int status = 0;
    for (const std::size_t mebibytes : {1u, 16u, 64u}) {
        const std::string image = "E:\\image-" + std::to_string(mebibytes) + ".rom";
        if (!WriteImage(image, mebibytes)) {
            std::fprintf(stderr, "cannot write %s\n", image.c_str());
            status = 1;
            break;
        }
        const TransferJob job{&context, nullptr, {image, "1.1.6E"}};
        const double whole =
            MedianMs(runs, "E:\\tolvr500.rom", [&] { return CopyImageToDrive(job, 'E').Succeeded(); });
        const double writeAndFlush = MedianMs(runs, "E:\\tolvr500.tmp", [&] {
            try {
                WriteImageCopy(image, "E:\\tolvr500.tmp");
                return true;
            } catch (const std::exception&) {
                return false;
            }
        });
        const double durable =
            MedianMs(runs, "E:\\durable.rom", [&] { return DurableCopy(image, "E:\\durable.rom"); });
        if (whole < 0 || writeAndFlush < 0 || durable < 0) {
            std::fprintf(stderr, "a copy of %zu MiB failed\n", mebibytes);
            status = 1;
            break;
        }
        std::printf("%3zu MiB  %9.1f ms %11.1f ms %11.1f ms %20.2f %12.2f\n", mebibytes, whole, writeAndFlush,
                    durable, durable / writeAndFlush, durable / whole);
        for (const char* name : {"E:\\tolvr500.rom", "E:\\tolvr500.tmp", "E:\\durable.rom"}) {
            ::DeleteFileA(name);
        }
        ::DeleteFileA(image.c_str());
    }
    RemoveWineDrive('E');
    if (status == 0 && !MeasurePoll(folder, runs)) {
        status = 1;
    }
    return status;
}
