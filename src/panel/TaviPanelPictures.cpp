// Pictures: the picture button and library, photos, files dropped on the
// window, and what the user does with a picture already shown.
#include <filesystem>
#include <memory>

#include "module/ModuleDll.h"
#include "sdk/host.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgOpsSupport.h"
#include "msghandle/NoticeText.h"
#include "msghandle/PictureCheck.h"
#include "panel/HostService.h"
#include "panel/HoverButton.h"
#include "panel/TaviPanel.h"
#include "sdk/display.h"
#include "sdk/platform_files.h"
#include "sdk/qel_account.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"

namespace tavi {

namespace {

constexpr int32_t kPictureMenuChoose = 32001;
constexpr int32_t kPictureMenuPhoto = 32002;
constexpr size_t kMaxDroppedPictures = 10;
constexpr int kHostEventDroppedFiles = 3;
constexpr uint32_t kSaveBufferSize = 260;

bool PathExists(const std::u16string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(platform::FsPath(path), error);
}

bool IsFolder(const std::u16string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(platform::FsPath(path), error);
}

// The paths of a drop, in drop order.
std::vector<std::u16string> DroppedPaths(HDROP drop) {
    std::vector<std::u16string> paths;
    const uint32_t count = DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t length = DragQueryFileW(drop, i, nullptr, 0);
        std::u16string path(size_t(length) + 1, u'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(path);
    }
    return paths;
}

// The save dialog's filter for a picture of that extension.
std::u16string SaveFilterFor(const std::u16string& extension) {
    struct SFilter {
        const char16_t* extension;
        const char16_t* label;
        const char16_t* pattern;
    };
    static const SFilter kFilters[] = {{u"jpg", u"JPEG(*.jpg)", u"*.jpg"},
                                       {u"bmp", u"BMP(*.bmp)", u"*.bmp"},
                                       {u"png", u"PNG(*.png)", u"*.png"},
                                       {u"gif", u"GIF(*.gif)", u"*.gif"}};
    std::u16string label = u"All files(*.*)";
    std::u16string pattern = u"*.*";
    for (const SFilter& filter : kFilters) {
        if (extension == filter.extension) {
            label = filter.label;
            pattern = filter.pattern;
        }
    }
    return label + u'\0' + pattern + u'\0';
}

// The save dialog's hook: the dialog keeps its own behaviour.
uintptr_t SaveDialogHook(HWND, uint32_t, uintptr_t, intptr_t) { return 0; }

}  // namespace

// ---- the picture button, the picture library and photos ----

bool CTaviPanel::OnBtnPic(TNotifyUI& msg) {
    if (msg.lParam == 0) {
        if (m_pMsgHandle) m_pMsgHandle->RicheditSelectImage();
        return true;
    }
    auto* menu = new CMenuUI();
    if (!menu->Load(kPictureMenu)) {
        delete menu;
        return true;
    }
    ShowMenuAtButton(menu, msg.pSender);
    return true;
}

bool CTaviPanel::OnBtnPicMenu(TNotifyUI& msg) {
    if (IAppMain* app = GetAppMain()) app->ReportUsageEvent("e_fun_chat_tool_send_pic", "OnBtnPicMenu", GetModuleInstance());
    const auto* item = reinterpret_cast<const TMenuItemInfo*>(msg.wParam);
    if (!item) return true;
    if (item->nId == kPictureMenuChoose && m_pMsgHandle) m_pMsgHandle->RicheditSelectImage();
    else if (item->nId == kPictureMenuPhoto) OnTakePhoto();
    return true;
}

bool CTaviPanel::OnBtnTakePhoto(TNotifyUI&) {
    OnTakePhoto();
    return true;
}

void CTaviPanel::OnTakePhoto() {
    CHostService<audio_video::ITakePhoto> camera(kPhotoServiceId);
    if (!camera) {
        TAVI_LOG("CTaviPanel::OnTakePhoto no photo service");
        return;
    }
    camera->TakePhoto(1, m_handleId.c_str(), m_sessionId.c_str(), this, GetHWND());
}

void CTaviPanel::OnFinishTakePhoto(int, const char16_t* path) {
    if (m_pMsgHandle && path && *path) m_pMsgHandle->ShowFinishSavePicNotifyMsg(path);
}

void CTaviPanel::OnSelFace(const char16_t* path) {
    if (path) InsertImage(std::u16string(path), true);
}

void CTaviPanel::OnBtnSyspic(CControlUI* button) {
    CWindowUI* window = GetWindow();
    RECT rect = button ? button->GetPos() : RECT{};
    if (window) rect = window->ClientToScreen(rect);
    CHostService<main::IFaceBrowser> browser(kFaceBrowserId);
    if (!browser) {
        TAVI_LOG("CTaviPanel::OnBtnSyspic create CLSID_FACE_BROWSER failed!");
        return;
    }
    if (m_windowKey == kAdhocChatKey) browser->ShowForAdhoc(rect, m_handleId.c_str(), this, GetHWND());
    else browser->ShowForChat(rect, m_handleId.c_str(), this, GetHWND());
}

bool CTaviPanel::OnSysPicBtnEvent(TEventUI& event) {
    CControlUI* button = event.pSender;
    const auto press = [this, button] {
        GetPictureHost()->CloseAllPopups();
        OnBtnSyspic(button);
    };
    return OnHoverButtonEvent(event, kSysPicHoverTimer, m_sysPicRect, press, [this](const RECT& rect) {
        if (m_windowKey != kAdhocChatKey) ShowRecentFaceWnd(rect);
    });
}

// Resting on the picture library offers the recent emoticons, as resting
// on the emoticon button does.
void CTaviPanel::ShowRecentFaceWnd(const RECT& rect) { ShowRecentEmoticonWnd(rect); }

// ---- pictures into the input ----

void CTaviPanel::InsertImage(COleImageObj* image) {
    if (!image) return;
    image->SetImageType(0);
    if (!m_pInputEdit || !m_pInputEdit->InsertObject(image)) delete image;
}

bool CTaviPanel::InsertImage(const std::u16string& path, bool focus) {
    if (!m_pInputEdit || path.empty()) return false;
    COleImageObj* picture = m_pInputEdit->InsertImage(path, -1);
    if (!picture) return false;
    picture->SetImageType(0);
    if (focus) m_pInputEdit->SetFocus();
    return true;
}

bool CTaviPanel::InsertEditImage(const std::u16string& path, const std::u16string& key) {
    if (!m_pInputEdit) return false;
    COleImageObj* old = key.empty() ? nullptr : m_pInputEdit->FindImage(key);
    const long pos = old ? m_pInputEdit->GetObjectPos(old) : -1;
    if (pos < 0) return m_pInputEdit->InsertImage(path, m_pInputEdit->GetTextLength()) != nullptr;
    m_pInputEdit->SetSel(pos, pos + 1);
    std::unique_ptr<COleImageObj> picture(COleImageObj::LoadImageW(path, true));
    if (!picture) return false;
    picture->SetImageType(0);
    if (!m_pInputEdit->ReplaceRange(pos, pos + 1, std::u16string(1, kObjectChar), {picture.get()})) return false;
    (void)picture.release();
    m_pInputEdit->SetSel(pos, pos + 1);
    return true;
}

// ---- dropped files ----

bool CTaviPanel::OnDropFiles(TEventUI& event) { return OnDropFiles(reinterpret_cast<HDROP>(event.wParam)); }

bool CTaviPanel::OnDropFilesNotify(TNotifyUI& msg) { return OnDropFiles(reinterpret_cast<HDROP>(msg.wParam)); }

bool CTaviPanel::OnDropFiles(HDROP drop) {
    TAVI_SCOPE("CTaviPanel::OnDropFiles");
    if (!drop || !qel_account_preference(m_account.get())) return false;
    const std::vector<std::u16string> paths = DroppedPaths(drop);
    const char* setting = m_windowKey == kPersonChatKey ? "SystemInfo.FriendChat_FileTrans.SingleChatImgFileSend"
                                                        : "SystemInfo.FriendChat_FileTrans.GroupChatImgFileSend";
    if (GetPrefInt(setting, m_windowKey == kPersonChatKey ? 0 : 1) == 0) {
        if (paths.size() > kMaxDroppedPictures) {
            SetCaptionBarText(util::Localised(u"#IDS_INSERT_FILE_TO_MSG_WND_LIMIT_TIP").c_str());
            return true;
        }
        bool allPictures = !paths.empty();
        for (const std::u16string& path : paths) allPictures = allPictures && HasPictureExtension(path) &&
                                                               IsSendablePictureFile(path);
        if (allPictures) {
            DropPicturesIntoInput(paths);
            return true;
        }
    }
    if (m_windowKey == kAdhocChatKey) return DropIntoAdhocChat(drop, paths);
    if (m_windowKey == kPersonChatKey && GetPictureHost()->GetSendImgFile()) SendDroppedPictures(paths);
    // The host sends what was dropped as files.
    ReportDroppedFiles(drop);
    return true;
}

void CTaviPanel::SendDroppedPictures(const std::vector<std::u16string>& paths) {
    if (!m_pMsgHandle) return;
    for (const std::u16string& path : paths) {
        if (HasPictureExtension(path) && IsSendablePictureFile(path))
            m_pMsgHandle->SendImgFile(m_pHistoryView, m_pInputEdit, path.c_str());
    }
}

void CTaviPanel::DropPicturesIntoInput(const std::vector<std::u16string>& paths) {
    for (const std::u16string& path : paths) InsertImage(path, false);
    if (m_pInputEdit) m_pInputEdit->SetFocus();
}

bool CTaviPanel::DropIntoAdhocChat(HDROP drop, const std::vector<std::u16string>& paths) {
    for (const std::u16string& path : paths) {
        if (IsFolder(path)) {
            ShowNotifyMsgInRE(qel_get_adjusted_time(), false,
                              MakeNoticeText(util::Localised(u"#IDS_ADHOC_NOT_SUPPORTED_SEND_FOLDER"), 2, 8).c_str(),
                              m_pHistoryView, false, nullptr, false, 0, -1, false);
        } else if (HasPictureExtension(path) && IsSendablePictureFile(path)) {
            InsertImage(path, false);
        } else if (m_pMsgHandle) {
            m_pMsgHandle->SendFileToAdhoc(path);
        }
    }
    DragFinish(drop);
    return true;
}

void CTaviPanel::ReportDroppedFiles(HDROP drop) {
    if (m_pHostSink)
        m_pHostSink->OnHostEvent(kHostEventDroppedFiles, reinterpret_cast<intptr_t>(&m_participants),
                                 reinterpret_cast<intptr_t>(drop));
}

// ---- double click on a picture ----

bool CTaviPanel::OnDbClickREImage(TNotifyUI& msg) {
    auto* edit = dynamic_cast<CRichEditUI*>(msg.pSender);
    auto* image = reinterpret_cast<COleImageObj*>(msg.lParam);
    if (!edit || !image || edit->GetObjectPos(image) < 0) return false;
    const std::u16string& path = image->GetFilePath();
    if (path == kRichErrorImage) {
        RetryImageDownload(image, edit);
        return true;
    }
    if (path == kRichWaitImage) return true;
    std::u16string file = path;
    if (!file.empty() && file[0] == u'#') file = ResolveResImagePath(file);
    if (!PathExists(file)) return true;
    if (image->GetImageType() == kImageTypeFileIcon) OpenFileByClickFileIcon(file);
    else OpenImageViewer(image, edit);
    return true;
}

void CTaviPanel::RetryImageDownload(COleImageObj* image, CRichEditUI* edit) {
    RelpaceWatingImageInRe(image, edit);
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    if (CFileDownloaderBase* downloader = GetImageDownloader(image->GetKey().c_str(), conversation, m_pHistoryView))
        downloader->DownLoadImageInRe();
}

// The viewer pages through the edit's own pictures: file icons and
// resource pictures are not among them.
void CTaviPanel::OpenImageViewer(COleImageObj* image, CRichEditUI* edit) {
    CStdPtrArray objects;
    edit->GetImageObj(objects);
    std::vector<std::u16string> pictures;
    int index = 0;
    for (int i = 0; i < objects.GetSize(); ++i) {
        const auto* picture = static_cast<const COleImageObj*>(objects.GetAt(i));
        const std::u16string& file = picture->GetFilePath();
        if (picture->GetImageType() == kImageTypeFileIcon || file.empty() || file[0] == u'#') continue;
        if (picture == image) index = int(pictures.size());
        pictures.push_back(file);
    }
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    GetPictureHost()->ShowImageViewer(GetHWND(), conversation, pictures, index);
}

void CTaviPanel::OpenFileByClickFileIcon(const std::u16string& path) {
    if (!PathExists(path)) {
        ShowOpBox(GetHWND(), util::Localised(u"#FILE_NOT_EXIST"), u"#NOTICE_OF_FILE_OPEN", u"#OK");
        return;
    }
    if (IsFolder(path)) filetransfer_common::OpenFolderWithErrorTip(path.c_str(), GetHWND());
    else filetransfer_common::OpenFileWithErrorTip(path.c_str(), GetHWND());
}

// ---- operations on a shown picture ----

void CTaviPanel::SaveImage(COleImageObj* image) {
    if (!image) return;
    std::u16string source = image->GetFilePath();
    if (!source.empty() && source[0] == u'#') source = ResolveResImagePath(source);
    std::u16string filter;
    std::u16string proposed;
    if (image->GetImageType() == kImageTypeFileIcon) {
        const size_t slash = source.find_last_of(u"/\\");
        proposed = slash == std::u16string::npos ? source : source.substr(slash + 1);
        filter = std::u16string(u"*.*") + u'\0' + u"*.*" + u'\0';
    } else {
        std::u16string extension = LowerExtension(source);
        if (extension.empty()) extension = u"jpg";
        filter = SaveFilterFor(extension);
        proposed = util::Localised(u"#UNTITLED");
    }
    std::u16string buffer(kSaveBufferSize, u'\0');
    std::copy_n(proposed.begin(), std::min<size_t>(proposed.size(), kSaveBufferSize - 1), buffer.begin());
    OPENFILENAMEW dialog;
    dialog.hwndOwner = GetHWND();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kSaveBufferSize;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_EXTENSIONDIFFERENT | OFN_ENABLEHOOK | OFN_NOCHANGEDIR |
                   OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    dialog.lpfnHook = &SaveDialogHook;
    if (!GetSaveFileNameW(&dialog)) return;
    buffer.back() = u'\0';
    CopyFileW(source.c_str(), buffer.c_str(), false);
}

void CTaviPanel::EditImage(const std::u16string& path, COleImageObj*) {
    const std::u16string file = !path.empty() && path[0] == u'#' ? ResolveResImagePath(path) : path;
    if (file.empty()) return;
    GetPictureHost()->EditImage(file.c_str(), m_handleId.c_str(), GetHWND());
}

void CTaviPanel::SaveAsSmiley(const char16_t* path) {
    if (!path || !*path) return;
    GetPictureHost()->AddSmiley(path, GetHWND());
}

void CTaviPanel::DecodeImage(const std::u16string& text, COleImageObj*) {
    if (text.empty()) return;
    GetPictureHost()->DecodeQrCode(text.c_str(), m_handleId.c_str());
}

}  // namespace tavi
