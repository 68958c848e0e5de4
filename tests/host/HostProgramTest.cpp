// The host program's command line, scenario reading and exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include "Scenario.h"

namespace {

struct Outcome {
    int status;
    std::string out;
};

// Runs tavi-host with the given arguments and standard input.
Outcome RunHost(const std::string& args, const std::string& input) {
    // Tests run in parallel: each call has an input file of its own.
    static int calls = 0;
    const std::string inputFile =
        testing::TempDir() + "host-input-" + std::to_string(getpid()) + "-" + std::to_string(++calls) + ".txt";
    std::ofstream(inputFile) << input;
    const std::string command = std::string(TAVI_BIN_DIR) + "/tavi-host " + args + " < " + inputFile + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    return {WEXITSTATUS(status), out};
}

}  // namespace

TEST(HostLineReader, SplitsWordsQuotesAndComments) {
    auto line = host::ParseLine(R"(type "a \"b\"\n\u{1F600}" x  # comment)");
    ASSERT_TRUE(line.error.empty()) << line.error;
    ASSERT_EQ(line.words.size(), 3u);
    EXPECT_EQ(line.words[0].text, "type");
    EXPECT_EQ(line.words[1].text, "a \"b\"\n\xF0\x9F\x98\x80");
    EXPECT_TRUE(line.words[1].quoted);
    EXPECT_EQ(line.words[2].text, "x");
    EXPECT_TRUE(host::ParseLine("   # only a comment").words.empty());
}

TEST(HostLineReader, RefusesBrokenQuotesAndEscapes) {
    EXPECT_FALSE(host::ParseLine(R"(type "open)").error.empty());
    EXPECT_FALSE(host::ParseLine(R"(type "\q")").error.empty());
    EXPECT_FALSE(host::ParseLine(R"(type "\u{D800}")").error.empty());
    EXPECT_FALSE(host::ParseLine(R"(type "\u{110000}")").error.empty());
    EXPECT_FALSE(host::ParseLine(R"(type "\u{41")").error.empty());
    EXPECT_FALSE(host::ParseLine(R"(type "a"b)").error.empty());
}

TEST(HostLineReader, TranscriptEscapesControlCharacters) {
    EXPECT_EQ(host::EscapeForTranscript("a\nb\\c\td\x7F\xC3\xA9"), "a\\nb\\\\c\\u{9}d\\u{7F}\xC3\xA9");
    EXPECT_EQ(host::ParseNumber("-12"), -12);
    EXPECT_FALSE(host::ParseNumber("12x").has_value());
    EXPECT_FALSE(host::ParseNumber("").has_value());
}

TEST(HostProgram, ExitCodesFollowTheOutcome) {
    EXPECT_EQ(RunHost("-", "wait 10\n").status, 0);
    Outcome bad = RunHost("-", "wait 10\n\nfrobnicate 3\nwait 1\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find("error: 3: unknown command 'frobnicate'"), std::string::npos) << bad.out;
    EXPECT_EQ(RunHost("-", "wait soon\n").status, 1);
    EXPECT_EQ(RunHost("--lang fr", "").status, 2);
    EXPECT_EQ(RunHost("a.scn b.scn", "").status, 2);
    EXPECT_EQ(RunHost("/no/such/scenario.scn", "").status, 1);
}

TEST(HostProgram, DemoRunsToItsEnd) { EXPECT_EQ(RunHost("", "").status, 0); }

TEST(HostProgram, InputToolCommandsRefuseWhatCannotRun) {
    const std::string world = "me me \"Me\"\nbuddy bob \"Bob\"\nopen person bob\n";
    const auto errorLine = [&](const std::string& command) {
        const Outcome outcome = RunHost("--lang keys -", world + command + "\n");
        EXPECT_EQ(outcome.status, 1) << command;
        return outcome.out.find("error: 4:") != std::string::npos;
    };
    EXPECT_TRUE(errorLine("pick recent-fonts 1"));  // not showing
    EXPECT_TRUE(errorLine("pick menus 1"));
    EXPECT_TRUE(errorLine("color 12345"));
    EXPECT_TRUE(errorLine("select fontface \"Arial\""));  // the bar is closed
    EXPECT_TRUE(errorLine("hover nothing"));
    const Outcome pref = RunHost("--lang keys -", world + "show pref SystemInfo.None\nshow font-bar\n");
    EXPECT_NE(pref.out.find("pref SystemInfo.None=<unset>"), std::string::npos);
    EXPECT_NE(pref.out.find("font-bar closed"), std::string::npos);
}
