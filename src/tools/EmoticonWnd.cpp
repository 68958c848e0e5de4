#include "tools/EmoticonWnd.h"

#include <tinyxml.h>

#include <cstdio>
#include <memory>

#include "module/ModuleDll.h"
#include "sdk/confinfo.h"
#include "sdk/platform_files.h"
#include "sdk/ui.h"
#include "tools/PopupPlacement.h"
#include "util/Log.h"
#include "util/SafeXml.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr const char16_t* kDefinitionFile = u"emoticon.xml";
// A definition file holds a few hundred short entries at most.
constexpr size_t kMaxDefinitionBytes = 1u << 20;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

std::unique_ptr<FILE, FileCloser> OpenFile(const std::u16string& path) {
    return std::unique_ptr<FILE, FileCloser>(platform::OpenFile(platform::FsPath(path), "rb"));
}

// The file's bytes; false when it cannot be read or is larger than the cap.
bool ReadSmallFile(const std::u16string& path, std::string& out) {
    auto file = OpenFile(path);
    if (!file) return false;
    char buffer[8192];
    out.clear();
    for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0;) {
        out.append(buffer, n);
        if (out.size() > kMaxDefinitionBytes) return false;
    }
    return std::ferror(file.get()) == 0;
}

std::u16string AttributeText(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return util::Localised(util::Utf8ToWide(value ? value : "").c_str());
}

}  // namespace

CEmoticonWnd::CEmoticonWnd() { EnableMove(false); }

std::u16string CEmoticonWnd::FindDefinitionFile() {
    const std::u16string misc = confinfo_handle::GetConfMiscPath();
    if (!misc.empty() && OpenFile(misc + kDefinitionFile)) return misc + kDefinitionFile;
    return GetModuleConfPath(GetModuleInstance()) + kDefinitionFile;
}

void CEmoticonWnd::Load(const std::u16string& path) {
    if (path.empty()) return;
    m_emoticons.clear();
    m_filePath = path;
    TAVI_LOG("CAppBoxMiniPanel::Load path: %s !", util::WideToUtf8(path).c_str());
    std::string text;
    TiXmlDocument doc;
    if (!ReadSmallFile(path, text) || !util::ParseXmlSafely(doc, text)) {
        TAVI_LOG_FAIL("CEmoticonWnd::Load: '%s' is missing or not a readable emoticon list",
                      util::WideToUtf8(path).c_str());
        return;
    }
    const TiXmlElement* root = doc.RootElement();
    for (const TiXmlElement* e = root ? root->FirstChildElement() : nullptr; e; e = e->NextSiblingElement())
        m_emoticons.emplace_back(AttributeText(*e, "name"), AttributeText(*e, "descript"));
}

void CEmoticonWnd::OnCreate() {
    Load(FindDefinitionFile());
    CContainerUI* root = GetRoot();
    auto* client = dynamic_cast<CContainerUI*>(FindControl(u"client"));
    if (client) {
        for (const auto& [name, description] : m_emoticons) {
            auto* button = new CFaceIconButton();
            button->SetId(u"face_btn");
            button->SetText(name);
            button->SetToolTip(util::Localised(description.c_str()));
            button->SetCoordinate(0, 0, 112, 25, -1);
            button->SetAttribute(u"style", u"FaceIconButton");
            button->OnEvent += [this](TEventUI& event) { return OnFaceBtnDelegateEvent(event); };
            button->SetAttribute(u"icon.image", u"");
            client->Add(button);
        }
    }
    if (root) root->NeedUpdate();
    Invalidate();
}

bool CEmoticonWnd::GetPos(const RECT& anchor, RECT& out) const {
    out = PlaceBesideAnchor(anchor, GetMinInfo());
    KeepInsideScreen(out);
    return true;
}

void CEmoticonWnd::MoveWindow(const RECT& rect) {
    CWindowUI::MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool CEmoticonWnd::OnClickFaceBtn(TNotifyUI& msg) {
    if (!IsMultiChoiceKeyDown()) ShowWindow(false);
    if (msg.pSender && m_pEmoticonCallBack) {
        const std::u16string name = msg.pSender->GetText();
        const std::u16string description = msg.pSender->GetToolTip();
        m_pEmoticonCallBack->OnSelEmoticon(name.c_str(), description.c_str());
    }
    return true;
}

// The wheel (and the scrolling keys) over a button scroll the grid under
// it; the button itself does nothing with them.
bool CEmoticonWnd::OnFaceBtnDelegateEvent(TEventUI& event) {
    if ((event.Type != UIEVENT_KEYDOWN && event.Type != UIEVENT_SCROLLWHEEL) || !event.pSender) return true;
    if (CControlUI* parent = event.pSender->GetParent()) parent->Event(event);
    event.Type = UIEVENT_HANDLED;
    return true;
}

void CEmoticonWnd::OnKillFocus() {
    ShowWindow(false);
    m_pEmoticonCallBack = nullptr;
}

bool CEmoticonWnd::ProcessNotify(TNotifyUI& msg) {
    if (msg.nType == UINOTIFY_CLICK && msg.pSender && util::EqualsNoCase(msg.pSender->GetId(), u"face_btn"))
        return OnClickFaceBtn(msg);
    return false;
}

intptr_t CEmoticonWnd::WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_KILLFOCUS) {
        OnKillFocus();
        return 0;
    }
    return CWindowUI::WindowProc(message, wParam, lParam);
}

}  // namespace tavi
