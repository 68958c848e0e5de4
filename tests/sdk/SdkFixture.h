// A world with the account "me" (current, logged in) and the friend "bob".
#pragma once

#include <gtest/gtest.h>

#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_ext_api.h"
#include "sim/driver.h"

class SdkTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        m_account = sim::AddAccount("me");
        m_bob = sim::AddBuddy("bob", "Bob");
        m_conv = sim::OpenConversation("bob");
    }
    void TearDown() override { sim::ResetAll(); }

    qel_handle m_account = nullptr;
    qel_handle m_bob = nullptr;
    qel_handle m_conv = nullptr;
};
