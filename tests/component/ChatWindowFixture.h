// A world with the module loaded, an account logged in and buddies and a
// group to chat with; chat windows open through the host's plug-in path.
#pragma once

#include <gtest/gtest.h>

#include "component/TaviImpl.h"
#include "module/DllObject.h"
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/pfx.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "support/ChatWorld.h"

class ChatWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_world.Start();
        m_module = m_world.Module();
    }

    void TearDown() override {
        support::ChatWorld::CloseWindows();
        ExpectOnlyPlainTextsShown();
        m_world.Stop();
    }

    // Every box and tip the user saw, title and buttons included, shows its
    // plain localised text: a look-up with any flag is marked by the stand-in.
    static void ExpectOnlyPlainTextsShown() {
        const auto plain = [](const std::u16string& text) { return text.find(u"[flags ") == std::u16string::npos; };
        for (const sim::ShownBox& box : sim::ShownBoxes())
            EXPECT_TRUE(plain(box.text) && plain(box.caption) && plain(box.buttons))
                << sim::ToUtf8(box.caption) << " / " << sim::ToUtf8(box.text) << " / " << sim::ToUtf8(box.buttons);
        for (const sim::ShownTip& tip : sim::ShownTips()) EXPECT_TRUE(plain(tip.text)) << sim::ToUtf8(tip.text);
    }

    HWND Open(sim::ChatKind kind, const std::string& peer) { return support::ChatWorld::Open(kind, peer); }
    static tavi::CTaviImpl* Component(HWND window) { return support::ChatWorld::Component(window); }
    static tavi::CTaviPanel* Panel(HWND window) { return support::ChatWorld::Panel(window); }

    // Every SDK answer held back so far arrives, and what it queued runs.
    static void ReleaseHeld() {
        sim::HoldCompletions(false);
        sim::ReleaseCompletions();
        sim::RunUntilIdle();
    }
    // The host announces new messages and the window shows them.
    static void ShowAnnounced(HWND window) {
        Component(window)->GetAndShowMsg(0, 0);
        sim::RunUntilIdle();
    }

    support::ChatWorld m_world;
    // The module of the world, for tests that talk to it as the host does.
    pfx::IDllObj* m_module = nullptr;
};
