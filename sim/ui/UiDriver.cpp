// The driver's side of the UI framework.
#include "sim/ui/UiDriver.h"

#include <memory>

#include "sdk/win32.h"
#include "sim/core/CoreDriver.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/ui/UiInternal.h"

namespace {

struct DriverState {
    sim::ClipboardContent clipboard;
    std::vector<sim::ShownMenu> menus;
    std::unique_ptr<CMenuUI> open;
};

DriverState& State() {
    static DriverState state;
    return state;
}

const bool kRegistered = sim::RegisterReset([] {
    auto open = std::move(State().open);
    State() = DriverState{};
});

// A host window whose root is what its layout (if any) says.
class HostWindow final : public CWindowExUI {};

const char* KindName(EMsgKind kind) {
    switch (kind) {
        case EMsgKind::Notice: return "notice";
        case EMsgKind::Pane: return "pane";
        case EMsgKind::HeaderLine: return "header";
        default: return "msg";
    }
}

bool FindMenuItem(const std::vector<SMenuItem>& items, int32_t id, SMenuItem& out) {
    for (const SMenuItem& item : items) {
        if (!item.separator && item.id == id) {
            out = item;
            return true;
        }
        if (FindMenuItem(item.children, id, out)) return true;
    }
    return false;
}

}  // namespace

namespace sim::ui {
void MenuShown(CMenuUI* menu) {
    DriverState& s = State();
    if (s.open.get() != menu) s.open.reset(menu);
    const TPointUI at = menu->GetShowPoint();
    s.menus.push_back(ShownMenu{menu->GetMenuId(), menu->GetItems(), menu->GetOwner(), at.x, at.y});
}
}  // namespace sim::ui

namespace sim {

std::unique_ptr<CWindowUI> CreateHostWindow(const std::string& name, int width, int height) {
    auto window = std::make_unique<HostWindow>();
    window->Create(nullptr, ToWide(name).c_str(), 0, 0, 0, 0, width, height);
    window->ShowWindow(true);
    return window;
}

intptr_t SendWindowMessage(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    CWindowUI* window = CWindowUI::FromHandle(hwnd);
    return window ? window->SendMessage(message, wParam, lParam) : 0;
}

CControlUI* FindControl(CWindowUI* window, const std::string& name) {
    return window ? window->FindControl(ToWide(name)) : nullptr;
}

CControlUI* FindControl(CControlUI* root, const std::string& name) {
    if (!root || name.empty()) return nullptr;
    const std::u16string wide = ToWide(name);
    return root->GetName() == wide ? root : root->FindSubControl(wide);
}

RECT ControlRect(const CControlUI* control) { return control ? control->GetPos() : RECT{}; }

bool IsShown(const CControlUI* control) { return control && control->IsReallyVisible(); }

bool Click(CControlUI* control, uintptr_t wParam, intptr_t lParam) {
    if (!control || !control->IsReallyVisible() || !control->IsEnabled()) return false;
    // The press comes first; handlers bound to the control see it.
    TEventUI press;
    press.Type = UIEVENT_BUTTONDOWN;
    press.pSender = control;
    control->Event(press);
    if (!ui::IsAlive(control)) return true;
    if (auto* option = dynamic_cast<COptionUI*>(control)) option->SetSelected(!option->IsSelected());
    return control->SendNotify(UINOTIFY_CLICK, wParam, lParam);
}

bool Notify(CControlUI* control, int32_t type, uintptr_t wParam, intptr_t lParam) {
    return control && control->SendNotify(type, wParam, lParam);
}

bool ChooseComboItem(CControlUI* combo, const std::u16string& text) {
    auto* box = dynamic_cast<CComboBoxUI*>(combo);
    if (!box || !box->IsEnabled()) return false;
    const int index = box->FindFirstItem(text);
    return index >= 0 && box->SelectItem(index, true);
}

int32_t SendKey(CControlUI* control, char16_t ch, bool ctrl) {
    if (!control) return 0;
    const bool wasDown = GetKeyState(VK_CONTROL) < 0;
    SetKeyDown(VK_CONTROL, ctrl);
    TEventUI event;
    event.Type = UIEVENT_CHAR;
    event.pSender = control;
    event.chKey = ch;
    event.wParam = ch;
    control->Event(event);
    SetKeyDown(VK_CONTROL, wasDown);
    return event.Type;
}

int32_t PressEnter(CControlUI* control, bool ctrl) { return SendKey(control, u'\r', ctrl); }

void TypeText(CControlUI* edit, const std::u16string& text) {
    for (char16_t c : text) {
        if (!ui::IsAlive(edit)) return;
        SendKey(edit, c == u'\n' ? u'\r' : c);
    }
}

void SendEvent(CControlUI* control, int32_t type, uintptr_t wParam, intptr_t lParam) {
    if (!control) return;
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.wParam = wParam;
    event.lParam = lParam;
    control->Event(event);
}

int32_t SendKeyDown(CControlUI* control, char16_t virtualKey) {
    if (!control) return 0;
    TEventUI event;
    event.Type = UIEVENT_KEYDOWN;
    event.pSender = control;
    event.chKey = virtualKey;
    event.wParam = virtualKey;
    control->Event(event);
    return event.Type;
}

bool SendOleEvent(CRichEditUI* edit, int32_t type, TPointUI point) {
    if (!edit) return false;
    TEventUI event;
    event.Type = type;
    event.pSender = edit;
    event.ptMouse = point;
    return edit->OnOleEvent(event, edit->FindObject(point));
}

EditContent ReadEdit(const CRichEditUI* edit) {
    EditContent content;
    if (!edit) return content;
    content.text = edit->GetText();
    for (int i = 0; i < edit->GetObjectCount(); ++i) {
        COleObject* object = edit->GetObjectAt(i);
        EditObject info;
        info.pos = object->GetCharPos();
        info.width = object->GetDisplayWidth();
        info.height = object->GetDisplayHeight();
        if (auto* image = dynamic_cast<COleImageObj*>(object)) {
            info.kind = "image";
            info.imageType = image->GetImageType();
            info.key = image->GetKey();
            info.path = image->GetFilePath();
        } else if (auto* holder = dynamic_cast<COleControlObj*>(object)) {
            info.kind = "control";
            const CControlUI* c = holder->GetControl();
            info.control = c->GetName().empty() ? c->GetId() : c->GetName();
        } else {
            info.kind = "other";
        }
        content.objects.push_back(info);
    }
    return content;
}

namespace {

// The texts of every visible control of a tree, in tree order, separated by spaces.
std::u16string ShownTexts(CControlUI* control) {
    std::u16string out;
    control->ForEach([&out](CControlUI* c) {
        if (!c->IsReallyVisible() || c->GetText().empty()) return;
        out += (out.empty() ? u"" : u" ") + c->GetText();
    });
    return out;
}

enum class ObjectStyle { Detailed, Plain, AsShown };

std::u16string Describe(const CRichEditUI* edit, long start, long end, ObjectStyle style) {
    if (!edit) return std::u16string();
    const std::u16string text = edit->GetTextRange(start, end);
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != kObjectChar) {
            out += text[i];
            continue;
        }
        COleObject* object = edit->GetObjectAtPos(start + long(i));
        if (auto* image = dynamic_cast<COleImageObj*>(object)) {
            if (style != ObjectStyle::Detailed) out += u"[img]";
            else out += u"[img:" + (image->GetKey().empty() ? image->GetFilePath() : image->GetKey()) + u"]";
        } else if (auto* holder = dynamic_cast<COleControlObj*>(object)) {
            const CControlUI* c = holder->GetControl();
            if (style == ObjectStyle::AsShown) {
                // A notice reads as what its buttons say, set off by a space.
                const std::u16string shown = ShownTexts(holder->GetControl());
                if (!shown.empty() && !out.empty() && out.back() != u' ') out += u' ';
                out += shown;
            } else if (style == ObjectStyle::Plain) {
                out += u"[ctl]";
            } else {
                out += u"[ctl:" + (c->GetName().empty() ? c->GetId() : c->GetName()) + u"]";
            }
        } else {
            out += u"[obj]";
        }
    }
    return out;
}

}  // namespace

std::u16string DescribeRange(const CRichEditUI* edit, long start, long end, bool plain) {
    return Describe(edit, start, end, plain ? ObjectStyle::Plain : ObjectStyle::Detailed);
}

std::vector<ViewItem> ViewItems(const CRichEditExUI* view, bool plainObjects) {
    std::vector<ViewItem> items;
    if (!view) return items;
    long pos = 0;
    auto gap = [&](long until) {
        if (until > pos) items.push_back(ViewItem{0, "notice", Describe(view, pos, until, ObjectStyle::AsShown), true, pos, until});
    };
    const ObjectStyle style = plainObjects ? ObjectStyle::Plain : ObjectStyle::Detailed;
    for (const SViewMsg& m : view->GetMsgs()) {
        gap(m.start);
        // Notices are read by people: what their controls show, not what they are.
        const ObjectStyle itemStyle = m.kind == EMsgKind::Notice ? ObjectStyle::AsShown : style;
        items.push_back(ViewItem{m.id, KindName(m.kind), Describe(view, m.start, m.end, itemStyle), m.visible, m.start, m.end});
        pos = m.end;
    }
    gap(view->GetTextLength());
    return items;
}

std::u16string ShownControlText(const CRichEditExUI* view, int64_t id) {
    CHARRANGE range;
    if (!view || !view->GetMsgRange(id, range)) return u"";
    std::u16string out;
    for (long p = range.cpMin; p < range.cpMax; ++p) {
        auto* holder = dynamic_cast<COleControlObj*>(view->GetObjectAtPos(p));
        if (!holder) continue;
        const std::u16string shown = ShownTexts(holder->GetControl());
        if (!shown.empty()) out += (out.empty() ? u"" : u" ") + shown;
    }
    return out;
}

void SetClipboard(const std::u16string& text, const std::vector<std::u16string>& pictures) {
    State().clipboard = ClipboardContent{text, pictures};
}

ClipboardContent GetClipboard() { return State().clipboard; }

const std::vector<ShownMenu>& ShownMenus() { return State().menus; }

CMenuUI* OpenMenu() { return State().open.get(); }

bool ClickMenuItem(int32_t itemId) {
    std::unique_ptr<CMenuUI> menu = std::move(State().open);
    if (!menu) return false;
    SMenuItem item;
    if (!FindMenuItem(menu->GetItems(), itemId, item) || !item.enabled) {
        State().open = std::move(menu);
        return false;
    }
    TMenuItemInfo info{item.id, item.text, menu->GetParam()};
    TNotifyUI msg;
    msg.nType = UINOTIFY_CLICK;
    msg.wParam = reinterpret_cast<uintptr_t>(&info);
    msg.lParam = menu->GetMenuId();
    if (INotifyUI* target = menu->GetTarget()) {
        target->ProcessNotify(msg);
    } else if (CWindowUI* window = CWindowUI::FromHandle(menu->GetOwner())) {
        window->DispatchNotify(msg);
    }
    return true;
}

void DismissMenu() { State().open.reset(); }

}  // namespace sim
