// Shared set-up of the UI framework tests: a fresh world with the
// project's skin folder registered, and scratch files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>


#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/os/Os.h"

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        GetUIRes()->AddResPath(u"" TAVI_SOURCE_DIR "/skin/", 0);
        m_dir = std::filesystem::temp_directory_path() /
                ("tavi-ui-" + std::to_string(sim::os::ProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
        sim::ResetAll();
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = m_dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    // A folder of its own, registered after the skin so that it wins.
    void AddScratchResources() { GetUIRes()->AddResPath(sim::ToWide(m_dir.string() + "/").c_str(), 0); }

    std::filesystem::path m_dir;
};
