// Moving between chats in the host program: one window per chat, the
// current one, what becomes current when it closes, and drafts and tips
// that outlive a window.
#include <gtest/gtest.h>

#include <string>

#include "HostRun.h"

namespace {

const std::string kWorld = "me me \"Me\"\nbuddy bob \"Bob\"\nbuddy carol \"Carol\"\ngroup g1 \"Team\" bob carol\n";

std::string Played(const std::string& commands) {
    const Outcome outcome = RunHost("--lang keys -", kWorld + commands);
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    return outcome.out;
}

}  // namespace

TEST(HostWindows, OneWindowPerChatInOpeningOrderWithTheCurrentMarked) {
    EXPECT_EQ(Played("open person bob\nopen group g1\nopen person carol\nopen person bob\nwindows\n"
                     "type \"to bob\"\nswitch g1\ntype \"to the team\"\nswitch bob\nshow input\nwindows\n"),
              "app tip GrpFirstOpen\n"
              "window person bob *\nwindow group g1\nwindow person carol\n"
              "input: to bob\n"
              "window person bob *\nwindow group g1\nwindow person carol\n");
    // The same peer in windows of different kinds.
    EXPECT_EQ(Played("open person bob\nopen email bob\nswitch bob person\nwindows\n"),
              "window person bob *\nwindow email bob\n");
}

TEST(HostWindows, WhenTheCurrentWindowClosesTheOneOpenedLastIsCurrent) {
    EXPECT_EQ(Played("open person bob\nopen person carol\nopen group g1\nswitch bob\nclose\nwindows\n"
                     "close\nwindows\nclose\nwindows\n"),
              "app tip GrpFirstOpen\n"
              "window person carol\nwindow group g1 *\n"
              "window person carol *\n");
    // A window that closes itself after a send is forgotten the same way.
    EXPECT_EQ(Played("pref SystemInfo.HotKey.CloseAfterSendMsg 1\nopen person carol\nopen person bob\n"
                     "key alt+c\nwindows\n"),
              "window person carol *\n");
}

TEST(HostWindows, ADraftOutlivesItsWindowALogoutAndALogin) {
    EXPECT_EQ(Played("open person bob\nopen person carol\nswitch bob\ntype \"see you at\"\nclose\n"
                     "logout\nlogin\nopen person bob\nshow input\nswitch carol\nshow input\n"),
              "input: see you at\ninput: \n");
    // Typed, then logged out with the window open, closed while offline.
    EXPECT_EQ(Played("open person bob\ntype \"later\"\nlogout\nclose\nlogin\nopen person bob\nshow input\n"),
              "input: later\n");
}

TEST(HostWindows, MorePagesOlderMessagesUntilAllShow) {
    const std::string out = Played("stored bob 25 read\nopen person bob\nshow history 1\nmore\nmore\nshow history\n");
    EXPECT_NE(out.find("[1000] msg bob: message 1\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("#SHOW_MORE_MSG", out.find("[1000]") - 60), std::string::npos) << out;
}

TEST(HostWindows, AFailureAfterItsWindowClosedIsToldAsATip) {
    EXPECT_EQ(Played("open person bob\nhold\nfail 5\nsay \"late\"\nclose\nrelease\n"),
              "sdk.send conv=im:bob type=text/plain body=late\ntip IDS_SEND_MSG_FAIL_DETAIL\n");
}
