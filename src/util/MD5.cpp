#include "util/MD5.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "sdk/platform_files.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace util {

namespace {

constexpr uint32_t RotateLeft(uint32_t x, uint32_t n) { return (x << n) | (x >> (32 - n)); }

// The shifts fix the byte order on any machine; compilers turn them into
// one load where the machine is little-endian.
inline uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::string ToHex(const uint8_t* bytes, size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
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
    m_bits = 0;
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
}

// The 64 steps written out, so that every shift, index and constant is a
// literal: picture files are digested before every send that carries them.
#define TAVI_MD5_STEP(f, a, b, c, d, x, s, t) \
    a += (x) + uint32_t(t);                    \
    a += f(b, c, d);                           \
    a = RotateLeft(a, s) + b
#define TAVI_MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
// The two halves of G share no bit, so adding them is the same as or-ing
// them and lets the processor compute them side by side.
#define TAVI_MD5_G(x, y, z) (((x) & (z)) + ((y) & ~(z)))
#define TAVI_MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define TAVI_MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))

void CMD5::Transform(const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];

    TAVI_MD5_STEP(TAVI_MD5_F, a, b, c, d, x[0], 7, 0xd76aa478);
    TAVI_MD5_STEP(TAVI_MD5_F, d, a, b, c, x[1], 12, 0xe8c7b756);
    TAVI_MD5_STEP(TAVI_MD5_F, c, d, a, b, x[2], 17, 0x242070db);
    TAVI_MD5_STEP(TAVI_MD5_F, b, c, d, a, x[3], 22, 0xc1bdceee);
    TAVI_MD5_STEP(TAVI_MD5_F, a, b, c, d, x[4], 7, 0xf57c0faf);
    TAVI_MD5_STEP(TAVI_MD5_F, d, a, b, c, x[5], 12, 0x4787c62a);
    TAVI_MD5_STEP(TAVI_MD5_F, c, d, a, b, x[6], 17, 0xa8304613);
    TAVI_MD5_STEP(TAVI_MD5_F, b, c, d, a, x[7], 22, 0xfd469501);
    TAVI_MD5_STEP(TAVI_MD5_F, a, b, c, d, x[8], 7, 0x698098d8);
    TAVI_MD5_STEP(TAVI_MD5_F, d, a, b, c, x[9], 12, 0x8b44f7af);
    TAVI_MD5_STEP(TAVI_MD5_F, c, d, a, b, x[10], 17, 0xffff5bb1);
    TAVI_MD5_STEP(TAVI_MD5_F, b, c, d, a, x[11], 22, 0x895cd7be);
    TAVI_MD5_STEP(TAVI_MD5_F, a, b, c, d, x[12], 7, 0x6b901122);
    TAVI_MD5_STEP(TAVI_MD5_F, d, a, b, c, x[13], 12, 0xfd987193);
    TAVI_MD5_STEP(TAVI_MD5_F, c, d, a, b, x[14], 17, 0xa679438e);
    TAVI_MD5_STEP(TAVI_MD5_F, b, c, d, a, x[15], 22, 0x49b40821);

    TAVI_MD5_STEP(TAVI_MD5_G, a, b, c, d, x[1], 5, 0xf61e2562);
    TAVI_MD5_STEP(TAVI_MD5_G, d, a, b, c, x[6], 9, 0xc040b340);
    TAVI_MD5_STEP(TAVI_MD5_G, c, d, a, b, x[11], 14, 0x265e5a51);
    TAVI_MD5_STEP(TAVI_MD5_G, b, c, d, a, x[0], 20, 0xe9b6c7aa);
    TAVI_MD5_STEP(TAVI_MD5_G, a, b, c, d, x[5], 5, 0xd62f105d);
    TAVI_MD5_STEP(TAVI_MD5_G, d, a, b, c, x[10], 9, 0x02441453);
    TAVI_MD5_STEP(TAVI_MD5_G, c, d, a, b, x[15], 14, 0xd8a1e681);
    TAVI_MD5_STEP(TAVI_MD5_G, b, c, d, a, x[4], 20, 0xe7d3fbc8);
    TAVI_MD5_STEP(TAVI_MD5_G, a, b, c, d, x[9], 5, 0x21e1cde6);
    TAVI_MD5_STEP(TAVI_MD5_G, d, a, b, c, x[14], 9, 0xc33707d6);
    TAVI_MD5_STEP(TAVI_MD5_G, c, d, a, b, x[3], 14, 0xf4d50d87);
    TAVI_MD5_STEP(TAVI_MD5_G, b, c, d, a, x[8], 20, 0x455a14ed);
    TAVI_MD5_STEP(TAVI_MD5_G, a, b, c, d, x[13], 5, 0xa9e3e905);
    TAVI_MD5_STEP(TAVI_MD5_G, d, a, b, c, x[2], 9, 0xfcefa3f8);
    TAVI_MD5_STEP(TAVI_MD5_G, c, d, a, b, x[7], 14, 0x676f02d9);
    TAVI_MD5_STEP(TAVI_MD5_G, b, c, d, a, x[12], 20, 0x8d2a4c8a);

    TAVI_MD5_STEP(TAVI_MD5_H, a, b, c, d, x[5], 4, 0xfffa3942);
    TAVI_MD5_STEP(TAVI_MD5_H, d, a, b, c, x[8], 11, 0x8771f681);
    TAVI_MD5_STEP(TAVI_MD5_H, c, d, a, b, x[11], 16, 0x6d9d6122);
    TAVI_MD5_STEP(TAVI_MD5_H, b, c, d, a, x[14], 23, 0xfde5380c);
    TAVI_MD5_STEP(TAVI_MD5_H, a, b, c, d, x[1], 4, 0xa4beea44);
    TAVI_MD5_STEP(TAVI_MD5_H, d, a, b, c, x[4], 11, 0x4bdecfa9);
    TAVI_MD5_STEP(TAVI_MD5_H, c, d, a, b, x[7], 16, 0xf6bb4b60);
    TAVI_MD5_STEP(TAVI_MD5_H, b, c, d, a, x[10], 23, 0xbebfbc70);
    TAVI_MD5_STEP(TAVI_MD5_H, a, b, c, d, x[13], 4, 0x289b7ec6);
    TAVI_MD5_STEP(TAVI_MD5_H, d, a, b, c, x[0], 11, 0xeaa127fa);
    TAVI_MD5_STEP(TAVI_MD5_H, c, d, a, b, x[3], 16, 0xd4ef3085);
    TAVI_MD5_STEP(TAVI_MD5_H, b, c, d, a, x[6], 23, 0x04881d05);
    TAVI_MD5_STEP(TAVI_MD5_H, a, b, c, d, x[9], 4, 0xd9d4d039);
    TAVI_MD5_STEP(TAVI_MD5_H, d, a, b, c, x[12], 11, 0xe6db99e5);
    TAVI_MD5_STEP(TAVI_MD5_H, c, d, a, b, x[15], 16, 0x1fa27cf8);
    TAVI_MD5_STEP(TAVI_MD5_H, b, c, d, a, x[2], 23, 0xc4ac5665);

    TAVI_MD5_STEP(TAVI_MD5_I, a, b, c, d, x[0], 6, 0xf4292244);
    TAVI_MD5_STEP(TAVI_MD5_I, d, a, b, c, x[7], 10, 0x432aff97);
    TAVI_MD5_STEP(TAVI_MD5_I, c, d, a, b, x[14], 15, 0xab9423a7);
    TAVI_MD5_STEP(TAVI_MD5_I, b, c, d, a, x[5], 21, 0xfc93a039);
    TAVI_MD5_STEP(TAVI_MD5_I, a, b, c, d, x[12], 6, 0x655b59c3);
    TAVI_MD5_STEP(TAVI_MD5_I, d, a, b, c, x[3], 10, 0x8f0ccc92);
    TAVI_MD5_STEP(TAVI_MD5_I, c, d, a, b, x[10], 15, 0xffeff47d);
    TAVI_MD5_STEP(TAVI_MD5_I, b, c, d, a, x[1], 21, 0x85845dd1);
    TAVI_MD5_STEP(TAVI_MD5_I, a, b, c, d, x[8], 6, 0x6fa87e4f);
    TAVI_MD5_STEP(TAVI_MD5_I, d, a, b, c, x[15], 10, 0xfe2ce6e0);
    TAVI_MD5_STEP(TAVI_MD5_I, c, d, a, b, x[6], 15, 0xa3014314);
    TAVI_MD5_STEP(TAVI_MD5_I, b, c, d, a, x[13], 21, 0x4e0811a1);
    TAVI_MD5_STEP(TAVI_MD5_I, a, b, c, d, x[4], 6, 0xf7537e82);
    TAVI_MD5_STEP(TAVI_MD5_I, d, a, b, c, x[11], 10, 0xbd3af235);
    TAVI_MD5_STEP(TAVI_MD5_I, c, d, a, b, x[2], 15, 0x2ad7d2bb);
    TAVI_MD5_STEP(TAVI_MD5_I, b, c, d, a, x[9], 21, 0xeb86d391);

    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

#undef TAVI_MD5_STEP
#undef TAVI_MD5_F
#undef TAVI_MD5_G
#undef TAVI_MD5_H
#undef TAVI_MD5_I

void CMD5::Update(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t used = size_t(m_bits / 8 % 64);
    m_bits += uint64_t(size) * 8;
    if (used) {
        const size_t take = std::min(size, 64 - used);
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
    if (!std::filesystem::is_regular_file(platform::FsPath(path), error)) return false;
    std::unique_ptr<FILE, FileCloser> file(platform::OpenFile(platform::FsPath(path), "rb"));
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
