// A few thousand seeded user actions with faults over several chats and the
// e-mail window: no message or e-mail lost, doubled or reordered, no draft
// or incoming message lost.
#include <gtest/gtest.h>

#include "SoakEngine.h"

namespace {

TEST(SoakTest, FaultsLoseNoMessageDraftOrIncomingMessage) {
    const soak::Result result = soak::Run(1, 8000);
    for (const std::string& problem : result.problems) ADD_FAILURE() << problem;
    // The run did what it is for: sends of every kind met faults of every kind.
    const soak::Counts& counts = result.counts;
    EXPECT_GT(counts.messagesSent, 600);
    EXPECT_GT(counts.piecesAccepted, counts.messagesSent / 2);
    EXPECT_GT(counts.failedAndKept, 0);
    EXPECT_GT(counts.keptInInput, 0);
    EXPECT_GT(counts.draftsChecked, 0);
    EXPECT_GT(counts.incomingShown, 0);
    EXPECT_GT(counts.sentForHost, 0);
    EXPECT_GT(counts.recalled, 0);
    EXPECT_GT(counts.shakes, 0);
    EXPECT_GT(counts.readStates, 0);
    EXPECT_GT(counts.faults.at("failed recall") + counts.faults.at("refused recall"), 0);
    EXPECT_GT(counts.resent, 0);
    EXPECT_GT(counts.faults.at("failed resend") + counts.faults.at("refused resend"), 0);
    EXPECT_GT(counts.emailsSent, 0);
    EXPECT_GT(counts.faults.at("failed e-mail") + counts.faults.at("refused e-mail"), 0);
    RecordProperty("counts", soak::Describe(counts));
    std::cout << soak::Describe(counts);
}

}  // namespace
