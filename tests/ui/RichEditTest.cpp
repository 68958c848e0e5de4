#include "ui/UiTestSupport.h"

namespace {

std::string Png(uint32_t w, uint32_t h) {
    std::string d("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t v : {w, h}) {
        for (int shift = 24; shift >= 0; shift -= 8) d += char((v >> shift) & 0xFF);
    }
    return d + std::string("\x08\x06\0\0\0", 5);
}

std::string Gif(uint16_t w, uint16_t h, int frames) {
    std::string d = "GIF89a";
    d += char(w & 0xFF), d += char(w >> 8), d += char(h & 0xFF), d += char(h >> 8);
    d += std::string("\x80\0\0", 3) + std::string(6, '\0');  // two-colour global table
    for (int i = 0; i < frames; ++i) {
        d += std::string("\x21\xF9\x04\x04\x0A\0\0\0", 8);  // graphic control
        d += std::string("\x2C\0\0\0\0", 5);
        d += char(w & 0xFF), d += char(w >> 8), d += char(h & 0xFF), d += char(h >> 8), d += '\0';
        d += std::string("\x02\x02\x44\x01\0", 5);
    }
    return d + "\x3B";
}

std::string Bmp(int32_t w, int32_t h) {
    std::string d = "BM" + std::string(16, '\0');
    for (int32_t v : {w, h}) {
        for (int i = 0; i < 4; ++i) d += char((uint32_t(v) >> (8 * i)) & 0xFF);
    }
    return d;
}

std::string Jpeg(uint16_t w, uint16_t h) {
    std::string d("\xFF\xD8\xFF\xE0\0\x04\0\0\xFF\xC0\0\x0B\x08", 13);
    d += char(h >> 8), d += char(h & 0xFF), d += char(w >> 8), d += char(w & 0xFF);
    return d + std::string("\x01\x01\x11\0", 4);
}

}  // namespace

TEST_F(UiTest, LoadImageReadsSizesAndFramesAndRefusesTheRest) {
    struct Case {
        std::string bytes;
        int w, h, frames;
    };
    const Case cases[] = {{Png(640, 480), 640, 480, 1}, {Gif(32, 16, 3), 32, 16, 3}, {Gif(8, 8, 1), 8, 8, 1},
                          {Bmp(20, -30), 20, 30, 1}, {Jpeg(300, 200), 300, 200, 1}};
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = Write("img" + std::to_string(n++), c.bytes);
        std::unique_ptr<COleImageObj> image(COleImageObj::LoadImage(sim::ToWide(path), true));
        ASSERT_NE(image, nullptr) << path;
        EXPECT_EQ(image->GetWidth(), c.w);
        EXPECT_EQ(image->GetHeight(), c.h);
        EXPECT_EQ(image->GetFrameCount(), c.frames);
        EXPECT_EQ(image->GetFilePath(), sim::ToWide(path));
    }
    for (const std::string& junk : {std::string("not a picture"), std::string(), Png(640, 480).substr(0, 20),
                                    std::string("GIF8"), std::string("\xFF\xD8\xFF", 3)}) {
        const std::string path = Write("junk" + std::to_string(n++), junk);
        EXPECT_EQ(COleImageObj::LoadImage(sim::ToWide(path), true), nullptr);
    }
    EXPECT_EQ(COleImageObj::LoadImage(u"/no/such/file.png", true), nullptr);
    EXPECT_EQ(COleImageObj::LoadImage(u"", true), nullptr);
    EXPECT_EQ(COleImageObj::LoadImage(sim::ToWide(m_dir.string()), true), nullptr);
}

TEST_F(UiTest, ObjectsTakeOneCharacterAndFollowEdits) {
    const std::u16string png = sim::ToWide(Write("a.png", Png(400, 100)));
    const std::u16string gif = sim::ToWide(Write("b.gif", Gif(10, 10, 2)));
    CRichEditUI edit;
    edit.SetLimitImageSize(150, 150);
    edit.InsertText(u"hi ");
    COleImageObj* first = edit.InsertImage(png);
    ASSERT_NE(first, nullptr);
    edit.InsertText(u" and ");
    COleImageObj* second = edit.InsertImage(gif);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(edit.GetText(), u"hi \xFFFC and \xFFFC");
    EXPECT_EQ(first->GetCharPos(), 3);
    EXPECT_EQ(second->GetCharPos(), 9);
    EXPECT_EQ(first->GetDisplayWidth(), 150);  // limited, aspect kept
    EXPECT_EQ(first->GetDisplayHeight(), 37);
    EXPECT_EQ(second->GetDisplayWidth(), 10);

    edit.SetSel(0, 0);
    edit.InsertText(u"\xFFFCOh, ");  // a stray object character is dropped
    EXPECT_EQ(edit.GetText(), u"Oh, hi \xFFFC and \xFFFC");
    EXPECT_EQ(first->GetCharPos(), 7);
    long start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 4);

    CStdPtrArray all;
    edit.GetImageObj(all, 0, -1);
    ASSERT_EQ(all.GetSize(), 2);
    EXPECT_EQ(all.GetAt(0), first);
    CStdPtrArray tail;
    edit.GetImageObj(tail, 8, -1);
    EXPECT_EQ(tail.GetSize(), 1);

    edit.SetSel(5, 8);  // "i \xFFFC": removes the first picture
    edit.ReplaceSel(u"ey");
    EXPECT_EQ(edit.GetText(), u"Oh, hey and \xFFFC");
    EXPECT_EQ(edit.GetObjectCount(), 1);
    EXPECT_EQ(second->GetCharPos(), 12);
    edit.SetSel(3, -1);
    EXPECT_EQ(edit.GetSelText(), u" hey and \xFFFC");
    edit.SetSel(-1, -1);
    edit.GetSel(start, end);
    EXPECT_EQ(start, 13);
    edit.Clear();
    EXPECT_EQ(edit.GetText(), u"");
    EXPECT_EQ(edit.GetObjectCount(), 0);
}

TEST_F(UiTest, PasteTakesTheDriversClipboardAndSkipsPicturesThatDoNotLoad) {
    const std::u16string png = sim::ToWide(Write("a.png", Png(4, 4)));
    CRichEditUI edit;
    edit.SetText(u"[]");
    edit.SetSel(1, 1);
    sim::SetClipboard(u"x\xFFFCy\xFFFCz", {png, u"/missing.png"});
    edit.Paste();
    EXPECT_EQ(edit.GetText(), u"[x\xFFFCyz]");
    EXPECT_EQ(edit.GetCaret(), 5);
    edit.SetSel(0, 3);
    edit.Copy();
    EXPECT_EQ(sim::GetClipboard().text, u"[x\xFFFC");
    EXPECT_EQ(sim::GetClipboard().pictures, std::vector<std::u16string>{png});
    edit.SetReadOnly(true);
    edit.Paste();
    EXPECT_EQ(edit.GetText(), u"[x\xFFFCyz]");
}

TEST_F(UiTest, FormatZoomAndLinksAreKept) {
    auto window = sim::CreateHostWindow();
    auto* edit = new CRichEditUI;
    window->GetRoot()->Add(edit);
    edit->SetFont(u"Segoe UI", 10, true, false, true);
    tagTextFormat format;
    edit->GetDefaultCharFormat(format);
    EXPECT_EQ(std::u16string(format.szFaceName), u"Segoe UI");
    EXPECT_EQ(format.dwEffects, TF_BOLD | TF_UNDERLINE);
    EXPECT_EQ(format.nSize, 10);

    int zooms = 0;
    struct Receiver : INotifyUI {
        int* count;
        bool ProcessNotify(TNotifyUI& m) override { return m.nType == UINOTIFY_RE_ZOOM && ++*count; }
    } receiver;
    receiver.count = &zooms;
    window->AddNotifier(&receiver);
    EXPECT_TRUE(edit->SetZoom(125, 100));
    EXPECT_TRUE(edit->SetZoom(125, 100));
    EXPECT_FALSE(edit->SetZoom(-1, 100));
    int num = 0, den = 0;
    edit->GetZoom(num, den);
    EXPECT_EQ(num * 100 / den, 125);
    EXPECT_EQ(zooms, 1);

    CLinkObj link(3, u"user:42");
    edit->InsertText(u"see ");
    edit->InsertLink(u"Bob", &link, 1, false, nullptr);
    ASSERT_EQ(edit->GetLinks().size(), 1u);
    EXPECT_EQ(edit->GetLinks()[0].start, 4);
    EXPECT_EQ(edit->GetLinks()[0].link, &link);
    edit->SetSel(0, 0);
    edit->InsertText(u">> ");
    EXPECT_EQ(edit->GetLinks()[0].start, 7);
    window->RemoveNotifier(&receiver);
}

TEST_F(UiTest, MessageRangesFollowInsertsAtTopAndBottomAndDeletes) {
    CRichEditExUI view;
    auto add = [&](int64_t id, long pos, const std::u16string& text) {
        CREidtInsertHelper helper(&view);
        helper.BeginInsert(id, pos);
        helper.InsertText(text);
        return helper.EndInsert();
    };
    view.SetHeaderLine(u"more");
    ASSERT_TRUE(add(10, -1, u"ten\r"));
    ASSERT_TRUE(add(11, -1, u"eleven\r"));
    ASSERT_TRUE(add(9, view.GetTopInsertPos(), u"nine\r"));  // older history goes on top
    ASSERT_TRUE(add(-100001, -1, u"sending\r"));
    EXPECT_EQ(view.GetText(), u"more\rnine\rten\releven\rsending\r");
    CHARRANGE r;
    ASSERT_TRUE(view.GetMsgRange(10, r));
    EXPECT_EQ(r.cpMin, 10);
    EXPECT_EQ(r.cpMax, 14);
    EXPECT_FALSE(view.GetMsgRange(12345, r));
    EXPECT_EQ(view.GetMsgCount(), 4);
    EXPECT_EQ(view.GetMsgIdByPos(6), 9);
    EXPECT_EQ(view.GetMsgIdByPos(2), 0);  // the header line is no message
    std::vector<int64_t> ids;
    view.GetMsgIdListByRange(7, 16, ids);
    EXPECT_EQ(ids, (std::vector<int64_t>{9, 10, 11}));

    ASSERT_TRUE(view.DeleteMsg(10));
    EXPECT_FALSE(view.DeleteMsg(10));
    ASSERT_TRUE(view.GetMsgRange(11, r));
    EXPECT_EQ(r.cpMin, 10);
    // A notice at the old place, outside any message.
    view.SetSel(10, 10);
    view.InsertText(u"recalled\r");
    ASSERT_TRUE(view.GetMsgRange(11, r));
    EXPECT_EQ(r.cpMin, 19);

    // A pane after message 11: a control alone under its own id.
    auto* pane = new CContainerUI;
    pane->SetName(u"-100002");
    {
        // The edit's own inserts at the caret join the open insertion.
        CREidtInsertHelper helper(&view);
        helper.BeginInsert(-100002, r.cpMax);
        view.InsertControl(pane, 0, 20, -1, 22);
        view.InsertText(u"\r");
    }
    const auto items = sim::ViewItems(&view);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].kind, "header");
    EXPECT_EQ(items[1].id, 9);
    EXPECT_EQ(items[2].kind, "notice");
    EXPECT_EQ(items[2].text, u"recalled\r");
    EXPECT_EQ(items[3].id, 11);
    EXPECT_EQ(items[4].kind, "pane");
    EXPECT_EQ(items[4].text, u"[ctl:-100002]\r");
    EXPECT_EQ(items[5].id, -100001);
    EXPECT_EQ(view.FindSubControl(u"-100002"), pane);
    EXPECT_EQ(sim::ViewItems(&view, true)[4].text, u"[ctl]\r");

    view.ClearExceptHeaderLine();
    EXPECT_EQ(view.GetText(), u"more\r");
    EXPECT_EQ(view.GetMsgCount(), 0);
    EXPECT_TRUE(view.HasHeaderLine());
}

TEST_F(UiTest, VisibleMessagesFollowTheScrollPosition) {
    auto window = sim::CreateHostWindow("host", 400, 100);
    auto* view = new CRichEditExUI;
    window->GetRoot()->Add(view);
    view->SetCoordinate(0, 0, 0, 0, UIANCHOR_FILL);  // 100 high: five lines of 20
    for (int64_t id = 1; id <= 10; ++id) {
        CREidtInsertHelper helper(view);
        helper.BeginInsert(id);
        helper.InsertText(u"line\r");
        helper.EndInsert();
    }
    EXPECT_EQ(view->GetScrollRange(), 100);
    int64_t first = 0, last = 0;
    ASSERT_TRUE(view->GetVisibleMsg(first, last));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 5);
    view->EndDown();
    ASSERT_TRUE(view->GetVisibleMsg(first, last));
    EXPECT_EQ(first, 6);
    EXPECT_EQ(last, 10);
    EXPECT_TRUE(view->EnableMsgVisible(3));
    ASSERT_TRUE(view->GetVisibleMsg(first, last));
    EXPECT_EQ(first, 3);
    EXPECT_FALSE(view->EnableMsgVisible(99));

    auto* bottom = new CControlUI;
    window->GetRoot()->Add(bottom);
    view->SetBottomPanel(bottom);
    EXPECT_TRUE(view->IsNeedShowBottomPanel());
    view->EndDown();
    EXPECT_FALSE(view->IsNeedShowBottomPanel());
}

TEST_F(UiTest, TypingEditsAtTheSelectionAndReadOnlyEditsRefuseKeys) {
    CRichEditUI edit;
    sim::TypeText(&edit, u"helo");
    edit.SetSel(3, 3);
    sim::SendKey(&edit, u'l');
    EXPECT_EQ(edit.GetText(), u"hello");
    edit.SetSel(0, 2);
    sim::SendKey(&edit, u'\b');
    EXPECT_EQ(edit.GetText(), u"llo");
    edit.SetSel(-1, -1);
    sim::SendKey(&edit, u'\b');
    EXPECT_EQ(edit.GetText(), u"ll");
    sim::SendKey(&edit, 0x01);  // control characters are not text
    EXPECT_EQ(edit.GetText(), u"ll");
    edit.SetReadOnly(true);
    sim::TypeText(&edit, u"x\n");
    EXPECT_EQ(edit.GetText(), u"ll");
    edit.InsertText(0, u"a");  // the program may still write
    EXPECT_EQ(edit.GetText(), u"all");
    EXPECT_EQ(edit.GetCaret(), 1);
}
