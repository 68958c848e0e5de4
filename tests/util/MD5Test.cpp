#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
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

TEST_F(MD5File, FilesOfAnySizeMatchTheirBufferDigest) {
    for (size_t size : {size_t(0), size_t(65536), size_t(65537), size_t(16 * 65536 + 123)}) {
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

TEST(MD5, PaddingAtEveryBlockBoundaryMatchesKnownDigests) {
    // Lengths around the 56 bytes that still leave room for the length, and
    // around one and two whole blocks.
    const std::pair<size_t, const char*> known[] = {
        {55, "52c0e574e1198de5fe3f8f11440dcb1b"},  {56, "46c9907fc908ee68b1e7b8e71286a518"},
        {57, "1c805dd236c35cab25fcb1bc73802c51"},  {63, "a62f6d59e837867693f042f5b8f5a236"},
        {64, "7160b8fb5e9e4023d549c3971fbaeead"},  {65, "70bd662e7aefbda85a0f7244167b7897"},
        {119, "e84905d4214f4d1ca56c2cdcc152b143"}, {120, "e3eb5a6c8669ea01a8c185b8abc8a5dc"},
        {128, "10b2da1a82f16d99a81a7203fe9f02cb"},
    };
    for (const auto& [size, digest] : known) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = char((i * 7 + 3) & 0xFF);
        EXPECT_EQ(util::CMD5::BufferDigest(bytes), digest) << size;
    }
}
