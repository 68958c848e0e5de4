#include "ui/UiTestSupport.h"

TEST_F(UiTest, ATimerKilledByItsOwnHandlerFiresOnceRestartingResetsThePeriodAndDestroyedControlsHearNothing) {
    CControlUI control;
    int fired = 0;
    control.OnEvent += [&](TEventUI& e) {
        if (e.Type == UIEVENT_TIMER && e.wParam == 120204) {
            ++fired;
            e.pSender->KillTimer(120204);
        }
        return true;
    };
    control.SetTimer(120204, 1000);
    sim::Advance(5000);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(control.HasTimer(120204));

    control.SetTimer(120203, 1000);
    sim::Advance(900);
    control.SetTimer(120203, 1000);  // restart
    sim::Advance(900);
    EXPECT_TRUE(control.HasTimer(120203));
    EXPECT_EQ(fired, 1);

    auto* gone = new CControlUI;
    gone->OnEvent += [&](TEventUI&) { return ++fired, true; };
    gone->SetTimer(1, 10);
    CControlUI::Destroy(gone);
    control.KillTimer(120203);
    sim::Advance(100);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(sim::PendingTasks(), 0u);
}

TEST_F(UiTest, TimerSourcesRunOneShotOrPeriodicAndStop) {
    std::vector<uint64_t> relayout, marquee;
    CTimerSource once(10, 0, false);
    once.Bind([&] { relayout.push_back(sim::NowMs()); });
    CTimerSource periodic(3000, 3000, true);
    periodic.Bind([&] {
        marquee.push_back(sim::NowMs());
        if (marquee.size() == 3) periodic.Stop();
    });
    once.Start();
    sim::Advance(20000);
    EXPECT_EQ(relayout, std::vector<uint64_t>{10});
    EXPECT_FALSE(once.IsRunning());
    EXPECT_EQ(marquee, (std::vector<uint64_t>{3000, 6000, 9000}));

    CTimerSource idle;
    bool fired = false;
    idle.Bind([&] { fired = true; });
    idle.SetParams(500, 0);
    idle.Start();
    idle.Start();  // starts over, once
    sim::ResetAll();  // a reset drops the task; the timer stays quiet and can start again
    EXPECT_FALSE(idle.IsRunning());
    sim::Advance(1000);
    EXPECT_FALSE(fired);
    idle.Start();
    sim::Advance(500);
    EXPECT_TRUE(fired);
}
