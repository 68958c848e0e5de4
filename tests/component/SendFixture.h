// Chat windows with the tools of the send tests: typing into the input,
// picture files, and reading the history view back.
#pragma once

#include <filesystem>
#include <fstream>


#include "ChatWindowFixture.h"
#include "msghandle/MsgIds.h"
#include "msghandle/PictureInput.h"
#include "msghandle/SendState.h"
#include "sdk/common_sdk.h"
#include "sdk/qel_conversation.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/os/Os.h"

class SendTest : public ChatWindowTest {
protected:
    void SetUp() override {
        ChatWindowTest::SetUp();
        sim::SetLanguage(sim::Language::Keys);
        m_dir = std::filesystem::temp_directory_path() /
                ("tavi-send-" + std::to_string(sim::os::ProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        ChatWindowTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
        sim::SetLanguage(sim::Language::English);
    }

    // A PNG header of that size; `tag` makes files of equal size differ.
    std::u16string WritePng(const std::string& name, uint32_t w, uint32_t h, char tag = 'a') {
        std::string d("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (uint32_t v : {w, h}) {
            for (int shift = 24; shift >= 0; shift -= 8) d += char((v >> shift) & 0xFF);
        }
        d += std::string("\x08\x06\0\0\0", 5) + tag;
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << d;
        return sim::ToWide(path.string());
    }

    static CRichEditUI* Input(HWND window) { return Panel(window)->GetInputEdit(); }
    static CRichEditExUI* View(HWND window) { return Panel(window)->GetHistoryView(); }
    static tavi::CMsgHandle* Handler(HWND window) { return Panel(window)->GetMsgHandle(); }
    static void Type(HWND window, const std::u16string& text) { Input(window)->InsertText(text); }
    // The user chooses italics; the style that then goes with sent text.
    static std::u16string ChooseItalics(HWND window) {
        tagTextFormat format;
        Input(window)->GetDefaultCharFormat(format);
        format.dwEffects |= TF_ITALIC;
        Input(window)->SetDefaultCharFormat(format);
        std::u16string style;
        Handler(window)->GetInputStyle(style);
        return style;
    }
    static void AddPicture(HWND window, const std::u16string& path) {
        ASSERT_TRUE(tavi::RichEditLoadImage(path.c_str(), Input(window)));
    }
    static bool ClickSend(HWND window) {
        return sim::Click(sim::FindControl(Panel(window), "input.msg_button.sendmsg"));
    }

    // The user types the text and presses the send button.
    static void Send(HWND window, const std::u16string& text) {
        Type(window, text);
        ClickSend(window);
    }
    // As Send, and every answer and queued step of the send has run.
    static void SendAndSettle(HWND window, const std::u16string& text) {
        Send(window, text);
        sim::RunUntilIdle();
    }
    static bool ClickResend(HWND window) { return sim::Click(View(window)->FindSubControl(u"resendmsg")); }

    // The history view's items of one kind, text without the line break.
    static std::vector<sim::ViewItem> Items(HWND window, const std::string& kind) {
        std::vector<sim::ViewItem> items;
        for (sim::ViewItem item : sim::ViewItems(View(window))) {
            if (item.kind != kind) continue;
            while (!item.text.empty() && item.text.back() == u'\r') item.text.pop_back();
            items.push_back(item);
        }
        return items;
    }
    static std::vector<std::u16string> Notices(HWND window) {
        std::vector<std::u16string> texts;
        for (const sim::ViewItem& item : Items(window, "notice")) texts.push_back(item.text);
        return texts;
    }
    static std::vector<sim::SdkRequest> Sends() {
        std::vector<sim::SdkRequest> sends;
        for (const sim::SdkRequest& r : sim::SdkRequests()) {
            if (r.kind == "send" || r.kind == "send_ext") sends.push_back(r);
        }
        return sends;
    }

    std::filesystem::path m_dir;
};
