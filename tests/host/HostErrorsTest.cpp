// What the host program says when a line cannot run: one line
// "error: <line>: <reason>" that a person understands, whatever the file held.
#include <gtest/gtest.h>

#include <string>

#include "HostRun.h"
#include "Scenario.h"

namespace {

const std::string kWorld = "me me \"Me\"\nbuddy bob \"Bob\"\nbuddy carol \"Carol\"\ngroup g1 \"Team\" bob\n";

// The error line of the commands played after the world; the world takes lines 1-4.
std::string ErrorAfterWorld(const std::string& commands) {
    const Outcome outcome = RunHost("--lang keys -", kWorld + commands);
    EXPECT_EQ(outcome.status, 1) << outcome.out;
    return ErrorOf(outcome);
}

}  // namespace

TEST(HostErrors, EveryRefusedLineSaysWhatIsWrongAndWhatToDo) {
    // The commands after the world, and how their error line starts.
    const std::pair<const char*, const char*> cases[] = {
        // Opening: who is unknown and what to do.
        {"open person nobody\n", "error: 5: there is no one with the id 'nobody': add them with 'buddy nobody \"<name>\"'\n"},
        {"open group bob\n", "error: 5: there is no group 'bob': make one with 'group bob \"<name>\" <member-id>...'\n"},
        {"open person g1\n", "error: 5: 'g1' is a group: use 'open group g1'\n"},
        {"open email nobody\n", "error: 5: there is no one with the id 'nobody'"},
        {"open chat bob\n", "error: 5: unknown window kind 'chat': person, group, adhoc or email\n"},
        // A sender must belong to the conversation.
        {"open person bob\nreceive carol \"hi\"\n",
         "error: 6: 'carol' is not in the chat with 'bob': only 'bob' or 'me' can write here\n"},
        {"open group g1\nreceive carol \"hi\"\n", "error: 6: 'carol' is not a member of the group 'g1'\n"},
        {"open person bob\nreceive-body carol text/plain \"hi\"\n",
         "error: 6: 'carol' is not in the chat with 'bob': only 'bob' or 'me' can write here\n"},
        // Unknown names list the valid ones.
        {"open person bob\nsmiley nosuch\n", "error: 6: there is no smiley 'nosuch': one of smile, laugh,"},
        {"show histroy\n", "error: 5: unknown 'show' subcommand 'histroy': one of attr, "},
        {"show\n", "error: 5: 'show' needs one of: attr, "},
        {"\"show\" history\n", "error: 5: unknown command 'show': 'help' lists the commands\n"},
        // Window commands say what is missing.
        {"switch bob\n", "error: 5: no window of 'bob' is open: 'windows' lists them, 'open' opens one\n"},
        {"open person bob\nopen email bob\nswitch bob\n",
         "error: 7: 'bob' has several windows: say which with 'switch bob <kind>'\n"},
        {"open person bob\nswitch bob chat\n", "error: 6: unknown window kind 'chat': person, group, adhoc or email\n"},
        {"more\n", "error: 5: no chat window is open: use 'open'\n"},
        {"open person bob\nmore\n", "error: 6: there are no older messages to show\n"},
        {"close\n", "error: 5: no chat window is open: use 'open'\n"},
        // Input tools that are not showing.
        {"open person bob\npick recent-fonts 1\n", "error: 6: "},
        {"open person bob\npick menus 1\n", "error: 6: "},
        {"open person bob\ncolor 12345\n", "error: 6: "},
        {"open person bob\nselect fontface \"Arial\"\n", "error: 6: "},
        {"open person bob\nhover nothing\n", "error: 6: "},
        // Pictures and services.
        {"drop a.png\n", "error: 5: no chat window is open: use 'open'\n"},
        {"open person bob\nhover history 77\n", "error: 6: the history shows no item 77\n"},
        {"open person bob\nreceive bob \"hi\"\nhover history 1000\n", "error: 7: the item 1000 shows no picture\n"},
        {"open person bob\ntool save\n", "error: 6: the image tool bar is not showing: use 'hover history <id>'\n"},
        {"open person bob\ntool frob\n", "error: 6: usage: tool save|edit|addface|decode\n"},
        {"open person bob\ndblclick input\n", "error: 6: the input holds no picture\n"},
        {"service camera on\n", "error: 5: usage: service email|adhoc|photo|face-browser|recent-photos on|off\n"},
    };
    for (const auto& [commands, error] : cases) {
        const std::string line = ErrorAfterWorld(commands);
        EXPECT_EQ(line.substr(0, std::string(error).size()), error) << commands;
    }
    EXPECT_NE(ErrorAfterWorld("show histroy\n").find(" history, input, "), std::string::npos);
}

TEST(HostErrors, WhatIsAllowedRunsToTheEnd) {
    // Whoever is known opens: a buddy as a person, ad-hoc or e-mail chat, a
    // group as a group or ad-hoc chat; the peer, a member and the user's own
    // other device may write; every smiley of the list is known.
    const Outcome fine = RunHost("--lang keys -", kWorld +
                                                      "open adhoc g1\nopen adhoc bob\nopen email bob\n"
                                                      "open person bob\nreceive bob \"a\"\nreceive me \"b\"\nsmiley wink\n"
                                                      "open group g1\nreceive bob \"c\"\nshow history\n"
                                                      "show pref SystemInfo.None\nshow font-bar\n");
    EXPECT_EQ(fine.status, 0) << fine.out;
    EXPECT_NE(fine.out.find("msg bob: c"), std::string::npos) << fine.out;
    EXPECT_NE(fine.out.find("pref SystemInfo.None=<unset>"), std::string::npos);
    EXPECT_NE(fine.out.find("font-bar closed"), std::string::npos);
}

TEST(HostErrors, FilesFromOtherSystemsAndBinaryGarbageReadCleanly) {
    // A byte order mark and Windows line ends are no part of the commands.
    const Outcome crlf = RunHost("--lang keys -", "\xEF\xBB\xBFme me \"Me\"\r\nbuddy bob \"Bob\"\r\nopen person bob\r\n"
                                                  "type \"a\"\r\nshow input\r\n");
    EXPECT_EQ(crlf.status, 0) << crlf.out;
    EXPECT_EQ(crlf.out, "input: a\n");
    // Control bytes, bytes that are not UTF-8 and NUL bytes show escaped, and the line goes on to its end.
    const Outcome garbage = RunHost("-", std::string("frob\x01\xFF\xC3", 7) + std::string(1, '\0') + "tail \"x\"\n");
    EXPECT_EQ(garbage.out, "error: 1: unknown command 'frob\\u{1}\\x{FF}\\x{C3}\\u{0}tail': 'help' lists the commands\n");
    // A byte order mark counts only before the first line.
    EXPECT_EQ(RunHost("-", "wait 1\n\xEF\xBB\xBFwait 1\n").status, 1);
}

TEST(HostText, ErrorLinesEscapeWhatATerminalCannotShow) {
    EXPECT_EQ(host::EscapeForError("a\\b\n\x7F\xC3\xA9\xE2\x82"), "a\\b\\n\\u{7F}\xC3\xA9\\x{E2}\\x{82}");
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    EXPECT_EQ(host::EscapeForError("\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"),
              "\\x{C0}\\x{AF}\\x{ED}\\x{A0}\\x{80}\\x{F4}\\x{90}\\x{80}\\x{80}");
    EXPECT_EQ(host::EscapeForError("\xF0\x9F\x98\x80\xEF\xBF\xBF\xDF\xBF"), "\xF0\x9F\x98\x80\xEF\xBF\xBF\xDF\xBF");
    EXPECT_EQ(host::EscapeForTranscript("\\\xFF"), "\\\\\\x{FF}");
}

TEST(HostText, LongTextsAreShortenedWithTheirLength) {
    EXPECT_EQ(host::Columns("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), 4u);
    EXPECT_EQ(host::Shorten("short", 5), "short");
    const std::string text(30, 'x');
    const std::string shortened = host::Shorten(text, 20);
    EXPECT_EQ(shortened, "xxx\xE2\x80\xA6 (30 characters)");
    EXPECT_EQ(host::Columns(shortened), 20u);
    // Characters are never cut in the middle.
    EXPECT_EQ(host::Shorten(std::string(10, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9" + std::string(20, 'b'), 22),
              "aaaaa\xE2\x80\xA6 (33 characters)");
    EXPECT_EQ(host::Shorten("\xC3\xA9\xC3\xA9" + std::string(30, 'b'), 19), "\xC3\xA9\xC3\xA9\xE2\x80\xA6 (32 characters)");
}
