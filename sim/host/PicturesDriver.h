// Driver API of the host's picture side: the photo service, the face
// browser, the recent-photo panels, the picture server behind downloads,
// and what the host was asked to do with pictures.
#pragma once

#include <string>
#include <vector>

#include "sdk/win32.h"

namespace sim {

// The host's camera: offered or not, able to take photos or not; a photo
// taken is saved at `savedPath` (empty: the user cancels).
void SetPhotoService(bool present, bool canTakePhoto = true, const std::u16string& savedPath = u"");
void SetFaceBrowser(bool present);
// Both recent-photo panels (with and without the friend feed).
void SetRecentPhotoServices(bool present);
// The host's setting that lets pictures dropped in a person chat go as files.
void SetSendImgFile(bool allowed);

// Downloads of this picture key give this file; an upload serves its file
// under its key by itself. Other keys fail to download.
void ServePicture(const std::string& key, const std::u16string& path);

// What the host was asked, one line each, in order:
//   viewer <index> <path>|<path>...      edit <path> <handle id>
//   smiley <path>                        decode <text> <handle id>
//   open-file <path>                     open-folder <path>
//   photo <mode> <handle id> <session id> face-browser chat|adhoc <handle id>
//   recent-photos plain|feed <buddy id>  close-popups
//   download <key>
const std::vector<std::string>& PictureCalls();

// Where the face browser last opened: the button it belongs to, in screen
// coordinates (all 0 before it first opens).
RECT FaceBrowserRect();

}  // namespace sim
