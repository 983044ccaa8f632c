// Throughput of the safe copy onto one volume against the platform's durable copy, for images of
// 1, 16 and 64 MiB: the whole safe copy (write, flush, verify, rename), its write-and-flush phase
// alone, its verification alone (the copy read back past the cache and compared with the image), `cp`
// followed by an fsync of the target, and a plain read/write loop followed by an fsync. Ends with the
// ratios (throughput of ours / durable copy) and the time of the verification beside the write's.
// The files go to $UPDATER_BENCH_DIR, or a fresh folder under the system's temporary directory.
#include "platform/Volumes.h"
#include "sim/system/SimMachine.h"
#include "transfer/SafeCopy.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::int64_t kMiB = 1 << 20;
constexpr std::size_t kLoopBufferBytes = 128 * 1024; // what cp uses for a plain copy

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        if (const char* chosen = std::getenv("UPDATER_BENCH_DIR")) {
            std::filesystem::create_directories(chosen);
            return std::filesystem::path(chosen);
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "updater-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        return std::filesystem::path(pattern);
    }();
    return folder;
}

bool FsyncFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    return synced;
}

// The image of `mebibytes` MiB, written and put on the medium once.
std::string Image(std::int64_t mebibytes) {
    const std::string path = (Folder() / ("image-" + std::to_string(mebibytes) + ".rom")).string();
    if (!std::filesystem::exists(path)) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::uint32_t state = 12345;
        std::vector<char> chunk(kMiB);
        for (std::int64_t i = 0; i < mebibytes; ++i) {
            for (char& byte : chunk) {
                state = state * 1664525u + 1013904223u;
                byte = static_cast<char>(state >> 24);
            }
            std::fwrite(chunk.data(), 1, chunk.size(), file);
        }
        std::fclose(file);
        FsyncFile(path);
    }
    return path;
}

// Every copy starts with no target file, as the safe copy starts by removing a leftover one; a
// file truncated in place costs the file system more than a new one, which would skew the ratios.
void RemoveUntimed(benchmark::State& state, const std::filesystem::path& target) {
    state.PauseTiming();
    std::filesystem::remove(target);
    state.ResumeTiming();
}

std::filesystem::path Player() {
    return Folder() / "E";
}

// Drive E: is a folder beside the image, so every copy stays on one volume.
void MapPlayer() {
    std::filesystem::create_directories(Player());
    platform::sim::ResetMachine();
    platform::sim::MapDrive('E', Player(), DRIVE_REMOVABLE);
}

void SafeCopy(benchmark::State& state) {
    MapPlayer();
    UpdaterContext context;
    const TransferJob job{&context, nullptr, {Image(state.range(0)), "1.1.6E"}};
    for (auto _ : state) {
        RemoveUntimed(state, Player() / kTargetFileName);
        const CopyOutcome outcome = CopyImageToDrive(job, 'E');
        if (!outcome.Succeeded()) {
            state.SkipWithError("the safe copy failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void WriteAndFlush(benchmark::State& state) {
    MapPlayer();
    const std::string image = Image(state.range(0));
    for (auto _ : state) {
        RemoveUntimed(state, Player() / kTemporaryFileName);
        WriteImageCopy(image, "E:\\tolvr500.tmp");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

// The copy stays, and each verification reads it from the medium again.
void Verify(benchmark::State& state) {
    MapPlayer();
    const std::string image = Image(state.range(0));
    WriteImageCopy(image, "E:\\tolvr500.tmp");
    for (auto _ : state) {
        if (!SameContent(image, "E:\\tolvr500.tmp")) {
            state.SkipWithError("the copy did not read back the same");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void CpThenFsync(benchmark::State& state) {
    std::string image = Image(state.range(0));
    std::string target = (Player() / "durable.rom").string();
    std::filesystem::create_directories(Player());
    char cp[] = "cp";
    char* arguments[] = {cp, image.data(), target.data(), nullptr};
    for (auto _ : state) {
        RemoveUntimed(state, target);
        pid_t child = 0;
        int status = 0;
        if (::posix_spawnp(&child, "cp", nullptr, nullptr, arguments, environ) != 0 ||
            ::waitpid(child, &status, 0) != child || status != 0 || !FsyncFile(target)) {
            state.SkipWithError("cp failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void ReadWriteLoopThenFsync(benchmark::State& state) {
    const std::string image = Image(state.range(0));
    const std::string target = (Player() / "durable.rom").string();
    std::filesystem::create_directories(Player());
    const auto buffer = std::make_unique<char[]>(kLoopBufferBytes);
    for (auto _ : state) {
        RemoveUntimed(state, target);
        const int from = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
        const int to = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool copied = from >= 0 && to >= 0;
        for (ssize_t got = 1; copied && got > 0;) {
            got = ::read(from, buffer.get(), kLoopBufferBytes);
            copied = got >= 0 && ::write(to, buffer.get(), static_cast<std::size_t>(got)) == got;
        }
        copied = copied && ::fsync(to) == 0;
        ::close(from);
        ::close(to);
        if (!copied) {
            state.SkipWithError("the read/write loop failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * kMiB);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1)
        ->Arg(16)
        ->Arg(64)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(SafeCopy)->Apply(Sizes);
BENCHMARK(WriteAndFlush)->Apply(Sizes);
BENCHMARK(Verify)->Apply(Sizes);
BENCHMARK(CpThenFsync)->Apply(Sizes);
BENCHMARK(ReadWriteLoopThenFsync)->Apply(Sizes);

// Keeps the median real time of each benchmark and size while printing as usual.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    MedianCollector() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name][std::stoll(run.run_name.args)] =
                    run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::map<std::int64_t, double>> medians;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::printf("folder: %s\n", Folder().c_str());
    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    auto& times = collector.medians;
    std::printf("\nthroughput ratio, ours / durable copy (median times; goals: write+flush >= 0.95, whole >= "
                "0.80)\n");
    std::printf("%-8s %18s %18s %18s %18s\n", "image", "write+flush / cp", "whole / cp", "write+flush / loop",
                "whole / loop");
    for (const std::int64_t size : {1, 16, 64}) {
        const auto ratio = [&](const char* ours, const char* durable) {
            const double oursTime = times[ours][size];
            return oursTime > 0 ? times[durable][size] / oursTime : 0.0;
        };
        std::printf("%3lld MiB  %18.2f %18.2f %18.2f %18.2f\n", static_cast<long long>(size),
                    ratio("WriteAndFlush", "CpThenFsync"), ratio("SafeCopy", "CpThenFsync"),
                    ratio("WriteAndFlush", "ReadWriteLoopThenFsync"),
                    ratio("SafeCopy", "ReadWriteLoopThenFsync"));
    }
    std::printf("\nverification beside the write (median times)\n%-8s %14s %14s %16s\n", "image",
                "write+flush", "verification", "verify / write");
    for (const std::int64_t size : {1, 16, 64}) {
        const double write = times["WriteAndFlush"][size];
        const double verify = times["Verify"][size];
        std::printf("%3lld MiB  %11.1f ms %11.1f ms %16.2f\n", static_cast<long long>(size), write, verify,
                    write > 0 ? verify / write : 0.0);
    }
    benchmark::Shutdown();
    return 0;
}
