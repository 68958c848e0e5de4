// Picture files are digested before every send that carries them, so the
// digest must keep up with large photos.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "util/MD5.h"
#include "util/Strings.h"

namespace {

constexpr size_t kSize = 4 << 20;

std::string RandomBytes() {
    std::mt19937 random(7);
    std::string bytes(kSize, '\0');
    for (char& c : bytes) c = char(random());
    return bytes;
}

void BM_MD5Buffer(benchmark::State& state) {
    const std::string bytes = RandomBytes();
    for (auto _ : state) benchmark::DoNotOptimize(util::CMD5::BufferDigest(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}
BENCHMARK(BM_MD5Buffer);

void BM_MD5File(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / ("tavi-md5-bench-" + std::to_string(::getpid()));
    const std::string bytes = RandomBytes();
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    const std::u16string widePath = util::Utf8ToWide(path.string());
    for (auto _ : state) benchmark::DoNotOptimize(util::MD5Encode(widePath));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
    std::filesystem::remove(path);
}
BENCHMARK(BM_MD5File);

}  // namespace
