// Log lines go to the SDK's logger only at an enabled level, named by the
// base name of their source file; trace lines only on an enabled channel.
#include <gtest/gtest.h>

#include "support/FreshWorld.h"
#include "util/LogRefusal.h"

namespace {

using LogTest = support::FreshWorldTest;

TEST_F(LogTest, LinesAtEnabledLevelsEndWithTheBaseNameOfTheirFile) {
    sim::SetLogLevel(util::kLogFailure);
    const std::pair<const char*, const char*> files[] = {
        {"src/a/File.cpp", "File.cpp"}, {"C:\\src\\Win.cpp", "Win.cpp"},
        {"C:\\mixed/dir\\Last.cpp", "Last.cpp"}, {"c:/mixed\\dir/End.cpp", "End.cpp"}, {"Bare.cpp", "Bare.cpp"}};
    for (const auto& [path, base] : files) util::LogLine(util::kLogFailure, path, 7, "n=%d %s", 3, "x");
    util::LogLine(util::kLogNormal, "Quiet.cpp", 1, "not at this level");
    const auto& lines = sim::LogLines();
    ASSERT_EQ(lines.size(), std::size(files));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, std::string("n=3 x\t[") + files[i].second + ":7]\n");
        EXPECT_EQ(lines[i].level, util::kLogFailure);
        EXPECT_EQ(lines[i].channel, "");
    }
}

TEST_F(LogTest, RefusalsAreLoggedWithTheirResultAndSuccessesNot) {
    sim::SetLogLevel(util::kLogNormal);
    for (int result : {0, 6, -1}) util::LogRefusal("src/Req.cpp", 9, "request refused: %d", result);
    std::vector<std::string> texts;
    for (const sim::LogEntry& line : sim::LogLines()) texts.push_back(line.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"request refused: 6\t[Req.cpp:9]\n", "request refused: -1\t[Req.cpp:9]\n"}));
}

TEST_F(LogTest, TraceLinesOnlyOnEnabledChannels) {
    util::TraceLine("send_msg", "dropped %d", 1);
    EXPECT_TRUE(sim::LogLines().empty());
    sim::EnableTraceChannel("send_msg");
    util::TraceLine("send_msg", "kept %d", 2);
    util::TraceLine("other", "dropped");
    ASSERT_EQ(sim::LogLines().size(), 1u);
    EXPECT_EQ(sim::LogLines()[0].channel, "send_msg");
    EXPECT_NE(sim::LogLines()[0].text.find("kept 2"), std::string::npos);
}

}  // namespace
