#include "ui/UiTestSupport.h"

#include <algorithm>
#include <random>

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
    ASSERT_TRUE(edit.ReplaceRange(4, 0, u"Ah, "));  // the ends in either order
    EXPECT_EQ(edit.GetText(), u"Ah, hey and \xFFFC");
    edit.Clear();
    EXPECT_EQ(edit.GetText(), u"");
    EXPECT_EQ(edit.GetObjectCount(), 0);
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

namespace {

// The geometry of an edit measured the slow way, from its text and objects
// alone: line tops, the left of a character and the content height.
struct NaiveGeometry {
    std::vector<int32_t> tops, lefts;  // for every position 0..length
    int32_t height = 0;

    explicit NaiveGeometry(const CRichEditUI& edit) {
        const std::u16string text = edit.GetText();
        auto isBreak = [&](size_t i) { return text[i] == u'\r' || (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')); };
        int32_t top = 0, left = 0, line = 20;
        int object = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            tops.push_back(top);
            lefts.push_back(left);
            if (i == text.size()) break;
            if (text[i] == kObjectChar) {
                const COleObject* o = edit.GetObjectAt(object++);
                line = std::max(line, o->GetDisplayHeight());
                left += o->GetDisplayWidth();
            } else if (isBreak(i) || text[i] == u'\n') {
                left = 0;
            } else {
                left += 8;
            }
            if (isBreak(i)) top += line, line = 20;
        }
        const bool endsLine = !text.empty() && (isBreak(text.size() - 1) || text.back() == u'\n');
        height = text.empty() ? 0 : top + (endsLine ? 0 : line);
    }
};

}  // namespace

TEST_F(UiTest, GeometryStaysExactThroughRandomEditsAnywhere) {
    // The view measures lines once and keeps them; every kind of edit, at
    // the top, in the middle or at the end, must leave what it reports
    // exactly as a fresh measurement would.
    const std::u16string png = sim::ToWide(Write("p.png", Png(30, 45)));
    auto window = sim::CreateHostWindow("host", 400, 100);
    auto* view = new CRichEditExUI;
    window->GetRoot()->Add(view);
    view->SetCoordinate(0, 0, 0, 0, UIANCHOR_FILL);
    std::mt19937 random(99);
    const std::u16string pieces[] = {u"word", u"\r", u"\r\n", u"\n", u" ", u"longer text here"};
    int64_t nextId = 1;
    for (int step = 0; step < 400; ++step) {
        const long len = view->GetTextLength();
        const long at = long(random() % size_t(len + 1));
        switch (random() % 7) {
            case 0: case 1: {  // a message between two others, or at either end
                const auto& msgs = view->GetMsgs();
                const long place = msgs.empty() ? 0 : random() % 2 ? msgs[random() % msgs.size()].start : len;
                CREidtInsertHelper helper(view);
                helper.BeginInsert(nextId++, place);
                helper.InsertText(pieces[random() % std::size(pieces)] + u"\r");
                helper.EndInsert();
                break;
            }
            case 2:
                view->SetSel(at, at);
                view->InsertText(pieces[random() % std::size(pieces)]);
                break;
            case 3:
                view->InsertControl(new CControlUI, 0, int32_t(random() % 50), at, int32_t(random() % 70));
                break;
            case 4:
                view->InsertImage(png, at);
                break;
            case 5:  // the last character goes, as with backspace at the end
                view->SetSel(std::max(0L, len - 1), len);
                view->ReplaceSel(u"");
                break;
            default: {
                const long end = std::min(len, at + long(random() % 12));
                view->SetSel(at, end);
                view->ReplaceSel(u"");
                break;
            }
        }
        if (step % 50 == 7 && view->GetObjectCount() > 0) {
            if (auto* image = dynamic_cast<COleImageObj*>(view->GetObjectAt(0))) image->SetDisplaySize(12, int32_t(random() % 90));
        }
        const NaiveGeometry expected(*view);
        ASSERT_EQ(view->GetContentHeight(), expected.height) << "step " << step;
        for (int probe = 0; probe < 8; ++probe) {
            const long p = long(random() % size_t(view->GetTextLength() + 1));
            ASSERT_EQ(view->GetCharTop(p), expected.tops[size_t(p)]) << "step " << step << " pos " << p;
            ASSERT_EQ(view->GetCharLeft(p), expected.lefts[size_t(p)]) << "step " << step << " pos " << p;
            // The object at a position is found through the measured lines too.
            const std::u16string text = view->GetText();
            if (size_t(p) < text.size() && text[size_t(p)] == kObjectChar) {
                const int index = int(std::count(text.begin(), text.begin() + p, kObjectChar));
                ASSERT_EQ(view->GetObjectAtPos(p), view->GetObjectAt(index));
            }
            int64_t byScan = 0;
            for (const SViewMsg& m : view->GetMsgs()) {
                if (!byScan && m.kind != EMsgKind::HeaderLine && p >= m.start && p < m.end) byScan = m.id;
            }
            ASSERT_EQ(view->GetMsgIdByPos(p), byScan);
        }
        ASSERT_EQ(view->GetMsgCount(), int(view->GetMsgs().size()));
        view->SetScrollPos(int32_t(random() % size_t(view->GetScrollRange() + 1)));
        int64_t first = 0, last = 0, firstByScan = 0, lastByScan = 0;
        for (const SViewMsg& m : view->GetMsgs()) {
            const int32_t top = view->GetCharTop(m.start), bottom = std::max(view->GetCharTop(m.end), top + 1);
            if (m.kind != EMsgKind::Msg || bottom <= view->GetScrollPos() || top >= view->GetScrollPos() + 100) continue;
            if (!firstByScan) firstByScan = m.id;
            lastByScan = m.id;
        }
        ASSERT_EQ(view->GetVisibleMsg(first, last), firstByScan != 0);
        if (firstByScan) {
            ASSERT_EQ(first, firstByScan);
            ASSERT_EQ(last, lastByScan);
        }
    }
}
