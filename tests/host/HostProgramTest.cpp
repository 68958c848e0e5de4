// The host program's command line, scenario reading and exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "HostRun.h"
#include "Scenario.h"
#include "sim/os/Os.h"

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

TEST(HostProgram, ADroppedPathWithQuotesSpacesAndLettersOfAnyScriptReachesTheHostWhole) {
    const std::string odd = "/nonexistent/dir with \\\"quotes\\\" and \xC3\xA9\xE4\xB8\xAD " + std::string(280, 'x') + ".png";
    const Outcome o = RunHost("--lang keys -", "me me \"Me\"\nbuddy bob \"Bob\"\nopen person bob\ndrop \"" + odd +
                                                   "\"\nshow input\n");
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_NE(o.out.find("host files \"/nonexistent/dir with \\\"quotes\\\" and \xC3\xA9\xE4\xB8\xAD xxx"),
              std::string::npos)
        << o.out;
    EXPECT_NE(o.out.find("input: \n"), std::string::npos);
}

TEST(HostProgram, WindowPictureGoesWhereAskedOrSaysWhyNot) {
    const std::string dir = testing::TempDir() + "host-picture-" + std::to_string(sim::os::ProcessId());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string world = "me me \"Me\"\nbuddy bob \"Bob\"\n";

    Outcome none = RunHost("-", world + "show window " + dir + "/none.svg\n");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.out.find("error: 3: no chat window is open: use 'open'"), std::string::npos) << none.out;
    EXPECT_FALSE(std::filesystem::exists(dir + "/none.svg"));
    EXPECT_NE(RunHost("-", world + "open person bob\nshow window\n").out.find("error: 4: usage: show window <file.svg>"),
              std::string::npos);
    EXPECT_NE(RunHost("-", world + "open person bob\nshow window /no/such/dir/w.svg\n")
                  .out.find("error: 4: cannot write the picture into /no/such/dir/w.svg"),
              std::string::npos);

    // The picture, and at the end the snapshot's, of the window current then.
    Outcome shown = RunHost("--snapshot " + dir + " -", world + "open person bob\nreceive bob \"hello there\"\n"
                                                                "show window " + dir + "/bob.svg\ntype \"later\"\n");
    EXPECT_EQ(shown.status, 0) << shown.out;
    // The transcript escapes the backslashes of a Windows path.
    EXPECT_NE(shown.out.find("svg " + host::EscapeForTranscript(dir + "/bob.svg") + "\n"), std::string::npos)
        << shown.out;
    // Each file is closed again before the folder goes: Windows keeps an
    // open file from being removed.
    auto contents = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string first = contents(dir + "/bob.svg");
    const std::string last = contents(dir + "/window.svg");
    EXPECT_NE(first.find("hello there"), std::string::npos);
    EXPECT_EQ(first.find("later"), std::string::npos);
    EXPECT_NE(last.find("later"), std::string::npos);
    // The snapshot's texts are the transcript's bytes on every system.
    const std::string history = contents(dir + "/history.txt");
    EXPECT_NE(history.find("hello there\n"), std::string::npos) << history;
    EXPECT_EQ(history.find('\r'), std::string::npos) << history;
    std::filesystem::remove_all(dir);
}
