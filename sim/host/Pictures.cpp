// The host's picture side: camera, face browser, recent-photo panels, the
// picture server behind downloads in message views, and the application
// object's picture operations, each recorded as it is asked.
#include <tinyxml.h>

#include <filesystem>
#include <map>
#include <memory>

#include "sdk/pictures.h"
#include "sdk/platform_files.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/BodyReader.h"
#include "sim/host/DisplayInternal.h"
#include "sim/host/PicturesInternal.h"
#include "sim/ui/UiInternal.h"

namespace sim {

namespace {


struct PicturesState {
    bool photo = false;
    bool canTakePhoto = true;
    std::u16string photoPath;
    bool faceBrowser = false;
    bool recentPhotos = false;
    bool sendImgFile = false;
    std::map<std::string, std::u16string> served;
    std::vector<std::string> calls;
    std::vector<std::unique_ptr<CFileDownloaderBase>> downloaders;
    RECT faceBrowserRect{};
};

PicturesState& State() {
    static PicturesState state;
    return state;
}
const bool kRegistered = RegisterReset([] { State() = PicturesState{}; });

void Record(const std::string& call) { State().calls.push_back(call); }
std::string Utf8(const char16_t* text) { return ToUtf8(text ? text : u""); }

template <class Interface>
class Service : public Interface {
public:
    explicit Service(const pfx::GUID& id) : m_id(id) {}
    pfx::GUID GetClassId() const override { return m_id; }
    int32_t Release() override {
        const int32_t left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    bool QueryObject(const pfx::GUID&, void**, int32_t) override { return false; }
    int32_t AddRef() override { return ++m_refs; }
    int32_t DecRef() override { return --m_refs; }

private:
    pfx::GUID m_id;
    int32_t m_refs = 1;
};

class Camera final : public Service<audio_video::ITakePhoto> {
public:
    using Service::Service;
    bool CanTakePhoto() override { return State().canTakePhoto; }
    // The camera dialog is modal: the photo is saved before it returns.
    void TakePhoto(int mode, const char16_t* handleId, const char16_t* sessionId,
                   audio_video::ITakePhotoNotify* notify, HWND) override {
        Record("photo " + std::to_string(mode) + " " + Utf8(handleId) + " " + Utf8(sessionId));
        if (notify && !State().photoPath.empty()) notify->OnFinishTakePhoto(0, State().photoPath.c_str());
    }
};

class FaceBrowser final : public Service<main::IFaceBrowser> {
public:
    using Service::Service;
    void ShowForChat(const RECT& at, const char16_t* handleId, main::IFaceCallBack*, HWND) override {
        State().faceBrowserRect = at;
        Record("face-browser chat " + Utf8(handleId));
    }
    void ShowForAdhoc(const RECT& at, const char16_t* handleId, main::IFaceCallBack*, HWND) override {
        State().faceBrowserRect = at;
        Record("face-browser adhoc " + Utf8(handleId));
    }
};

class RecentPhotos final : public Service<main::IRecentPhotoPanel> {
public:
    RecentPhotos(const pfx::GUID& id, const char* kind) : Service(id), m_kind(kind) {}
    void ShowRecentPhotoPanel(const char* buddyId, HWND) override {
        Record(std::string("recent-photos ") + m_kind + " " + (buddyId ? buddyId : ""));
    }

private:
    const char* m_kind;
};

pfx::IObject* MakeService(const pfx::GUID& id) {
    const PicturesState& s = State();
    if (id == kPhotoServiceId && s.photo) return new Camera(id);
    if (id == kFaceBrowserId && s.faceBrowser) return new FaceBrowser(id);
    if (id == kRecentPhotoServiceId && s.recentPhotos) return new RecentPhotos(id, "plain");
    if (id == kRecentPhotoFeedServiceId && s.recentPhotos) return new RecentPhotos(id, "feed");
    return nullptr;
}
const bool kServices = AddHostServiceFactory(&MakeService);

bool Contains(CControlUI* root, const CControlUI* control) {
    bool found = false;
    if (root) root->ForEach([&](CControlUI* c) { found = found || c == control; });
    return found;
}

// Swaps a picture object of an edit for another at the same place.
void ReplacePicture(CRichEditUI* edit, COleImageObj* old, COleImageObj* replacement) {
    const long pos = edit->GetObjectPos(old);
    if (pos < 0 || !edit->ReplaceRange(pos, pos + 1, std::u16string(1, kObjectChar), {replacement})) delete replacement;
}

COleImageObj* MakePicture(const std::u16string& path, const std::u16string& key) {
    COleImageObj* picture = COleImageObj::LoadImage(path, true);
    if (!picture) return nullptr;
    picture->SetKey(key);
    return picture;
}

class Downloader final : public CFileDownloaderBase {
public:
    Downloader(std::u16string key, CRichEditExUI* view) : m_key(std::move(key)), m_view(view) {}
    void DownLoadImageInRe() override {
        Record("download " + ToUtf8(m_key));
        CWindowUI* window = m_view ? m_view->GetWindow() : nullptr;
        HWND hwnd = window ? window->GetHWND() : nullptr;
        Post([key = m_key, view = m_view, hwnd] {
            // The view may have closed while the picture was on its way.
            CWindowUI* w = CWindowUI::FromHandle(hwnd);
            if (!w || !Contains(w->GetRoot(), view)) return;
            COleImageObj* waiting = view->FindImage(key);
            if (!waiting || waiting->GetFilePath() != kRichWaitImage) return;
            auto it = State().served.find(ToUtf8(key));
            COleImageObj* picture = it == State().served.end() ? nullptr : MakePicture(it->second, key);
            if (picture) ReplacePicture(view, waiting, picture);
            else waiting->SetFilePath(kRichErrorImage);
        });
    }

private:
    std::u16string m_key;
    CRichEditExUI* m_view;
};

class PictureHost final : public IPictureHost {
public:
    void ShowImageViewer(HWND, qel_handle, const std::vector<std::u16string>& pictures, int index) override {
        std::string list;
        for (const auto& p : pictures) list += (list.empty() ? "" : "|") + ToUtf8(p);
        Record("viewer " + std::to_string(index) + " " + list);
    }
    void EditImage(const char16_t* path, const char16_t* handleId, HWND) override {
        Record("edit " + Utf8(path) + " " + Utf8(handleId));
    }
    void AddSmiley(const char16_t* path, HWND) override {
        Record("smiley " + Utf8(path));
        // The host's smiley store keeps the picture under its digest-free name;
        // its record stays empty until the first message carries it.
        const std::u16string file = path ? path : u"";
        if (!file.empty() && CurrentAccount()) AddCustomSmiley(platform::PathText(platform::FsPath(file).filename()), "");
    }
    void DecodeQrCode(const char16_t* text, const char16_t* handleId) override {
        Record("decode " + Utf8(text) + " " + Utf8(handleId));
    }
    void CloseAllPopups() override { Record("close-popups"); }
    bool GetSendImgFile() override { return State().sendImgFile; }
};

}  // namespace

void SetPhotoService(bool present, bool canTakePhoto, const std::u16string& savedPath) {
    State().photo = present;
    State().canTakePhoto = canTakePhoto;
    State().photoPath = savedPath;
}
void SetFaceBrowser(bool present) { State().faceBrowser = present; }
void SetRecentPhotoServices(bool present) { State().recentPhotos = present; }
void SetSendImgFile(bool allowed) { State().sendImgFile = allowed; }
void ServePicture(const std::string& key, const std::u16string& path) { State().served[key] = path; }
const std::vector<std::string>& PictureCalls() { return State().calls; }

RECT FaceBrowserRect() { return State().faceBrowserRect; }

void InsertContent(CREidtInsertHelper& helper, const std::string& contentType, const std::string& content) {
    auto insertPicture = [&helper](const TiXmlElement& e) {
        const std::string src = e.Attribute("src") ? e.Attribute("src") : "";
        const std::u16string key = ToWide(src);
        if (!src.empty() && src[0] == '#') {
            auto* face = new COleImageObj;
            face->SetImageType(1);
            face->SetKey(key.substr(1));
            face->SetFilePath(key);
            if (!helper.InsertImage(face)) delete face;
            return;
        }
        auto it = State().served.find(src);
        COleImageObj* picture = it == State().served.end() ? nullptr : MakePicture(it->second, key);
        if (!picture) {
            picture = new COleImageObj;
            picture->SetKey(key);
            picture->SetFilePath(kRichErrorImage);
        }
        if (!helper.InsertImage(picture)) delete picture;
    };
    TiXmlDocument doc;
    // What cannot be read within the client's limits shows as the plain text does.
    if ((contentType != "img/xml" && contentType != "rich/xml") || !ReadBodyWithinLimits(doc, content)) {
        helper.InsertText(ContentText(contentType, content));
        return;
    }
    const TiXmlElement* root = doc.RootElement();
    if (!root) {
        helper.InsertText(ContentText(contentType, content));
        return;
    }
    if (contentType == "img/xml") {
        insertPicture(*root);
        return;
    }
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string name = e->Value();
        if (name == "span") helper.InsertText(ToWide(e->GetText() ? e->GetText() : ""));
        else if (name == "img" || name == "localimg") insertPicture(*e);
    }
}

}  // namespace sim

CFileDownloaderBase* GetImageDownloader(const char16_t* key, qel_handle, CRichEditExUI* view) {
    if (!key || !view) return nullptr;
    auto& downloaders = sim::State().downloaders;
    downloaders.push_back(std::make_unique<sim::Downloader>(key, view));
    return downloaders.back().get();
}

void RelpaceWatingImageInRe(COleImageObj* image, CRichEditUI*) {
    if (image) image->SetFilePath(kRichWaitImage);
}

std::u16string ResolveResImagePath(const std::u16string& name) {
    if (name.empty() || name[0] != u'#') return name;
    const std::string relative = "image/" + sim::ToUtf8(name.substr(1));
    for (const std::string& candidate : {relative, relative + ".png", relative + ".gif"}) {
        const std::string found = sim::ui::FindResource(candidate);
        if (!found.empty()) return sim::ToWide(found);
    }
    return std::u16string();
}

IPictureHost* GetPictureHost() {
    static sim::PictureHost host;
    return &host;
}

namespace filetransfer_common {
void OpenFileWithErrorTip(const char16_t* path, HWND) { sim::Record("open-file " + sim::Utf8(path)); }
void OpenFolderWithErrorTip(const char16_t* path, HWND) { sim::Record("open-folder " + sim::Utf8(path)); }
}  // namespace filetransfer_common

