// Our digest and text conversion side by side with the system's own, on
// the same data in the same run: the table at the end gives the ratios.
#include <benchmark/benchmark.h>

#include <iconv.h>
#include <openssl/evp.h>

#include <cstring>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "util/MD5.h"
#include "util/Strings.h"

namespace {

const std::string& DigestInput() {
    static const std::string bytes = [] {
        std::string b(size_t(bench::Size(256ll << 20, 1 << 16)), '\0');
        std::mt19937_64 random(7);
        for (size_t i = 0; i + 8 <= b.size(); i += 8) {
            const uint64_t v = random();
            std::memcpy(&b[i], &v, 8);
        }
        return b;
    }();
    return bytes;
}

void BM_MD5_Ours(benchmark::State& state) {
    const std::string& bytes = DigestInput();
    for (auto _ : state) benchmark::DoNotOptimize(util::CMD5::BufferDigest(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_MD5_Ours)->Unit(benchmark::kMillisecond);

void BM_MD5_OpenSSL(benchmark::State& state) {
    const std::string& bytes = DigestInput();
    for (auto _ : state) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_md5(), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_MD5_OpenSSL)->Unit(benchmark::kMillisecond);

// Chat text as people write it: runs of ASCII words, Chinese, accented
// letters and emoji, in random order.
const std::u16string& MixedWide() {
    static const std::u16string text = [] {
        const std::u16string pieces[] = {u"Hello, how are you doing today? ", u"\u4F60\u597D\uFF0C\u4ECA\u5929\u600E\u4E48\u6837\uFF1F",
                                         u"\U0001F600\U0001F44D ", u"caf\u00E9 cr\u00E8me ", u"ok ", u"\u6536\u5230\u3002 "};
        std::mt19937 random(11);
        std::u16string t;
        const size_t units = size_t(bench::Size(8 << 20, 1 << 12));
        while (t.size() < units) t += pieces[random() % std::size(pieces)];
        return t;
    }();
    return text;
}
const std::string& MixedUtf8() {
    static const std::string text = util::WideToUtf8(MixedWide());
    return text;
}

// iconv into a buffer made once: the peer pays for no allocation, we do.
size_t Iconv(iconv_t cd, const char* in, size_t inSize, std::string& out) {
    char* src = const_cast<char*>(in);
    char* dst = out.data();
    size_t left = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv(cd, &src, &inSize, &dst, &left);
    return out.size() - left;
}

void BM_ToUtf8_Ours(benchmark::State& state) {
    const std::u16string& text = MixedWide();
    for (auto _ : state) benchmark::DoNotOptimize(util::WideToUtf8(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_ToUtf8_Ours)->Unit(benchmark::kMillisecond);

void BM_ToUtf8_Iconv(benchmark::State& state) {
    const std::u16string& text = MixedWide();
    iconv_t cd = iconv_open("UTF-8", "UTF-16LE");
    std::string out(text.size() * 3, '\0');
    for (auto _ : state) {
        benchmark::DoNotOptimize(Iconv(cd, reinterpret_cast<const char*>(text.data()), text.size() * 2, out));
    }
    iconv_close(cd);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_ToUtf8_Iconv)->Unit(benchmark::kMillisecond);

void BM_ToWide_Ours(benchmark::State& state) {
    const std::string& text = MixedUtf8();
    for (auto _ : state) benchmark::DoNotOptimize(util::Utf8ToWide(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ToWide_Ours)->Unit(benchmark::kMillisecond);

void BM_ToWide_Iconv(benchmark::State& state) {
    const std::string& text = MixedUtf8();
    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    std::string out(text.size() * 2, '\0');
    for (auto _ : state) benchmark::DoNotOptimize(Iconv(cd, text.data(), text.size(), out));
    iconv_close(cd);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ToWide_Iconv)->Unit(benchmark::kMillisecond);

}  // namespace
