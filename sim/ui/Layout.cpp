// Layout resources: skin/layout/<dialog id>.xml, one element per control.
// The root element's attributes belong to the control being built; each
// child element names a control class (built-in or registered with the
// engine) and its attributes. A registered class whose factory makes
// nothing falls back to the class named by the "fallback" attribute.
#include <tinyxml.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "sdk/platform_files.h"
#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/ComboBoxUI.h"
#include "sdk/ui/CompositeUI.h"
#include "sdk/ui/ListUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/TransitionUI.h"
#include "sim/core/CoreDriver.h"
#include "sim/core/Text.h"
#include "sim/ui/UiInternal.h"

namespace sim::ui {

std::string FindResource(const std::string& relative) {
    const auto& folders = ResourceFolders();
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        const std::string path = *it + relative;
        std::ifstream probe(platform::FsPath(path));
        if (probe.good()) return path;
    }
    return std::string();
}

bool ReadFile(const std::string& path, std::string& contents) {
    std::ifstream in(platform::FsPath(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    contents = buffer.str();
    return true;
}

bool IsValidUtf8(const std::string& text) {
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : n;
        if (extra > n - i - 1) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

namespace {

CControlUI* MakeBuiltIn(const std::string& cls) {
    if (cls == "Control") return new CControlUI;
    if (cls == "Container") return new CContainerUI;
    if (cls == "Layout") return new CLayoutUI;
    if (cls == "VerticalLayout") return new CVerticalLayoutUI;
    if (cls == "HorizontalLayout") return new CHorizontalLayoutUI;
    if (cls == "Composite") return new CCompositeUI;
    if (cls == "Label" || cls == "Text") return new CLabelUI;
    if (cls == "Button") return new CButtonUI;
    if (cls == "Option") return new COptionUI;
    if (cls == "List") return new CListUI;
    if (cls == "Transition") return new CTransitionUI;
    if (cls == "Combo" || cls == "ComboBox") return new CComboBoxUI;
    if (cls == "RichEdit") return new CRichEditUI;
    if (cls == "RichEditEx") return new CRichEditExUI;
    return nullptr;
}

// A layout file as the builder needs it: element classes and attributes
// already read and widened. Every window builds the same few layouts, so
// each file is read into this form once and kept with the text it came
// from; a file whose text changes is read again.
struct LayoutElement {
    std::string cls;
    std::string fallback;
    bool hasFallback = false;
    bool hasChildElement = false;
    // In the order they are applied: the name first, so that an explicit id
    // wins over the one derived from it; "fallback" is no attribute of the control.
    std::vector<std::pair<std::u16string, std::u16string>> attributes;
    std::vector<LayoutElement> children;
};

LayoutElement Digest(const TiXmlElement& element) {
    LayoutElement digest;
    digest.cls = element.Value();
    if (const char* fallback = element.Attribute("fallback")) {
        digest.hasFallback = true;
        digest.fallback = fallback;
    }
    digest.hasChildElement = element.FirstChildElement() != nullptr;
    if (const char* name = element.Attribute("name")) digest.attributes.emplace_back(u"name", ToWide(name));
    for (const TiXmlAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
        const std::string key = a->Name();
        if (key == "name" || key == "fallback") continue;
        digest.attributes.emplace_back(ToWide(key), ToWide(a->Value()));
    }
    for (const TiXmlElement* e = element.FirstChildElement(); e; e = e->NextSiblingElement())
        digest.children.push_back(Digest(*e));
    return digest;
}

// The file's root element, or null when the file is no layout.
std::shared_ptr<const LayoutElement> ParseLayout(const std::string& xml) {
    if (!IsValidUtf8(xml)) return nullptr;
    TiXmlDocument doc;
    doc.Parse(xml.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement* root = doc.RootElement();
    if (doc.Error() || !root) return nullptr;
    return std::make_shared<const LayoutElement>(Digest(*root));
}

struct CachedLayout {
    std::string xml;
    std::shared_ptr<const LayoutElement> root;
};

// Shared (held) so that a layout stays whole while it is being built even
// if building it reads the same file again and finds it changed.
std::shared_ptr<const LayoutElement> LayoutOf(const std::string& path, std::string&& xml) {
    static std::map<std::string, CachedLayout> cache;
    auto it = cache.find(path);
    if (it == cache.end() || it->second.xml != xml) {
        std::shared_ptr<const LayoutElement> root = ParseLayout(xml);
        it = cache.insert_or_assign(path, CachedLayout{std::move(xml), std::move(root)}).first;
    }
    return it->second.root;
}

CControlUI* MakeControl(const LayoutElement& element) {
    if (CControlUI* registered = CreateRegisteredControl(element.cls)) return registered;
    if (CControlUI* builtIn = MakeBuiltIn(element.cls)) return builtIn;
    if (element.hasFallback) {
        if (CControlUI* c = MakeBuiltIn(element.fallback)) return c;
    }
    // An unknown class still holds its children and keeps its name.
    return element.hasChildElement ? new CContainerUI : new CControlUI;
}

void ApplyAttributes(const LayoutElement& element, CControlUI* control) {
    for (const auto& [key, value] : element.attributes) control->SetAttribute(key, value);
}

bool BuildChildren(const LayoutElement& parent, CContainerUI* into, int depth) {
    // Layouts are shallow; a deep one is a broken resource, not a reason to overflow.
    if (depth > 64) return false;
    for (const LayoutElement& e : parent.children) {
        CControlUI* control = MakeControl(e);
        ApplyAttributes(e, control);
        if (!into->Add(control)) {
            CControlUI::Destroy(control);
            continue;
        }
        auto* container = dynamic_cast<CContainerUI*>(control);
        if (container && !BuildChildren(e, container, depth + 1)) return false;
    }
    return true;
}

}  // namespace

bool BuildLayout(const std::u16string& dialogId, CContainerUI* into) {
    if (dialogId.empty() || !into) return false;
    const std::string path = FindResource("layout/" + ToUtf8(dialogId) + ".xml");
    std::string xml;
    if (path.empty() || !ReadFile(path, xml)) return false;
    const std::shared_ptr<const LayoutElement> root = LayoutOf(path, std::move(xml));
    if (!root) return false;
    ApplyAttributes(*root, into);
    if (BuildChildren(*root, into, 0)) return true;
    into->RemoveAll();
    return false;
}

}  // namespace sim::ui

bool CCompositeUI::Create(const char16_t* dialogId, CControlUI* parent) { return CreateEx(dialogId, parent, {}); }

bool CCompositeUI::CreateEx(const char16_t* dialogId, CControlUI* parent, const Attributes& attributes) {
    if (!dialogId || !sim::ui::BuildLayout(dialogId, this)) return false;
    m_dialogId = dialogId;
    for (const auto& [name, value] : attributes) SetAttribute(name, value);
    if (auto* container = dynamic_cast<CContainerUI*>(parent)) container->Add(this);
    OnCreate();
    return true;
}

bool CCompositeUI::ProcessNotify(TNotifyUI&) { return false; }
