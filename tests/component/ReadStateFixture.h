// Chat windows whose texts are asserted in English, with the person and
// group conversations of the chat window world at hand.
#pragma once

#include "ChatWindowFixture.h"

class ReadStateWindowTest : public ChatWindowTest {
protected:
    void SetUp() override {
        ChatWindowTest::SetUp();
        // Whatever an earlier test chose, these read the English texts.
        sim::SetLanguage(sim::Language::English);
    }
    static qel_handle Bob() { return sim::OpenConversation("bob"); }
    static qel_handle Group() { return sim::OpenConversation("g1", true); }
};
