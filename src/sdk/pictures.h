// What the host offers around pictures: the photo service, the face
// browser, the recent-photo panels, the picture downloader of message
// views, and the application object's picture operations (viewer, editor,
// smiley store, QR decode, opening files).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/pfx.h"
#include "sdk/qel.h"
#include "sdk/win32.h"

class CRichEditExUI;
class CRichEditUI;
class COleImageObj;

// The host services' class identifiers.
inline constexpr pfx::GUID kPhotoServiceId = pfx::MakeGuid("{0CF953CE-B858-4DC6-A46C-3B5C47138415}");
inline constexpr pfx::GUID kFaceBrowserId = pfx::MakeGuid("{D44BAD4A-7F77-4FDB-975D-2871242A3EF5}");
// The recent-photo panel without, and with, the friend feed.
inline constexpr pfx::GUID kRecentPhotoServiceId = pfx::MakeGuid("{6D19A897-DDBE-45CC-A3A7-A311BF1AF35B}");
inline constexpr pfx::GUID kRecentPhotoFeedServiceId = pfx::MakeGuid("{AF5F9FBC-B66B-439B-AAAE-7F8A69C6D5A9}");

namespace audio_video {

// Told where the photo the user took was saved.
struct ITakePhotoNotify {
    virtual ~ITakePhotoNotify() = default;
    virtual void OnFinishTakePhoto(int code, const char16_t* path) = 0;
};

// The host's camera.
struct ITakePhoto : pfx::IObject {
    virtual bool CanTakePhoto() = 0;
    virtual void TakePhoto(int mode, const char16_t* handleId, const char16_t* sessionId, ITakePhotoNotify* notify,
                           HWND owner) = 0;
};

}  // namespace audio_video

namespace main {

// Told which face of the browser the user chose.
struct IFaceCallBack {
    virtual ~IFaceCallBack() = default;
    virtual void OnSelFace(const char16_t* path) = 0;
};

// The host's picture library.
struct IFaceBrowser : pfx::IObject {
    virtual void ShowForChat(const RECT& anchor, const char16_t* handleId, IFaceCallBack* callback, HWND owner) = 0;
    virtual void ShowForAdhoc(const RECT& anchor, const char16_t* handleId, IFaceCallBack* callback, HWND owner) = 0;
};

// The host's panel of the buddy's recent photos.
struct IRecentPhotoPanel : pfx::IObject {
    virtual void ShowRecentPhotoPanel(const char* buddyId, HWND owner) = 0;
};

}  // namespace main

// Fetches a picture of a message view again; the host owns it.
class CFileDownloaderBase {
public:
    virtual ~CFileDownloaderBase() = default;
    // Starts the download; the picture with the downloader's key changes
    // from the waiting picture to the picture, or back to the error one.
    virtual void DownLoadImageInRe() = 0;
};
// Null when the host cannot download for that view.
CFileDownloaderBase* GetImageDownloader(const char16_t* key, qel_handle conversation, CRichEditExUI* view);
// Shows the waiting picture in place of the picture.
void RelpaceWatingImageInRe(COleImageObj* image, CRichEditUI* edit);

// The pictures the UI resources name: "#rich_error" (a download that
// failed) and "#rich_wait" (one still coming).
inline constexpr const char16_t* kRichErrorImage = u"#rich_error";
inline constexpr const char16_t* kRichWaitImage = u"#rich_wait";

// The file behind a resource picture ("#name"); empty when there is none.
std::u16string ResolveResImagePath(const std::u16string& name);

// The host's picture operations.
struct IPictureHost {
    virtual ~IPictureHost() = default;
    // Opens the viewer on the pictures, at `index`.
    virtual void ShowImageViewer(HWND owner, qel_handle conversation, const std::vector<std::u16string>& pictures,
                                 int index) = 0;
    virtual void EditImage(const char16_t* path, const char16_t* handleId, HWND owner) = 0;
    // Stores the picture among the user's own smileys.
    virtual void AddSmiley(const char16_t* path, HWND owner) = 0;
    virtual void DecodeQrCode(const char16_t* text, const char16_t* handleId) = 0;
    // Closes the application's popups (before the picture library opens).
    virtual void CloseAllPopups() = 0;
    // Whether pictures dropped in a person chat may go as files.
    virtual bool GetSendImgFile() = 0;
};
IPictureHost* GetPictureHost();

namespace filetransfer_common {
// Open a file or folder with the system, telling the user when that fails.
void OpenFileWithErrorTip(const char16_t* path, HWND owner);
void OpenFolderWithErrorTip(const char16_t* path, HWND owner);
}  // namespace filetransfer_common

