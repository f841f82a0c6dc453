// Cost of writing a theme file key by key: the writer keeps the file in memory, so the cost per
// key should stay flat from 100 to 10,000 keys (compare the per-key times of the two runs).
#include "generator/ProfileWriter.h"
#include "platform/host/HostPlatform.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

void writeKeys(benchmark::State& state) {
    std::string pattern = std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    quorvel::HostPlatform platform(pattern);
    std::filesystem::create_directories(platform.hostPath("C:\\b"));
    const int keys = static_cast<int>(state.range(0));
    for (auto _ : state) {
        quorvel::ProfileWriter writer(platform, "C:\\b\\bench.theme");
        for (int i = 0; i < keys; ++i) {
            // Twenty keys per section, like the cursor section of a theme file.
            writer.write("Section " + std::to_string(i / 20), "Key" + std::to_string(i),
                         "%SystemRoot%\\resources\\Themes\\Bench\\Cursors\\file.cur");
        }
        benchmark::DoNotOptimize(writer.flush());
    }
    state.SetItemsProcessed(state.iterations() * keys);
    std::filesystem::remove_all(pattern);
}
BENCHMARK(writeKeys)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
