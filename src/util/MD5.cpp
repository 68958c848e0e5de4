#include "util/MD5.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "util/Log.h"
#include "util/Strings.h"

namespace util {

namespace {

// Per-round shift amounts and the constants floor(abs(sin(i + 1)) * 2^32).
constexpr uint32_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr uint32_t RotateLeft(uint32_t x, uint32_t n) { return (x << n) | (x >> (32 - n)); }

uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::string ToHex(const uint8_t* bytes, size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 0x0F]);
    }
    return text;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

CMD5::CMD5() { Reset(); }
CMD5::~CMD5() = default;

void CMD5::Reset() {
    std::memset(m_block, 0, sizeof(m_block));
    m_bits = 0;
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
}

void CMD5::Transform(const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (uint32_t i = 0; i < 64; ++i) {
        uint32_t f, g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (b & d) | (c & ~d);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t rotated = b + RotateLeft(a + f + kSine[i] + x[g], kShift[i]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void CMD5::Update(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t used = size_t(m_bits / 8 % 64);
    m_bits += uint64_t(size) * 8;
    if (used) {
        const size_t take = size < 64 - used ? size : 64 - used;
        std::memcpy(m_block + used, bytes, take);
        bytes += take;
        size -= take;
        used += take;
        if (used < 64) return;
        Transform(m_block);
    }
    for (; size >= 64; bytes += 64, size -= 64) Transform(bytes);
    if (size) std::memcpy(m_block, bytes, size);
}

void CMD5::Final(uint8_t digest[kDigestSize]) {
    uint8_t length[8];
    for (int i = 0; i < 8; ++i) length[i] = uint8_t(m_bits >> (8 * i));
    // 0x80, then zeros up to 56 bytes modulo 64, then the length in bits.
    static constexpr uint8_t kPadding[64] = {0x80};
    const size_t used = size_t(m_bits / 8 % 64);
    Update(kPadding, used < 56 ? 56 - used : 120 - used);
    Update(length, sizeof(length));
    for (int i = 0; i < 4; ++i) StoreLE32(digest + 4 * i, m_state[i]);
    Reset();
}

std::string CMD5::FinalHex() {
    uint8_t digest[kDigestSize];
    Final(digest);
    return ToHex(digest, sizeof(digest));
}

std::string CMD5::BufferDigest(const void* data, size_t size) {
    CMD5 md5;
    md5.Update(data, size);
    return md5.FinalHex();
}

bool CMD5::FileDigest(const char16_t* path, char out[33]) {
    if (!path || !out) return false;
    // A device or a pipe would never end, or never open: only files are read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(WideToUtf8(path)), error)) return false;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(WideToUtf8(path).c_str(), "rb"));
    if (!file) return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0 || std::ftell(file.get()) < 0) return false;
    std::rewind(file.get());

    Reset();
    std::vector<uint8_t> chunk(kFileChunk);
    for (;;) {
        const size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        if (got == 0) break;
        Update(chunk.data(), got);
    }
    // A folder opens but does not read; it has no content to name.
    if (std::ferror(file.get())) {
        Reset();
        return false;
    }
    const std::string hex = FinalHex();
    std::memcpy(out, hex.c_str(), hex.size() + 1);
    return true;
}

std::string MD5Encode(const std::u16string& path) {
    TAVI_SCOPE("MD5Encode");
    char digest[33];
    CMD5 md5;
    if (!md5.FileDigest(path.c_str(), digest)) {
        TAVI_LOG_FAIL("MD5Encode: cannot read %s", WideToUtf8(path).c_str());
        return std::string();
    }
    return digest;
}

}  // namespace util
