// The operating system under the stand-in: modules and their files, file
// names in any script, copies, the shell, and paths that are no text.
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/UiTestSupport.h"
#include "sdk/msg_services.h"
#include "sdk/platform_files.h"
#include "sdk/win32.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/os/Os.h"
#include "util/MD5.h"
#include "util/Strings.h"

namespace {

class OsTest : public UiTest {
protected:
    // A file named in UTF-16, written with the given bytes.
    std::u16string Write(const std::u16string& name, const std::string& bytes) {
        const std::u16string path = m_dir.u16string() + u"/" + name;
        std::ofstream(platform::FsPath(path), std::ios::binary) << bytes;
        return path;
    }
};

// Latin with an accent, CJK, and an emoji of two UTF-16 units.
const std::u16string kWorldName = u"caf\u00e9 \u804a\u5929 \U0001F600.png";

TEST_F(OsTest, FileNamesInAnyScriptReachTheFileSystemWhole) {
    const std::u16string path = Write(kWorldName, "abc");
    // The folder lists the very name that was written.
    std::u16string listed;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) listed = entry.path().filename().u16string();
    EXPECT_EQ(listed, kWorldName);
    EXPECT_EQ(platform::PathText(platform::FsPath(path).filename()), util::WideToUtf8(kWorldName));
    EXPECT_EQ(platform::FsPath(util::WideToUtf8(path)), platform::FsPath(path));

    std::FILE* file = platform::OpenFile(platform::FsPath(path), "rb");
    ASSERT_NE(file, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof(bytes), file), 3u);
    std::fclose(file);
    EXPECT_EQ(std::string(bytes), "abc");
    // The component reads the same file by its UTF-16 name.
    EXPECT_EQ(util::MD5Encode(path), "900150983cd24fb0d6963f7d28e17f72");
}

TEST_F(OsTest, CopiesFollowTheSystemAndRefuseWhatIsNoRegularFile) {
    const std::u16string from = Write(kWorldName, "picture");
    const std::u16string to = m_dir.u16string() + u"/\u526f\u672c.png";
    EXPECT_TRUE(CopyFileW(from.c_str(), to.c_str(), true));
    EXPECT_FALSE(CopyFileW(from.c_str(), to.c_str(), true));  // there already
    EXPECT_TRUE(CopyFileW(from.c_str(), to.c_str(), false));
    EXPECT_FALSE(CopyFileW(m_dir.u16string().c_str(), to.c_str(), false));  // a folder
    EXPECT_FALSE(CopyFileW((m_dir.u16string() + u"/missing.png").c_str(), to.c_str(), false));
    EXPECT_FALSE(CopyFileW(u"/dev/zero", to.c_str(), false));  // endless
    EXPECT_FALSE(CopyFileW(nullptr, to.c_str(), false));
    std::ifstream copied(platform::FsPath(to), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), "picture");
    ASSERT_EQ(sim::FileCopies().size(), 6u);
    EXPECT_FALSE(sim::FileCopies()[3].ok);
}

TEST_F(OsTest, TextThatIsNoUtf16NamesNoFile) {
    // A lone surrogate: Windows keeps the unit as it is, elsewhere there is
    // no such name, and nothing throws either way.
    const std::u16string lone = m_dir.u16string() + u"/a\xD800.png";
    std::error_code error;
    EXPECT_FALSE(std::filesystem::exists(platform::FsPath(lone), error));
    EXPECT_EQ(util::MD5Encode(lone), "");
    EXPECT_EQ(platform::OpenFile(platform::FsPath(std::string("\xC3(bad")), "rb"), nullptr);
}

TEST(OsPaths, RootedPathsAreTheSystemsOwnAndRelativeOnesAreNot) {
    // The temporary folder is named from its root on every system.
    EXPECT_TRUE(platform::IsRootedPath(platform::PathText(std::filesystem::temp_directory_path())));
    EXPECT_TRUE(platform::IsRootedPath("/x/y.png"));
    for (const char* relative : {"", "y.png", "./y.png", "../x/y.png", "x/y.png"}) {
        EXPECT_FALSE(platform::IsRootedPath(relative)) << relative;
    }
#if defined(_WIN32)
    for (const char* rooted : {"C:\\x\\y.png", "c:/x", "C:y.png", "\\\\server\\share\\y.png", "\\x"}) {
        EXPECT_TRUE(platform::IsRootedPath(rooted)) << rooted;
    }
    EXPECT_FALSE(platform::IsRootedPath("x\\y.png"));
#else
    // A drive letter means nothing here: it is a file name like any other.
    EXPECT_FALSE(platform::IsRootedPath("C:\\x\\y.png"));
#endif
}

TEST(OsModules, AModuleKnowsItsFileAndAMissingOneSaysWhy) {
    // This test program holds this test's code, as the module holds its own.
    void* module = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&kWorldName));
    ASSERT_NE(module, nullptr);
    const std::u16string file = GetModuleFileNameW(module);
    const std::u16string name = file.substr(file.find_last_of(u"\\/") + 1);
    EXPECT_EQ(name.rfind(u"tavi_tests", 0), 0u) << sim::ToUtf8(file);
    EXPECT_TRUE(std::filesystem::is_regular_file(platform::FsPath(file)));
    EXPECT_EQ(GetModuleHandleFromAddress(nullptr), nullptr);
    EXPECT_EQ(GetModuleFileNameW(nullptr), u"");

    std::string error;
    EXPECT_EQ(sim::os::OpenModule(u"" TAVI_BIN_DIR "/no-such-module.dll", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(sim::os::FindSymbol(nullptr, "CreateDllObj"), nullptr);
    sim::os::CloseModule(nullptr);
}

TEST(OsShell, ShellCallsAreRecordedAndReachTheSystemOnlyWhenAsked) {
    sim::ResetAll();
    // Nothing of the system runs: the call is recorded and answered.
    EXPECT_TRUE(ShellExecuteW(nullptr, u"open", u"explorer.exe", u"/select,\"x\"", nullptr, SW_SHOWNORMAL));
    EXPECT_FALSE(ShellExecuteW(nullptr, u"open", nullptr, nullptr, nullptr, SW_SHOWNORMAL));
    ASSERT_EQ(sim::AppCalls().size(), 2u);
    EXPECT_EQ(sim::AppCalls()[0], "shell open explorer.exe /select,\"x\" show=1");
    // A file no shell can open is refused once the system answers.
    sim::PassShellCallsToSystem(true);
    EXPECT_FALSE(ShellExecuteW(nullptr, u"frobnicate", u"/no/such/file.none", nullptr, nullptr, SW_SHOWNORMAL));
    sim::ResetAll();
}

}  // namespace
