// Driver API of the UI framework: host windows to put panels into, the
// user's clicks, keys and typing, and what the framework showed (rich
// edit content, message views, menus, boxes, tips, coordinates).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sdk/pfx_wndmgr.h"
#include "sdk/ui/UIlib.h"

namespace sim {

// Windows, screen and engine.
void SetDpiScale(int percent);
void SetRTLLayout(bool rtl);
void SetDefaultFont(const std::u16string& name, int size);
struct EngineNotice {
    int code = 0;
    HWND window = nullptr;
};
// What IUIEngine::NotifyHost was told, in order.
const std::vector<EngineNotice>& EngineNotices();
std::vector<CWindowUI*> Windows();
// A shown window of the host whose root container takes panels.
std::unique_ptr<CWindowUI> CreateHostWindow(const std::string& name = "host_wnd", int width = 800, int height = 600);
// A window message as the platform would deliver it; 0 when the window is gone.
intptr_t SendWindowMessage(HWND hwnd, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

// Controls.
CControlUI* FindControl(CWindowUI* window, const std::string& name);
CControlUI* FindControl(CControlUI* root, const std::string& name);
RECT ControlRect(const CControlUI* control);
// The control and all its ancestors are visible.
bool IsShown(const CControlUI* control);

// The user's actions. Click answers false for a missing, hidden or
// disabled control; otherwise whether a receiver took the click.
bool Click(CControlUI* control, uintptr_t wParam = 0, intptr_t lParam = 0);
bool Notify(CControlUI* control, int32_t type, uintptr_t wParam = 0, intptr_t lParam = 0);
// The user picks the combo box entry with that text; false when there is none.
bool ChooseComboItem(CControlUI* combo, const std::u16string& text);
// Sends a character event (Ctrl held down as asked); returns the event's
// type afterwards (UIEVENT_HANDLED when a handler took the key).
int32_t SendKey(CControlUI* control, char16_t ch, bool ctrl = false);
int32_t PressEnter(CControlUI* control, bool ctrl = false);
// One character event per unit of text.
void TypeText(CControlUI* edit, const std::u16string& text);
void SendEvent(CControlUI* control, int32_t type, uintptr_t wParam = 0, intptr_t lParam = 0);
// A key-down event (UIEVENT_KEYDOWN) of a virtual key; returns the event's type afterwards.
int32_t SendKeyDown(CControlUI* control, char16_t virtualKey);
// An OLE object event at a client point (4: the pointer rests over an
// object, 3: it left), with the object under the point; answers the edit's result.
bool SendOleEvent(CRichEditUI* edit, int32_t type, TPointUI point);

// Framework traces: which event types are traced, and what was traced.
void EnableUiTrace(int32_t type);
const std::vector<std::string>& UiTraces();

// Rich edit content: the text (U+FFFC per object) and the objects.
struct EditObject {
    long pos = 0;
    std::string kind;  // "image" or "control" or "other"
    int imageType = 0;
    std::u16string key;
    std::u16string path;
    int32_t width = 0;
    int32_t height = 0;
    std::u16string control;  // a control's name (or id)
};
struct EditContent {
    std::u16string text;
    std::vector<EditObject> objects;
};
EditContent ReadEdit(const CRichEditUI* edit);
// The text of a range with objects written out as "[img:<key or path>]"
// and "[ctl:<name>]", or, plain, as "[img]" and "[ctl]".
std::u16string DescribeRange(const CRichEditUI* edit, long start, long end, bool plain = false);

// A message view top to bottom: messages, panes, header line, and text
// outside any message as notices with id 0. Notices read as a person reads
// them: a control in one stands for the texts it shows.
struct ViewItem {
    int64_t id = 0;
    std::string kind;  // "msg", "notice", "pane", "header"
    std::u16string text;
    bool visible = true;
    // The item's characters in the view's text: [start, end).
    long start = 0;
    long end = 0;
};
std::vector<ViewItem> ViewItems(const CRichEditExUI* view, bool plainObjects = false);
// What the controls embedded in an item show: the texts of every visible
// control in them, in tree order, separated by spaces ("" when none).
std::u16string ShownControlText(const CRichEditExUI* view, int64_t id);

// Clipboard for Paste.
struct ClipboardContent {
    std::u16string text;                   // U+FFFC stands for the next picture
    std::vector<std::u16string> pictures;  // file paths
};
void SetClipboard(const std::u16string& text, const std::vector<std::u16string>& pictures = {});
ClipboardContent GetClipboard();

// Message boxes: queued answers are used in order, then the default.
struct ShownBox {
    HWND parent = nullptr;
    std::u16string text;
    std::u16string caption;
    std::u16string buttons;
    int type = 0;
    std::u16string icon;
    int width = 0;
    int height = 0;
};
void QueueBoxAnswer(int answer);
// Called for every box as it is shown (the host program prints it).
void SetBoxObserver(std::function<void(const ShownBox&)> observer);
void SetDefaultBoxAnswer(int answer);
const std::vector<ShownBox>& ShownBoxes();

// Tool tips shown, in order.
struct ShownTip {
    std::u16string text;
    int32_t x = 0;
    int32_t y = 0;
    std::u16string align;
    int32_t width = 0;
    uint32_t displayMs = 0;
    int showMode = 0;
};
const std::vector<ShownTip>& ShownTips();
void RecordTip(const ShownTip& tip);

// Menus: every menu shown (as it was shown), and the one open now.
struct ShownMenu {
    int32_t menuId = 0;
    std::vector<SMenuItem> items;
    HWND owner = nullptr;
    int32_t x = 0;
    int32_t y = 0;
};
const std::vector<ShownMenu>& ShownMenus();
CMenuUI* OpenMenu();
// Clicks an item of the open menu (at any depth); the menu closes and its
// command goes to its target. False when no menu is open or the item is
// missing, a separator or disabled.
bool ClickMenuItem(int32_t itemId);
void DismissMenu();

// The picture check (GdiplusLoadImage): files of at least `tooLarge` bytes
// cannot be sent, of at least `sendAsFile` bytes go better as files.
void SetPictureSizeLimits(uint64_t tooLarge, uint64_t sendAsFile);
// Picture files of this size or more are not loaded.
uint64_t PictureSizeLimit();

// The host's window manager and what was asked of it.
pfx::IWndMgr* HostWndMgr();
struct WndMgrCall {
    std::string op;  // "add", "activate", "param", "refresh", "remove"
    HWND window = nullptr;
    std::u16string key;
    intptr_t param = 0;
};
const std::vector<WndMgrCall>& WndMgrCalls();

// ---- Pointing into rich edits (operations on shown messages) ----
// Where the pointer rests on a shown item of a message view: on its first
// character, or with `onPicture` on its first picture (false when it has
// none). Without an id: empty space below everything.
bool PointAtMsg(const CRichEditExUI* view, int64_t id, bool onPicture, TPointUI& point);
// A point on the edit's first picture; false when it has none.
bool PointAtPicture(const CRichEditUI* edit, TPointUI& point);
// A notification from the edit with the pointer at `point` (right click:
// UINOTIFY_RCLICK); answers whether a receiver took it.
bool NotifyAt(CControlUI* control, int32_t type, TPointUI point, uintptr_t wParam = 0, intptr_t lParam = 0);

}  // namespace sim
