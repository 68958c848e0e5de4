// Pictures the user chooses for the input, and the notice of a saved photo.
#include <filesystem>

#include "msghandle/MsgHandle.h"
#include "msghandle/NoticeText.h"
#include "panel/TaviPanel.h"
#include "sdk/display.h"
#include "sdk/platform_files.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui.h"
#include "util/Localised.h"
#include "util/Strings.h"
#include "util/TextFormat.h"

namespace tavi {

namespace {

constexpr uint32_t kChooserBufferSize = 32 * 1024;

// The files an open dialog answered: one full path, or the folder and then
// each name.
std::vector<std::u16string> ChosenFiles(const std::u16string& buffer) {
    std::vector<std::u16string> parts;
    for (size_t start = 0; start < buffer.size() && buffer[start] != u'\0';) {
        const size_t end = buffer.find(u'\0', start);
        parts.push_back(buffer.substr(start, end - start));
        if (end == std::u16string::npos) break;
        start = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::vector<std::u16string> files;
    const std::filesystem::path folder = platform::FsPath(parts[0]);
    for (size_t i = 1; i < parts.size(); ++i) files.push_back((folder / platform::FsPath(parts[i])).u16string());
    return files;
}

// One link of a notice: "&<link>*kind|flags|label|value||<link>&".
std::u16string NoticeLink(int kind, uint32_t flags, const char16_t* labelKey, const std::u16string& value) {
    return u"&<link>" +
           util::WFormat("*%d|%u|%s|%s|%s|%s", kind, flags, util::WideToUtf8(util::Localised(labelKey)).c_str(),
                         util::WideToUtf8(value).c_str(), "", "") +
           u"<link>&";
}

}  // namespace

void CMsgHandle::RicheditSelectImage() {
    CRichEditUI* input = m_pOwner ? m_pOwner->GetInputEdit() : nullptr;
    if (!input) return;
    const std::u16string title = util::Localised(u"#CHOOSE_PICTURE");
    std::u16string filter = util::Localised(u"#IMAGE_FILES_BJJGP");
    filter += u'\0';
    filter += u"*.bmp;*.jpg;*.jpeg;*.gif;*.png";
    filter += u'\0';
    std::u16string buffer(kChooserBufferSize, u'\0');
    OPENFILENAMEW dialog;
    dialog.hwndOwner = GetWindowHandle();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kChooserBufferSize;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return;
    buffer.back() = u'\0';
    for (const std::u16string& file : ChosenFiles(buffer)) m_pOwner->InsertPictureFile(file.c_str());
    input->SetFocus();
}

void CMsgHandle::ShowFinishSavePicNotifyMsg(const std::u16string& path) {
    CRichEditExUI* view = GetHistoryView();
    if (!view) return;
    // A text without a place for the path gets it at its end.
    const std::u16string format = util::Localised(u"#TAKE_PHOTO_PATH");
    std::u16string text = util::FillPlaceholders(format, {path});
    if (text == format) text += u" " + path;
    const std::u16string folder = platform::FsPath(path).parent_path().u16string();
    const std::u16string notice = MakeNoticeText(text, 2, 8) + NoticeLink(10, 8, u"#OPEN_FILE", path) +
                                  NoticeLink(11, 25, u"#OPEN_DIREC", folder);
    ShowNotifyMsgInRE(qel_get_adjusted_time(), false, notice.c_str(), view, false, nullptr, false, 0, -1, false);
}

}  // namespace tavi
