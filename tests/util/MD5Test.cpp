#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sim/driver.h"
#include "sim/os/Os.h"
#include "util/MD5.h"
#include "util/Strings.h"

namespace {

// A file of its own per test process; tests may run side by side.
class MD5File : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        m_path = std::filesystem::temp_directory_path() /
                 ("tavi-md5-" + std::to_string(sim::os::ProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { std::filesystem::remove(m_path); }

    std::u16string Write(const std::string& bytes) {
        std::ofstream(m_path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return util::Utf8ToWide(m_path.string());
    }
    static std::string RandomBytes(size_t size) {
        std::mt19937 random(size);
        std::string bytes(size, '\0');
        for (char& c : bytes) c = char(random());
        return bytes;
    }

    std::filesystem::path m_path;
};

}  // namespace

TEST(MD5, RfcTestSuite) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [input, digest] : vectors) EXPECT_EQ(util::CMD5::BufferDigest(input), digest) << input;
}

TEST(MD5, PiecewiseUpdatesMatchOneBuffer) {
    const std::string text(200, 'x');
    util::CMD5 md5;
    // Pieces that straddle block boundaries in every way.
    for (size_t at = 0, step = 1; at < text.size(); at += step, step = step * 3 % 67 + 1)
        md5.Update(text.data() + at, std::min(step, text.size() - at));
    EXPECT_EQ(md5.FinalHex(), util::CMD5::BufferDigest(text));
    EXPECT_EQ(md5.FinalHex(), util::CMD5::BufferDigest(""));  // Final starts afresh
}

TEST_F(MD5File, EmptyFile) { EXPECT_EQ(util::MD5Encode(Write("")), "d41d8cd98f00b204e9800998ecf8427e"); }

TEST_F(MD5File, FilesAroundOneChunkAndLarge) {
    for (size_t size : {size_t(65536), size_t(65537), size_t(16 * 65536 + 123)}) {
        const std::string bytes = RandomBytes(size);
        EXPECT_EQ(util::MD5Encode(Write(bytes)), util::CMD5::BufferDigest(bytes)) << size;
    }
}

TEST_F(MD5File, UnreadablePathsLeaveOutputAlone) {
    EXPECT_EQ(util::MD5Encode(util::Utf8ToWide(m_path.string())), "");
    EXPECT_EQ(util::MD5Encode(util::Utf8ToWide(std::filesystem::temp_directory_path().string())), "");
    char out[33] = "unchanged";
    util::CMD5 md5;
    EXPECT_FALSE(md5.FileDigest(nullptr, out));
    EXPECT_FALSE(md5.FileDigest(u"/no/such/file", out));
    EXPECT_STREQ(out, "unchanged");
}

namespace {

// A second digest, written the textbook way (one loop over the 64 steps),
// so that a wrong constant or index in the written-out steps shows.
std::string TextbookDigest(const std::string& message) {
    static const uint32_t shifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
    static const std::vector<uint32_t> k = [] {
        std::vector<uint32_t> sines(64);
        for (int i = 0; i < 64; ++i) sines[size_t(i)] = uint32_t(std::floor(std::fabs(std::sin(double(i + 1))) * 4294967296.0));
        return sines;
    }();
    std::string data = message;
    const uint64_t bits = uint64_t(message.size()) * 8;
    data += char(0x80);
    while (data.size() % 64 != 56) data += char(0);
    for (int i = 0; i < 8; ++i) data += char(bits >> (8 * i));
    uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t at = 0; at < data.size(); at += 64) {
        uint32_t m[16];
        for (int i = 0; i < 16; ++i) {
            m[i] = 0;
            for (int b = 3; b >= 0; --b) m[i] = m[i] << 8 | static_cast<unsigned char>(data[at + size_t(4 * i + b)]);
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            uint32_t f;
            int g;
            switch (i / 16) {
                case 0: f = (b & c) | (~b & d); g = i; break;
                case 1: f = (d & b) | (~d & c); g = (5 * i + 1) % 16; break;
                case 2: f = b ^ c ^ d; g = (3 * i + 5) % 16; break;
                default: f = c ^ (b | ~d); g = (7 * i) % 16; break;
            }
            const uint32_t s = shifts[i / 16][i % 4];
            const uint32_t sum = a + f + k[i] + m[g];
            a = d;
            d = c;
            c = b;
            b = b + ((sum << s) | (sum >> (32 - s)));
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d;
    }
    std::string hex;
    for (uint32_t word : h) {
        for (int i = 0; i < 4; ++i) {
            char byte[3];
            std::snprintf(byte, sizeof(byte), "%02x", unsigned(word >> (8 * i)) & 0xFF);
            hex += byte;
        }
    }
    return hex;
}

}  // namespace

TEST(MD5, AMillionRandomBuffersMatchATextbookDigest) {
    // Windows of every length up to two blocks and a half, at every
    // alignment, into a pool of random bytes.
    std::mt19937 random(1321);
    std::string pool(1 << 20, '\0');
    for (char& c : pool) c = char(random());
    for (int round = 0; round < 1000000; ++round) {
        const size_t size = random() % 160, at = random() % (pool.size() - size);
        const std::string_view bytes(pool.data() + at, size);
        ASSERT_EQ(util::CMD5::BufferDigest(bytes), TextbookDigest(std::string(bytes))) << "size " << size << " at " << at;
    }
}
