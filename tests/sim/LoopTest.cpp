#include <gtest/gtest.h>

#include <string>

#include "support/FreshWorld.h"

namespace {

class Loop : public support::FreshWorldTest {
protected:
    // Records the task's name with the virtual time at which it ran.
    sim::Task Note(std::string name) {
        return [this, name] { m_ran += name + "@" + std::to_string(sim::NowMs()) + " "; };
    }
    std::string m_ran;
};

}  // namespace

TEST_F(Loop, EqualTimesRunInPostingOrderNeverInsideThePost) {
    sim::Post(Note("a"));
    sim::PostDelayed(0, Note("b"));
    sim::Post(Note("c"));
    EXPECT_EQ(m_ran, "");
    sim::RunUntilIdle();
    EXPECT_EQ(m_ran, "a@0 b@0 c@0 ");
}

TEST_F(Loop, AdvanceRunsDelayedTasksAtTheirOwnTimes) {
    sim::PostDelayed(30, Note("c"));
    sim::PostDelayed(10, [this] {
        m_ran += "a@" + std::to_string(sim::NowMs()) + " ";
        sim::PostDelayed(5, Note("a2"));
        sim::Post(Note("a1"));
    });
    sim::PostDelayed(20, Note("b"));
    sim::Advance(25);
    EXPECT_EQ(m_ran, "a@10 a1@10 a2@15 b@20 ");
    EXPECT_EQ(sim::NowMs(), 25u);
    EXPECT_EQ(sim::PendingTasks(), 1u);
    sim::RunUntilIdle();  // not due yet
    EXPECT_EQ(sim::PendingTasks(), 1u);
    sim::Advance(5);
    EXPECT_EQ(m_ran, "a@10 a1@10 a2@15 b@20 c@30 ");
}

TEST_F(Loop, CancelDropsOnlyPendingTasks) {
    const sim::TaskId dropped = sim::PostDelayed(10, Note("dropped"));
    const sim::TaskId kept = sim::Post(Note("kept"));
    EXPECT_TRUE(sim::Cancel(dropped));
    EXPECT_FALSE(sim::Cancel(dropped));
    sim::Advance(20);
    EXPECT_FALSE(sim::Cancel(kept));
    EXPECT_EQ(m_ran, "kept@0 ");
}

TEST_F(Loop, ResetForgetsTasksAndTime) {
    sim::PostDelayed(10, Note("old"));
    sim::Advance(5);
    sim::ResetAll();
    EXPECT_EQ(sim::NowMs(), 0u);
    EXPECT_EQ(sim::PendingTasks(), 0u);
    sim::Advance(100);
    EXPECT_EQ(m_ran, "");
}
