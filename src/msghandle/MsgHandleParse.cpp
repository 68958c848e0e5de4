// The input rich edit turned into message nodes, and what the packers need
// to know of the window: the input's style and the group's members.
#include <filesystem>

#include "msghandle/EmojiMsgHandle.h"
#include "msghandle/MsgContentPacker.h"
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/platform_files.h"
#include "sdk/qel_account.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/MD5.h"
#include "util/Strings.h"

namespace tavi {

namespace {

bool FileExists(const std::u16string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(platform::FsPath(path), error);
}

uint64_t FileSize(const std::u16string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(platform::FsPath(path), error);
    return error ? 0 : uint64_t(size);
}

std::u16string ExtensionOf(const std::u16string& path) {
    const size_t slash = path.find_last_of(u"/\\");
    const size_t dot = path.rfind(u'.');
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return std::u16string();
    return path.substr(dot);
}

std::u16string FileNameOf(const std::u16string& path) {
    const size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// Cut at line feeds, runs counting as one, empty pieces dropped.
size_t CountLines(const std::string& text) {
    size_t count = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) ++count;
        start = end + 1;
    }
    return count;
}

const COleImageObj* ImageAt(const CStdPtrArray& objects, int index) {
    return static_cast<const COleImageObj*>(objects.GetAt(index));
}

// The positions come from the emoji restore, which leaves emoji out; a
// list that still holds them is brought into line.
void AlignWithPositions(CStdPtrArray& objects, const std::vector<int32_t>& positions) {
    if (positions.size() != size_t(objects.GetSize())) CEmojiMsgHandle::RemoveEmojiItem(objects);
}

void AppendText(MsgNodeList& nodes, const std::u16string& text, size_t from, size_t to, const std::u16string& style) {
    if (to <= from || from >= text.size()) return;
    nodes.push_back(std::make_unique<STextMsgNode>(text.substr(from, to - from), style));
}

}  // namespace

bool CMsgHandle::IsEmailWindow() const { return m_windowKey == kEmailKey; }
bool CMsgHandle::IsGroupChat() const { return m_windowKey == kGroupChatKey; }

HWND CMsgHandle::GetWindowHandle() const {
    CWindowUI* window = m_pOwner ? m_pOwner->GetWindow() : nullptr;
    return window ? window->GetHWND() : nullptr;
}

void CMsgHandle::GetInputStyle(std::u16string& style) const {
    style.clear();
    CRichEditUI* input = m_pOwner ? m_pOwner->GetInputEdit() : nullptr;
    if (!input || !m_pOwner->GetHistoryView()) return;
    tagTextFormat format;
    input->GetDefaultCharFormat(format);
    SMsgFontRecord font;
    font.m_dwEffects = format.dwEffects;
    font.m_nSize = format.nSize;
    font.m_crColor = format.crColor;
    font.m_strFace = format.szFaceName;
    IUIRes* res = GetUIRes();
    const std::u16string defaultFace = res ? res->GetDefaultFontName() : std::u16string();
    CMsgContentPacker::MakeInputStyle(style, font, res ? defaultFace.c_str() : nullptr);
}

void CMsgHandle::GetContentAt(std::string& contentAt, const std::u16string& text) const {
    contentAt.clear();
    std::vector<SGroupMember> members;
    bool failed = true;
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    qel_handle buddies = qel_account_buddies(m_account.get());
    qel_handle cate = buddies && type ? qel_buddies_find_cate(buddies, type->GetCateType()) : nullptr;
    const std::string groupId = util::WideToUtf8(m_sessionId);
    qel_handle group = cate ? qel_buddies_cate_find_buddy_group(cate, groupId.c_str()) : nullptr;
    qel_cxx_helper::HandleArray list;
    if (group && qel_buddy_group_get_all_buddies(group, 0, list.out_list(), list.out_count()) == 0) {
        failed = false;
        for (int i = 0; i < list.count(); ++i) {
            SGroupMember member;
            member.m_strId = qel_buddy_get_id(list[i]);
            const std::u16string id = util::Utf8ToWide(member.m_strId);
            member.m_strLatinName = common::GetUserNameOnShow(id.c_str());
            qel_handle attribs = qel_buddy_group_get_member_attribs(group, member.m_strId.c_str());
            member.m_strNote = util::Utf8ToWide(attribs ? qel_attribs_get_str(attribs, "note", "") : "");
            members.push_back(std::move(member));
        }
    }
    CMsgContentPacker::GetContentAt(contentAt, text, members, qel_account_get_buddy_id(m_account.get()), failed);
}

bool CMsgHandle::PackSmileyImageXmlMsg(std::string& body, const char16_t* filePath,
                                       const std::u16string& smileyKey) const {
    if (!filePath) return false;
    std::unique_ptr<COleImageObj> image(COleImageObj::LoadImage(filePath, true));
    const ImageObj* loaded = image ? image->GetImage() : nullptr;
    if (!loaded) return false;
    SPictureInfo picture{loaded->GetWidth(), loaded->GetHeight(), uint32_t(loaded->GetFrameCount())};
    return CMsgContentPacker::PackSmileyImageXmlMsg(body, filePath, smileyKey, &picture, FileSize(filePath),
                                                    util::MD5Encode(filePath));
}

bool CMsgHandle::CompressImage(const std::u16string&, const std::u16string&) { return false; }

std::string CMsgHandle::GetCustomSmileyRecord(const COleImageObj* image, std::u16string& key) {
    if (!image || image->GetImageType() != 3) return std::string();
    key = image->GetKey();
    qel_handle smileys = qel_account_custom_smileys(qel_ext::QelGetCurAccount());
    qel_handle smiley = smileys ? qel_ext::QelSmileysFindSmiley(smileys, util::WideToUtf8(key).c_str()) : nullptr;
    const QelSmileyInfo* info = smiley ? qel_smiley_get_info(smiley) : nullptr;
    // Anything but an uploaded key and a digest means: upload it again.
    if (!info || !info->text || CountLines(info->text) != 2) return std::string();
    return info->text;
}

std::unique_ptr<SImageMsgMode> CMsgHandle::MakeImageNode(const std::u16string& path, const ImageObj* picture,
                                                         const std::string& record,
                                                         std::vector<SUploadItem>& uploads) const {
    auto node = std::make_unique<SImageMsgMode>();
    if (record.empty()) {
        util::TraceLine("send_msg", "PackMsg2Send ParseRichEditMsg CompressImage begin");
        IAppMain* app = GetAppMain();
        const std::u16string target =
            util::WFormat("%s%s.jpg", util::WideToUtf8(app ? app->GetPictureFolder() : u"").c_str(),
                          util::WideToUtf8(FileNameOf(path)).c_str());
        // Nothing is compressed, so the picture itself is hashed and uploaded.
        const std::u16string source = CompressImage(path, target) ? target : path;
        util::TraceLine("send_msg", "PackMsg2Send ParseRichEditMsg CompressImage end");
        node->m_strValue = util::Utf8ToWide(util::MD5Encode(source)) + ExtensionOf(source);
        uploads.push_back({util::WideToUtf8(node->m_strValue), util::WideToUtf8(source), std::string()});
    }
    node->m_strFileKey = path;
    node->m_nFileSize = uint32_t(FileSize(path));
    node->m_strUploadRecord = util::Utf8ToWide(record);
    if (picture) {
        node->m_nWidth = picture->GetWidth();
        node->m_nHeight = picture->GetHeight();
    }
    node->m_strMime = CMsgContentPacker::GetImageMimeType(path, picture ? uint32_t(picture->GetFrameCount()) : 1);
    return node;
}

void CMsgHandle::AppendPictureNode(MsgNodeList& nodes, std::vector<SUploadItem>& uploads,
                                   const COleImageObj* image) const {
    switch (image->GetImageType()) {
        case 1:
            nodes.push_back(std::make_unique<SNormalMsgNode>(kMsgNodeSmiley, GetImgPath(image)));
            return;
        case 0:
        case 3: break;
        default: return;
    }
    const std::u16string path = GetImgPath(image);
    // A picture whose file is gone is left out without a word.
    if (!FileExists(path)) return;
    util::TraceLine("send_msg", "PackMsg2Send ParseRichEditMsg  client::IMAGE_FILE ..");
    std::u16string key;
    const std::string record = GetCustomSmileyRecord(image, key);
    auto node = MakeImageNode(path, image->GetImage(), record, uploads);
    if (image->GetImageType() == 3) {
        node->m_strSmileyKey = util::WideToUtf8(key);
        if (record.empty()) RememberSmileyUpload(util::WideToUtf8(node->m_strValue), key);
    }
    nodes.push_back(std::move(node));
}

void CMsgHandle::ParseText2MsgList(MsgNodeList& nodes, std::vector<SUploadItem>& uploads, const std::u16string& text,
                                   size_t start, const std::vector<int32_t>& positions, CRichEditUI* richEdit) const {
    CStdPtrArray objects;
    if (richEdit) richEdit->GetImageObj(objects);
    AlignWithPositions(objects, positions);
    std::u16string style;
    GetInputStyle(style);
    for (int i = 0; i < objects.GetSize() && size_t(i) < positions.size(); ++i) {
        const COleImageObj* image = ImageAt(objects, i);
        const size_t position = size_t(positions[size_t(i)]);
        if (!image || position < start) continue;
        AppendText(nodes, text, start, position, style);
        AppendPictureNode(nodes, uploads, image);
        start = position + 1;
    }
    AppendText(nodes, text, start, text.size(), style);
}

void CMsgHandle::ParseRichEditMsg(MsgNodeList& nodes, std::vector<SUploadItem>& uploads, const std::u16string& text,
                                  int window, int offset, const std::vector<int32_t>& positions,
                                  CRichEditUI* richEdit, int& pictureIndex) const {
    CStdPtrArray objects;
    if (richEdit) richEdit->GetImageObj(objects);
    AlignWithPositions(objects, positions);
    std::u16string style;
    GetInputStyle(style);
    // Both ends move before a surrogate pair that they would part, so the
    // pair belongs to the window behind the cut.
    const size_t rawStart = size_t(std::max<int64_t>(0, int64_t(window) * kWindowSize - offset));
    const int64_t windowStart = int64_t(util::CutBeforeUnits(text, rawStart));
    const size_t windowEnd = util::CutBeforeUnits(text, rawStart + kWindowSize);
    size_t start = size_t(windowStart);
    // A picture right at this window's start went with the window before.
    if (pictureIndex > 0 && size_t(pictureIndex) <= positions.size() &&
        positions[size_t(pictureIndex) - 1] == windowStart)
        ++start;
    for (; pictureIndex < objects.GetSize() && size_t(pictureIndex) < positions.size(); ++pictureIndex) {
        const int64_t position = positions[size_t(pictureIndex)];
        // A picture at exactly 1024 still belongs to this window.
        if (position - windowStart > kWindowSize) break;
        if (position < int64_t(start)) continue;
        AppendText(nodes, text, start, size_t(position), style);
        AppendPictureNode(nodes, uploads, ImageAt(objects, pictureIndex));
        start = size_t(position) + 1;
    }
    AppendText(nodes, text, start, std::max(start, windowEnd), style);
}

}  // namespace tavi
