// Picture objects: the format and size come from the file's header; a GIF
// is walked block by block to count its frames.
#include <algorithm>
#include <cstdint>
#include <string>

#include "sdk/ui/OleObject.h"
#include "sdk/ui/RichEditUI.h"
#include "sim/core/Text.h"
#include "sim/ui/UiInternal.h"

namespace {

uint32_t Be16(const std::string& d, size_t i) { return uint32_t(uint8_t(d[i])) << 8 | uint8_t(d[i + 1]); }
uint32_t Le16(const std::string& d, size_t i) { return uint32_t(uint8_t(d[i + 1])) << 8 | uint8_t(d[i]); }
uint32_t Be32(const std::string& d, size_t i) { return Be16(d, i) << 16 | Be16(d, i + 2); }
uint32_t Le32(const std::string& d, size_t i) { return Le16(d, i + 2) << 16 | Le16(d, i); }

struct Header {
    ImageObj::Format format = ImageObj::Unknown;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frames = 1;
};

bool ReadPng(const std::string& d, Header& h) {
    static const char kSig[] = "\x89PNG\r\n\x1a\n";
    if (d.size() < 24 || d.compare(0, 8, kSig, 8) != 0 || d.compare(12, 4, "IHDR") != 0) return false;
    h = {ImageObj::Png, int32_t(Be32(d, 16)), int32_t(Be32(d, 20)), 1};
    return true;
}

// Skips a run of sub-blocks (size byte, data) ending with a zero size.
bool SkipSubBlocks(const std::string& d, size_t& i) {
    while (i < d.size()) {
        const size_t n = uint8_t(d[i++]);
        if (n == 0) return true;
        i += n;
    }
    return false;
}

bool ReadGif(const std::string& d, Header& h) {
    if (d.size() < 13 || (d.compare(0, 6, "GIF87a") != 0 && d.compare(0, 6, "GIF89a") != 0)) return false;
    h = {ImageObj::Gif, int32_t(Le16(d, 6)), int32_t(Le16(d, 8)), 0};
    size_t i = 13;
    const uint8_t flags = uint8_t(d[10]);
    if (flags & 0x80) i += 3u << ((flags & 7) + 1);
    while (i < d.size()) {
        const uint8_t block = uint8_t(d[i++]);
        if (block == 0x3B) break;
        if (block == 0x21) {
            if (++i > d.size() || !SkipSubBlocks(d, i)) break;
        } else if (block == 0x2C) {
            if (i + 9 > d.size()) break;
            const uint8_t local = uint8_t(d[i + 8]);
            i += 9;
            if (local & 0x80) i += 3u << ((local & 7) + 1);
            ++i;  // LZW minimum code size
            if (i > d.size() || !SkipSubBlocks(d, i)) {
                ++h.frames;  // a truncated last frame still shows what it has
                break;
            }
            ++h.frames;
        } else {
            break;
        }
    }
    h.frames = std::max(h.frames, 1);
    return true;
}

bool ReadJpeg(const std::string& d, Header& h) {
    if (d.size() < 4 || uint8_t(d[0]) != 0xFF || uint8_t(d[1]) != 0xD8) return false;
    size_t i = 2;
    while (i + 9 < d.size()) {
        if (uint8_t(d[i]) != 0xFF) return false;
        const uint8_t marker = uint8_t(d[i + 1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            h = {ImageObj::Jpeg, int32_t(Be16(d, i + 7)), int32_t(Be16(d, i + 5)), 1};
            return true;
        }
        i += 2 + Be16(d, i + 2);
    }
    return false;
}

bool ReadBmp(const std::string& d, Header& h) {
    if (d.size() < 26 || d.compare(0, 2, "BM") != 0) return false;
    // Bottom-up pictures store a negative height.
    const int64_t height = int32_t(Le32(d, 22));
    const int64_t magnitude = height < 0 ? -height : height;
    h = {ImageObj::Bmp, int32_t(Le32(d, 18)), magnitude > INT32_MAX ? 0 : int32_t(magnitude), 1};
    return true;
}

}  // namespace

COleImageObj* COleImageObj::LoadImage(const std::u16string& path, bool) {
    std::string file = sim::ToUtf8(path);
    std::replace(file.begin(), file.end(), '\\', '/');
    std::string data;
    // Devices and pipes are no pictures: reading one would not end.
    if (file.empty() || !sim::ui::IsLoadablePictureFile(file) || !sim::ui::ReadFile(file, data)) return nullptr;
    Header h;
    if (!ReadPng(data, h) && !ReadGif(data, h) && !ReadJpeg(data, h) && !ReadBmp(data, h)) return nullptr;
    if (h.width <= 0 || h.height <= 0) return nullptr;
    auto* object = new COleImageObj;
    object->m_path = path;
    object->m_image = std::make_unique<ImageObj>(h.format, h.width, h.height, h.frames);
    return object;
}

void COleImageObj::SetDisplaySize(int32_t width, int32_t height) {
    m_displayWidth = width;
    m_displayHeight = height;
    if (GetOwner()) GetOwner()->InvalidateLayout();
}

int32_t COleImageObj::GetDisplayWidth() const {
    return m_displayWidth >= 0 ? m_displayWidth : m_image ? m_image->GetWidth() : 20;
}

int32_t COleImageObj::GetDisplayHeight() const {
    return m_displayHeight >= 0 ? m_displayHeight : m_image ? m_image->GetHeight() : 20;
}
