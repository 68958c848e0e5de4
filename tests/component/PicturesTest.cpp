// Pictures in a chat window: files dropped on it, the picture button and
// library, photos, double clicks, the image tool bar of the history view
// and what it asks of the host.

#include "SendFixture.h"
#include "controls/RichEditWithToolUI.h"
#include "module/DllObject.h"
#include "sdk/qel_account.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/WindowUI.h"
#include "sim/os/Os.h"

namespace {

class PicturesTest : public SendTest {
protected:
    std::u16string File(const std::string& name, const std::string& content) {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return sim::ToWide(path.string());
    }

    std::vector<std::u16string> Pngs(int count) {
        std::vector<std::u16string> paths;
        for (int i = 0; i < count; ++i) paths.push_back(WritePng("p" + std::to_string(i) + ".PNG", 8, 8, char('a' + i)));
        return paths;
    }

    // Drops the files on the window the way the host does.
    static HDROP Drop(HWND window, const std::vector<std::u16string>& paths) {
        HDROP drop = sim::MakeDrop(paths);
        TEventUI event;
        event.Type = UIEVENT_DROPFILES;
        event.wParam = reinterpret_cast<uintptr_t>(drop);
        Component(window)->ProcHostDuiMsg(&event);
        sim::RunUntilIdle();
        return drop;
    }

    static std::vector<std::u16string> InputPictures(HWND window) {
        std::vector<std::u16string> paths;
        for (const sim::EditObject& o : sim::ReadEdit(Input(window)).objects) paths.push_back(o.path);
        return paths;
    }

    // The drops the host was handed to send as files.
    static std::vector<HDROP> HostFileDrops() {
        std::vector<HDROP> drops;
        for (const sim::HostEvent& e : sim::HostEvents()) {
            if (e.kind == "event" && e.code == 3) drops.push_back(reinterpret_cast<HDROP>(e.b));
        }
        return drops;
    }

    // A picture message from bob whose picture the server gives as `path`
    // (or not at all when empty); answers its picture in the history view.
    COleImageObj* ReceivePicture(HWND window, const std::string& key, const std::u16string& path) {
        if (!path.empty()) sim::ServePicture(key, path);
        sim::DeliverIncomingMsg(Handler(window)->GetConversation(), "<img src=\"" + key + "\" />", "img/xml", "bob");
        ShowAnnounced(window);
        return View(window)->FindImage(sim::ToWide(key));
    }

    static tavi::CRichEditWithToolUI* ToolView(HWND window) {
        return dynamic_cast<tavi::CRichEditWithToolUI*>(View(window));
    }

    static TPointUI Centre(const COleObject* object) {
        RECT r{};
        object->GetBound(r);
        return TPointUI{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    // The pointer comes to rest on the object.
    static void HoverOn(CRichEditUI* edit, const COleObject* object) {
        const TPointUI point = Centre(object);
        const TPointUI screen = edit->GetWindow()->ClientToScreen(point);
        sim::SetCursorPos(screen.x, screen.y);
        sim::SendOleEvent(edit, 4, point);
    }

    // The pointer leaves the object for a screen point.
    static void LeaveTo(CRichEditUI* edit, const COleObject* object, int32_t x, int32_t y) {
        sim::SetCursorPos(x, y);
        sim::SendOleEvent(edit, 3, Centre(object));
    }

    static bool ToolsShown(HWND window) {
        tavi::CREImageToolBar* bar = ToolView(window)->GetToolBar();
        return bar && bar->IsWindowVisible();
    }

    static void ClickTool(HWND window, const char* button) {
        tavi::CREImageToolBar* bar = ToolView(window)->GetToolBar();
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(sim::Click(bar->FindControl(sim::ToWide(button))));
        sim::RunUntilIdle();
    }

    static std::string LastPictureCall() {
        return sim::PictureCalls().empty() ? std::string() : sim::PictureCalls().back();
    }
};

// ---- dropped files ----

TEST_F(PicturesTest, TenDroppedPicturesGoIntoThePersonChatInputAndElevenOnlyShowTheLimit) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto eleven = Pngs(11);
    Drop(window, eleven);
    EXPECT_TRUE(InputPictures(window).empty());
    EXPECT_TRUE(HostFileDrops().empty());

    const std::vector<std::u16string> ten(eleven.begin(), eleven.begin() + 10);
    Drop(window, ten);
    EXPECT_EQ(InputPictures(window), ten);  // in drop order
    EXPECT_TRUE(HostFileDrops().empty());
}

TEST_F(PicturesTest, APictureDroppedWithAnotherFileSendsBothAsFiles) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::vector<std::u16string> paths{WritePng("a.png", 4, 4), File("notes.txt", "hello")};
    HDROP drop = Drop(window, paths);
    EXPECT_TRUE(InputPictures(window).empty());
    ASSERT_EQ(HostFileDrops().size(), 1u);
    EXPECT_EQ(HostFileDrops()[0], drop);
    EXPECT_EQ(sim::DropPaths(HostFileDrops()[0]), paths);

    // A drop without its window event or without its handle is ignored.
    TEventUI event;
    event.Type = UIEVENT_DROPFILES;
    EXPECT_FALSE(Component(window)->ProcHostDuiMsg(&event));
    EXPECT_FALSE(Component(window)->ProcHostDuiMsg(nullptr));
    EXPECT_EQ(HostFileDrops().size(), 1u);
}

TEST_F(PicturesTest, TheWindowKindsSettingDecidesWhetherDroppedPicturesGoIntoTheInput) {
    HWND group = Open(sim::ChatKind::Group, "g1");
    Drop(group, Pngs(1));
    EXPECT_TRUE(InputPictures(group).empty());  // groups send dropped pictures as files by default
    EXPECT_EQ(HostFileDrops().size(), 1u);

    sim::SetPrefInt("SystemInfo.FriendChat_FileTrans.GroupChatImgFileSend", 0);
    Drop(group, Pngs(1));
    EXPECT_EQ(InputPictures(group).size(), 1u);

    HWND person = Open(sim::ChatKind::Person, "bob");
    sim::SetPrefInt("SystemInfo.FriendChat_FileTrans.SingleChatImgFileSend", 2);
    Drop(person, Pngs(1));
    EXPECT_TRUE(InputPictures(person).empty());
    EXPECT_EQ(HostFileDrops().size(), 2u);
}

TEST_F(PicturesTest, DroppedFilesThatAreNoPicturesGoToTheHostAndNeverHang) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    std::filesystem::create_directories(m_dir / "folder.png");
    std::string absurd("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\x7f\xff\xff\xff\x7f\xff\xff\xff\x08\x06\0\0\0", 29);
    const std::string longName =
        std::string(240, 'n') + (sim::os::kFileNamesMayHoldQuotes ? " \"q\" \xc3\xa9.png" : " 'q' \xc3\xa9.png");
    std::vector<std::u16string> bad{
        sim::ToWide((m_dir / "missing.png").string()),
        sim::ToWide((m_dir / "folder.png").string()),
        File("empty.png", ""),
        File("text.png", "not a picture at all"),
        File("cut.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10)),
        File("huge.png", absurd),
        WritePng("too-wide.png", 65536, 1),
        WritePng("too-tall.png", 1, 65536),
        File("x", "no extension"),
    };
    for (const std::string& endless : sim::os::EndlessFiles(m_dir.string())) bad.push_back(sim::ToWide(endless));
    for (const std::u16string& path : bad) {
        Drop(window, {path});
        EXPECT_TRUE(InputPictures(window).empty()) << sim::ToUtf8(path);
    }
    EXPECT_EQ(HostFileDrops().size(), bad.size());

    // Strange but real pictures still go in, up to the largest side.
    const std::vector<std::u16string> odd{WritePng(longName, 6, 6), WritePng("wide.png", 65535, 1),
                                          WritePng("tall.png", 1, 65535)};
    Drop(window, odd);
    EXPECT_EQ(InputPictures(window), odd);
}

TEST_F(PicturesTest, APictureInDisguiseIsNoPictureAndAPersonChatMaySendDroppedPicturesAtOnce) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string png = WritePng("a.png", 4, 4);
    const std::u16string disguised = sim::ToWide((m_dir / "pic.txt").string());
    std::filesystem::copy_file(sim::ToUtf8(png), sim::ToUtf8(disguised));
    Drop(window, {disguised});
    EXPECT_TRUE(InputPictures(window).empty());
    EXPECT_EQ(HostFileDrops().size(), 1u);
    EXPECT_TRUE(Sends().empty());

    sim::SetSendImgFile(true);
    sim::SetPrefInt("SystemInfo.FriendChat_FileTrans.SingleChatImgFileSend", 1);
    Drop(window, {png, File("doc.txt", "x")});
    ASSERT_EQ(sim::SdkRequestsOf("upload").size(), 1u);
    EXPECT_EQ(sim::SdkRequestsOf("upload")[0].localPath, sim::ToUtf8(png));
    EXPECT_EQ(HostFileDrops().size(), 2u);  // and the host still gets the drop
}

TEST_F(PicturesTest, AnAdhocChatTakesDroppedPicturesRefusesFoldersAndEndsTheDrop) {
    HWND window = Open(sim::ChatKind::Adhoc, "bob");
    sim::SetPrefInt("SystemInfo.FriendChat_FileTrans.GroupChatImgFileSend", 1);
    std::filesystem::create_directories(m_dir / "dir");
    const std::u16string picture = WritePng("a.gif.png", 4, 4);
    HDROP drop = Drop(window, {sim::ToWide((m_dir / "dir").string()), picture, File("doc.txt", "x")});
    EXPECT_EQ(InputPictures(window), std::vector<std::u16string>{picture});
    EXPECT_TRUE(HostFileDrops().empty());
    EXPECT_TRUE(sim::IsDropFinished(drop));
    ASSERT_EQ(Notices(window).size(), 1u);
    EXPECT_NE(Notices(window)[0].find(u"IDS_ADHOC_NOT_SUPPORTED_SEND_FOLDER"), std::u16string::npos);
    // The other file goes to the ad-hoc sender as an item that names it.
    const auto sent = sim::SdkRequestsOf("adhoc");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].contentType, "file/xml");
    EXPECT_EQ(sent[0].content, "<file name=\"doc.txt\" size=\"1\" path=\"" + (m_dir / "doc.txt").string() + "\" />");
    EXPECT_EQ(sent[0].summary, "doc.txt");

    // Only files are handed on: nothing waits on a pipe or sends what is gone;
    // a name with quotes stays inside its attribute.
    std::vector<std::u16string> notFiles{sim::ToWide((m_dir / "gone.txt").string())};
    for (const std::string& endless : sim::os::EndlessFiles(m_dir.string())) notFiles.push_back(sim::ToWide(endless));
    Drop(window, notFiles);
    EXPECT_EQ(sim::SdkRequestsOf("adhoc").size(), 1u);
    size_t handedOn = 1;
    if (sim::os::kFileNamesMayHoldQuotes) {
        Drop(window, {File("say \"hi\".txt", "")});
        ASSERT_EQ(sim::SdkRequestsOf("adhoc").size(), 2u);
        EXPECT_EQ(sim::SdkRequestsOf("adhoc")[1].content.rfind("<file name='say &quot;hi&quot;.txt' size=\"0\" path=", 0),
                  0u);
        handedOn = 2;
    }
    // Without the sender nothing is lost silently: the drop still ends.
    sim::SetAdhocSenderAvailable(false);
    EXPECT_TRUE(sim::IsDropFinished(Drop(window, {File("later.txt", "x")})));
    EXPECT_EQ(sim::SdkRequestsOf("adhoc").size(), handedOn);
}

TEST_F(PicturesTest, APictureTooLargeForAnAdhocChatGoesAsItsFile) {
    HWND window = Open(sim::ChatKind::Adhoc, "bob");
    const std::u16string path = WritePng("big.png", 7, 5);
    sim::SetPictureSizeLimits(100, 10);
    sim::QueueBoxAnswer(51);
    EXPECT_FALSE(Panel(window)->InsertPictureFile(path.c_str()));
    ASSERT_EQ(sim::SdkRequestsOf("adhoc").size(), 1u);
    EXPECT_EQ(sim::SdkRequestsOf("adhoc")[0].contentType, "file/xml");
    EXPECT_EQ(sim::SdkRequestsOf("adhoc")[0].summary, "big.png");
    for (const sim::HostEvent& e : sim::HostEvents()) EXPECT_NE(e.code, 4);
}

TEST_F(PicturesTest, LimitTipsReadAsTheUserSeesThem) {
    sim::SetLanguage(sim::Language::English);
    HWND window = Open(sim::ChatKind::Person, "bob");
    Drop(window, Pngs(11));
    EXPECT_TRUE(Panel(window)->IsViewTipCtnVisible(u"loginout"));
    EXPECT_EQ(sim::FindControl(Panel(window), "tipinfo")->GetText(),
              u"At most 10 pictures can be dropped into the message at once.");

    sim::SetPictureSizeLimits(20, 10);
    EXPECT_FALSE(Panel(window)->InsertPictureFile(WritePng("big.png", 7, 5).c_str()));
    ASSERT_FALSE(sim::ShownBoxes().empty());
    EXPECT_EQ(sim::ShownBoxes().back().text, u"The picture is too large to send.");
    EXPECT_EQ(sim::ShownBoxes().back().caption, u"Tip");
    EXPECT_EQ(sim::ShownBoxes().back().buttons, u"OK");
}

// ---- double click ----

TEST_F(PicturesTest, DoubleClickOpensTheViewerOnTheViewsPicturesAtTheOneClicked) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string first = WritePng("1.png", 10, 10, 'a');
    const std::u16string second = WritePng("2.png", 10, 10, 'b');
    ReceivePicture(window, "k1", first);
    ReceivePicture(window, "broken", u"");
    COleImageObj* clicked = ReceivePicture(window, "k2", second);
    ASSERT_NE(clicked, nullptr);
    sim::Notify(View(window), UINOTIFY_DBLCLICK, 0, reinterpret_cast<intptr_t>(clicked));
    EXPECT_EQ(LastPictureCall(), "viewer 1 " + sim::ToUtf8(first) + "|" + sim::ToUtf8(second));
}

TEST_F(PicturesTest, DoubleClickOnAFailedDownloadRetriesIt) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    COleImageObj* failed = ReceivePicture(window, "k9", u"");
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->GetFilePath(), kRichErrorImage);

    // Still failing: it shows waiting, then the error again.
    sim::Notify(View(window), UINOTIFY_DBLCLICK_IMAGE, 0, reinterpret_cast<intptr_t>(failed));
    EXPECT_EQ(LastPictureCall(), "download k9");
    EXPECT_EQ(failed->GetFilePath(), kRichWaitImage);
    sim::Notify(View(window), UINOTIFY_DBLCLICK, 0, reinterpret_cast<intptr_t>(failed));  // still loading: nothing
    EXPECT_EQ(sim::PictureCalls().size(), 1u);
    sim::RunUntilIdle();
    EXPECT_EQ(View(window)->FindImage(u"k9")->GetFilePath(), kRichErrorImage);

    const std::u16string file = WritePng("9.png", 5, 5);
    sim::ServePicture("k9", file);
    sim::Notify(View(window), UINOTIFY_DBLCLICK, 0, reinterpret_cast<intptr_t>(View(window)->FindImage(u"k9")));
    sim::RunUntilIdle();
    EXPECT_EQ(View(window)->FindImage(u"k9")->GetFilePath(), file);
    EXPECT_EQ(sim::PictureCalls().size(), 2u);  // no viewer was opened
}

TEST_F(PicturesTest, DoubleClickOnAFileIconOpensTheFileOrSaysItIsGone) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string doc = File("doc.txt", "text");
    auto* icon = new COleImageObj;
    icon->SetImageType(kImageTypeFileIcon);
    icon->SetFilePath(doc);
    ASSERT_TRUE(Input(window)->InsertObject(icon));
    sim::Notify(Input(window), UINOTIFY_DBLCLICK, 0, reinterpret_cast<intptr_t>(icon));
    EXPECT_EQ(LastPictureCall(), "open-file " + sim::ToUtf8(doc));

    Panel(window)->OpenFileByClickFileIcon(sim::ToWide(m_dir.string()));
    EXPECT_EQ(LastPictureCall(), "open-folder " + m_dir.string());

    Panel(window)->OpenFileByClickFileIcon(doc + u".gone");
    ASSERT_FALSE(sim::ShownBoxes().empty());
    EXPECT_EQ(sim::ShownBoxes().back().text, u"#FILE_NOT_EXIST");
    EXPECT_EQ(sim::ShownBoxes().back().caption, u"#NOTICE_OF_FILE_OPEN");
    EXPECT_EQ(sim::PictureCalls().size(), 2u);
}

// ---- the image tool bar ----

TEST_F(PicturesTest, HoverShowsTheBarBesideThePictureUntilHalfASecondAfterThePointerLeftBoth) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    COleImageObj* picture = ReceivePicture(window, "k1", WritePng("1.png", 40, 30));
    ASSERT_NE(picture, nullptr);
    HoverOn(View(window), picture);
    ASSERT_TRUE(ToolsShown(window));

    RECT bounds{};
    picture->GetBound(bounds);
    CWindowUI* chat = View(window)->GetWindow();
    const RECT bar = ToolView(window)->GetToolBar()->GetWindowRect();
    const TPointUI corner = chat->ClientToScreen(TPointUI{bounds.right, bounds.bottom});
    EXPECT_EQ(bar.left, corner.x);  // right of the picture, bottoms aligned
    EXPECT_EQ(bar.bottom, corner.y);

    sim::Advance(300);  // resting on the picture keeps the bar
    EXPECT_TRUE(ToolsShown(window));
    LeaveTo(View(window), picture, -5000, -5000);
    sim::Advance(499);
    EXPECT_TRUE(ToolsShown(window));
    sim::Advance(1);
    EXPECT_FALSE(ToolsShown(window));

    // The bar stays while the pointer is on it, also when it got there
    // after leaving the picture elsewhere but before the timer.
    HoverOn(View(window), picture);
    const RECT onBar = ToolView(window)->GetToolBar()->GetWindowRect();
    LeaveTo(View(window), picture, onBar.left + 2, onBar.top + 2);
    sim::Advance(2000);
    EXPECT_TRUE(ToolsShown(window));
    HoverOn(View(window), picture);
    LeaveTo(View(window), picture, -5000, -5000);
    sim::SetCursorPos(onBar.left + 2, onBar.top + 2);
    sim::Advance(500);
    EXPECT_TRUE(ToolsShown(window));

    // Leaving the view away from pictures closes it; it is made again when needed.
    sim::SetCursorPos(-5000, -5000);
    sim::SendEvent(View(window), UIEVENT_MOUSELEAVE);
    sim::RunUntilIdle();
    EXPECT_EQ(ToolView(window)->GetToolBar(), nullptr);
    HoverOn(View(window), picture);
    EXPECT_TRUE(ToolsShown(window));

    // The view's other timers still reach the view.
    sim::Advance(1800000);
    EXPECT_EQ(View(window)->GetClearResourceCount(), 1);
}

TEST_F(PicturesTest, NearTheRightEdgeTheBarStandsLeftOfThePicture) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    sim::ServePicture("wide", WritePng("w.png", 350, 30));
    // "bob: " and twenty letters put the picture 200 pixels in; it ends 50 short of the edge.
    sim::DeliverIncomingMsg(Handler(window)->GetConversation(),
                            "<div><span>" + std::string(20, 'x') + "</span><img src=\"wide\" /></div>", "rich/xml", "bob");
    ShowAnnounced(window);
    COleImageObj* picture = View(window)->FindImage(u"wide");
    ASSERT_NE(picture, nullptr);
    HoverOn(View(window), picture);
    RECT bounds{};
    picture->GetBound(bounds);
    ASSERT_GT(bounds.right + 96, View(window)->GetPos().right);
    const RECT bar = ToolView(window)->GetToolBar()->GetWindowRect();
    const TPointUI left = View(window)->GetWindow()->ClientToScreen(TPointUI{bounds.left, bounds.top});
    EXPECT_EQ(bar.right, left.x);
}

TEST_F(PicturesTest, InAMirroredLayoutTheBarStandsLeftOfThePicture) {
    sim::SetRTLLayout(true);
    HWND window = Open(sim::ChatKind::Person, "bob");
    COleImageObj* picture = ReceivePicture(window, "k1", WritePng("1.png", 40, 30));
    HoverOn(View(window), picture);
    RECT bounds{};
    picture->GetBound(bounds);
    const RECT bar = ToolView(window)->GetToolBar()->GetWindowRect();
    // The picture stands 40 pixels in: no room for the bar before it, so the
    // bar starts where the picture does.
    const TPointUI left = View(window)->GetWindow()->ClientToScreen(TPointUI{bounds.left, bounds.top});
    EXPECT_EQ(bar.left, left.x);

    sim::ServePicture("far", WritePng("far.png", 20, 20));
    sim::DeliverIncomingMsg(Handler(window)->GetConversation(),
                            "<div><span>" + std::string(20, 'x') + "</span><img src=\"far\" /></div>", "rich/xml", "bob");
    ShowAnnounced(window);
    COleImageObj* far = View(window)->FindImage(u"far");
    HoverOn(View(window), far);
    far->GetBound(bounds);
    const TPointUI farLeft = View(window)->GetWindow()->ClientToScreen(TPointUI{bounds.left, bounds.top});
    EXPECT_EQ(ToolView(window)->GetToolBar()->GetWindowRect().right, farLeft.x);
    sim::SetRTLLayout(false);
}

TEST_F(PicturesTest, RestingOnThePictureLibraryButtonWaitsBeforeTheRecentFaces) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    CControlUI* button = sim::FindControl(Panel(window), "input.left.syspic");
    const auto recentShown = [] {
        tavi::CDllObject* state = tavi::GetDllObject();
        return state && state->m_pRecentEmoticonWnd && state->m_pRecentEmoticonWnd->IsWindowVisible();
    };
    // Leaving or pressing within the delay offers nothing.
    for (int ending : {UIEVENT_MOUSELEAVE, UIEVENT_BUTTONDOWN}) {
        sim::SendEvent(button, UIEVENT_MOUSEENTER);
        sim::Advance(100);
        sim::SendEvent(button, ending);
        sim::Advance(500);
        EXPECT_FALSE(recentShown()) << ending;
    }

    // Resting there offers the recent emoticons; an ad-hoc chat does not.
    sim::SendEvent(button, UIEVENT_MOUSEENTER);
    sim::Advance(199);
    EXPECT_FALSE(recentShown());
    sim::Advance(1);
    ASSERT_TRUE(recentShown());
    tavi::GetDllObject()->m_pRecentEmoticonWnd->ShowWindow(false);
    HWND adhoc = Open(sim::ChatKind::Adhoc, "bob");
    sim::SendEvent(sim::FindControl(Panel(adhoc), "input.left.syspic"), UIEVENT_MOUSEENTER);
    sim::Advance(200);
    EXPECT_FALSE(recentShown());
}

TEST_F(PicturesTest, BuiltInFacesFileIconsAndFailedDownloadsGetNoBarAndHideAShowingOne) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    COleImageObj* picture = ReceivePicture(window, "k1", WritePng("1.png", 40, 30));
    sim::DeliverIncomingMsg(Handler(window)->GetConversation(), "<div><img src=\"#face/smile\" /></div>", "rich/xml",
                            "bob");
    ShowAnnounced(window);
    COleImageObj* face = View(window)->FindImage(u"face/smile");
    ASSERT_NE(face, nullptr);

    HoverOn(View(window), face);
    EXPECT_EQ(ToolView(window)->GetToolBar(), nullptr);
    HoverOn(View(window), picture);
    EXPECT_TRUE(ToolsShown(window));
    HoverOn(View(window), face);
    EXPECT_FALSE(ToolsShown(window));

    COleImageObj* failed = ReceivePicture(window, "gone", u"");
    HoverOn(View(window), failed);
    EXPECT_FALSE(ToolsShown(window));
}

TEST_F(PicturesTest, EachButtonOfTheBarReachesItsService) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string file = WritePng("1.png", 40, 30);
    COleImageObj* picture = ReceivePicture(window, "k1", file);
    const std::string path = sim::ToUtf8(file);

    HoverOn(View(window), picture);
    ClickTool(window, "edit");
    EXPECT_FALSE(ToolsShown(window));
    EXPECT_EQ(LastPictureCall(), "edit " + path + " bob");
    HoverOn(View(window), picture);
    ClickTool(window, "addface");
    EXPECT_EQ(LastPictureCall(), "smiley " + path);
    HoverOn(View(window), picture);
    ClickTool(window, "decode");
    EXPECT_EQ(LastPictureCall(), "decode " + path + " bob");

    sim::QueueFileDialogAnswer({sim::ToWide((m_dir / "copy.png").string())});
    HoverOn(View(window), picture);
    ClickTool(window, "save");
    ASSERT_EQ(sim::FileCopies().size(), 1u);
    EXPECT_TRUE(sim::FileCopies()[0].ok);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "copy.png"));
}

TEST_F(PicturesTest, WithoutANotifyTargetThePanelOfTheWindowActs) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    COleImageObj* picture = ReceivePicture(window, "k1", WritePng("1.png", 40, 30));
    ToolView(window)->SetNotify(nullptr);
    HoverOn(View(window), picture);
    ClickTool(window, "decode");
    EXPECT_EQ(LastPictureCall().rfind("decode ", 0), 0u);

    // The picture went away before the click: nothing happens.
    HoverOn(View(window), picture);
    View(window)->Clear();
    ClickTool(window, "decode");
    EXPECT_EQ(sim::PictureCalls().size(), 1u);
}

// ---- save, smileys ----

TEST_F(PicturesTest, SaveProposesTheFilterOfThePicturesExtension) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto filterFor = [&](const std::u16string& path, int type) {
        COleImageObj image;
        image.SetFilePath(path);
        image.SetImageType(type);
        Panel(window)->SaveImage(&image);
        const sim::FileDialog& d = sim::FileDialogs().back();
        EXPECT_EQ(d.kind, "save");
        EXPECT_EQ(d.bufferSize, 260u);
        EXPECT_TRUE(d.hooked);
        EXPECT_EQ(d.flags, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_EXTENSIONDIFFERENT | OFN_ENABLEHOOK |
                               OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        return d.filter;
    };
    using Filter = std::vector<std::u16string>;
    EXPECT_EQ(filterFor(u"/p/a.GIF", 0), (Filter{u"GIF(*.gif)", u"*.gif"}));
    EXPECT_EQ(filterFor(u"/p/a.bmp", 0), (Filter{u"BMP(*.bmp)", u"*.bmp"}));
    EXPECT_EQ(filterFor(u"/p/a.png", 0), (Filter{u"PNG(*.png)", u"*.png"}));
    EXPECT_EQ(filterFor(u"/p.d/noext", 0), (Filter{u"JPEG(*.jpg)", u"*.jpg"}));
    EXPECT_EQ(filterFor(u"/p/a.webp", 0), (Filter{u"All files(*.*)", u"*.*"}));
    EXPECT_EQ(sim::FileDialogs().back().fileName, u"#UNTITLED");
    EXPECT_EQ(filterFor(u"/p/report.pdf", kImageTypeFileIcon), (Filter{u"*.*", u"*.*"}));
    EXPECT_EQ(sim::FileDialogs().back().fileName, u"report.pdf");
    EXPECT_TRUE(sim::FileCopies().empty());  // every dialog was cancelled
}

TEST_F(PicturesTest, APictureSavedAsSmileyBecomesTheAccountsSmiley) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const std::u16string file = WritePng("fun.png", 12, 12);
    Component(window)->SaveImgAsSmiley(file.c_str());
    Component(window)->SaveImgAsSmiley(nullptr);
    EXPECT_EQ(sim::PictureCalls(), std::vector<std::string>{"smiley " + sim::ToUtf8(file)});
    qel_handle smileys = qel_account_custom_smileys(sim::CurrentAccount());
    ASSERT_NE(qel_ext::QelSmileysFindSmiley(smileys, "fun.png"), nullptr);
}

// ---- the picture button, photos and the picture library ----

TEST_F(PicturesTest, ThePictureButtonOpensThePictureChooserAndItsArrowTheMenu) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto chosen = Pngs(2);
    sim::QueueFileDialogAnswer(chosen);
    CControlUI* button = sim::FindControl(Panel(window), "input.left.pic");
    ASSERT_TRUE(sim::Click(button));
    const sim::FileDialog& d = sim::FileDialogs().back();
    EXPECT_EQ(d.kind, "open");
    EXPECT_EQ(d.title, u"#CHOOSE_PICTURE");
    EXPECT_EQ(d.filter, (std::vector<std::u16string>{u"#IMAGE_FILES_BJJGP", u"*.bmp;*.jpg;*.jpeg;*.gif;*.png"}));
    EXPECT_EQ(d.bufferSize, 32u * 1024u);  // room for the names of many chosen files
    EXPECT_EQ(InputPictures(window), chosen);

    ASSERT_TRUE(sim::Click(button, 0, 1));
    ASSERT_FALSE(sim::ShownMenus().empty());
    EXPECT_EQ(sim::ShownMenus().back().menuId, tavi::kPictureMenu);
    sim::SetPhotoService(true, true, u"/photos/p1.jpg");
    ASSERT_TRUE(sim::ClickMenuItem(32002));
    EXPECT_EQ(LastPictureCall(), "photo 1 bob bob");
    EXPECT_EQ(sim::UsageReports(), std::vector<std::string>{"e_fun_chat_tool_send_pic:OnBtnPicMenu"});

    sim::QueueFileDialogAnswer({});  // cancelled
    ASSERT_TRUE(sim::Click(button, 0, 1));
    ASSERT_TRUE(sim::ClickMenuItem(32001));
    EXPECT_EQ(sim::FileDialogs().size(), 2u);
    EXPECT_EQ(InputPictures(window).size(), 2u);

    const std::u16string one = WritePng("one.png", 3, 3);
    sim::QueueFileDialogAnswer({one});
    ASSERT_TRUE(sim::Click(button, 0, 1));
    ASSERT_TRUE(sim::ClickMenuItem(32001));
    EXPECT_EQ(InputPictures(window).back(), one);
}

TEST_F(PicturesTest, ThePhotoButtonShowsWhenTheHostCanTakePhotosAndAnnouncesThePhoto) {
    const auto shownFor = [&](bool present, bool canTake) {
        sim::SetPhotoService(present, canTake);
        HWND window = Open(sim::ChatKind::Person, "bob");
        const bool shown = sim::IsShown(sim::FindControl(Panel(window), "input.left.takephoto"));
        sim::CloseChatWindow(window);
        return shown;
    };
    EXPECT_FALSE(shownFor(false, true));
    EXPECT_FALSE(shownFor(true, false));
    EXPECT_TRUE(shownFor(true, true));

    // A photo taken is announced with links to it and its folder.
    sim::SetPhotoService(true, true, u"/photos/p1.jpg");
    HWND window = Open(sim::ChatKind::Person, "bob");
    ASSERT_TRUE(sim::Click(sim::FindControl(Panel(window), "input.left.takephoto")));
    const auto notices = Notices(window);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(u"#TAKE_PHOTO_PATH /photos/p1.jpg"), std::u16string::npos);
    EXPECT_NE(notices[0].find(u"[link]"), std::u16string::npos);
    const std::u16string written = sim::NoticeSources().back();
    EXPECT_EQ(written.rfind(u"&<txt>*2:8:#TAKE_PHOTO_PATH", 0), 0u);
    EXPECT_NE(written.find(u"&<link>*10|8|#OPEN_FILE|/photos/p1.jpg||<link>&"), std::u16string::npos);
    EXPECT_NE(written.find(u"&<link>*11|25|#OPEN_DIREC|/photos||<link>&"), std::u16string::npos);
}

TEST_F(PicturesTest, TheRecentPhotoPanelIsOfferedOncePerBuddy) {
    sim::SetRecentPhotoServices(true);
    sim::SetChatWndKind(sim::ChatWindowKey(sim::ChatKind::Person), 0x41 | 2, QEL_CATE_BUDDY, false, "im");
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(sim::PictureCalls(), std::vector<std::string>{"recent-photos feed bob"});
    sim::CloseChatWindow(window);
    Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(sim::PictureCalls().size(), 1u);
}

TEST_F(PicturesTest, ThePictureLibraryOpensTheWayTheWindowKindAsks) {
    HWND person = Open(sim::ChatKind::Person, "bob");
    CControlUI* button = sim::FindControl(Panel(person), "input.left.syspic");
    Panel(person)->OnBtnSyspic(button);
    EXPECT_TRUE(sim::PictureCalls().empty());  // no face browser in this host

    sim::SetFaceBrowser(true);
    TEventUI press;
    press.Type = UIEVENT_BUTTONDOWN;
    press.pSender = button;
    Panel(person)->OnSysPicBtnEvent(press);
    EXPECT_EQ(sim::PictureCalls(), (std::vector<std::string>{"close-popups", "face-browser chat bob"}));
    // A face chosen there goes into the input.
    const std::u16string face = WritePng("face.gif.png", 9, 9);
    Panel(person)->OnSelFace(face.c_str());
    Panel(person)->OnSelFace(nullptr);
    EXPECT_EQ(InputPictures(person), std::vector<std::u16string>{face});

    HWND adhoc = Open(sim::ChatKind::Adhoc, "bob");
    Panel(adhoc)->OnBtnSyspic(sim::FindControl(Panel(adhoc), "input.left.syspic"));
    EXPECT_EQ(LastPictureCall(), "face-browser adhoc bob");
}

TEST_F(PicturesTest, AnEditedPictureTakesThePlaceOfTheOneWithItsKey) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto pictures = Pngs(3);
    Type(window, u"ab");
    ASSERT_TRUE(Panel(window)->InsertImage(pictures[0], false));
    static_cast<COleImageObj*>(Input(window)->GetObjectAt(0))->SetKey(u"old");
    Type(window, u"c");
    ASSERT_TRUE(Panel(window)->InsertEditImage(pictures[1], u"old"));
    EXPECT_EQ(InputPictures(window), std::vector<std::u16string>{pictures[1]});
    long start = 0, end = 0;
    Input(window)->GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 3);

    ASSERT_TRUE(Panel(window)->InsertEditImage(pictures[2], u"unknown"));
    EXPECT_EQ(Input(window)->GetText().back(), kObjectChar);
    EXPECT_FALSE(Panel(window)->InsertImage(File("no.png", "nope"), true));
    EXPECT_FALSE(Panel(window)->InsertPictureFile(nullptr));
}

}  // namespace
