// The UI engine's control classes, the resource folders and localised texts.
#include <tinyxml.h>

#include <map>
#include <string>
#include <vector>

#include "sdk/ui.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace sim {

namespace {

struct ResourceState {
    std::map<std::u16string, ControlFactoryFn> controlClasses;
    std::vector<std::string> folders;
    Language language = Language::English;
    // Texts read from the folders, loaded on first use after a folder is added.
    std::map<std::u16string, std::u16string> texts;
    bool textsLoaded = false;
    std::map<std::u16string, std::u16string> overrides;
    // Texts handed out by I18NSTR stay put until the world is reset, so a
    // caller may hold several at once.
    std::map<std::u16string, std::u16string> handedOut;
};

ResourceState& State() {
    static ResourceState state;
    return state;
}

// The language goes back to English too: a world that asked for the keys
// must not leave them to the next one.
const bool kRegistered = RegisterReset([] { State() = ResourceState{}; });

void LoadTexts() {
    ResourceState& s = State();
    s.textsLoaded = true;
    s.texts.clear();
    for (const std::string& folder : s.folders) {
        TiXmlDocument doc;
        if (!doc.LoadFile((folder + "lang/en.xml").c_str(), TIXML_ENCODING_UTF8)) continue;
        const TiXmlElement* root = doc.RootElement();
        for (const TiXmlElement* e = root ? root->FirstChildElement("Text") : nullptr; e; e = e->NextSiblingElement("Text")) {
            const char* key = e->Attribute("key");
            if (!key) continue;
            const char* value = e->GetText();
            s.texts.emplace(ToWide(key), ToWide(value ? value : ""));
        }
    }
}

class Engine : public IUIEngine {
public:
    bool RegisterControl(const char16_t* className, ControlFactoryFn factory) override {
        if (!className || !*className || !factory) return false;
        return State().controlClasses.emplace(className, factory).second;
    }
};

class Res : public IUIRes {
public:
    void AddResPath(const char16_t* folder, int) override {
        if (!folder || !*folder) return;
        std::string path = ToUtf8(folder);
        for (char& c : path) {
            if (c == '\\') c = '/';
        }
        if (path.back() != '/') path += '/';
        State().folders.push_back(path);
        State().textsLoaded = false;
    }
};

}  // namespace

void SetLanguage(Language language) { State().language = language; }
void SetText(const std::string& key, const std::string& text) { State().overrides[ToWide(key)] = ToWide(text); }
const std::vector<std::string>& ResourceFolders() { return State().folders; }

std::vector<std::string> RegisteredControlClasses() {
    std::vector<std::string> names;
    for (const auto& [name, factory] : State().controlClasses) names.push_back(ToUtf8(name));
    return names;
}

CControlUI* CreateRegisteredControl(const std::string& className) {
    auto it = State().controlClasses.find(ToWide(className));
    return it == State().controlClasses.end() ? nullptr : it->second();
}

std::u16string LocalisedText(const std::u16string& key) {
    ResourceState& s = State();
    if (s.language == Language::Keys) return key;
    if (auto it = s.overrides.find(key); it != s.overrides.end()) return it->second;
    if (!s.textsLoaded) LoadTexts();
    auto it = s.texts.find(key);
    // An unknown key shows itself, so a missing text is visible rather than blank.
    return it == s.texts.end() ? key : it->second;
}

}  // namespace sim

IUIEngine* GetUIEngine() {
    static sim::Engine engine;
    return &engine;
}

IUIRes* GetUIRes() {
    static sim::Res res;
    return &res;
}

const char16_t* I18NSTR(const char16_t* key, int flags) {
    if (!key) return u"";
    std::u16string& slot = sim::State().handedOut[key];
    slot = sim::LocalisedText(key);
    // Only plain look-ups (flags 0) are known here: any other flag shows in
    // the text, so that what it would change does not pass unseen.
    if (flags != 0) slot = u"[flags " + sim::ToWide(std::to_string(flags)) + u"] " + slot;
    return slot.c_str();
}
