#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "sim/driver.h"
#include "util/MD5.h"
#include "util/Strings.h"

namespace {

// A file of its own per test process; tests may run side by side.
class MD5File : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        m_path = std::filesystem::temp_directory_path() /
                 ("tavi-md5-" + std::to_string(::getpid()) + "-" +
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
